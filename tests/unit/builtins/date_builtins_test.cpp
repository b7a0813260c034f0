#include <cmath>
#include <limits>
#include <vector>

#include "support/date_fixture.h"

namespace {
using DateBuiltinsTest = DateTest;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
const std::vector<double> kUnconvertible = {0.0, -5.0, kNaN, kInfinity, -kInfinity, 1e300};
const char* const kBefore1970 = "invalid date conversion - dates earlier than 1 Jan 1970 will be incorrect";

std::string DateString(double date) { return BuiltinTest::Text(BuiltinTest::Call("date_date_string", date)); }

TEST_F(DateBuiltinsTest, ValidDateTimeChecksEveryField) {
  const std::vector<std::vector<double>> valid = {
      {2024, 2, 29, 0, 0, 0},          {2000, 2, 29, 0, 0, 0},       {1970, 1, 1, 0, 0, 0},
      {2024, 12, 31, 23, 59, 59},      {2147483600, 2, 29, 0, 0, 0},  // no upper bound on the year
      {2024.9, 2.9, 29.9, 23.9, 0, 0},                                // whole numbers truncate
  };
  const std::vector<std::vector<double>> invalid = {
      {2023, 2, 29, 0, 0, 0}, {1900, 2, 29, 0, 0, 0}, {2100, 2, 29, 0, 0, 0}, {1969, 12, 31, 0, 0, 0},
      {2024, 4, 31, 0, 0, 0}, {2024, 1, 1, 24, 0, 0}, {2024, 1, 1, 0, 60, 0}, {2024, 1, 1, 0, 0, 60},
      {2024, 1, 1, -1, 0, 0}, {2024, 0, 1, 0, 0, 0},  {2024, 13, 1, 0, 0, 0}, {2024, 1, 0, 0, 0, 0},
  };
  for (const auto& [fields, expected] : {std::pair{valid, 1.0}, std::pair{invalid, 0.0}})
    for (const std::vector<double>& f : fields)
      EXPECT_EQ(Call("date_valid_datetime", f[0], f[1], f[2], f[3], f[4], f[5]).real, expected)
          << f[0] << "-" << f[1] << "-" << f[2] << " " << f[3] << ":" << f[4] << ":" << f[5];
}

TEST_F(DateBuiltinsTest, CreateMakesLocalTimeHalfASecondAfterTheSecondFrom1970On) {
  EXPECT_EQ(Create(2024, 5, 12, 8, 0, 0), UtcDate(2024, 5, 12, 6, 0));   // CEST, UTC+2
  EXPECT_EQ(Create(2024, 1, 15, 8, 0, 0), UtcDate(2024, 1, 15, 7, 0));   // CET, UTC+1
  EXPECT_EQ(Create(2024, 1, 32, 0, 0, 0), Create(2024, 2, 1, 0, 0, 0));  // normalised
  EXPECT_EQ(Create(2024, 3, 0, 12, 0, 0), Create(2024, 2, 29, 12, 0, 0));
  EXPECT_EQ(Create(2023, 12, 31, 24, 0, 0), Create(2024, 1, 1, 0, 0, 0));
  EXPECT_EQ(Create(1970, 1, 1, 8, 0, 0), 25569 + (7 * 3600 + 0.5) / 86400);
  EXPECT_EQ(DateString(Create(2147483647, 1, 1, 12, 0, 0)), "01.01.2147483647");  // fits 64-bit time
  // 1969; 23:30 UTC the day before; 1800 taken as 1900; a month that does not fit.
  for (const std::vector<double>& f : std::vector<std::vector<double>>{
           {1969, 12, 31, 8, 0, 0}, {1970, 1, 1, 0, 30, 0}, {1800, 6, 1, 0, 0, 0}, {2024, -2147483648.0, 1, 0, 0, 0}})
    EXPECT_RUNTIME_ERROR(Create(f[0], f[1], f[2], f[3], f[4], f[5]), kBefore1970);
  SuppressErrors suppress;  // reported, then carried on with the number 0
  TempValue failed = Call("date_create_datetime", 1969.0, 12.0, 31.0, 8.0, 0.0, 0.0);
  EXPECT_EQ(std::pair(KindOf(failed), failed.real), std::pair(uint32_t(VALUE_REAL), 0.0));
  EXPECT_TRUE(suppress.ErrorOccurred());
}

TEST_F(DateBuiltinsTest, IncDayKeepsTheLocalTimeOfDayAndFailsSafely) {
  auto inc = [](double date, double days) { return Call("date_inc_day", date, days).real; };
  double march1 = Create(2024, 3, 1, 8, 30, 0);
  EXPECT_EQ(inc(march1, -1), UtcDate(2024, 2, 29, 7, 30));
  EXPECT_EQ(inc(march1, 0), march1);
  EXPECT_EQ(inc(march1, 366), UtcDate(2025, 3, 2, 7, 30));
  // Across the daylight-saving changes in Warsaw the local hour stays 10:00.
  EXPECT_EQ(inc(UtcDate(2024, 3, 30, 9, 0), 1), UtcDate(2024, 3, 31, 8, 0));
  EXPECT_EQ(inc(UtcDate(2024, 3, 31, 8, 0), -1), UtcDate(2024, 3, 30, 9, 0));
  EXPECT_EQ(inc(UtcDate(2024, 10, 26, 8, 0), 1), UtcDate(2024, 10, 27, 9, 0));
  EXPECT_EQ(inc(UtcDate(2024, 10, 26, 8, 0), 2.4), UtcDate(2024, 10, 28, 9, 0));  // days truncate
  EXPECT_EQ(DateString(inc(Create(2024, 5, 12, 8, 0, 0), 1000000)), "09.04.4762");
  for (double date : kUnconvertible) EXPECT_EQ(inc(date, 1), -1) << date;
  EXPECT_EQ(inc(25568, 1), -1);
  // A result before 1970, or too far ahead for the day field, gives the platform's failure value.
  EXPECT_EQ(inc(Create(1970, 1, 2, 8, 0, 0), -5), SecondsToDate(-1));
  EXPECT_EQ(inc(Create(2024, 5, 12, 8, 0, 0), 2147483647), SecondsToDate(-1));
}

TEST_F(DateBuiltinsTest, CompareDateLooksOnlyAtTheCalendarDayOfTheMode) {
  auto compare = [](double a, double b) { return Call("date_compare_date", a, b).real; };
  const double today = Create(2024, 5, 12, 8, 0, 0);
  const double afterMidnight = Create(2024, 5, 13, 0, 30, 0);  // 22:30 UTC on the 12th
  std::vector<double> results = {compare(today, Create(2024, 5, 12, 20, 0, 0)),
                                 compare(Create(2024, 5, 12, 23, 59, 0), Create(2024, 5, 13, 0, 1, 0)),
                                 compare(Create(2024, 5, 13, 0, 1, 0), Create(2024, 5, 12, 23, 59, 0)),
                                 compare(Create(2024, 1, 31, 8, 0, 0), Create(2024, 2, 1, 8, 0, 0)),
                                 compare(Create(2023, 12, 31, 8, 0, 0), Create(2024, 1, 1, 8, 0, 0)),
                                 compare(afterMidnight, today),
                                 compare(0, today),
                                 compare(kNaN, today),
                                 compare(1e300, today),
                                 compare(today, kInfinity)};
  EXPECT_EQ(results, (std::vector<double>{0, -1, 1, -1, -1, 1, -1, -1, 1, -1}));
  Call("date_set_timezone", 1.0);
  EXPECT_EQ(compare(afterMidnight, today), 0);
}

// 2024-05-11 23:30 UTC is the 12th in Warsaw, the 11th in UTC and in New York.
TEST_F(DateBuiltinsTest, DateTextsFollowTheLocaleTheModeAndTheZone) {
  const double nearMidnight = UtcDate(2024, 5, 11, 23, 30);
  EXPECT_EQ(DateString(nearMidnight) + " " + DayFirstDateText(nearMidnight), "12.05.2024 12.05.2024");
  Call("date_set_timezone", 1.0);
  EXPECT_EQ(DateString(nearMidnight) + " " + DayFirstDateText(nearMidnight), "11.05.2024 11.05.2024");
  Call("date_set_timezone", 0.0);
  EXPECT_EQ(DateString(nearMidnight), "12.05.2024");
  setenv("TZ", "America/New_York", 1);
  tzset();
  EXPECT_EQ(DateString(nearMidnight), "11.05.2024");
  setenv("TZ", "Europe/Warsaw", 1);
  tzset();
  std::setlocale(LC_TIME, "C");
  EXPECT_EQ(DateString(nearMidnight) + " " + DayFirstDateText(nearMidnight), "05/12/24 12.05.2024");
  for (double date : kUnconvertible) EXPECT_EQ(DateString(date) + DayFirstDateText(date), "invalid time") << date;
}

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

TEST_F(DateBuiltinsTest, TimeZoneModeSwitchesTheFieldsBetweenLocalAndUtc) {
  auto day = [](double date) {
    return std::vector<double>{Call("date_get_year", date).real, Call("date_get_month", date).real,
                               Call("date_get_day", date).real};
  };
  const double newYearInWarsaw = UtcDate(2023, 12, 31, 23, 30);
  EXPECT_EQ(day(newYearInWarsaw), (std::vector<double>{2024, 1, 1}));
  EXPECT_EQ(Call("date_get_timezone").real, 0);
  TempValue set = Call("date_set_timezone", 5.0);
  EXPECT_EQ(std::pair(KindOf(set), set.real), std::pair(uint32_t(VALUE_REAL), 0.0));
  EXPECT_EQ(Call("date_get_timezone").real, 1);
  EXPECT_EQ(day(newYearInWarsaw), (std::vector<double>{2023, 12, 31}));
  EXPECT_EQ(Create(2024, 5, 12, 8, 0, 0), UtcDate(2024, 5, 12, 8, 0));
  EXPECT_EQ(Call("date_inc_day", UtcDate(2024, 3, 30, 10, 0), 1.0).real, UtcDate(2024, 3, 31, 10, 0));
  EXPECT_RUNTIME_ERROR(Create(1969, 12, 31, 23, 59, 59), kBefore1970);
  EXPECT_EQ(Create(1970, 1, 1, 0, 0, 0), SecondsToDate(0));
  Call("date_set_timezone", 0.0);
  EXPECT_EQ(Call("date_get_timezone").real, 0);
  for (double date : {0.0, UtcDate(1969, 12, 31, 12, 0), kNaN, kInfinity})
    EXPECT_EQ(day(date), (std::vector<double>{-1, -1, -1})) << date;
}

TEST_F(DateBuiltinsTest, WrongArgumentKindsNameTheFunctionAndArgument) {
  const double date = Create(2024, 5, 12, 8, 0, 0);
  EXPECT_EQ(CallError("date_create_datetime", {Str("rok"), 5.0, 12.0, 8.0, 0.0, 0.0}),
            "date_create_datetime argument 1 incorrect type (string) expecting a Number (VQGI32)");
  EXPECT_EQ(CallError("date_inc_day", {date, Undefined()}),
            "date_inc_day argument 2 incorrect type (undefined) expecting a Number (VQGI32)");
  EXPECT_EQ(CallError("date_date_string", {Undefined()}),
            "date_date_string argument 1 incorrect type (undefined) expecting a Number (VQGR)");
  EXPECT_EQ(CallError("date_compare_date", {date, Str("x")}),
            "date_compare_date argument 2 incorrect type (string) expecting a Number (VQGR)");
  SuppressErrors suppress;  // reported, then carried on with 0: a date that does not convert
  EXPECT_EQ(Text(Call("date_date_string", Str("x"))), "invalid time");
  EXPECT_EQ(Text(Call("date_date_string", Str("45424.5"))), "12.05.2024");
  EXPECT_TRUE(suppress.ErrorOccurred());
}
}  // namespace
