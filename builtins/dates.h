// builtins/dates.h — date values and the date_* built-ins.
//
// A date value is a number: days since 1899-12-30 00:00 UTC, the fraction being
// the part of the UTC day (day 25569 is 1970-01-01 00:00 UTC). Every date the
// built-ins make comes from a whole count t of seconds since 1970 as
// (t + 0.5) / 86400 + 25569, half a second after the exact second, so that
// truncating back to seconds gives t again.
//
// Calendar fields are read and made in local time (the mode at start) or in UTC
// (date_set_timezone). Only dates from 1970 on convert: an earlier date, NaN, an
// infinity, a date beyond the platform's range and `undefined` (what the
// application stores for a date it could not read) do not, and each built-in
// states what it gives then. No built-in crashes or fails on any number.
//
// date_get_year, date_get_month and date_get_day give a field of the date's
// calendar day, -1 for a date that does not convert.
//
// date_current_datetime reads a replaceable wall clock, so that playback can fix
// the time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Returns the current time in whole seconds since 1970-01-01 00:00 UTC.
using WallClock = std::function<int64_t()>;

// Replaces the clock of date_current_datetime; an empty function restores the
// system clock.
void SetWallClock(WallClock clock);

// The calendar day of `date` written day first, the way typed dates are read:
// two-digit day and month, four-digit year ("10.12.2026"), in the current mode,
// whatever the time locale. "" when the date does not convert.
std::string DayFirstDateText(double date);
