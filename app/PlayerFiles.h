#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "infra/KeptFile.h"

namespace platform {
class Window;
}

// The file names under the player's configuration and state folders (infra/KeptFile.h).
constexpr const char* kSettingsFile = "settings";
constexpr const char* kBestTimeFile = "best-time";

// The settings kept between runs, named as the long options: full screen, window size, volume,
// sound off, mouse sensitivity and inverted tilt. "mute" there turns the sound off with the
// device open (M turns it on again); --mute opens no device at all.
constexpr size_t kKeptSettings = 6;
using SettingValues = std::array<std::string, kKeptSettings>;

// Each kept setting of `options` as the file writes it.
SettingValues settingValues(const GameOptions& options);
// Takes one line of the settings file into `options`: empty, or what is wrong with it.
std::string takeSetting(const NamedValue& line, GameOptions& options);
// What the file should hold after a run: each setting the player changed in the game (it differs
// from how the run started), and the rest as the file had them, so the command line's choices
// are not written back.
SettingValues settingsToKeep(const SettingValues& file, const SettingValues& started,
                             const SettingValues& now);
std::string settingsText(const SettingValues& values);
// The window's full-screen state and windowed size, where they make a valid --window.
void takeWindowState(const platform::Window& window, GameOptions& options);

// The player's settings file in one run.
class SettingsFile {
  public:
    SettingsFile(std::string path, std::ostream& warnings);
    // The kept settings over the defaults.
    GameOptions read();
    // Writes what the run changed, and nothing when it changed nothing.
    void keep(const GameOptions& started, const GameOptions& now);

  private:
    KeptFile file;
    SettingValues asRead;
};

// "2:05": whole minutes and seconds of a game time, rounded down.
std::string clockTime(double seconds);
// The line under "enter: play again": "time 2:31  best 2:05", or "time 1:58  new best".
std::string endLine(double seconds, std::optional<double> best);
bool isNewBest(double seconds, std::optional<double> best);

// The player's best time in one run: read at start, written when a game beats it.
class BestTimeFile {
  public:
    BestTimeFile(std::string path, std::ostream& warnings);
    std::optional<double> read();
    void keep(double seconds);

  private:
    KeptFile file;
};
