#pragma once

// Files for the unit tests: a folder of the test's own, and whole files written and read back.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A new folder in the temporary folder, removed with its contents when this object goes.
struct TempDir {
    std::filesystem::path path;
    explicit TempDir(const std::string& kind)
        : path(std::filesystem::temp_directory_path() /
               ("fyrel-" + kind + "-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
};

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
