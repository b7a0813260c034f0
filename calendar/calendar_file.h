// calendar/calendar_file.h — deadlines as an iCalendar file (RFC 5545),
// written with libical.
//
// Every event is an all-day event on its calendar day (DTSTART and DTEND as
// dates, the day after as its end), free time (TRANSP:TRANSPARENT), with its
// summary, one category and a display alarm the given number of days before
// the day (after it for a negative number). Its UID is made from the record's
// identity alone: the register, the date's field, the record's two texts and
// the occurrence number that tells identical records apart. So exporting again
// gives the same UIDs, a moved date keeps its event, and a renamed record is a
// new event. The UID is a SHA-256 of those parts, so that texts of any length
// and letters give one short, valid UID.
//
// Texts come out valid whatever they hold: bytes that are not UTF-8 become
// U+FFFD, line breaks (CR LF, CR, LF) one line break, other control characters
// but the tab a space; libical escapes commas, semicolons, backslashes and line
// breaks and folds long lines between characters.
//
// This header does not include libical: the program loads the writer from the
// module kalvora-calendar.so (calendar_module.cpp) only when it writes a
// calendar, so that no other run loads libical and the libraries behind it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CalendarEvent {
  std::string section;                // the register: "L1" to "L4"
  int field = 0;                      // the date's key in the register: 3 or 4
  std::string firstText, secondText;  // the record's two texts
  int occurrence = 0;                 // earlier records of the register with the same two texts
  int year = 0, month = 0, day = 0;   // the calendar day
  std::string summary;                // e.g. "Badania: P-001, Jan Kowalski"
  std::string category;               // e.g. "Osoby"
  int alarmDaysBefore = 0;
};

// The calendar's text, with CR LF line ends; `stamp` (seconds since 1970 UTC)
// is every event's DTSTAMP. False with a reason when libical fails.
bool CalendarText(const std::vector<CalendarEvent>& events, int64_t stamp, std::string& text, std::string& error);

// The module's entry point, found by this name: CalendarText.
extern "C" bool KalvoraCalendarText(const std::vector<CalendarEvent>& events, int64_t stamp, std::string& text,
                                    std::string& error);
