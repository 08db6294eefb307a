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
