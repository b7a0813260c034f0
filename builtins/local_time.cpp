#include "builtins/local_time.h"

#include <array>
#include <cstdint>

namespace {
constexpr int64_t kSecondsPerDay = 86400;
constexpr size_t kDays = 16384;                 // some 45 years of days, half a megabyte
constexpr time_t kKeptTimes = time_t(1) << 40;  // some 34,000 years, days that fit 32 bits

// One UTC day as the C library breaks it down. A day seen once keeps the offset
// of the one second it was seen at (right for that second again): asking for
// the day's ends costs two calls, worth it only for another second of the day.
struct Day {
  enum class Kind : uint8_t { Seen, Steady, Changing };  // Changing: left to the C library
  int32_t day = -1;                                      // days since 1970; -1 while empty
  Kind kind = Kind::Seen;
  int8_t isDaylight = 0;
  int32_t offset = 0;  // seconds east of UTC: all day when Steady, at `seen` when Seen
  const char* zone = nullptr;
  time_t seen = -1;  // Seen: the second the C library was asked for

  bool Knows(time_t t) const { return kind == Kind::Steady || (kind == Kind::Seen && seen == t); }
};

struct DayTable {
  ZoneState zone;
  std::array<Day, kDays> days;

  // Forgets every day when the loaded zone is not the one they were asked under.
  void Validate() {
    const ZoneState current = ZoneState::Current();
    if (current == zone) return;
    zone = current;
    days.fill(Day());
  }
};

DayTable& Table() {
  static DayTable table;
  return table;
}

int64_t FloorDivide(int64_t a, int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

// Days since 1970-01-01 of a civil date (month 1 to 12), proleptic Gregorian.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2;
  const int64_t era = FloorDivide(year, 400);
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;  // from 1 March
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// gmtime_r's fields of a count of seconds since 1970 (zone fields aside),
// worked out from the calendar's 400-year cycle.
void BreakDownUtc(int64_t seconds, std::tm& fields) {
  const int64_t days = FloorDivide(seconds, kSecondsPerDay);
  const int64_t secondOfDay = seconds - days * kSecondsPerDay;
  const int64_t shifted = days + 719468;  // days from 0000-03-01
  const int64_t era = FloorDivide(shifted, 146097);
  const int64_t dayOfEra = shifted - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);  // from 1 March
  const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  const int month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  const int64_t year = yearOfEra + era * 400 + (month <= 2);
  fields.tm_year = int(year - 1900);
  fields.tm_mon = month - 1;
  fields.tm_mday = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  fields.tm_hour = int(secondOfDay / 3600);
  fields.tm_min = int(secondOfDay / 60 % 60);
  fields.tm_sec = int(secondOfDay % 60);
  fields.tm_wday = int(FloorDivide(days + 4, 7) * -7 + days + 4);  // 1970-01-01 was a Thursday
  fields.tm_yday = int(days - DaysFromCivil(year, 1, 1));
}

// Asks the C library for `day` at its first and last second.
Day AskDay(int32_t day) {
  const time_t first = time_t(day * kSecondsPerDay), last = time_t(first + kSecondsPerDay - 1);
  std::tm start, end;
  const bool steady = localtime_r(&first, &start) && localtime_r(&last, &end) && start.tm_gmtoff == end.tm_gmtoff &&
                      start.tm_isdst == end.tm_isdst && start.tm_zone == end.tm_zone;
  if (!steady) return Day{day, Day::Kind::Changing};
  return Day{day, Day::Kind::Steady, int8_t(start.tm_isdst), int32_t(start.tm_gmtoff), start.tm_zone};
}
}  // namespace

ZoneState ZoneState::Current() { return ZoneState{::timezone, ::daylight, {::tzname[0], ::tzname[1]}}; }

bool LocalCalendar(time_t t, std::tm& fields) {
  if (t < 0 || t >= kKeptTimes) return localtime_r(&t, &fields) != nullptr;
  DayTable& table = Table();
  table.Validate();
  const auto day = int32_t(int64_t(t) / kSecondsPerDay);
  Day& slot = table.days[size_t(day) & (kDays - 1)];
  if (slot.day != day) {
    if (!localtime_r(&t, &fields)) return false;
    slot = Day{day, Day::Kind::Seen, int8_t(fields.tm_isdst), int32_t(fields.tm_gmtoff), fields.tm_zone, t};
    return true;
  }
  if (!slot.Knows(t)) slot = AskDay(day);
  if (slot.kind == Day::Kind::Changing) return localtime_r(&t, &fields) != nullptr;
  BreakDownUtc(int64_t(t) + slot.offset, fields);
  fields.tm_isdst = slot.isDaylight;
  fields.tm_gmtoff = slot.offset;
  fields.tm_zone = slot.zone;
  return true;
}
