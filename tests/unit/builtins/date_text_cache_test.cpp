#include <cstdlib>
#include <ctime>
#include <string>

#include "builtins/date_test.h"

namespace {
class DateTextCacheTest : public DateTest {
 protected:
  // 2024-05-11 23:30 UTC: the 12th in Warsaw, the 11th in UTC and in New York.
  const double kNearMidnight = UtcDate(2024, 5, 11, 23, 30);
};

// The short date of the Polish locale, day by day.
std::string WarsawDayText(double date) {
  std::time_t t = std::time_t((date - 25569) * 86400);
  std::tm fields;
  localtime_r(&t, &fields);
  char text[32];
  std::strftime(text, sizeof text, "%d.%m.%Y", &fields);
  return text;
}

TEST_F(DateTextCacheTest, RepeatedTextsShareOneBody) {
  TempValue first = Call("date_date_string", kNearMidnight);
  TempValue second = Call("date_date_string", kNearMidnight);
  EXPECT_EQ(Text(second), "12.05.2024");
  EXPECT_EQ(first.str, second.str);
}

TEST_F(DateTextCacheTest, TextsFollowTheModeTheZoneAndTheLocale) {
  EXPECT_EQ(Text(Call("date_date_string", kNearMidnight)), "12.05.2024");
  Call("date_set_timezone", 1.0);
  EXPECT_EQ(Text(Call("date_date_string", kNearMidnight)), "11.05.2024");
  Call("date_set_timezone", 0.0);
  EXPECT_EQ(Text(Call("date_date_string", kNearMidnight)), "12.05.2024");

  setenv("TZ", "America/New_York", 1);
  tzset();
  EXPECT_EQ(Text(Call("date_date_string", kNearMidnight)), "11.05.2024");
  setenv("TZ", "Europe/Warsaw", 1);
  tzset();
  EXPECT_EQ(Text(Call("date_date_string", kNearMidnight)), "12.05.2024");

  std::setlocale(LC_TIME, "C");
  EXPECT_EQ(Text(Call("date_date_string", kNearMidnight)), "05/12/24");
}

TEST_F(DateTextCacheTest, SecondsSharingASlotKeepTheirOwnTexts) {
  // More distinct seconds than the cache has slots, each read twice.
  const double start = UtcDate(2030, 1, 1, 12, 0);
  for (int pass = 0; pass < 2; ++pass) {
    for (int day = 0; day < 3 * 365; ++day) {
      const std::string expected = WarsawDayText(start + day);
      for (int second = 0; second < 90; ++second)
        ASSERT_EQ(Text(Call("date_date_string", start + day + second / 86400.0)), expected)
            << "day " << day << " second " << second << " pass " << pass;
    }
  }
}
}  // namespace
