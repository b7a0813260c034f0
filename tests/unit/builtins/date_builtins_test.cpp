// The wall clock of date_current_datetime; the other date built-ins are pinned
// by cases/dates.calls.
#include <cmath>

#include "support/date_fixture.h"

namespace {
using DateBuiltinsTest = DateTest;

TEST_F(DateBuiltinsTest, CurrentDateTimeReadsTheInjectedClockOrTheSystemOne) {
  SetWallClock([] { return int64_t(1715493600); });  // 2024-05-12 06:00:00 UTC
  TempValue now = Call("date_current_datetime");
  EXPECT_EQ(std::pair(KindOf(now), now.real), std::pair(uint32_t(VALUE_REAL), UtcDate(2024, 5, 12, 6, 0)));
  SetWallClock({});
  int64_t before = int64_t(std::time(nullptr));
  int64_t seconds = int64_t(std::floor((Call("date_current_datetime").real - 25569) * 86400));
  EXPECT_GE(seconds, before);
  EXPECT_LE(seconds, int64_t(std::time(nullptr)));
}
}  // namespace
