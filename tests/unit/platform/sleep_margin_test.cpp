#include "platform/sleep_margin.h"

#include <gtest/gtest.h>

namespace {

TEST(SleepMargin, ExplicitMarginIsKept) {
  SleepMargin margin = SleepMargin::Explicit(2.5);
  EXPECT_EQ(margin.Micros(), 2500);
  for (int i = 0; i < 100; ++i) margin.AddLateness(9000);
  EXPECT_EQ(margin.Micros(), 2500);
  EXPECT_EQ(SleepMargin::Explicit(0).Micros(), 0);
  EXPECT_EQ(SleepMargin::Explicit(-3).Micros(), 0);
}

TEST(SleepMargin, AdaptiveMarginFollowsAHighPercentileOfLateness) {
  SleepMargin margin = SleepMargin::Adaptive();
  EXPECT_EQ(margin.Micros(), SleepMargin::kInitialMicros);
  for (size_t i = 0; i + 1 < SleepMargin::kWarmUp; ++i) margin.AddLateness(100);
  EXPECT_EQ(margin.Micros(), SleepMargin::kInitialMicros);  // not enough seen yet
  margin.AddLateness(100);
  EXPECT_EQ(margin.Micros(), 100 + SleepMargin::kHeadroomMicros);

  // Wake-ups of 120 to 182 µs, one in 32 a multi-millisecond outlier: the margin
  // is their 75th percentile, untouched by the outliers.
  for (int round = 0; round < 4; ++round) {
    for (int i = 0; i < 31; ++i) margin.AddLateness(120 + 2 * i);
    margin.AddLateness(4000 + 1000 * round);
  }
  EXPECT_GE(margin.Micros(), 160 + SleepMargin::kHeadroomMicros);
  EXPECT_LE(margin.Micros(), 170 + SleepMargin::kHeadroomMicros);

  for (size_t i = 0; i < SleepMargin::kWindow; ++i) margin.AddLateness(0);
  EXPECT_EQ(margin.Micros(), SleepMargin::kMinimumMicros);  // old samples are forgotten
  for (size_t i = 0; i < SleepMargin::kWindow; ++i) margin.AddLateness(50000);
  EXPECT_EQ(margin.Micros(), SleepMargin::kMaximumMicros);
  margin.AddLateness(-20);  // clock jitter never lowers below zero lateness
  EXPECT_EQ(margin.Micros(), SleepMargin::kMaximumMicros);
}

}  // namespace
