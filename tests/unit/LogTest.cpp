#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "infra/Log.h"

TEST(Log, Labels) {
    EXPECT_EQ(levelLabel(ERR), "ERR   ");
}

namespace {
// Runs the calls with the given threshold and returns what they wrote to standard output.
template <typename Calls>
std::string logged(LogLevel threshold, Calls calls) {
    LogLevel saved = logThreshold;
    logThreshold = threshold;
    testing::internal::CaptureStdout();
    calls();
    std::cout.flush();
    logThreshold = saved;
    return testing::internal::GetCapturedStdout();
}
}  // namespace

TEST(Log, ThresholdFiveKeepsOnlyErrorsAndFatals) {
    const std::string component = "ModelPool";
    std::string out = logged(ERR, [&] {
        logMessage(TRACE, component, "t");
        logInfo("i");
        logDebug(component, "d");
        logWarn(component, "w");
        logError(component, "e");
        logFatal("f");
    });
    EXPECT_EQ(out, "ERR   ModelPool: e\nFATAL main: f\n");
}

TEST(Log, ThresholdZeroPrintsEveryLevelWithTheCallersComponent) {
    const std::string component = "ModelPool";
    std::string out = logged(0, [&] {
        logMessage(TRACE, component, "addLoader called");
        logInfo("glfw initialized!");
        logDebug(component, "d");
        logWarn(component, "w");
        logError(component, "e");
        logFatal("f");
    });
    // The label's own trailing blank is the only separator before the component.
    EXPECT_EQ(out,
              "TRACE ModelPool: addLoader called\n"
              "INFO  main: glfw initialized!\n"
              "DEBUG ModelPool: d\n"
              "WARN  ModelPool: w\n"
              "ERR   ModelPool: e\n"
              "FATAL main: f\n");
}

TEST(Log, OddLevelsAndMessages) {
    const std::string component = "ModelPool";
    // Unknown level: no label, so the line starts with the component; it still passes 5.
    EXPECT_EQ(logged(ERR, [&] { logMessage(7, component, "x"); }), "ModelPool: x\n");
    // The comparison is signed: a negative level stays below a threshold of 0.
    EXPECT_EQ(logged(0, [&] { logMessage(-1, component, "x"); }), "");
    EXPECT_EQ(logged(0, [&] { logError(component, ""); }), "ERR   ModelPool: \n");
    // Messages are written as they are; a trailing line feed gives an empty line after.
    EXPECT_EQ(logged(0, [&] { logMessage(TRACE, defaultLogComponent, "Controlls: KEY_ESC\n"); }),
              "TRACE main: Controlls: KEY_ESC\n\n");
}

TEST(Log, LinesFromSeveralThreadsNeverMix) {
    constexpr int kThreads = 4, kLines = 2000;
    const std::string component = "PictureDecoder";
    // Long lines, so that a line written in pieces would be cut into by the other threads.
    auto message = [](int thread, int line) {
        return "thread " + std::to_string(thread) + " line " + std::to_string(line) + " " +
               std::string(60, static_cast<char>('a' + thread));
    };
    const std::string out = logged(0, [&] {
        // Released together, so that the threads really write at the same time.
        std::atomic<bool> go{false};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                while (!go) std::this_thread::yield();
                for (int i = 0; i < kLines; ++i) logWarn(component, message(t, i));
            });
        }
        go = true;
        for (std::thread& thread : threads) thread.join();
    });
    std::set<std::string> expected;
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kLines; ++i)
            expected.insert("WARN  " + component + ": " + message(t, i));
    }
    std::istringstream lines(out);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        ASSERT_EQ(expected.count(line), 1u) << "mixed line: " << line;
    }
    EXPECT_EQ(count, kThreads * kLines);
}
