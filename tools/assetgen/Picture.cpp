#include "tools/assetgen/Picture.h"

#include <FreeImage.h>

#include <cmath>
#include <filesystem>

namespace assetgen {

Rgb Ramp::operator()(float t) const {
    if (t <= stops.front().at) return stops.front().colour;
    for (size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].at) {
            float span = stops[i].at - stops[i - 1].at;
            return mix(stops[i - 1].colour, stops[i].colour,
                       span > 0 ? (t - stops[i - 1].at) / span : 1.0f);
        }
    return stops.back().colour;
}

static uint8_t toByte(float v) {
    float s = std::round(clamp01(v) * 255.0f);
    return static_cast<uint8_t>(s);
}

void Picture::set(int x, int row, Rgb c) {
    uint8_t* p = pixel(x, row);
    p[0] = toByte(c.r);
    p[1] = toByte(c.g);
    p[2] = toByte(c.b);
}

Rgb Picture::get(int x, int row) const {
    const uint8_t* p = pixel(x, row);
    return rgb8(p[0], p[1], p[2]);
}

void Picture::fill(const std::function<Rgb(int, int)>& fn) {
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) set(x, row, fn(x, row));
}

static FIBITMAP* toBitmap(const Picture& pic) {
    FIBITMAP* bmp = FreeImage_Allocate(pic.width(), pic.height(), 24);
    if (!bmp) return nullptr;
    for (int row = 0; row < pic.height(); ++row) {
        BYTE* line = FreeImage_GetScanLine(bmp, row);  // scan line 0 is the bottom row
        for (int x = 0; x < pic.width(); ++x) {
            const uint8_t* p = pic.pixel(x, row);
            line[x * 3 + FI_RGBA_RED] = p[0];
            line[x * 3 + FI_RGBA_GREEN] = p[1];
            line[x * 3 + FI_RGBA_BLUE] = p[2];
        }
    }
    return bmp;
}

void makeParentDirs(const std::string& path) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
}

bool Picture::saveJpeg(const std::string& path, int flags) const {
    makeParentDirs(path);
    FIBITMAP* bmp = toBitmap(*this);
    bool ok = bmp && FreeImage_Save(FIF_JPEG, bmp, path.c_str(), flags);
    if (bmp) FreeImage_Unload(bmp);
    return ok;
}

bool Picture::savePng(const std::string& path) const {
    makeParentDirs(path);
    FIBITMAP* bmp = toBitmap(*this);
    bool ok = bmp && FreeImage_Save(FIF_PNG, bmp, path.c_str(), PNG_Z_BEST_SPEED);
    if (bmp) FreeImage_Unload(bmp);
    return ok;
}

bool Picture::load(const std::string& path, Picture& out) {
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
    if (fif == FIF_UNKNOWN) fif = FreeImage_GetFIFFromFilename(path.c_str());
    if (fif == FIF_UNKNOWN) return false;
    FIBITMAP* raw = FreeImage_Load(fif, path.c_str(), 0);
    if (!raw) return false;
    FIBITMAP* bmp = FreeImage_ConvertTo24Bits(raw);
    FreeImage_Unload(raw);
    if (!bmp) return false;
    out = Picture(static_cast<int>(FreeImage_GetWidth(bmp)),
                  static_cast<int>(FreeImage_GetHeight(bmp)));
    for (int row = 0; row < out.h; ++row) {
        const BYTE* line = FreeImage_GetScanLine(bmp, row);
        for (int x = 0; x < out.w; ++x) {
            uint8_t* p = out.pixel(x, row);
            p[0] = line[x * 3 + FI_RGBA_RED];
            p[1] = line[x * 3 + FI_RGBA_GREEN];
            p[2] = line[x * 3 + FI_RGBA_BLUE];
        }
    }
    FreeImage_Unload(bmp);
    return true;
}

}  // namespace assetgen
