#include "builtins/dates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <string>

#include "builtins/builtins.h"
#include "runtime/args.h"
#include "runtime/error.h"
#include "runtime/function_table.h"
#include "runtime/value.h"

namespace {
constexpr double kUnixEpochDay = 25569.0;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kTimeLimit = 9223372036854775808.0;  // 2^63: the first count a 64-bit time cannot hold
constexpr size_t kDateTextBytes = 1024;

bool g_utcMode = false;
WallClock g_wallClock;

int64_t CurrentSeconds() { return g_wallClock ? g_wallClock() : int64_t(std::time(nullptr)); }

double DateFromSeconds(int64_t seconds) { return (double(seconds) + 0.5) / kSecondsPerDay + kUnixEpochDay; }

bool FitsInt(int64_t number) {
  return number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max();
}

// The whole seconds since 1970 of a date; false before 1970, for NaN and
// infinities, and beyond the 64-bit time count.
bool DateSeconds(double date, time_t& t) {
  double seconds = std::trunc((date - kUnixEpochDay) * kSecondsPerDay);
  if (!(seconds >= 0.0 && seconds < kTimeLimit)) return false;
  t = time_t(seconds);
  return true;
}

// Breaks a time down into calendar fields of the current mode; false beyond the
// platform's calendar range.
bool TimeToCalendar(time_t t, std::tm& fields) {
  return (g_utcMode ? gmtime_r(&t, &fields) : localtime_r(&t, &fields)) != nullptr;
}

// Breaks a date down into calendar fields of the current mode. Fails before
// 1970, for NaN and infinities, and beyond the platform's calendar range.
bool DateToCalendar(double date, std::tm& fields) {
  time_t t;
  return DateSeconds(date, t) && TimeToCalendar(t, fields);
}

// Seconds since 1970 of calendar fields in the current mode, out-of-range fields
// normalised (day 32 is the first of the next month) and daylight saving decided
// by the platform. -1, as the platform's own failure, for a result before 1970
// or beyond its range.
int64_t CalendarToSeconds(std::tm fields) {
  fields.tm_isdst = -1;
  time_t t = g_utcMode ? timegm(&fields) : mktime(&fields);
  return t < 0 ? -1 : int64_t(t);
}

// The six whole-number arguments year, month, day, hour, minute, second.
struct CalendarArguments {
  int32_t year, month, day, hour, minute, second;
};

CalendarArguments ReadCalendarArguments(const RValue* args) {
  return {ArgInt32(args, 0), ArgInt32(args, 1), ArgInt32(args, 2),
          ArgInt32(args, 3), ArgInt32(args, 4), ArgInt32(args, 5)};
}

// Calendar fields of the arguments (a year before 1900 counts as 1900). False
// when the month does not fit the platform's field: such a date lies far
// outside the convertible range.
bool CalendarFromArguments(const CalendarArguments& a, std::tm& fields) {
  int64_t month = int64_t(a.month) - 1;
  if (!FitsInt(month)) return false;
  fields = std::tm{};
  fields.tm_year = int(std::max<int64_t>(int64_t(a.year) - 1900, 0));
  fields.tm_mon = int(month);
  fields.tm_mday = a.day;
  fields.tm_hour = a.hour;
  fields.tm_min = a.minute;
  fields.tm_sec = a.second;
  return true;
}

bool IsLeapYear(int32_t year) { return year % 4 == 0 && (year % 400 == 0 || year % 100 != 0); }

int32_t DaysInMonth(int32_t year, int32_t month) {
  static constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDateTime(const CalendarArguments& a) {
  return a.year >= 1970 && a.month >= 1 && a.month <= 12 && a.day >= 1 && a.day <= DaysInMonth(a.year, a.month) &&
         a.hour >= 0 && a.hour <= 23 && a.minute >= 0 && a.minute <= 59 && a.second >= 0 && a.second <= 59;
}

// Orders dates by calendar day: (year - 1900) * 372 + (month - 1) * 31 + day.
// A year takes 372 keys (12 months of 31), so that late December never sorts
// after early January of the next year, as it would with 366. A date that does
// not convert sorts before every convertible one when it lies before 1970 or is
// no number at all, and after every one when it lies beyond the platform's range.
int64_t CalendarDayKey(double date) {
  constexpr int64_t kKeysPerYear = 12 * 31;
  std::tm fields;
  if (DateToCalendar(date, fields)) return fields.tm_year * kKeysPerYear + fields.tm_mon * 31 + fields.tm_mday;
  return date > kUnixEpochDay ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

// The short date of the time locale; "invalid time" beyond the calendar range.
std::string TimeText(time_t t) {
  std::tm fields;
  if (!TimeToCalendar(t, fields)) return "invalid time";
  char text[kDateTextBytes];
  size_t length = std::strftime(text, sizeof text, "%x", &fields);  // 0 when it does not fit
  return std::string(text, length);
}

void date_current_datetime(RValue& result, CInstance*, CInstance*, int, RValue*) {
  SetReal(result, DateFromSeconds(CurrentSeconds()));
}

void date_create_datetime(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  std::tm fields;
  int64_t seconds = CalendarFromArguments(ReadCalendarArguments(args), fields) ? CalendarToSeconds(fields) : -1;
  if (seconds < 0) {
    ReportRuntimeError("invalid date conversion - dates earlier than 1 Jan 1970 will be incorrect");
    SetReal(result, 0);
    return;
  }
  SetReal(result, DateFromSeconds(seconds));
}

void date_valid_datetime(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  SetReal(result, IsValidDateTime(ReadCalendarArguments(args)) ? 1 : 0);
}

// Moves a date by whole calendar days; the local time of day stays the same
// across a daylight-saving change. -1 when the date does not convert; the
// platform's failure value (t = -1) when the result does not.
void date_inc_day(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  std::tm fields;
  if (!DateToCalendar(ArgReal(args, 0), fields)) {
    SetReal(result, -1);
    return;
  }
  int64_t day = int64_t(fields.tm_mday) + ArgInt32(args, 1);
  int64_t seconds = -1;
  if (FitsInt(day)) {
    fields.tm_mday = int(day);
    seconds = CalendarToSeconds(fields);
  }
  SetReal(result, DateFromSeconds(seconds));
}

void date_compare_date(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  int64_t first = CalendarDayKey(ArgReal(args, 0));
  int64_t second = CalendarDayKey(ArgReal(args, 1));
  SetReal(result, first == second ? 0 : (first < second ? -1 : 1));
}

void date_date_string(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  time_t t;
  SetStringCopy(result, DateSeconds(ArgReal(args, 0), t) ? TimeText(t) : "invalid time");
}

void date_set_timezone(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  g_utcMode = ArgInt32(args, 0) != 0;
  SetReal(result, 0);
}

void date_get_timezone(RValue& result, CInstance*, CInstance*, int, RValue*) { SetReal(result, g_utcMode ? 1 : 0); }

// A field of a date's calendar time in the current mode, plus `offset`; -1 when
// the date does not convert.
double CalendarField(double date, int std::tm::*field, int offset) {
  std::tm fields;
  return DateToCalendar(date, fields) ? double(fields.*field) + offset : -1;
}

void date_get_year(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  SetReal(result, CalendarField(ArgReal(args, 0), &std::tm::tm_year, 1900));
}

void date_get_month(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  SetReal(result, CalendarField(ArgReal(args, 0), &std::tm::tm_mon, 1));
}

void date_get_day(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  SetReal(result, CalendarField(ArgReal(args, 0), &std::tm::tm_mday, 0));
}
}  // namespace

void SetWallClock(WallClock clock) { g_wallClock = std::move(clock); }

std::string DayFirstDateText(double date) {
  std::tm fields;
  if (!DateToCalendar(date, fields)) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d.%04lld", fields.tm_mday, fields.tm_mon + 1,
                static_cast<long long>(fields.tm_year) + 1900);
  return text;
}

void RegisterDateBuiltins() {
  RegisterBuiltin("date_current_datetime", date_current_datetime, 0);
  RegisterBuiltin("date_create_datetime", date_create_datetime, 6);
  RegisterBuiltin("date_valid_datetime", date_valid_datetime, 6);
  RegisterBuiltin("date_inc_day", date_inc_day, 2);
  RegisterBuiltin("date_compare_date", date_compare_date, 2);
  RegisterBuiltin("date_date_string", date_date_string, 1);
  RegisterBuiltin("date_set_timezone", date_set_timezone, 1);
  RegisterBuiltin("date_get_timezone", date_get_timezone, 0);
  RegisterBuiltin("date_get_year", date_get_year, 1);
  RegisterBuiltin("date_get_month", date_get_month, 1);
  RegisterBuiltin("date_get_day", date_get_day, 1);
}
