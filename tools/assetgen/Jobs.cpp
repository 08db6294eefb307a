#include "tools/assetgen/Jobs.h"

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "infra/Assets.h"

namespace assetgen {

namespace {

using Clock = std::chrono::steady_clock;

// CPU time of the calling thread: wall time alone misleads on a busy machine.
double threadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

// The job's files, or the first of many.
std::string describe(const Job& job) {
    if (job.outputs.size() > 3) {
        return job.outputs.front() + " and " + std::to_string(job.outputs.size() - 1) + " more";
    }
    std::string text;
    for (const std::string& output : job.outputs) text += (text.empty() ? "" : " ") + output;
    return text;
}

std::map<std::string, uint64_t> readSums(const std::string& sums) {
    std::map<std::string, uint64_t> recorded;
    std::ifstream in(sums);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        uint64_t hash = 0;
        std::string path;
        if (fields >> std::hex >> hash && std::getline(fields >> std::ws, path)) {
            recorded[path] = hash;
        }
    }
    return recorded;
}

}  // namespace

std::vector<std::string> manifestMismatches(const std::vector<Job>& jobs) {
    std::set<std::string> listed, written;
    for (const assets::File& file : assets::kFiles) {
        if (assets::isGenerated(file)) listed.insert(file.path);
    }
    for (const Job& job : jobs) written.insert(job.outputs.begin(), job.outputs.end());
    std::vector<std::string> mismatches;
    std::set_symmetric_difference(listed.begin(), listed.end(), written.begin(), written.end(),
                                  std::back_inserter(mismatches));
    return mismatches;
}

std::optional<uint64_t> fileHash(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    // FNV-1a, 64 bits: quick, and plenty to tell a changed file.
    uint64_t hash = 14695981039346656037ull;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
        }
    }
    return hash;
}

bool writeSums(const std::string& dir, const std::vector<Job>& jobs, const std::string& sums) {
    std::ofstream out(sums);
    for (const Job& job : jobs) {
        for (const std::string& output : job.outputs) {
            const std::optional<uint64_t> hash = fileHash(dir + "/" + output);
            if (!hash) return false;
            char text[17];
            std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(*hash));
            out << text << ' ' << output << '\n';
        }
    }
    return static_cast<bool>(out);
}

std::vector<size_t> staleJobs(const std::string& dir, const std::vector<Job>& jobs,
                              const std::string& sums) {
    const std::map<std::string, uint64_t> recorded = readSums(sums);
    std::vector<size_t> stale;
    if (recorded.empty()) return stale;
    for (size_t i = 0; i < jobs.size(); ++i) {
        const bool changed = std::any_of(
            jobs[i].outputs.begin(), jobs[i].outputs.end(), [&](const std::string& output) {
                auto found = recorded.find(output);
                return found == recorded.end() || fileHash(dir + "/" + output) != found->second;
            });
        if (changed) stale.push_back(i);
    }
    return stale;
}

bool runJobs(const std::vector<Job>& jobs, const std::vector<size_t>& chosen,
             const std::string& dir) {
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex print;
    auto worker = [&] {
        for (size_t k; (k = next++) < chosen.size();) {
            const Job& job = jobs[chosen[k]];
            const auto start = Clock::now();
            const double cpuStart = threadSeconds();
            const bool ok = job.run(dir);
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            const double cpu = threadSeconds() - cpuStart;
            std::lock_guard<std::mutex> lock(print);
            std::printf("  %-26s %6.2f s (cpu %5.2f s)%s\n", describe(job).c_str(), seconds, cpu,
                        ok ? "" : "  FAILED");
            if (!ok) failed = true;
        }
    };
    const unsigned threads = std::max(2u, std::thread::hardware_concurrency());
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back(worker);
    for (std::thread& t : workers) t.join();
    return !failed;
}

}  // namespace assetgen
