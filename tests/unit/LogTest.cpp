#include <gtest/gtest.h>

#include <iostream>

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
