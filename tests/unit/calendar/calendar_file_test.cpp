#include "calendar/calendar_file.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <vector>

namespace {

CalendarEvent Examination(int alarmDaysBefore) {
  CalendarEvent event;
  event.section = "L1";
  event.field = 3;
  event.firstText = "ab";
  event.year = 2024;
  event.month = 5;
  event.day = 20;
  event.summary = "Badania: ab";
  event.category = "Osoby";
  event.alarmDaysBefore = alarmDaysBefore;
  return event;
}

// The calendar export scenario compares every event's identity, day and 14-day
// alarm; a horizon of nothing or less than nothing is seen here only.
TEST(CalendarFile, TheAlarmComesTheHorizonsDaysBeforeTheDayOrAfterIt) {
  std::vector<CalendarEvent> events{Examination(14), Examination(0), Examination(-3)};
  std::string text, error;
  ASSERT_TRUE(CalendarText(events, 1715585400, text, error)) << error;
  icalcomponent* calendar = icalparser_parse_string(text.c_str());
  std::vector<int> triggerDays;  // negative: before the day
  for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
       event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
    icaldurationtype d =
        icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY)).duration;
    triggerDays.push_back((d.is_neg ? -1 : 1) * int(d.weeks * 7 + d.days));
  }
  icalcomponent_free(calendar);
  EXPECT_EQ(triggerDays, (std::vector<int>{-14, 0, 3}));
}

}  // namespace
