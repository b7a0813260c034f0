#include "builtins/local_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {
// Every field localtime_r fills, compared as one text so a failure shows them all.
std::string Fields(const std::tm& f) {
  return std::to_string(f.tm_year) + "-" + std::to_string(f.tm_mon) + "-" + std::to_string(f.tm_mday) + " " +
         std::to_string(f.tm_hour) + ":" + std::to_string(f.tm_min) + ":" + std::to_string(f.tm_sec) + " wday " +
         std::to_string(f.tm_wday) + " yday " + std::to_string(f.tm_yday) + " dst " + std::to_string(f.tm_isdst) +
         " off " + std::to_string(f.tm_gmtoff) + " " + (f.tm_zone ? f.tm_zone : "-");
}

std::string Library(time_t t) {
  std::tm fields{};
  return localtime_r(&t, &fields) ? Fields(fields) : "fails";
}

std::string Ours(time_t t) {
  std::tm fields{};
  return LocalCalendar(t, fields) ? Fields(fields) : "fails";
}

void UseZone(const char* zone) {
  setenv("TZ", zone, 1);
  tzset();
}

class LocalTimeTest : public ::testing::Test {
 protected:
  void TearDown() override { UseZone("Europe/Warsaw"); }
};

// Zones with whole-hour, half-hour and southern daylight saving, and none: every
// 97 minutes over four years (days before, on and after each change, read
// twice so that the kept days are read too), then every second around midnight
// UTC and around a change.
TEST_F(LocalTimeTest, FieldsAreThoseOfTheCLibrary) {
  const time_t start = 1704067200;  // 2024-01-01 00:00 UTC
  for (const char* zone : {"Europe/Warsaw", "America/New_York", "Australia/Lord_Howe", "Asia/Kolkata", "UTC"}) {
    UseZone(zone);
    for (int pass = 0; pass < 2; ++pass)
      for (time_t t = start; t < start + 4 * 366 * 86400; t += 97 * 60)
        ASSERT_EQ(Ours(t), Library(t)) << zone << " t " << t << " pass " << pass;
    // Warsaw's spring and autumn changes, and midnight UTC of an ordinary day.
    for (time_t t : {time_t(1711846800), time_t(1729990800), start}) {
      for (time_t s = t - 4000; s < t + 4000; ++s) ASSERT_EQ(Ours(s), Library(s)) << zone << " t " << s;
    }
  }
}

// A zone loaded while the program runs is used from the next call; times the
// table keeps no day of (beyond its range, before 1970) are the library's.
TEST_F(LocalTimeTest, FollowsTheLoadedZoneAndLeavesOddTimesToTheLibrary) {
  const time_t noon = 1715515200;  // 2024-05-12 12:00 UTC
  auto twice = [](time_t t) {      // the second answer comes from the kept day
    const std::string first = Ours(t);
    EXPECT_EQ(Ours(t), first);
    return first;
  };
  UseZone("Europe/Warsaw");
  EXPECT_EQ(twice(noon), Library(noon));
  UseZone("America/New_York");
  EXPECT_EQ(twice(noon), Library(noon));
  EXPECT_NE(Ours(noon).find(" 8:0:0 "), std::string::npos) << Ours(noon);
  UseZone("Europe/Warsaw");
  EXPECT_NE(twice(noon).find(" 14:0:0 "), std::string::npos) << Ours(noon);
  for (time_t t : {time_t(-1), time_t(-86401), time_t(1) << 40, time_t(1) << 62}) EXPECT_EQ(Ours(t), Library(t)) << t;
}
}  // namespace
