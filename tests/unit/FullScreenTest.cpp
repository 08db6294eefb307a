#include <gtest/gtest.h>

#include <vector>

#include "platform/Window.h"

TEST(FullScreen, TheMonitorHoldingTheWindowIsTheOneWithTheLargestShareOfIt) {
    const std::vector<platform::ScreenRect> monitors = {{0, 0, 1920, 1080},
                                                        {1920, -200, 2560, 1440}};
    EXPECT_EQ(platform::monitorHolding({1500, 100, 1024, 768}, monitors), 1);
    EXPECT_EQ(platform::monitorHolding({1000, 100, 1024, 768}, monitors), 0);
    EXPECT_EQ(platform::monitorHolding({1920, 1000, 800, 600}, monitors), 1);
    // Off every monitor: the primary one.
    EXPECT_EQ(platform::monitorHolding({-5000, 0, 800, 600}, monitors), 0);
    EXPECT_EQ(platform::monitorHolding({0, 0, 800, 600}, {}), -1);
}
