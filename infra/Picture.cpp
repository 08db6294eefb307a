#include "infra/Picture.h"

#include <FreeImage.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

// A decode's outcome: the 24-bit bitmap or null, and how many of the steps before the final
// check failed (each prints the failure message, when the result is taken).
struct Decoded {
    FIBITMAP* bitmap = nullptr;
    int failedSteps = 0;
};

// Pictures decoded ahead on worker threads, each waiting for the first load of its path.
struct Prefetch {
    std::vector<std::string> paths;
    std::vector<Decoded> results;
    std::vector<char> done, taken;
    std::atomic<size_t> next{0};
    std::vector<std::thread> workers;
    std::mutex mutex;
    std::condition_variable finished;
};

// Every decoded picture stays alive for the whole run, because meshes and the font keep raw
// pointers into it. They all live here, so that one call (or the end of the process) frees
// them and leak checks of the whole program stay clean.
struct PictureStore {
    std::vector<FIBITMAP*> bitmaps;
    std::unique_ptr<Prefetch> prefetch;

    ~PictureStore() { release(); }

    void release() {
        dropPrefetch();
        for (FIBITMAP* bitmap : bitmaps) FreeImage_Unload(bitmap);
        bitmaps.clear();
    }

    void dropPrefetch() {
        if (!prefetch) return;
        // Workers stop after the picture they are on; what nobody took is freed.
        prefetch->next = prefetch->paths.size();
        for (std::thread& worker : prefetch->workers) worker.join();
        for (size_t i = 0; i < prefetch->results.size(); ++i) {
            if (!prefetch->taken[i] && prefetch->results[i].bitmap) {
                FreeImage_Unload(prefetch->results[i].bitmap);
            }
        }
        prefetch.reset();
    }
};

PictureStore& pictureStore() {
    static PictureStore store;
    return store;
}

// The picture being decoded on this thread, for the decoder's own messages.
thread_local const char* decodingPath = nullptr;
// When set, the decoder's messages on this thread are collected here instead of printed.
thread_local std::string* collectedMessages = nullptr;

// The image library tells what it dislikes about a file only through this hook: the bytes it
// found instead of a picture, or a JPEG cut short, which it still decodes with the missing
// part grey and would otherwise show without a word.
void reportDecoderMessage(FREE_IMAGE_FORMAT format, const char* message) {
    const char* decoder = FreeImage_GetFormatFromFIF(format);
    if (collectedMessages) {
        if (!collectedMessages->empty()) *collectedMessages += "; ";
        *collectedMessages += std::string(decoder ? decoder : "decoder") + ": " + message;
        return;
    }
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

// The decoding steps of loadTexture without the failure output; safe on any thread.
Decoded decode(const char* path) {
    decodingPath = path;
    Decoded result;
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path, 0);
    if (format == FIF_UNKNOWN) {
        format = FreeImage_GetFIFFromFilename(path);
        if (format == FIF_UNKNOWN) ++result.failedSteps;
    }
    if (!FreeImage_FIFSupportsReading(format) ||
        (result.bitmap = FreeImage_Load(format, path, 0)) == nullptr) {
        ++result.failedSteps;
    }
    if (result.bitmap != nullptr) result.bitmap = toColour24(result.bitmap);
    decodingPath = nullptr;
    return result;
}

void installDecoderMessages() {
    static const bool hooked = (FreeImage_SetOutputMessage(reportDecoderMessage), true);
    (void)hooked;
}

void decodeAhead(Prefetch* prefetch) {
    for (size_t i = prefetch->next++; i < prefetch->paths.size(); i = prefetch->next++) {
        {
            // Taken over by a load that found nobody working on it.
            std::lock_guard<std::mutex> lock(prefetch->mutex);
            if (prefetch->done[i]) continue;
        }
        Decoded result = decode(prefetch->paths[i].c_str());
        std::lock_guard<std::mutex> lock(prefetch->mutex);
        prefetch->results[i] = result;
        prefetch->done[i] = 1;
        prefetch->finished.notify_all();
    }
}

// The prefetched result for the first load of `path`, once it is ready.
std::optional<Decoded> takePrefetched(const char* path) {
    Prefetch* prefetch = pictureStore().prefetch.get();
    if (!prefetch) return std::nullopt;
    std::unique_lock<std::mutex> lock(prefetch->mutex);
    for (size_t i = 0; i < prefetch->paths.size(); ++i) {
        if (prefetch->taken[i] || prefetch->paths[i] != path) continue;
        prefetch->taken[i] = 1;
        // No worker has started it yet: decoding it here beats waiting.
        if (prefetch->next <= i) {
            prefetch->done[i] = 1;
            lock.unlock();
            return decode(path);
        }
        prefetch->finished.wait(lock, [&] { return prefetch->done[i] != 0; });
        return prefetch->results[i];
    }
    return std::nullopt;
}

}  // namespace

void prefetchPictures(const std::vector<std::string>& paths, unsigned threads) {
    installDecoderMessages();
    PictureStore& store = pictureStore();
    store.dropPrefetch();
    auto prefetch = std::make_unique<Prefetch>();
    prefetch->paths = paths;
    prefetch->results.resize(paths.size());
    prefetch->done.assign(paths.size(), 0);
    prefetch->taken.assign(paths.size(), 0);
    for (unsigned i = 0; i < std::max(threads, 1u); ++i) {
        prefetch->workers.emplace_back(decodeAhead, prefetch.get());
    }
    store.prefetch = std::move(prefetch);
}

unsigned char* loadTexture(const char* path, ImageInfo& image) {
    installDecoderMessages();
    std::optional<Decoded> prefetched = takePrefetched(path);
    const Decoded result = prefetched ? *prefetched : decode(path);
    for (int i = 0; i < result.failedSteps; ++i) reportFailure(path);
    FIBITMAP* bitmap = result.bitmap;
    if (bitmap != nullptr) pictureStore().bitmaps.push_back(bitmap);

    image.pixels = bitmap != nullptr ? FreeImage_GetBits(bitmap) : nullptr;
    image.width = bitmap != nullptr ? FreeImage_GetWidth(bitmap) : 0;
    image.height = bitmap != nullptr ? FreeImage_GetHeight(bitmap) : 0;

    if (image.pixels == nullptr || image.width == 0 || image.height == 0) reportFailure(path);
    return image.pixels;
}

void releaseAllPictures() {
    pictureStore().release();
}

bool decodeRgba(const char* path, platform::RgbaImage& image, std::string& problem) {
    installDecoderMessages();
    std::string messages;
    collectedMessages = &messages;
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path, 0);
    if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path);
    FIBITMAP* loaded = format != FIF_UNKNOWN && FreeImage_FIFSupportsReading(format)
                           ? FreeImage_Load(format, path, 0)
                           : nullptr;
    const bool decoded = loaded != nullptr;
    FIBITMAP* rgba = decoded ? FreeImage_ConvertTo32Bits(loaded) : nullptr;
    collectedMessages = nullptr;
    if (decoded) FreeImage_Unload(loaded);
    if (!rgba) {
        problem = !std::ifstream(path) ? std::string("cannot be opened")
                  : !messages.empty()  ? messages
                  : decoded            ? std::string("cannot be converted to RGBA")
                                       : std::string("not a picture the decoder reads");
        return false;
    }
    image.width = static_cast<int>(FreeImage_GetWidth(rgba));
    image.height = static_cast<int>(FreeImage_GetHeight(rgba));
    image.pixels.resize(size_t(image.width) * size_t(image.height) * 4);
    unsigned char* out = image.pixels.data();
    for (int y = image.height - 1; y >= 0; --y) {  // scan line 0 is the bottom row
        const BYTE* line = FreeImage_GetScanLine(rgba, y);
        for (int x = 0; x < image.width; ++x, out += 4) {
            out[0] = line[x * 4 + FI_RGBA_RED];
            out[1] = line[x * 4 + FI_RGBA_GREEN];
            out[2] = line[x * 4 + FI_RGBA_BLUE];
            out[3] = line[x * 4 + FI_RGBA_ALPHA];
        }
    }
    FreeImage_Unload(rgba);
    return true;
}
