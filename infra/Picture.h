#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/RgbaImage.h"

// Picture decoding. Nothing here touches the GPU: despite their names, `loadTexture` and
// `ImageInfo` deal in decoded pixels only; createTexture (Rendering/core/SceneObject.h) makes the
// GL texture from them later.

// Size and pixels of a decoded picture, not a texture. Pixels are in the decoder's native
// layout: bottom row first, blue-green-red, each row padded to a multiple of four bytes.
struct ImageInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    unsigned char* pixels = nullptr;
};

// Decodes a picture file into 24-bit colour; makes no texture. On failure prints
// "Texture loading failed! Tex: <path>" and leaves null pixels and a 0 x 0 size.
// The pixels stay valid until releaseAllPictures().
unsigned char* loadTexture(const char* path, ImageInfo& image);

// Starts decoding these pictures on `threads` worker threads. The first loadTexture of each
// path then takes the decoded picture (waiting for it if need be) and prints any failure just
// as if it had decoded the file itself; later loads of the path decode it again.
void prefetchPictures(const std::vector<std::string>& paths, unsigned threads = 2);

// Frees every picture loadTexture has kept alive (at exit).
void releaseAllPictures();

// Decodes a picture file of any kind the image library reads into RGBA, top row first, for the
// window system rather than the GPU; the pixels belong to `image`. Prints nothing: on failure
// returns false and `problem` says why, in the decoder's own words when it gave any.
bool decodeRgba(const char* path, platform::RgbaImage& image, std::string& problem);
