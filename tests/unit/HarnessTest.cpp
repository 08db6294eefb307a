#include <gtest/gtest.h>

#include <map>
#include <string>

#include "TestGame.h"
#include "harness/Harness.h"
#include "harness/Options.h"

namespace {
using Environment = std::map<std::string, std::string>;

HarnessOptions optionsFrom(const Environment& environment) {
    return harnessOptionsFrom([&environment](const char* name) -> const char* {
        auto found = environment.find(name);
        return found != environment.end() ? found->second.c_str() : nullptr;
    });
}
}  // namespace

TEST(HarnessOptions, EachVariableSetsItsSettingAndOddValuesKeepTheDefaults) {
    const HarnessOptions none = optionsFrom({});
    EXPECT_EQ(none.maxFrames, 0);
    EXPECT_FALSE(none.autoplaySeed.has_value());
    EXPECT_EQ(none.autoplayStep, 0.1);
    EXPECT_EQ(none.captureDir, "");
    EXPECT_EQ(none.captureEvery, 0);
    EXPECT_FALSE(none.startupReport);

    const HarnessOptions all = optionsFrom({{"FYREL_MAX_FRAMES", "600"},
                                            {"FYREL_AUTOPLAY", "7"},
                                            {"FYREL_AUTOPLAY_STEP", "0.05"},
                                            {"FYREL_CAPTURE_DIR", "/tmp/shots"},
                                            {"FYREL_CAPTURE_EVERY", "8"},
                                            {"FYREL_BENCH_STARTUP", "1"}});
    EXPECT_EQ(all.maxFrames, 600);
    EXPECT_EQ(all.autoplaySeed, 7u);
    EXPECT_EQ(all.autoplayStep, 0.05);
    EXPECT_EQ(all.captureDir, "/tmp/shots");
    EXPECT_EQ(all.captureEvery, 8);
    EXPECT_TRUE(all.startupReport);

    const HarnessOptions odd = optionsFrom({{"FYREL_AUTOPLAY", ""},
                                            {"FYREL_AUTOPLAY_STEP", "2"},
                                            {"FYREL_CAPTURE_DIR", ""},
                                            {"FYREL_CAPTURE_EVERY", "-3"},
                                            {"FYREL_BENCH_STARTUP", "0"}});
    EXPECT_FALSE(odd.autoplaySeed.has_value());
    EXPECT_EQ(odd.autoplayStep, 0.1);
    EXPECT_EQ(odd.captureDir, "");
    EXPECT_EQ(odd.captureEvery, 0);
    EXPECT_FALSE(odd.startupReport);
    // Any text turns the bot on; it plays with seed 0 then.
    EXPECT_EQ(optionsFrom({{"FYREL_AUTOPLAY", "x"}}).autoplaySeed, 0u);
}

TEST(Harness, EndsTheLoopAfterTheFrameLimitAndNeverWithoutOne) {
    TestGame game(3);
    HarnessOptions limited;
    limited.maxFrames = 2;
    Harness twoFrames(limited);
    EXPECT_TRUE(twoFrames.afterSwap(game));
    EXPECT_FALSE(twoFrames.afterSwap(game));

    Harness endless{HarnessOptions{}};
    for (int frame = 0; frame < 100; ++frame) ASSERT_TRUE(endless.afterSwap(game));
}
