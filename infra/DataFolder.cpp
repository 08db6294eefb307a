#include "infra/DataFolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>

#include "infra/Assets.h"

namespace fs = std::filesystem;

const char* const kInstalledDataFolder = FYREL_DATA_FROM_BINARY;

bool holdsGameFiles(const std::string& folder) {
    std::error_code error;
    size_t found = 0;
    for (const assets::File& file : assets::kFiles) {
        found += fs::is_regular_file(fs::path(folder) / file.path, error);
    }
    return 2 * found > std::size(assets::kFiles);
}

std::optional<std::string> findDataFolder(const std::string& requested,
                                          const std::string& workingDirectory,
                                          const std::string& executable) {
    if (!requested.empty()) return requested;
    const fs::path beside = fs::path(executable).parent_path();
    for (const fs::path& folder :
         {fs::path(workingDirectory), beside, beside / kInstalledDataFolder}) {
        if (!folder.empty() && holdsGameFiles(folder.string())) return folder.string();
    }
    return std::nullopt;
}

void enterDataFolder(const std::string& requested) {
    std::error_code error;
    // The kernel's link names the executable itself, with every symbolic link resolved.
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    const std::optional<std::string> folder = findDataFolder(requested, ".", executable.string());
    if (folder && chdir(folder->c_str()) != 0) {
        std::cerr << "fyrel: cannot enter the folder \"" << *folder << "\" ("
                  << std::strerror(errno) << ")" << std::endl;
    }
}
