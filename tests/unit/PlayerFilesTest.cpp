// The files kept for the player: the settings and the best time, read from hostile files and
// written so that no moment leaves half a file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "TestFiles.h"
#include "app/PlayerFiles.h"
#include "infra/KeptFile.h"

namespace fs = std::filesystem;

namespace {

// The settings as the file writes them, in its order.
std::string valuesOf(const GameOptions& options) {
    std::string text;
    for (const std::string& value : settingValues(options)) text += value + " ";
    return text;
}

bool present(const fs::path& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found;
}

const std::string kDefaults = "no 1024x768 100 no 1 no ";
const std::string kWholeFileLost =
    "; the defaults are used, and the next one written moves it aside to \"@.bad\"\n";

}  // namespace

// Each hostile settings file, what the game takes from it and the one warning line it gives
// ("@" stands for the file's path); then whether a new file moves it aside.
TEST(SettingsFile, EachHostileFileCostsOneWarningAndKeepsEveryGoodLine) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        std::string values;
        std::string warning;
    };
    const std::string goodLine = "volume = 40\n";
    std::string largest = "# " + std::string(kKeptFileLimit - goodLine.size() - 3, 'x') + "\n";
    largest += goodLine;
    const std::vector<Case> cases = {
        {"missing", [](const fs::path&) {}, kDefaults, ""},
        {"every setting",
         [](const fs::path& p) {
             writeFile(p,
                       "# mine\r\n\n  fullscreen=yes\nwindow = 800x600\nvolume = 0\nmute = yes\n"
                       "mouse-sensitivity = 2.5\ninvert-mouse = yes\n");
         },
         "yes 800x600 0 yes 2.5 yes ", ""},
        {"empty", [](const fs::path& p) { writeFile(p, ""); }, kDefaults,
         "fyrel: \"@\" is empty" + kWholeFileLost},
        {"unreadable", [](const fs::path& p) { fs::create_symlink(p, p); }, kDefaults,
         "fyrel: \"@\" cannot be read (Too many levels of symbolic links)" + kWholeFileLost},
        {"a folder", [](const fs::path& p) { fs::create_directories(p / "x"); }, kDefaults,
         "fyrel: \"@\" is a folder, not a file" + kWholeFileLost},
        {"64 KiB", [&](const fs::path& p) { writeFile(p, largest); }, "no 1024x768 40 no 1 no ",
         ""},
        {"larger than 64 KiB", [&](const fs::path& p) { writeFile(p, largest + "\n"); }, kDefaults,
         "fyrel: \"@\" is larger than 64 KiB" + kWholeFileLost},
        {"binary", [](const fs::path& p) { writeFile(p, std::string("volume = 4\0", 11)); },
         kDefaults, "fyrel: \"@\" is not text" + kWholeFileLost},
        {"not UTF-8", [](const fs::path& p) { writeFile(p, "volume = 4\xff\n"); }, kDefaults,
         "fyrel: \"@\" is not text" + kWholeFileLost},
        {"unknown name",
         [](const fs::path& p) { writeFile(p, "colour = red\nvolume = 40\nvolume 30\n"); },
         "no 1024x768 40 no 1 no ",
         "fyrel: \"@\": line 3 is not \"name = value\"; line 1: there is no setting \"colour\"; "
         "the other lines are used\n"},
        {"out of range",
         [](const fs::path& p) {
             writeFile(p,
                       "volume = 101\nwindow = 319x240\nmouse-sensitivity = nan\n"
                       "fullscreen = 1\ninvert-mouse = yes\n");
         },
         "no 1024x768 100 no 1 yes ",
         "fyrel: \"@\": line 1: the volume must be 0 to 100; line 2: the window size must be "
         "WIDTHxHEIGHT, from 320x240 to 16384x16384; line 3: the mouse sensitivity must be a "
         "number from 0.1 to 10; and 1 more; the other lines are used\n"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TempDir dir("kept");
        const fs::path path = dir.path / "fyrel" / "settings";
        fs::create_directories(path.parent_path());
        test.make(path);
        std::ostringstream warnings;
        SettingsFile file(path, warnings);
        const GameOptions read = file.read();
        EXPECT_EQ(valuesOf(read), test.values);
        std::string expected = test.warning;
        for (size_t at; (at = expected.find('@')) != std::string::npos;)
            expected.replace(at, 1, path.string());
        EXPECT_EQ(warnings.str(), expected);

        // Nothing changed: nothing is written, whatever the file held.
        file.keep(read, read);
        EXPECT_FALSE(present(path.string() + ".bad"));
        EXPECT_EQ(present(path), std::string(test.name) != "missing");
        GameOptions louder = read;
        louder.audio.volume = 70;
        file.keep(read, louder);
        EXPECT_EQ(present(path.string() + ".bad"), expected.find(".bad") != std::string::npos);
        std::ostringstream again;
        SettingValues kept = settingValues(read);
        kept[2] = "70";
        EXPECT_EQ(settingValues(SettingsFile(path, again).read()), kept);
        EXPECT_EQ(again.str(), "");
    }
}

// Killed between the temporary file and the rename: the old file is whole, and the rename then
// puts the new one in place in one step.
TEST(KeptFile, AWriteInterruptedBeforeTheRenameLeavesTheOldFileWhole) {
    TempDir dir("kept");
    const fs::path path = dir.path / "a" / "b" / "best-time";
    std::string problem;
    EXPECT_EQ(commitKeptFile(stageKeptFile(path, "seconds = 90\n", problem), path), "");
    ASSERT_EQ(readFile(path), "seconds = 90\n");

    const std::string staged = stageKeptFile(path, "seconds = 80\n", problem);
    ASSERT_EQ(problem, "");
    EXPECT_EQ(fs::path(staged).parent_path(), path.parent_path());
    EXPECT_EQ(readFile(path), "seconds = 90\n");
    std::ostringstream warnings;
    EXPECT_EQ(BestTimeFile(path, warnings).read(), 90.0);
    EXPECT_EQ(commitKeptFile(staged, path), "");
    EXPECT_EQ(readFile(path), "seconds = 80\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), {}), 1);

    // A folder that cannot be made: one line, and the game goes on.
    writeFile(dir.path / "file", "");
    KeptFile blocked((dir.path / "file" / "fyrel" / "settings").string(), "", warnings);
    blocked.write("volume = 10\n");
    EXPECT_EQ(warnings.str(),
              "fyrel: cannot write \"" + (dir.path / "file/fyrel/settings").string() +
                  "\" (cannot make the folder \"" + (dir.path / "file/fyrel").string() +
                  "\": Not a directory); it is not kept\n");
}

TEST(BestTimeFile, KeepsAFasterTimeAndRefusesWhatNoGameTakes) {
    TempDir dir("kept");
    const fs::path path = dir.path / "best-time";
    const std::map<std::string, std::optional<double>> contents = {
        {"seconds = 125.5\n", 125.5},         {"seconds = 0\n", std::nullopt},
        {"seconds = nan\n", std::nullopt},    {"seconds = -3\n", std::nullopt},
        {"seconds = 360000\n", std::nullopt}, {"best = 3\n", std::nullopt}};
    for (const auto& [text, best] : contents) {
        writeFile(path, text);
        std::ostringstream warnings;
        EXPECT_EQ(BestTimeFile(path, warnings).read(), best) << text;
        EXPECT_EQ(warnings.str().empty(), best.has_value()) << warnings.str();
    }
    std::ostringstream warnings;
    BestTimeFile(path, warnings).keep(61.25);
    EXPECT_EQ(BestTimeFile(path, warnings).read(), 61.25);
    EXPECT_EQ(warnings.str(), "");

    EXPECT_EQ(endLine(151.9, 125.0), "time 2:31  best 2:05");
    EXPECT_EQ(endLine(125.0, 125.0), "time 2:05  best 2:05");
    EXPECT_EQ(endLine(124.9, 125.0), "time 2:04  new best");
    EXPECT_EQ(endLine(3601.0, std::nullopt), "time 60:01  new best");
}

TEST(KeptFile, LivesInTheXdgFoldersOrUnderHome) {
    std::map<std::string, const char*> variables;
    const EnvironmentVariable lookup = [&](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second;
    };
    EXPECT_EQ(configFilePath("settings", lookup), "");
    variables["HOME"] = "/home/p";
    EXPECT_EQ(configFilePath("settings", lookup), "/home/p/.config/fyrel/settings");
    EXPECT_EQ(stateFilePath("best-time", lookup), "/home/p/.local/state/fyrel/best-time");
    variables["XDG_CONFIG_HOME"] = "relative";  // not absolute: ignored
    variables["XDG_STATE_HOME"] = "/s";
    EXPECT_EQ(configFilePath("settings", lookup), "/home/p/.config/fyrel/settings");
    EXPECT_EQ(stateFilePath("best-time", lookup), "/s/fyrel/best-time");
}
