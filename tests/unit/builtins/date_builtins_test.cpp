#include <cmath>
#include <limits>
#include <vector>

#include "support/date_fixture.h"

namespace {
using DateBuiltinsTest = DateTest;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

double Valid(double year, double month, double day, double hour, double minute, double second) {
  return BuiltinTest::Call("date_valid_datetime", year, month, day, hour, minute, second).real;
}

TEST_F(DateBuiltinsTest, ValidDateTimeChecksEveryField) {
  EXPECT_EQ(Valid(2024, 2, 29, 0, 0, 0), 1);
  EXPECT_EQ(Valid(2023, 2, 29, 0, 0, 0), 0);
  EXPECT_EQ(Valid(1900, 2, 29, 0, 0, 0), 0);
  EXPECT_EQ(Valid(2000, 2, 29, 0, 0, 0), 1);
  EXPECT_EQ(Valid(2100, 2, 29, 0, 0, 0), 0);
  EXPECT_EQ(Valid(1969, 12, 31, 0, 0, 0), 0);
  EXPECT_EQ(Valid(1970, 1, 1, 0, 0, 0), 1);
  EXPECT_EQ(Valid(2024, 4, 31, 0, 0, 0), 0);
  EXPECT_EQ(Valid(2024, 12, 31, 23, 59, 59), 1);
  EXPECT_EQ(Valid(2024, 1, 1, 24, 0, 0), 0);
  EXPECT_EQ(Valid(2024, 1, 1, 0, 60, 0), 0);
  EXPECT_EQ(Valid(2024, 1, 1, 0, 0, 60), 0);
  EXPECT_EQ(Valid(2024, 1, 1, -1, 0, 0), 0);
  EXPECT_EQ(Valid(2024, 0, 1, 0, 0, 0), 0);
  EXPECT_EQ(Valid(2024, 13, 1, 0, 0, 0), 0);
  EXPECT_EQ(Valid(2024, 1, 0, 0, 0, 0), 0);
  EXPECT_EQ(Valid(2147483600, 2, 29, 0, 0, 0), 1);     // no upper bound on the year
  EXPECT_EQ(Valid(2024.9, 2.9, 29.9, 23.9, 0, 0), 1);  // whole numbers truncate
}

TEST_F(DateBuiltinsTest, CreateMakesLocalTimeHalfASecondAfterTheSecond) {
  EXPECT_EQ(Create(2024, 5, 12, 8, 0, 0), UtcDate(2024, 5, 12, 6, 0));   // CEST, UTC+2
  EXPECT_EQ(Create(2024, 1, 15, 8, 0, 0), UtcDate(2024, 1, 15, 7, 0));   // CET, UTC+1
  EXPECT_EQ(Create(2024, 1, 32, 0, 0, 0), Create(2024, 2, 1, 0, 0, 0));  // normalised
  EXPECT_EQ(Create(2024, 3, 0, 12, 0, 0), Create(2024, 2, 29, 12, 0, 0));
  EXPECT_EQ(Create(2023, 12, 31, 24, 0, 0), Create(2024, 1, 1, 0, 0, 0));
  double date = Create(1970, 1, 1, 8, 0, 0);
  EXPECT_EQ(date, 25569 + (7 * 3600 + 0.5) / 86400);
  // The largest year still fits the platform's 64-bit time.
  EXPECT_EQ(Text(Call("date_date_string", Create(2147483647, 1, 1, 12, 0, 0))), "01.01.2147483647");

  const char* kFailure = "invalid date conversion - dates earlier than 1 Jan 1970 will be incorrect";
  EXPECT_RUNTIME_ERROR(Create(1969, 12, 31, 8, 0, 0), kFailure);
  EXPECT_RUNTIME_ERROR(Create(1970, 1, 1, 0, 30, 0), kFailure);  // 23:30 UTC the day before
  EXPECT_RUNTIME_ERROR(Create(1800, 6, 1, 0, 0, 0), kFailure);   // taken as 1900
  EXPECT_RUNTIME_ERROR(Create(2024, -2147483648.0, 1, 0, 0, 0), kFailure);
  SuppressErrors suppress;
  EXPECT_EQ(Create(1969, 12, 31, 8, 0, 0), 0);
  EXPECT_TRUE(suppress.ErrorOccurred());
}

TEST_F(DateBuiltinsTest, IncDayKeepsTheLocalTimeOfDay) {
  double march1 = Create(2024, 3, 1, 8, 30, 0);
  EXPECT_EQ(Call("date_inc_day", march1, -1.0).real, UtcDate(2024, 2, 29, 7, 30));
  EXPECT_EQ(Call("date_inc_day", march1, 0.0).real, march1);
  EXPECT_EQ(Call("date_inc_day", march1, 366.0).real, UtcDate(2025, 3, 2, 7, 30));
  // Across the daylight-saving changes in Warsaw the local hour stays 10:00.
  double spring = Create(2024, 3, 30, 10, 0, 0);
  EXPECT_EQ(spring, UtcDate(2024, 3, 30, 9, 0));
  EXPECT_EQ(Call("date_inc_day", spring, 1.0).real, UtcDate(2024, 3, 31, 8, 0));
  EXPECT_EQ(Call("date_inc_day", Create(2024, 3, 31, 10, 0, 0), -1.0).real, spring);
  double autumn = Create(2024, 10, 26, 10, 0, 0);
  EXPECT_EQ(autumn, UtcDate(2024, 10, 26, 8, 0));
  EXPECT_EQ(Call("date_inc_day", autumn, 1.0).real, UtcDate(2024, 10, 27, 9, 0));
  EXPECT_EQ(Call("date_inc_day", autumn, 2.4).real, UtcDate(2024, 10, 28, 9, 0));  // days truncate
}

TEST_F(DateBuiltinsTest, IncDayFailsSafelyOutsideTheConvertibleRange) {
  for (double date : {0.0, 25568.0, -1e300, kNaN, kInfinity, -kInfinity, 1e300})
    EXPECT_EQ(Call("date_inc_day", date, 1.0).real, -1) << date;
  // A result before 1970, or too far ahead for the day field, gives the failure value.
  double failure = SecondsToDate(-1);
  EXPECT_EQ(Call("date_inc_day", Create(1970, 1, 2, 8, 0, 0), -5.0).real, failure);
  EXPECT_EQ(Call("date_inc_day", Create(2024, 5, 12, 8, 0, 0), 2147483647.0).real, failure);
  // A step of a million days is still a calendar date.
  double far = Call("date_inc_day", Create(2024, 5, 12, 8, 0, 0), 1000000.0).real;
  EXPECT_EQ(Text(Call("date_date_string", far)), "09.04.4762");
}

TEST_F(DateBuiltinsTest, CompareDateLooksOnlyAtTheLocalCalendarDay) {
  auto compare = [](double a, double b) { return Call("date_compare_date", a, b).real; };
  EXPECT_EQ(compare(Create(2024, 5, 12, 8, 0, 0), Create(2024, 5, 12, 20, 0, 0)), 0);
  EXPECT_EQ(compare(Create(2024, 5, 12, 23, 59, 0), Create(2024, 5, 13, 0, 1, 0)), -1);
  EXPECT_EQ(compare(Create(2024, 5, 13, 0, 1, 0), Create(2024, 5, 12, 23, 59, 0)), 1);
  EXPECT_EQ(compare(Create(2024, 1, 31, 8, 0, 0), Create(2024, 2, 1, 8, 0, 0)), -1);
  EXPECT_EQ(compare(Create(2023, 12, 31, 8, 0, 0), Create(2024, 1, 1, 8, 0, 0)), -1);
  // 00:30 local on 13 May is 22:30 UTC on 12 May: local days decide, and UTC mode changes that.
  double afterMidnight = Create(2024, 5, 13, 0, 30, 0);
  double lateEvening = Create(2024, 5, 12, 23, 0, 0);
  EXPECT_EQ(compare(afterMidnight, lateEvening), 1);
  Call("date_set_timezone", 1.0);
  EXPECT_EQ(compare(afterMidnight, lateEvening), 0);
}

TEST_F(DateBuiltinsTest, CompareDateOrdersDatesThatDoNotConvert) {
  double today = Create(2024, 5, 12, 8, 0, 0);
  EXPECT_EQ(Call("date_compare_date", 0.0, today).real, -1);
  EXPECT_EQ(Call("date_compare_date", kNaN, today).real, -1);
  EXPECT_EQ(Call("date_compare_date", 1e300, today).real, 1);
  EXPECT_EQ(Call("date_compare_date", today, kInfinity).real, -1);
}

TEST_F(DateBuiltinsTest, DateStringUsesTheShortDateOfTheTimeLocale) {
  double date = Create(2024, 5, 12, 8, 0, 0);
  EXPECT_EQ(Text(Call("date_date_string", date)), "12.05.2024");
  EXPECT_EQ(Text(Call("date_date_string", Create(2024, 5, 13, 0, 30, 0))), "13.05.2024");
  for (double unconvertible : {0.0, -5.0, kNaN, kInfinity, 1e300})
    EXPECT_EQ(Text(Call("date_date_string", unconvertible)), "invalid time") << unconvertible;
  std::setlocale(LC_TIME, "C");
  EXPECT_EQ(Text(Call("date_date_string", date)), "05/12/24");
}

// The same date asked again follows the mode and the zone: 2024-05-11 23:30 UTC
// is the 12th in Warsaw, the 11th in UTC and in New York.
TEST_F(DateBuiltinsTest, DateStringAskedAgainFollowsTheModeAndTheZone) {
  const double nearMidnight = UtcDate(2024, 5, 11, 23, 30);
  auto text = [&] { return Text(Call("date_date_string", nearMidnight)); };
  EXPECT_EQ(text(), "12.05.2024");
  Call("date_set_timezone", 1.0);
  EXPECT_EQ(text(), "11.05.2024");
  Call("date_set_timezone", 0.0);
  EXPECT_EQ(text(), "12.05.2024");
  setenv("TZ", "America/New_York", 1);
  tzset();
  EXPECT_EQ(text(), "11.05.2024");
  setenv("TZ", "Europe/Warsaw", 1);
  tzset();
  EXPECT_EQ(text(), "12.05.2024");
}

TEST_F(DateBuiltinsTest, DayFirstTextIsTheSameInEveryLocale) {
  double date = Create(2026, 12, 10, 23, 30, 0);
  for (const char* locale : {"pl_PL.UTF-8", "C"}) {
    std::setlocale(LC_TIME, locale);
    EXPECT_EQ(DayFirstDateText(date), "10.12.2026") << locale;
  }
  double early = Create(2024, 5, 3, 0, 30, 0);  // 22:30 UTC the day before
  EXPECT_EQ(DayFirstDateText(early), "03.05.2024");
  Call("date_set_timezone", 1.0);
  EXPECT_EQ(DayFirstDateText(early), "02.05.2024") << "the calendar day of the UTC mode";
  for (double unconvertible : {0.0, -5.0, kNaN, kInfinity, 1e300})
    EXPECT_EQ(DayFirstDateText(unconvertible), "") << unconvertible;
}

TEST_F(DateBuiltinsTest, CurrentDateTimeReadsTheInjectedClock) {
  SetWallClock([] { return int64_t(1715493600); });  // 2024-05-12 06:00:00 UTC
  TempValue now = Call("date_current_datetime");
  EXPECT_EQ(KindOf(now), uint32_t(VALUE_REAL));
  EXPECT_EQ(now.real, UtcDate(2024, 5, 12, 6, 0));
  EXPECT_EQ(Text(Call("date_date_string", now)), "12.05.2024");

  SetWallClock({});
  int64_t before = int64_t(std::time(nullptr));
  double system = Call("date_current_datetime").real;
  int64_t after = int64_t(std::time(nullptr));
  int64_t seconds = int64_t(std::floor((system - 25569) * 86400));
  EXPECT_GE(seconds, before);
  EXPECT_LE(seconds, after);
}

TEST_F(DateBuiltinsTest, TimeZoneModeSwitchesBetweenLocalAndUtc) {
  EXPECT_EQ(Call("date_get_timezone").real, 0);
  TempValue set = Call("date_set_timezone", 5.0);
  EXPECT_EQ(KindOf(set), uint32_t(VALUE_REAL));
  EXPECT_EQ(set.real, 0);
  EXPECT_EQ(Call("date_get_timezone").real, 1);
  EXPECT_EQ(Create(2024, 5, 12, 8, 0, 0), UtcDate(2024, 5, 12, 8, 0));
  EXPECT_EQ(Call("date_inc_day", UtcDate(2024, 3, 30, 10, 0), 1.0).real, UtcDate(2024, 3, 31, 10, 0));
  EXPECT_RUNTIME_ERROR(Create(1969, 12, 31, 23, 59, 59),
                       "invalid date conversion - dates earlier than 1 Jan 1970 will be incorrect");
  EXPECT_EQ(Create(1970, 1, 1, 0, 0, 0), SecondsToDate(0));
  Call("date_set_timezone", 0.0);
  EXPECT_EQ(Call("date_get_timezone").real, 0);
}

TEST_F(DateBuiltinsTest, FieldGettersGiveTheCalendarDayOfTheMode) {
  auto day = [](double date) {
    return std::vector<double>{Call("date_get_year", date).real, Call("date_get_month", date).real,
                               Call("date_get_day", date).real};
  };
  const double newYearInWarsaw = UtcDate(2023, 12, 31, 23, 30);  // 00:30 on 1 January 2024 in Warsaw
  EXPECT_EQ(day(newYearInWarsaw), (std::vector<double>{2024, 1, 1}));
  Call("date_set_timezone", 1.0);
  EXPECT_EQ(day(newYearInWarsaw), (std::vector<double>{2023, 12, 31}));
  Call("date_set_timezone", 0.0);
  for (double unconvertible : {0.0, UtcDate(1969, 12, 31, 12, 0), kNaN, kInfinity})
    EXPECT_EQ(day(unconvertible), (std::vector<double>{-1, -1, -1})) << unconvertible;
}

TEST_F(DateBuiltinsTest, WrongArgumentKindsNameTheFunctionAndArgument) {
  EXPECT_RUNTIME_ERROR(Call("date_create_datetime", Str("rok"), 5.0, 12.0, 8.0, 0.0, 0.0),
                       "date_create_datetime argument 1 incorrect type (string) expecting a Number (VQGI32)");
  EXPECT_RUNTIME_ERROR(Call("date_valid_datetime", 2024.0, 5.0, 12.0, 8.0, 0.0, Undefined()),
                       "date_valid_datetime argument 6 incorrect type (undefined) expecting a Number (VQGI32)");
  EXPECT_RUNTIME_ERROR(Call("date_inc_day", Str("dzisiaj"), 1.0),
                       "date_inc_day argument 1 incorrect type (string) expecting a Number (VQGR)");
  // A date cell without a value is the caller's to handle: the date built-ins report it.
  EXPECT_RUNTIME_ERROR(Call("date_date_string", Undefined()),
                       "date_date_string argument 1 incorrect type (undefined) expecting a Number (VQGR)");
  EXPECT_RUNTIME_ERROR(Call("date_compare_date", Create(2024, 5, 12, 8, 0, 0), Undefined()),
                       "date_compare_date argument 2 incorrect type (undefined) expecting a Number (VQGR)");
  EXPECT_RUNTIME_ERROR(Call("date_inc_day", Create(2024, 5, 12, 8, 0, 0), Undefined()),
                       "date_inc_day argument 2 incorrect type (undefined) expecting a Number (VQGI32)");
  EXPECT_RUNTIME_ERROR(Call("date_compare_date", 45000.0, Str("x")),
                       "date_compare_date argument 2 incorrect type (string) expecting a Number (VQGR)");
  EXPECT_EQ(Text(Call("date_date_string", Str("45424.5"))), "12.05.2024");  // a digit-led text is a number
  EXPECT_RUNTIME_ERROR(Call("date_date_string", Str("x")),
                       "date_date_string argument 1 incorrect type (string) expecting a Number (VQGR)");
  SuppressErrors suppress;  // reported, then carried on with 0: a date that does not convert
  EXPECT_EQ(Text(Call("date_date_string", Str("x"))), "invalid time");
  EXPECT_TRUE(suppress.ErrorOccurred());
}
}  // namespace
