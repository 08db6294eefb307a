#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Generation split into jobs, each writing its own files into one folder, and the record of
// what they wrote: a later run finds a file that was deleted, cut short or edited since and
// makes it again.
namespace assetgen {

struct Job {
    // Files the job writes, below the folder.
    std::vector<std::string> outputs;
    std::function<bool(const std::string& dir)> run;
};

// What the jobs write and the asset manifest lists as generated differ in: files written but not
// listed, and files listed but never written. Empty when the two agree.
std::vector<std::string> manifestMismatches(const std::vector<Job>& jobs);

// A hash of the file's bytes; none when it cannot be read.
std::optional<uint64_t> fileHash(const std::string& path);

// Records the hash of every file the jobs wrote into `sums`.
bool writeSums(const std::string& dir, const std::vector<Job>& jobs, const std::string& sums);

// The jobs (by index) with a file that is missing or differs from what `sums` recorded. Without
// a record nothing is known, and none is given.
std::vector<size_t> staleJobs(const std::string& dir, const std::vector<Job>& jobs,
                              const std::string& sums);

// Runs the chosen jobs on every core, printing the time each took; false when any failed.
bool runJobs(const std::vector<Job>& jobs, const std::vector<size_t>& chosen,
             const std::string& dir);

}  // namespace assetgen
