#pragma once

#include <iosfwd>
#include <string>

#include "app/GameRules.h"
#include "infra/WindowSetup.h"
#include "platform/Audio.h"

// What the player chose on the command line. Without arguments every field keeps its default,
// and the game runs as it always has.
struct GameOptions {
    WindowRequest window;
    // The folder of the game's files; empty: looked for (infra/DataFolder.h).
    std::string dataFolder;
    platform::AudioSettings audio;
    MouseSettings mouse;
};

// A command line, read: what to do, and with which options.
struct CommandLine {
    enum class Action { Play, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Play;
    GameOptions options;
    // With Refuse: the bad argument as given, and what is wrong with it.
    std::string badArgument;
    std::string problem;
};

// The program's exit statuses, as --help lists them.
namespace exitStatus {
constexpr int kSuccess = 0;
constexpr int kCannotStart = 1;
constexpr int kBadArgument = 2;
// As a shell reports a process that the signal ended.
constexpr int stoppedBy(int signal) {
    return 128 + signal;
}
}  // namespace exitStatus

// Reads argv[1..argc-1] over `start` (the player's kept settings); options take their value as
// "--opt value" or "--opt=value". Looks at nothing but the arguments and, for --data, whether
// that folder exists.
CommandLine parseCommandLine(int argc, const char* const argv[],
                             const GameOptions& start = GameOptions());
// Gives `options` the value of the option `name` ("--volume") that takes one, as the command
// line would; empty, or what is wrong with the value (the command line's own words).
std::string applyOptionValue(const std::string& name, const std::string& value,
                             GameOptions& options);
// The --help text: usage line, options, controls and exit statuses.
std::string usage();
// "fyrel X.Y.Z".
std::string versionLine();
// For a command line that does not play: prints the help or the version on `out`, or the bad
// argument and the usage on `err`, and returns the exit status.
int answerWithoutPlaying(const CommandLine& command, std::ostream& out, std::ostream& err);
