#include "app/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <vector>

#include "app/Controls.h"
#include "infra/DataFolder.h"

namespace {

constexpr int kMinWidth = 320, kMinHeight = 240;
// Render targets follow the window, and GL implementations commonly stop at 16384 pixels a side.
constexpr int kMaxSide = 16384;
constexpr int kMaxVolume = 100;
constexpr double kMinSensitivity = 0.1, kMaxSensitivity = 10.0;
std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The ranges as the help and the complaints show them.
std::string sensitivityRange() {
    return number(kMinSensitivity) + " to " + number(kMaxSensitivity);
}

std::string windowRange() {
    return std::to_string(kMinWidth) + "x" + std::to_string(kMinHeight) + " to " +
           std::to_string(kMaxSide) + "x" + std::to_string(kMaxSide);
}

std::string volumeRange() {
    return "0 to " + std::to_string(kMaxVolume);
}

// What is wrong with an option's value, or empty when it was taken.
using Apply = std::string (*)(const std::string& value, CommandLine& command);

struct Option {
    const char* name;
    // Null for a flag, which takes no value.
    const char* valueName;
    std::string description;
    Apply apply;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A whole number written with digits only (no sign, no spaces), from `text` in full.
bool readWhole(const char* first, const char* last, int& number) {
    if (first == last || !isDigit(*first)) return false;
    const auto [end, error] = std::from_chars(first, last, number);
    return error == std::errc() && end == last;
}

std::string applyWindow(const std::string& value, CommandLine& command) {
    const size_t x = value.find('x');
    int width = 0, height = 0;
    const char* text = value.data();
    if (x == std::string::npos || !readWhole(text, text + x, width) ||
        !readWhole(text + x + 1, text + value.size(), height) || width < kMinWidth ||
        height < kMinHeight || width > kMaxSide || height > kMaxSide) {
        return "the window size must be WIDTHxHEIGHT, from " + windowRange();
    }
    command.options.window.width = width;
    command.options.window.height = height;
    return {};
}

std::string applyVolume(const std::string& value, CommandLine& command) {
    int volume = 0;
    if (!readWhole(value.data(), value.data() + value.size(), volume) || volume > kMaxVolume)
        return "the volume must be " + volumeRange();
    command.options.audio.volume = volume;
    return {};
}

std::string applySensitivity(const std::string& value, CommandLine& command) {
    double sensitivity = 0.0;
    const auto [end, error] =
        std::from_chars(value.data(), value.data() + value.size(), sensitivity);
    // Written this way round, a NaN is refused too.
    if (error != std::errc() || end != value.data() + value.size() ||
        !(sensitivity >= kMinSensitivity && sensitivity <= kMaxSensitivity)) {
        return "the mouse sensitivity must be a number from " + sensitivityRange();
    }
    command.options.mouse.sensitivity = static_cast<float>(sensitivity);
    return {};
}

std::string applyData(const std::string& value, CommandLine& command) {
    std::error_code error;
    if (!std::filesystem::is_directory(value, error)) return "there is no folder of that name";
    command.options.dataFolder = value;
    return {};
}

const std::vector<Option>& options() {
    const WindowRequest window;
    static const std::vector<Option> table = {
        {"--fullscreen", nullptr,
         std::string("start in full screen (") + bindingOf(Action::FullScreen).keysLabel +
             " switches back and forth)",
         [](const std::string&, CommandLine& command) {
             command.options.window.fullScreen = true;
             return std::string();
         }},
        {"--window", "WIDTHxHEIGHT",
         "window size, " + windowRange() + " (default " + std::to_string(window.width) + "x" +
             std::to_string(window.height) + ")",
         applyWindow},
        {"--data", "DIR",
         "read the game's files from DIR (default: the working directory when it holds them, "
         "else the program's own folder, else " +
             std::string(kInstalledDataFolder) + " beside it)",
         applyData},
        {"--mute", nullptr, "no sound: no audio device is opened",
         [](const std::string&, CommandLine& command) {
             command.options.audio.mute = true;
             return std::string();
         }},
        {"--volume", "N",
         "music and chime volume, " + volumeRange() + " (default " + std::to_string(kMaxVolume) +
             ")",
         applyVolume},
        {"--mouse-sensitivity", "X",
         "speed of mouse turning and camera tilt, " + sensitivityRange() + " (default " +
             number(MouseSettings().sensitivity) + ")",
         applySensitivity},
        {"--invert-mouse", nullptr, "tilt the camera the other way round with the mouse",
         [](const std::string&, CommandLine& command) {
             command.options.mouse.invertVertical = true;
             return std::string();
         }},
        {"--help", nullptr, "print this help and exit",
         [](const std::string&, CommandLine& command) {
             command.action = CommandLine::Action::ShowHelp;
             return std::string();
         }},
        {"--version", nullptr, "print the version and exit",
         [](const std::string&, CommandLine& command) {
             command.action = CommandLine::Action::ShowVersion;
             return std::string();
         }},
    };
    return table;
}

const Option* optionNamed(const std::string& name) {
    for (const Option& option : options()) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

CommandLine refuse(CommandLine command, const std::string& argument, const std::string& problem) {
    command.action = CommandLine::Action::Refuse;
    command.badArgument = argument;
    command.problem = problem;
    return command;
}

// "  left", then `text` from column `indent` on, its words wrapped to lines of at most 79
// characters.
std::string column(const std::string& left, const std::string& text, size_t indent) {
    constexpr size_t kLineWidth = 79;
    std::string out = "  " + left;
    size_t used = out.size();
    size_t start = 0;
    bool lineStarted = false;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const size_t length = end - start;
        if (lineStarted && used + 1 + length > kLineWidth) {
            out += "\n";
            used = 0;
            lineStarted = false;
        }
        const size_t column = lineStarted ? used + 1 : std::max(indent, used + 1);
        out += std::string(column - used, ' ') + text.substr(start, length);
        used = column + length;
        lineStarted = true;
        start = end + 1;
    }
    return out + "\n";
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const argv[], const GameOptions& start) {
    CommandLine command;
    command.options = start;
    for (int i = 1; i < argc && command.action == CommandLine::Action::Play; ++i) {
        const std::string argument = argv[i];
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const Option* option = argument.rfind("--", 0) == 0 ? optionNamed(name) : nullptr;
        if (!option) {
            return refuse(command, argument,
                          argument[0] == '-' ? "there is no such option"
                                             : "the game takes no arguments besides options");
        }
        std::string value, shown = argument;
        if (option->valueName && equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (option->valueName) {
            if (i + 1 == argc || std::string(argv[i + 1]).rfind("--", 0) == 0) {
                return refuse(command, argument,
                              "it needs a value: " + name + " " + option->valueName);
            }
            value = argv[++i];
            shown += " " + value;
        } else if (equals != std::string::npos) {
            return refuse(command, argument, name + " takes no value");
        }
        const std::string problem = option->apply(value, command);
        if (!problem.empty()) return refuse(command, shown, problem);
    }
    return command;
}

std::string applyOptionValue(const std::string& name, const std::string& value,
                             GameOptions& options) {
    const Option* option = optionNamed(name);
    if (!option || !option->valueName) return "there is no such option";
    CommandLine command;
    command.options = options;
    const std::string problem = option->apply(value, command);
    if (problem.empty()) options = command.options;
    return problem;
}

std::string usage() {
    std::string text =
        "Usage: fyrel [OPTION]...\n"
        "Steer an alien over eight planets, jump from planet to planet and "
        "collect the\n";
    text += FYREL_ORB_COUNT_WORD " glowing orbs.\n\nOptions:\n";
    for (const Option& option : options()) {
        const std::string left = std::string(option.name) +
                                 (option.valueName ? std::string(" ") + option.valueName : "");
        text += column(left, option.description, 26);
    }
    text += "\nControls:\n";
    for (const Binding& binding : kBindings) {
        if (binding.keysLabel) text += column(binding.keysLabel, binding.actionLabel, 16);
    }
    text += "\nExit status:\n";
    text += column(std::to_string(exitStatus::kSuccess), "the game ended normally", 7);
    text += column(std::to_string(exitStatus::kCannotStart),
                   "the window, OpenGL or the game's files could not be set up", 7);
    text += column(std::to_string(exitStatus::kBadArgument), "a bad command-line argument", 7);
    text += column(std::to_string(exitStatus::stoppedBy(SIGINT)), "ended by SIGINT (Ctrl+C)", 7);
    text += column(std::to_string(exitStatus::stoppedBy(SIGTERM)), "ended by SIGTERM", 7);
    return text;
}

std::string versionLine() {
    return std::string("fyrel ") + FYREL_VERSION;
}

int answerWithoutPlaying(const CommandLine& command, std::ostream& out, std::ostream& err) {
    switch (command.action) {
        case CommandLine::Action::ShowHelp:
            out << usage();
            return exitStatus::kSuccess;
        case CommandLine::Action::ShowVersion:
            out << versionLine() << "\n";
            return exitStatus::kSuccess;
        default:
            err << "fyrel: bad argument \"" << command.badArgument << "\": " << command.problem
                << "\nTry 'fyrel --help' for more information.\n";
            return exitStatus::kBadArgument;
    }
}
