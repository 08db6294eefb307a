#include <gtest/gtest.h>

#include <string>

#include "Model/ModelLoaderCollada.h"
#include "infra/Log.h"

namespace {

const std::string colladaDir = std::string(FYREL_SOURCE_DIR) + "/tests/data/external/collada/";

class ModelLoaderTest : public testing::Test {
  protected:
    void TearDown() override { logThreshold = savedThreshold; }

    int load(Mesh& mesh, LogLevel threshold = ERR) {
        logThreshold = threshold;
        testing::internal::CaptureStdout();
        const int result = loader.loadModel(&mesh);
        output = testing::internal::GetCapturedStdout();
        return result;
    }

    LogLevel savedThreshold = logThreshold;
    Model::ModelLoaderCollada loader;
    std::string output;
};

void expectWellFormed(const Mesh& mesh) {
    const size_t vertices = mesh.positions.size() / 4;
    for (size_t k = 0; k < vertices; ++k) ASSERT_EQ(mesh.positions[4 * k + 3], 1.0f) << k;
    EXPECT_EQ(mesh.indices.size() % 3, 0u);
    for (uint32_t index : mesh.indices) ASSERT_LT(index, vertices);
}

TEST(FloatText, FormatsLikeADefaultStream) {
    const std::pair<float, const char*> cases[] = {
        {1.0f, "1"},           {0.5f, "0.5"},
        {-2.25f, "-2.25"},     {0.0001f, "0.0001"},
        {1e-5f, "1e-05"},      {999999.0f, "999999"},
        {1000000.0f, "1e+06"}, {1234567.0f, "1.23457e+06"}};
    for (const auto& c : cases) EXPECT_EQ(Model::floatText(c.first), c.second);
}

TEST_F(ModelLoaderTest, ExternalModelsLoadOrFailAsDescribed) {
    const struct {
        const char* file;
        int result;
        size_t vertices, normals, texCoords, triangles;
    } models[] = {
        {"sphere_triangulate.dae", 0, 445, 445, 445, 760},
        {"sphere.dae", 0, 444, 444, 444, 760},  // quads triangulated
        {"cube_triangulate.dae", 0, 24, 24, 0, 12},
        {"ConcavePolygon.dae", 0, 64, 0, 0, 64},
        {"cube_with_2UVs.DAE", 0, 24, 24, 24, 12},    // first of two UVW sets, w dropped
        {"kwxport_test_vcolors.dae", 0, 4, 4, 4, 2},  // three meshes: only the first
        {"z_up.dae", 0, 5, 0, 0, 6},
        {"foot.dae", 0, 4, 0, 0, 2},
        {"multi_geometries_one_lines.dae", 0, 24, 24, 24, 0},  // line faces are skipped
        {"empty_triangles.dae", 1, 0, 0, 0, 0},  // Assimp's placeholder mesh is not a model
        {"cube_UTF16LE.dae", 1, 0, 0, 0, 0},
        {"missing.dae", 1, 0, 0, 0, 0},
    };
    for (const auto& model : models) {
        SCOPED_TRACE(model.file);
        Mesh mesh(colladaDir + model.file);
        mesh.id = "m";
        ASSERT_EQ(load(mesh), model.result) << output;
        EXPECT_EQ(mesh.positions.size(), 4 * model.vertices);
        EXPECT_EQ(mesh.normals.size(), 3 * model.normals);
        EXPECT_EQ(mesh.texCoords.size(), 2 * model.texCoords);
        EXPECT_EQ(mesh.indices.size(), 3 * model.triangles);
        expectWellFormed(mesh);
        const std::string noMeshes =
            "ERR   ModelLoader: returning error code 1: no meshes found for model with id m\n";
        if (model.result == 0) {
            EXPECT_EQ(output, "");
        } else if (model.file == std::string("empty_triangles.dae")) {
            EXPECT_EQ(output, noMeshes);  // the import itself succeeded
        } else {
            EXPECT_EQ(output.rfind("ERR   ModelLoader: import failed, cause: ", 0), 0u) << output;
            EXPECT_EQ(output.substr(output.size() - noMeshes.size()), noMeshes);
        }
    }
}

TEST_F(ModelLoaderTest, MalformedArrayDoesNotCrash) {
    // The positions array claims 3 values but 24 follow; Assimp 5.2 reads past it and yields
    // varying vertices. All that can be asked is a consistent mesh or a clean failure.
    // Valgrind reports that read inside libassimp itself, so valgrind runs leave this test
    // out (--gtest_filter=-*MalformedArray*); the address sanitizer does not see into the
    // uninstrumented library and runs it.
    Mesh mesh(colladaDir + "box_nested_animation_4286.dae");
    const int result = load(mesh);
    EXPECT_TRUE(result == 0 || result == 1);
    expectWellFormed(mesh);
}

TEST_F(ModelLoaderTest, PerVertexLinesOnlyWhenTheThresholdAllows) {
    Mesh mesh(colladaDir + "cube_triangulate.dae");  // normals, no texture coordinates
    ASSERT_EQ(load(mesh, 0), 0);
    EXPECT_EQ(output.rfind("TRACE ModelLoader: load model called for model with id  and path ", 0),
              0u);
    EXPECT_NE(output.find("DEBUG ModelLoader: vertex0: ("), std::string::npos);
    EXPECT_NE(output.find("WARN  ModelLoader: tex 23 not loaded\n"), std::string::npos);
    EXPECT_NE(output.find("DEBUG ModelLoader: indices for face 11: ("), std::string::npos);
    size_t texWarnings = 0;
    const std::string texWarning = "WARN  ModelLoader: tex ";
    for (size_t at = output.find(texWarning); at != std::string::npos;
         at = output.find(texWarning, at + 1)) {
        ++texWarnings;
    }
    EXPECT_EQ(texWarnings, 24u);

    // A second import appends, with vertex numbers as they are in the file.
    const Mesh once = mesh;
    ASSERT_EQ(load(mesh), 0);
    EXPECT_EQ(output, "");
    ASSERT_EQ(mesh.positions.size(), 2 * once.positions.size());
    EXPECT_EQ(std::vector<uint32_t>(mesh.indices.begin() + once.indices.size(), mesh.indices.end()),
              once.indices);
    EXPECT_EQ(loader.getFileEndings(), std::vector<std::string>{".dae"});
}

}  // namespace
