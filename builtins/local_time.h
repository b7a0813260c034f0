// builtins/local_time.h — local calendar fields of a time, as localtime_r gives
// them, without asking the C library for every time.
//
// With the compact zone files of current systems, the C library works out every
// time after the zone's last listed change from the zone's rule text, parsing it
// anew each call: thousands of instructions per date, and a table screen breaks
// down two dates of every record. Here a time is broken down from its whole UTC
// day instead: when another second of a day comes up, the day's offset from UTC
// is asked at its first and last second and kept (a direct-mapped table of
// 16,384 days); the first second of a day the C library answers alone, and its
// offset is kept for that second. A day whose two
// ends differ holds a change of offset and is always left to the C library. A
// day whose ends agree is taken to have one offset throughout: a change and a
// change back within one UTC day would be missed, and no zone of the time-zone
// database has such a day since 1970 (times before 1970 are not dates here).
//
// The kept offsets belong to the zone the C library has loaded: every call
// compares ZoneState::Current() with the state they were made under and forgets
// them all when it differs.
#pragma once

#include <ctime>

// What tzset leaves behind for the loaded zone: its offset, daylight flag and
// names. Two zones that agree in all of these are not told apart.
struct ZoneState {
  long offset = 0;
  int daylight = 0;
  const char* names[2] = {nullptr, nullptr};

  static ZoneState Current();
  bool operator==(const ZoneState&) const = default;
};

// localtime_r(&t, &fields): false where it fails.
bool LocalCalendar(time_t t, std::tm& fields);
