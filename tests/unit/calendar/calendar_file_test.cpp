#include "calendar/calendar_file.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <set>
#include <string>
#include <vector>

namespace {
CalendarEvent PersonsExamination() {
  CalendarEvent event;
  event.section = "L1";
  event.field = 3;
  event.firstText = "ab";
  event.secondText = "c";
  event.year = 2024;
  event.month = 5;
  event.day = 20;
  event.summary = "Badania: ab, c";
  event.category = "Osoby";
  event.alarmDaysBefore = 7;
  return event;
}

// The events of `events`' calendar, as libical reads them back.
struct ReadEvent {
  std::string uid;
  int triggerDays;  // negative before the day
};

std::vector<ReadEvent> ReadBack(const std::vector<CalendarEvent>& events) {
  std::string text, error;
  EXPECT_TRUE(CalendarText(events, 1715585400, text, error)) << error;
  icalcomponent* calendar = icalparser_parse_string(text.c_str());
  std::vector<ReadEvent> read;
  for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
       event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
    icaldurationtype d =
        icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY)).duration;
    int days = int(d.weeks * 7 + d.days);
    read.push_back({icalcomponent_get_uid(event), d.is_neg ? -days : days});
  }
  icalcomponent_free(calendar);
  return read;
}

TEST(CalendarFile, TheUidFollowsTheRecordsIdentityAndNothingElse) {
  CalendarEvent original = PersonsExamination();
  CalendarEvent moved = original;  // another day, summary and alarm: the same event
  moved.day = 27;
  moved.summary = "Badania";
  moved.alarmDaysBefore = 93;
  std::vector<CalendarEvent> others(5, original);
  others[0].section = "L2";
  others[1].field = 4;
  others[2].firstText = "a";  // "a" + "bc" joins to the same bytes as "ab" + "c"
  others[2].secondText = "bc";
  others[3].secondText = "C";
  others[4].occurrence = 1;
  std::vector<CalendarEvent> events{original, moved};
  events.insert(events.end(), others.begin(), others.end());
  std::vector<ReadEvent> read = ReadBack(events);
  ASSERT_EQ(read.size(), events.size());
  EXPECT_EQ(read[0].uid, read[1].uid);
  std::set<std::string> distinct;
  for (size_t i = 1; i < read.size(); ++i) distinct.insert(read[i].uid);
  EXPECT_EQ(distinct.size(), others.size() + 1) << "each part of the identity makes another event";
}

TEST(CalendarFile, TheAlarmComesTheHorizonsDaysBeforeTheDayOrAfterIt) {
  std::vector<CalendarEvent> events(3, PersonsExamination());
  events[0].alarmDaysBefore = 14;
  events[1].alarmDaysBefore = 0;
  events[2].alarmDaysBefore = -3;  // a hand-edited negative horizon
  std::vector<ReadEvent> read = ReadBack(events);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].triggerDays, -14);
  EXPECT_EQ(read[1].triggerDays, 0);
  EXPECT_EQ(read[2].triggerDays, 3);
}
}  // namespace
