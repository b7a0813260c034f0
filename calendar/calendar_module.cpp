// The entry point of kalvora-calendar.so (see calendar_file.h).
#include "calendar/calendar_file.h"

extern "C" bool KalvoraCalendarText(const std::vector<CalendarEvent>& events, int64_t stamp, std::string& text,
                                    std::string& error) {
  return CalendarText(events, stamp, text, error);
}
