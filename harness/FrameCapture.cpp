#include "harness/FrameCapture.h"

#include <FreeImage.h>

#include <cstdio>
#include <filesystem>

#include "app/MainGame.h"
#include "app/Player.h"
#include "infra/GL.h"
#include "infra/Log.h"
#include "platform/Window.h"

namespace {
// Follows a state that begins at `since` (negative while it does not hold): true once it has
// held for `delay` seconds of play.
bool lastedFor(double& since, bool holds, double now, double delay) {
    if (!holds) {
        since = -1.0;
        return false;
    }
    if (since < 0.0) since = now;
    return now - since >= delay;
}
}  // namespace

std::vector<std::string> CaptureSchedule::next(const CaptureObservation& seen) {
    std::vector<std::string> names;
    if (done) return names;
    if (frame == 0) {
        names.push_back("start");
        total = seen.remaining;
        lastRemaining = seen.remaining;
    }

    if (!jumpTaken && lastedFor(jumpSince, seen.jumping, seen.playSeconds, kJumpDelay)) {
        names.push_back("jump");
        jumpTaken = true;
    }
    if (!transferTaken &&
        lastedFor(transferSince, seen.transferring, seen.playSeconds, kTransferDelay)) {
        names.push_back("transfer");
        transferTaken = true;
    }

    if (seen.remaining < lastRemaining) {
        names.push_back("orb-" + std::to_string(total - seen.remaining));
    }
    lastRemaining = seen.remaining;

    if (total > 0 && lastedFor(wonSince, seen.remaining == 0, seen.playSeconds, endDelay)) {
        names.push_back("end");
        done = true;
    }

    if (every > 0 && frame % every == 0) {
        char name[32];
        std::snprintf(name, sizeof name, "frames/%06ld", frame);
        names.push_back(name);
    }
    ++frame;
    return names;
}

FrameCapture::FrameCapture(std::string directory, int every)
    : directory(std::move(directory)), schedule(every) {}

void FrameCapture::afterDraw(const MainGame& game) {
    CaptureObservation seen;
    seen.jumping = game.player->jumping;
    seen.transferring = game.player->transferring;
    seen.remaining = game.remaining;
    seen.playSeconds = game.play.playSeconds;
    std::vector<std::string> names = schedule.next(seen);

    if (!names.empty() && !failed) {
        GLint viewport[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_VIEWPORT, viewport);
        int width = viewport[2], height = viewport[3];
        pixels.resize(static_cast<size_t>(width) * height * 3);
        GLint readFramebuffer = 0;
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        // Bottom-up rows in blue-green-red order: FreeImage's own layout on this platform.
        glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
        for (const std::string& name : names) save(name, width, height);
    }
    if (schedule.finished()) platform::Window::current()->requestClose();
}

void FrameCapture::save(const std::string& name, int width, int height) {
    std::filesystem::path path = std::filesystem::path(directory) / (name + ".png");
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);

    FIBITMAP* picture =
        FreeImage_ConvertFromRawBits(pixels.data(), width, height, width * 3, 24, FI_RGBA_RED_MASK,
                                     FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    // Animation frames are kept at half size: there are many of them.
    bool animation = name.rfind("frames/", 0) == 0;
    if (picture && animation) {
        FIBITMAP* half = FreeImage_Rescale(picture, width / 2, height / 2, FILTER_BOX);
        FreeImage_Unload(picture);
        picture = half;
    }
    bool saved = picture && FreeImage_Save(FIF_PNG, picture, path.string().c_str(),
                                           animation ? PNG_Z_BEST_SPEED : PNG_DEFAULT);
    if (picture) FreeImage_Unload(picture);
    if (!saved) {
        // One line is enough: the folder is the same for every picture.
        logError(defaultLogComponent, "cannot write the captured frame \"" + path.string() + "\"");
        failed = true;
    }
}
