// Prints the events of an iCalendar file as libical parses it, in the lines
// that calendar-events.py prints from python3-icalendar's parse (see there),
// after checking the file's form: every line ends in CR LF, holds at most 75
// octets and valid UTF-8 without control characters (a tab aside), and libical
// finds no error in it. Exit code 1 with a message on the first fault.
//
//   calendar-events-libical FILE.ics
#include <glib.h>
#include <libical/ical.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {
[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "calendar-events-libical: %s\n", message.c_str());
  std::exit(1);
}

void CheckLines(const std::string& text) {
  size_t start = 0, number = 1;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1, ++number) {
    const std::string where = "line " + std::to_string(number);
    if (end == start || text[end - 1] != '\r') Fail(where + " does not end in CR LF");
    const std::string line = text.substr(start, end - 1 - start);
    if (line.size() > 75) Fail(where + " is longer than 75 octets");
    if (!g_utf8_validate(line.data(), gssize(line.size()), nullptr)) Fail(where + " is not UTF-8");
    for (unsigned char c : line)
      if ((c < 0x20 && c != '\t') || c == 0x7F) Fail(where + " holds a control character");
  }
  if (start != text.size()) Fail("the last line does not end in CR LF");
}

std::string Escaped(const char* text) {
  std::string out;
  for (const char* c = text ? text : ""; *c; ++c) {
    switch (*c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += *c;
    }
  }
  return out;
}

std::string Day(icaltimetype day) {
  if (!day.is_date) Fail("an event's day is not a date");
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", day.year, day.month, day.day);
  return text;
}

// The trigger in days, negative before the event.
int TriggerDays(const icalcomponent* alarm) {
  icaltriggertype trigger = icalproperty_get_trigger(
      icalcomponent_get_first_property(const_cast<icalcomponent*>(alarm), ICAL_TRIGGER_PROPERTY));
  icaldurationtype d = trigger.duration;
  if (!icaltime_is_null_time(trigger.time) || d.hours || d.minutes || d.seconds)
    Fail("an alarm is not a whole number of days before or after its event");
  int days = int(d.weeks * 7 + d.days);
  return d.is_neg ? -days : days;
}

void PrintEvent(icalcomponent* event) {
  icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
  if (!alarm || icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT)) Fail("an event has not one alarm");
  icalproperty* category = icalcomponent_get_first_property(event, ICAL_CATEGORIES_PROPERTY);
  icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
  icalproperty* description = icalcomponent_get_first_property(alarm, ICAL_DESCRIPTION_PROPERTY);
  if (!category || !action || !description) Fail("an event lacks its category, or its alarm an action or description");
  std::printf("%s\t%s\t%s\t%s\t%d\t%s\t%s\t%s\n", icalcomponent_get_uid(event),
              Day(icalcomponent_get_dtstart(event)).c_str(), Day(icalcomponent_get_dtend(event)).c_str(),
              icalproperty_get_categories(category), TriggerDays(alarm), icalproperty_get_value_as_string(action),
              Escaped(icalcomponent_get_summary(event)).c_str(),
              Escaped(icalproperty_get_description(description)).c_str());
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) Fail("usage: calendar-events-libical FILE.ics");
  std::ifstream file(argv[1], std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  const std::string text = bytes.str();
  CheckLines(text);
  icalcomponent* calendar = icalparser_parse_string(text.c_str());
  if (!calendar || icalcomponent_isa(calendar) != ICAL_VCALENDAR_COMPONENT) Fail("no calendar");
  if (icalcomponent_count_errors(calendar) != 0)
    Fail("libical found errors: " + std::string(icalcomponent_as_ical_string(calendar)));
  for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
       event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
    PrintEvent(event);
  icalcomponent_free(calendar);
}
