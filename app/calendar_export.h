// app/calendar_export.h — the deadlines of the four registers as calendar
// events, for kalvora -export-ics FILE (the file itself: calendar_file.h).
//
// Every date in keys "3" and "4" of a register is one event (the carried lists
// 5 to 8 hold no deadlines); a cell without a date, or with a date before 1970
// that has no calendar day, gives none. An event has:
//   its day       the date's calendar day in the user's time zone
//   its summary   the date's prompt label from the register's Init, without
//                 its " : ", then the record's texts that are not empty, joined
//                 by ", " ("Badania: P-001, Jan Kowalski")
//   its category  the register's name: Osoby, Auta, Chorobowe, Licencje
//   its alarm     the upcoming view's horizon, in days before the day
//                 (upcoming_rows.h: ReadHorizon)
//   its identity  the register, the field, the two texts, and how many earlier
//                 records of the register have the same two texts
// Reading only: the registers are read as the commands read them
// (ReadSourceListsForCommand); nothing is written.
#pragma once

#include <vector>

#include "calendar/calendar_file.h"

class CInstance;

// The events, registers in order L1 to L4, records in register order, the
// record's key "3" before its key "4"; made with `self` (an instance outside
// any room).
std::vector<CalendarEvent> CalendarEvents(CInstance* self);
