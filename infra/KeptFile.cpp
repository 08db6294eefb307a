#include "infra/KeptFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>

namespace {

namespace fs = std::filesystem;

std::string kept(const char* variable, const char* homeFolder, const char* name,
                 const EnvironmentVariable& lookup) {
    // Relative values are invalid by the XDG rules and must be ignored.
    const char* base = lookup(variable);
    if (base && base[0] == '/') return std::string(base) + "/fyrel/" + name;
    const char* home = lookup("HOME");
    if (!home || home[0] != '/') return {};
    return std::string(home) + "/" + homeFolder + "/fyrel/" + name;
}

std::string systemError() {
    return std::strerror(errno);
}

// Number of continuation bytes a UTF-8 lead byte announces, or -1 for a byte that cannot lead.
int continuationBytes(unsigned char lead) {
    if (lead < 0x80) return 0;
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return -1;
}

// UTF-8 without control characters other than tab and line ends.
bool isText(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) return false;
        const int more = continuationBytes(c);
        if (more < 0 || i + more > bytes.size() - 1) return false;
        for (int k = 1; k <= more; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        }
        i += more;
    }
    return true;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void readLines(const std::string& bytes, KeptFileText& result) {
    size_t start = 0;
    for (int number = 1; start < bytes.size(); ++number) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = trimmed(bytes.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        const size_t equals = line.find('=');
        const std::string name = trimmed(line.substr(0, equals));
        if (equals == std::string::npos || name.empty()) {
            result.malformedLines.push_back(number);
            continue;
        }
        result.lines.push_back({name, trimmed(line.substr(equals + 1)), number});
    }
}

// The whole file, or why it cannot be used; at most one byte past the limit is read.
std::string readWhole(int fd, std::string& bytes) {
    struct stat status {};
    if (fstat(fd, &status) != 0) return "cannot be read (" + systemError() + ")";
    if (S_ISDIR(status.st_mode)) return "is a folder, not a file";
    if (!S_ISREG(status.st_mode)) return "is not a plain file";
    if (status.st_size > kKeptFileLimit) return "is larger than 64 KiB";
    bytes.resize(kKeptFileLimit + 1);
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return "cannot be read (" + systemError() + ")";
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    if (got > static_cast<size_t>(kKeptFileLimit)) return "is larger than 64 KiB";
    if (bytes.empty()) return "is empty";
    if (!isText(bytes)) return "is not text";
    return {};
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// So that the rename itself survives a power cut.
void flushFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    ::close(fd);
}

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

}  // namespace

std::string configFilePath(const char* name, const EnvironmentVariable& variable) {
    return kept("XDG_CONFIG_HOME", ".config", name, variable);
}

std::string stateFilePath(const char* name, const EnvironmentVariable& variable) {
    return kept("XDG_STATE_HOME", ".local/state", name, variable);
}

KeptFileText readKeptFile(const std::string& path) {
    KeptFileText result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENOENT) return result;
    result.exists = true;
    if (fd < 0) {
        result.unreadable = "cannot be read (" + systemError() + ")";
        return result;
    }
    std::string bytes;
    result.unreadable = readWhole(fd, bytes);
    ::close(fd);
    if (result.unreadable.empty()) readLines(bytes, result);
    return result;
}

std::string stageKeptFile(const std::string& path, const std::string& text, std::string& problem) {
    const fs::path target(path);
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error) {
        problem = "cannot make the folder " + quoted(target.parent_path()) + ": " + error.message();
        return {};
    }
    // A name of its own in the same folder, so that two games never write into one file and the
    // rename stays within one file system.
    std::string staged = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX"));
    const int fd = mkostemp(staged.data(), O_CLOEXEC);
    if (fd < 0) {
        problem = systemError();
        return {};
    }
    const bool written = writeAll(fd, text) && fsync(fd) == 0;
    if (!written) problem = systemError();
    if (::close(fd) != 0 && written) problem = systemError();
    if (!problem.empty()) {
        ::unlink(staged.c_str());
        return {};
    }
    return staged;
}

std::string commitKeptFile(const std::string& staged, const std::string& path) {
    if (std::rename(staged.c_str(), path.c_str()) != 0) {
        const std::string problem = systemError();
        ::unlink(staged.c_str());
        return problem;
    }
    flushFolder(fs::path(path).parent_path());
    return {};
}

KeptFile::KeptFile(std::string path, std::string fallback, std::ostream& warnings)
    : filePath(std::move(path)), fallback(std::move(fallback)), warnings(warnings) {}

void KeptFile::read(const Take& take) {
    if (filePath.empty()) return;
    const KeptFileText text = readKeptFile(filePath);
    if (!text.unreadable.empty()) {
        moveAside = true;
        warnings << "fyrel: " << quoted(filePath) << " " << text.unreadable << "; " << fallback
                 << ", and the next one written moves it aside to " << quoted(filePath + ".bad")
                 << std::endl;
        return;
    }
    std::vector<std::string> problems;
    for (int line : text.malformedLines)
        problems.push_back("line " + std::to_string(line) + " is not \"name = value\"");
    for (const NamedValue& line : text.lines) {
        const std::string problem = take(line);
        if (!problem.empty())
            problems.push_back("line " + std::to_string(line.line) + ": " + problem);
    }
    if (problems.empty()) return;
    // A long list would hide the rest of the output; the first few show what is wrong.
    constexpr size_t kListed = 3;
    warnings << "fyrel: " << quoted(filePath) << ": ";
    for (size_t i = 0; i < std::min(problems.size(), kListed); ++i) warnings << problems[i] << "; ";
    if (problems.size() > kListed) warnings << "and " << (problems.size() - kListed) << " more; ";
    warnings << "the other lines are used" << std::endl;
}

void KeptFile::write(const std::string& text) {
    if (filePath.empty()) return;
    std::string problem;
    const std::string staged = stageKeptFile(filePath, text, problem);
    if (problem.empty() && moveAside &&
        std::rename(filePath.c_str(), (filePath + ".bad").c_str()) != 0) {
        problem = "cannot move it aside: " + systemError();
        ::unlink(staged.c_str());
    }
    if (problem.empty()) problem = commitKeptFile(staged, filePath);
    if (!problem.empty()) {
        warnings << "fyrel: cannot write " << quoted(filePath) << " (" << problem
                 << "); it is not kept" << std::endl;
        return;
    }
    moveAside = false;
}
