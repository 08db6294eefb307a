#include "bench/game/BenchCommon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "infra/Assets.h"
#include "platform/Window.h"

namespace bench {

Stats statsOf(std::vector<double> samples) {
    Stats stats;
    stats.count = samples.size();
    if (samples.empty()) return stats;
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    stats.median = n % 2 ? samples[n / 2] : 0.5 * (samples[n / 2 - 1] + samples[n / 2]);
    // Nearest rank: the smallest sample at or above 90 % of them.
    const size_t rank = static_cast<size_t>(std::ceil(0.9 * static_cast<double>(n)));
    stats.p90 = samples[std::max<size_t>(rank, 1) - 1];
    return stats;
}

void printValues(const std::string& tag, const Values& values) {
    std::string line = tag;
    for (const auto& [key, value] : values) {
        char number[64];
        std::snprintf(number, sizeof number, "%.9g", value);
        line += " " + key + "=" + number;
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

Values parseValues(const std::string& output, const std::string& tag) {
    Values values;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, tag.size() + 1, tag + " ") != 0) continue;
        std::istringstream fields(line.substr(tag.size()));
        std::string field;
        while (fields >> field) {
            const size_t eq = field.find('=');
            if (eq == std::string::npos) continue;
            values[field.substr(0, eq)] = std::strtod(field.c_str() + eq + 1, nullptr);
        }
        break;
    }
    return values;
}

std::vector<std::string> pictureFiles() {
    std::vector<std::string> files;
    for (const assets::File& file : assets::kFiles) {
        if (file.kind == assets::Kind::Picture || file.kind == assets::Kind::Glyph) {
            files.push_back(file.path);
        }
    }
    return files;
}

bool resizeWindow(int width, int height) {
    platform::Window* window = platform::Window::current();
    if (!window) return false;
    window->setSize(width, height);
    for (int attempt = 0; attempt < 200; ++attempt) {
        int w = 0, h = 0;
        window->framebufferSize(w, h);
        if (w == width && h == height) return true;
        window->swapBuffers();  // which also handles the window system's events
    }
    return false;
}

}  // namespace bench
