#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "infra/Assets.h"
#include "infra/DataFolder.h"

namespace {

namespace fs = std::filesystem;

// Empty files by the manifest's paths.
void putFiles(const fs::path& folder, bool shadersOnly = false) {
    for (const assets::File& asset : assets::kFiles) {
        if (shadersOnly && asset.kind != assets::Kind::Shader) continue;
        const fs::path file = folder / asset.path;
        fs::create_directories(file.parent_path());
        std::ofstream{file};
    }
}

bool same(const std::optional<std::string>& found, const fs::path& expected) {
    return found && fs::equivalent(*found, expected);
}

}  // namespace

TEST(DataFolder, TheRequestedOneElseTheWorkingDirectoryElseBesideTheProgramElseItsShareFolder) {
    const fs::path root = fs::temp_directory_path() / ("fyrel-data-" + std::to_string(getpid()));
    const fs::path work = root / "work", bin = root / "bin", program = bin / "fyrel";
    const fs::path installed = bin / kInstalledDataFolder;
    fs::create_directories(work);
    fs::create_directories(bin);

    // A source tree holds the shaders but not the generated files: not the game's folder.
    putFiles(work, true);
    EXPECT_FALSE(findDataFolder("", work.string(), program.string()));

    putFiles(installed);
    EXPECT_TRUE(same(findDataFolder("", work.string(), program.string()), installed));
    putFiles(bin);
    EXPECT_TRUE(same(findDataFolder("", work.string(), program.string()), bin));
    // One file missing (as in the hostile-file runs) still makes it the game's folder.
    putFiles(work);
    fs::remove(work / assets::alienModel);
    EXPECT_TRUE(same(findDataFolder("", work.string(), program.string()), work));

    EXPECT_EQ(findDataFolder("/elsewhere", work.string(), program.string()), "/elsewhere");
    fs::remove_all(root);
}

// The game finds its files through its own executable when the working directory lacks them:
// here the test program's, with the files where an installed game keeps them beside it. A
// folder it cannot enter is named with the reason, and the working directory stays.
TEST(DataFolder, EnteringFollowsTheRunningProgramAndSaysWhenTheFolderCannotBeEntered) {
    const fs::path previous = fs::current_path();
    const fs::path empty = fs::temp_directory_path() / ("fyrel-empty-" + std::to_string(getpid()));
    const fs::path installed =
        fs::read_symlink("/proc/self/exe").parent_path() / kInstalledDataFolder;
    ASSERT_FALSE(fs::exists(installed)) << installed << " is in the way";
    fs::create_directories(empty);
    putFiles(installed);
    fs::current_path(empty);
    enterDataFolder("");
    const fs::path entered = fs::current_path();
    fs::current_path(previous);
    EXPECT_TRUE(fs::equivalent(entered, installed)) << entered;
    fs::remove_all(installed);
    std::error_code notEmpty;
    fs::remove(installed.parent_path(), notEmpty);  // only if the test made it

    fs::current_path(empty);
    testing::internal::CaptureStderr();
    enterDataFolder((empty / "gone").string());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(fs::equivalent(fs::current_path(), empty));
    fs::current_path(previous);
    EXPECT_EQ(said, "fyrel: cannot enter the folder \"" + (empty / "gone").string() +
                        "\" (No such file or directory)\n");
    fs::remove_all(empty);
}
