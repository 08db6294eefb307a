#include "app/PlayerFiles.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/Window.h"

namespace {

// A best time past a hundred hours is no time of this game.
constexpr double kLongestGame = 100 * 3600.0;
// The best-time file's one name.
constexpr const char* kBestTimeName = "seconds";

std::string yesNo(bool on) {
    return on ? "yes" : "no";
}

std::string takeYesNo(const std::string& value, bool& field) {
    if (value != "yes" && value != "no") return "it must be yes or no";
    field = value == "yes";
    return {};
}

std::string number(double value, const char* format) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string windowSize(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// One kept setting: its name, the value the file writes, and, for a yes/no setting, the switch
// it reads into (the others are read as the command line reads the option of that name).
struct Setting {
    const char* name;
    std::string (*value)(const GameOptions& options);
    bool* (*yesNoSwitch)(GameOptions& options);
};

const Setting kSettings[kKeptSettings] = {
    {"fullscreen", [](const GameOptions& o) { return yesNo(o.window.fullScreen); },
     [](GameOptions& o) { return &o.window.fullScreen; }},
    {"window", [](const GameOptions& o) { return windowSize(o.window.width, o.window.height); },
     nullptr},
    {"volume",
     [](const GameOptions& o) {
         return std::to_string(o.audio.volume.value_or(platform::kFullVolume));
     },
     nullptr},
    {"mute", [](const GameOptions& o) { return yesNo(o.audio.soundOff); },
     [](GameOptions& o) { return &o.audio.soundOff; }},
    {"mouse-sensitivity", [](const GameOptions& o) { return number(o.mouse.sensitivity, "%g"); },
     nullptr},
    {"invert-mouse", [](const GameOptions& o) { return yesNo(o.mouse.invertVertical); },
     [](GameOptions& o) { return &o.mouse.invertVertical; }},
};

}  // namespace

SettingValues settingValues(const GameOptions& options) {
    SettingValues values;
    for (size_t i = 0; i < kKeptSettings; ++i) values[i] = kSettings[i].value(options);
    return values;
}

std::string takeSetting(const NamedValue& line, GameOptions& options) {
    for (const Setting& setting : kSettings) {
        if (line.name != setting.name) continue;
        if (setting.yesNoSwitch) return takeYesNo(line.value, *setting.yesNoSwitch(options));
        return applyOptionValue("--" + line.name, line.value, options);
    }
    return "there is no setting \"" + line.name + "\"";
}

SettingValues settingsToKeep(const SettingValues& file, const SettingValues& started,
                             const SettingValues& now) {
    SettingValues kept = file;
    for (size_t i = 0; i < kept.size(); ++i) {
        if (now[i] != started[i]) kept[i] = now[i];
    }
    return kept;
}

std::string settingsText(const SettingValues& values) {
    std::string text = "# Fyrel's settings, named as the options of fyrel --help\n";
    for (size_t i = 0; i < values.size(); ++i)
        text += std::string(kSettings[i].name) + " = " + values[i] + "\n";
    return text;
}

void takeWindowState(const platform::Window& window, GameOptions& options) {
    options.window.fullScreen = window.isFullScreen();
    int width = 0, height = 0;
    window.windowedSize(width, height);
    // A window dragged smaller than the game allows keeps the size it had.
    applyOptionValue("--window", windowSize(width, height), options);
}

SettingsFile::SettingsFile(std::string path, std::ostream& warnings)
    : file(std::move(path), "the defaults are used", warnings) {}

GameOptions SettingsFile::read() {
    GameOptions options;
    file.read([&](const NamedValue& line) { return takeSetting(line, options); });
    asRead = settingValues(options);
    return options;
}

void SettingsFile::keep(const GameOptions& started, const GameOptions& now) {
    const SettingValues kept = settingsToKeep(asRead, settingValues(started), settingValues(now));
    if (kept == asRead) return;
    file.write(settingsText(kept));
    asRead = kept;
}

std::string clockTime(double seconds) {
    const long whole = static_cast<long>(std::floor(seconds));
    const long part = whole % 60;
    return std::to_string(whole / 60) + (part < 10 ? ":0" : ":") + std::to_string(part);
}

bool isNewBest(double seconds, std::optional<double> best) {
    return !best || seconds < *best;
}

std::string endLine(double seconds, std::optional<double> best) {
    const std::string time = "time " + clockTime(seconds) + "  ";
    return isNewBest(seconds, best) ? time + "new best" : time + "best " + clockTime(*best);
}

BestTimeFile::BestTimeFile(std::string path, std::ostream& warnings)
    : file(std::move(path), "no best time is known", warnings) {}

std::optional<double> BestTimeFile::read() {
    std::optional<double> best;
    file.read([&](const NamedValue& line) -> std::string {
        if (line.name != kBestTimeName) return "there is no value \"" + line.name + "\"";
        double seconds = 0.0;
        const char* end = line.value.data() + line.value.size();
        const auto [stop, error] = std::from_chars(line.value.data(), end, seconds);
        // Written this way round, a NaN is refused too.
        if (error != std::errc() || stop != end || !(seconds > 0.0 && seconds < kLongestGame))
            return "the seconds must be a number above 0 and below " + number(kLongestGame, "%g");
        best = seconds;
        return {};
    });
    return best;
}

void BestTimeFile::keep(double seconds) {
    file.write("# Fyrel's best time: the game time of the fastest game, in seconds\n" +
               std::string(kBestTimeName) + " = " + number(seconds, "%.3f") + "\n");
}
