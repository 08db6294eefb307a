#include "infra/Texture.h"

#include <FreeImage.h>

#include <iostream>
#include <vector>

namespace {

// Every decoded picture stays alive for the whole run, because meshes and the font keep raw
// pointers into it. They all live here, so that one call (or the end of the process) frees
// them and leak checks of the whole program stay clean.
struct PictureStore {
    std::vector<FIBITMAP*> bitmaps;

    ~PictureStore() { release(); }

    void release() {
        for (FIBITMAP* bitmap : bitmaps) FreeImage_Unload(bitmap);
        bitmaps.clear();
    }
};

PictureStore& pictureStore() {
    static PictureStore store;
    return store;
}

// The picture being decoded, for the decoder's own messages.
const char* decodingPath = nullptr;

// The image library tells what it dislikes about a file only through this hook: the bytes it
// found instead of a picture, or a JPEG cut short, which it still decodes with the missing
// part grey and would otherwise show without a word.
void reportDecoderMessage(FREE_IMAGE_FORMAT format, const char* message) {
    const char* decoder = FreeImage_GetFormatFromFIF(format);
    std::cerr << "fyrel: picture \"" << (decodingPath ? decodingPath : "")
              << "\": " << (decoder ? decoder : "decoder") << ": " << message << std::endl;
}

void reportFailure(const char* path) {
    std::cout << "Texture loading failed! "
              << "Tex: " << path << "\n";
}

bool isColour24(FIBITMAP* bitmap) {
    return FreeImage_GetImageType(bitmap) == FIT_BITMAP && FreeImage_GetBPP(bitmap) == 24;
}

// The upload reads three bytes per pixel in blue-green-red order, so anything else
// (greyscale, palette, 32-bit, 16 bits per channel) would be read past its end or in the wrong
// colours. Such pictures become 24-bit colour here; null when the library cannot convert them.
FIBITMAP* toColour24(FIBITMAP* bitmap) {
    if (isColour24(bitmap)) return bitmap;
    FIBITMAP* converted = FreeImage_ConvertTo24Bits(bitmap);
    if (converted == nullptr && FreeImage_GetImageType(bitmap) != FIT_BITMAP) {
        // Single-channel 16-bit, float and similar types need a detour through 8 bits.
        if (FIBITMAP* standard = FreeImage_ConvertToStandardType(bitmap, TRUE)) {
            converted = FreeImage_ConvertTo24Bits(standard);
            FreeImage_Unload(standard);
        }
    }
    FreeImage_Unload(bitmap);
    if (converted != nullptr && !isColour24(converted)) {
        FreeImage_Unload(converted);
        converted = nullptr;
    }
    return converted;
}

}  // namespace

unsigned char* loadTexture(const char* path, ImageInfo& image) {
    static const bool hooked = (FreeImage_SetOutputMessage(reportDecoderMessage), true);
    (void)hooked;
    decodingPath = path;

    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path, 0);
    if (format == FIF_UNKNOWN) {
        format = FreeImage_GetFIFFromFilename(path);
        if (format == FIF_UNKNOWN) reportFailure(path);
    }

    FIBITMAP* bitmap = nullptr;
    if (!FreeImage_FIFSupportsReading(format) ||
        (bitmap = FreeImage_Load(format, path, 0)) == nullptr) {
        reportFailure(path);
    }
    if (bitmap != nullptr) bitmap = toColour24(bitmap);
    if (bitmap != nullptr) pictureStore().bitmaps.push_back(bitmap);

    image.pixels = bitmap != nullptr ? FreeImage_GetBits(bitmap) : nullptr;
    image.width = bitmap != nullptr ? FreeImage_GetWidth(bitmap) : 0;
    image.height = bitmap != nullptr ? FreeImage_GetHeight(bitmap) : 0;

    if (image.pixels == nullptr || image.width == 0 || image.height == 0) reportFailure(path);
    decodingPath = nullptr;
    return image.pixels;
}

void releaseAllPictures() {
    pictureStore().release();
}
