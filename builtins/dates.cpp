#include "builtins/dates.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <string>

#include "builtins/builtins.h"
#include "builtins/date_text_cache.h"
#include "builtins/local_time.h"
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

// Breaks a time down into calendar fields of the current mode; false beyond
// the platform's calendar range.
bool TimeToCalendar(time_t t, std::tm& fields) {
  return g_utcMode ? gmtime_r(&t, &fields) != nullptr : LocalCalendar(t, fields);
}

// Breaks a date down into calendar fields of the current mode. Fails where
// DateSeconds fails and beyond the platform's calendar range.
bool DateToCalendar(double date, std::tm& fields, time_t& t) {
  return DateSeconds(date, t) && TimeToCalendar(t, fields);
}
bool DateToCalendar(double date, std::tm& fields) {
  time_t t;
  return DateToCalendar(date, fields, t);
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

// Made on first use and never destroyed: its texts are released through the
// memory manager, which static destruction may already have taken down.
DateTextCache& TextCache() {
  static auto* cache = new DateTextCache;
  return *cache;
}

// The short date of the time locale; "invalid time" beyond the calendar range.
std::string DateText(time_t t) {
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
// The last move date_inc_day made: a table screen moves the same date (now) by
// the same days once for every record, and mktime is slow.
struct DayStep {
  time_t from = -1;  // -1 while empty: no date has a negative time
  int32_t days = 0;
  bool utc = false;
  ZoneState zone;
  double to = 0;
  bool Is(time_t t, int32_t n) const {
    return from == t && days == n && utc == g_utcMode && zone == ZoneState::Current();
  }
};
DayStep g_lastDayStep;

void date_inc_day(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  std::tm fields;
  time_t t;
  if (!DateToCalendar(ArgReal(args, 0), fields, t)) {
    SetReal(result, -1);
    return;
  }
  const int32_t days = ArgInt32(args, 1);
  if (!g_lastDayStep.Is(t, days)) {
    int64_t day = int64_t(fields.tm_mday) + days;
    int64_t seconds = -1;
    if (FitsInt(day)) {
      fields.tm_mday = int(day);
      seconds = CalendarToSeconds(fields);
    }
    g_lastDayStep = DayStep{t, days, g_utcMode, ZoneState::Current(), DateFromSeconds(seconds)};
  }
  SetReal(result, g_lastDayStep.to);
}

void date_compare_date(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  int64_t first = CalendarDayKey(ArgReal(args, 0));
  int64_t second = CalendarDayKey(ArgReal(args, 1));
  SetReal(result, first == second ? 0 : (first < second ? -1 : 1));
}

// The kept text of `t`, made and kept first when it is not: borrowed from the
// cache, valid until the next text is kept.
StringBody* KeptDateText(time_t t) {
  if (const StringBody* kept = TextCache().Find(int64_t(t), g_utcMode)) return const_cast<StringBody*>(kept);
  RValue made;
  SetStringCopy(made, DateText(t));
  TextCache().Store(int64_t(t), g_utcMode, made);
  StringBody* body = made.str;
  FreeValue(made);  // the cache holds its own reference
  return body;
}

constexpr const char* kInvalidTime = "invalid time";

// result := the text of `date` (result holds no reference).
void DateStringOf(RValue& result, double date) {
  time_t t;
  if (!DateSeconds(date, t)) return SetStringCopy(result, kInvalidTime);
  CopyValue(result, BorrowedString(KeptDateText(t)));
}

void date_date_string(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  DateStringOf(result, ArgReal(args, 0));
}

void date_set_timezone(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  g_utcMode = ArgInt32(args, 0) != 0;
  SetReal(result, 0);
}

void date_get_timezone(RValue& result, CInstance*, CInstance*, int, RValue*) { SetReal(result, g_utcMode ? 1 : 0); }
}  // namespace

void SetWallClock(WallClock clock) { g_wallClock = std::move(clock); }

void RegisterDateBuiltins() {
  RegisterBuiltin("date_current_datetime", date_current_datetime, 0);
  RegisterBuiltin("date_create_datetime", date_create_datetime, 6);
  RegisterBuiltin("date_valid_datetime", date_valid_datetime, 6);
  RegisterBuiltin("date_inc_day", date_inc_day, 2);
  RegisterBuiltin("date_compare_date", date_compare_date, 2);
  RegisterBuiltin("date_date_string", date_date_string, 1);
  RegisterBuiltin("date_set_timezone", date_set_timezone, 1);
  RegisterBuiltin("date_get_timezone", date_get_timezone, 0);
}
