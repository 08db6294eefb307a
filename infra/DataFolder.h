#pragma once

#include <optional>
#include <string>

// The folder the game's relative file paths (those of the asset manifest) start from.

// Where an installed game keeps its files, relative to its executable's folder, e.g.
// "../share/fyrel".
extern const char* const kInstalledDataFolder;

// True when `folder` holds more than half of the files of the asset manifest. A copy of the
// game's folder with some files missing is still its folder, and the game then reports them as
// it always does; a source tree with only the shaders in it is not.
bool holdsGameFiles(const std::string& folder);

// `requested` when it is not empty; else the first of `workingDirectory`, the folder of
// `executable` and kInstalledDataFolder beside it that holds the game's files; else nothing.
std::optional<std::string> findDataFolder(const std::string& requested,
                                          const std::string& workingDirectory,
                                          const std::string& executable);

// Makes the folder found for this process (from /proc/self/exe) the working directory. When
// no folder holds the game's files the working directory stays, and the missing files are
// reported as usual.
void enterDataFolder(const std::string& requested);
