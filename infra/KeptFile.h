#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// The small files the game keeps for the player between runs (the settings, the best time):
// plain "name = value" lines, read without trusting them and written so that a crash or a second
// game at any moment leaves either the old or the new file whole.

// The value of an environment variable by name, or null when it is not set.
using EnvironmentVariable = std::function<const char*(const char* name)>;

// "$XDG_CONFIG_HOME/fyrel/<name>" ("~/.config/fyrel/<name>" when that is unset or not an
// absolute path), and the same in $XDG_STATE_HOME ("~/.local/state"). Empty when neither that
// variable nor HOME gives a folder: then nothing is read or written.
std::string configFilePath(const char* name, const EnvironmentVariable& variable);
std::string stateFilePath(const char* name, const EnvironmentVariable& variable);

// Larger files are not read at all: these hold a few short lines.
constexpr long kKeptFileLimit = 64 * 1024;

// One "name = value" line as read, with its line number (from 1).
struct NamedValue {
    std::string name;
    std::string value;
    int line = 0;
};

// What reading a kept file gave: its lines, or why it could not be read at all.
struct KeptFileText {
    bool exists = false;
    // Empty when the file could be read; then `lines` holds every "name = value" line.
    std::string unreadable;
    std::vector<NamedValue> lines;
    // Lines that are neither blank, a "#" comment, nor "name = value".
    std::vector<int> malformedLines;
};
KeptFileText readKeptFile(const std::string& path);

// Writes `text` to a new file in the folder of `path` (made if missing) and flushes it to disk;
// the old file is untouched. Returns the new file's path, or empty with `problem` set.
std::string stageKeptFile(const std::string& path, const std::string& text, std::string& problem);
// Renames the staged file over `path` in one step; empty, or what went wrong.
std::string commitKeptFile(const std::string& staged, const std::string& path);

// One kept file of a run. Reading and writing cost at most one warning line each on `warnings`,
// naming the file and what is wrong; nothing here stops the game.
class KeptFile {
  public:
    // Takes one line's value: empty, or what is wrong with it.
    using Take = std::function<std::string(const NamedValue& line)>;

    // `fallback` says what the game uses instead of a file it cannot read ("the defaults").
    KeptFile(std::string path, std::string fallback, std::ostream& warnings);

    // Hands every good line to `take`; warns once for what it could not use.
    void read(const Take& take);
    // Replaces the file with `text`; a file that could not be read at all is first moved aside
    // as "<name>.bad".
    void write(const std::string& text);
    const std::string& path() const { return filePath; }

  private:
    std::string filePath;
    std::string fallback;
    std::ostream& warnings;
    bool moveAside = false;
};
