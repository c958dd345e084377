#include <gtest/gtest.h>
#include <thread>
TEST(Smoke, Runs) { std::thread t([]{}); t.join(); EXPECT_EQ(1 + 1, 2); }
