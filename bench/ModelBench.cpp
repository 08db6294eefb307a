#include <FreeImage.h>
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "Model/ModelLoaderCollada.h"
#include "Rendering/scene/SphereGenerator.h"
#include "infra/Log.h"
#include "infra/Picture.h"

namespace {

// The sky and every planet: 4998 vertices, 9504 triangles.
void BM_GenerateSphere_50x100(benchmark::State& state) {
    for (auto _ : state) {
        SphereObject sphere;
        benchmark::DoNotOptimize(generateSphere(&sphere, 11.0f, 50, 100));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GenerateSphere_50x100)->Unit(benchmark::kMicrosecond);

// The game's model when the assets are built, else a test sphere of similar size.
std::string benchModelPath() {
    const std::string alien = std::string(FYREL_RUN_DIR) + "/alien.dae";
    if (std::ifstream(alien).good()) return alien;
    return std::string(FYREL_SOURCE_DIR) + "/tests/data/external/collada/sphere_triangulate.dae";
}

// The threshold the game runs with: the per-vertex lines are suppressed.
void BM_ImportModel(benchmark::State& state) {
    const LogLevel saved = logThreshold;
    logThreshold = ERR;
    const std::string path = benchModelPath();
    Model::ModelLoaderCollada loader;
    for (auto _ : state) {
        Mesh mesh(path);
        if (loader.loadModel(&mesh) != 0) state.SkipWithError("import failed");
        benchmark::DoNotOptimize(mesh.positions.data());
    }
    state.SetLabel(path.substr(path.rfind('/') + 1));
    logThreshold = saved;
}
BENCHMARK(BM_ImportModel)->Unit(benchmark::kMillisecond);

std::string writeLargeJpeg() {
    const std::string path = "/tmp/fyrel_bench_2048x1024.jpg";
    FIBITMAP* bitmap = FreeImage_Allocate(2048, 1024, 24);
    for (int y = 0; y < 1024; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < 2048; ++x) {
            // Smooth gradients with some detail, roughly like a planet map.
            row[3 * x + 0] = static_cast<BYTE>(x / 8);
            row[3 * x + 1] = static_cast<BYTE>(y / 4);
            row[3 * x + 2] = static_cast<BYTE>((x * y) % 251);
        }
    }
    FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), JPEG_QUALITYGOOD);
    FreeImage_Unload(bitmap);
    return path;
}

void BM_DecodeJpeg_2048x1024(benchmark::State& state) {
    const std::string path = writeLargeJpeg();
    ImageInfo image;
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadTexture(path.c_str(), image));
        if (image.width != 2048) state.SkipWithError("decode failed");
        // Every load is kept for the whole run; free them so the benchmark's memory stays flat.
        state.PauseTiming();
        releaseAllPictures();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DecodeJpeg_2048x1024)->Unit(benchmark::kMillisecond);

}  // namespace
