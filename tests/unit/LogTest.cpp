#include <gtest/gtest.h>

#include "infra/Log.h"

TEST(Log, Labels) { EXPECT_EQ(levelLabel(ERR), "ERR   "); }
