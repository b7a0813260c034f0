#include "calendar/calendar_file.h"

#include <glib.h>
#include <libical/ical.h>

#include <memory>

namespace {
constexpr const char* kProductId = "-//Vestra-K//Kalvora//PL";
constexpr const char* kCalendarName = "Kalvora";
constexpr size_t kUidHashDigits = 32;  // 128 of the hash's 256 bits

struct ComponentFree {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct BufferFree {
  void operator()(char* buffer) const { icalmemory_free_buffer(buffer); }
};

// Valid UTF-8 without control characters but the tab and the line feed.
std::string ValidText(const std::string& text) {
  gchar* valid = g_utf8_make_valid(text.data(), gssize(text.size()));
  const std::string utf8 = valid;
  g_free(valid);
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '\r') {
      out += '\n';
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    } else if (c == '\n' || c == '\t') {
      out += c;
    } else {
      out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    }
  }
  return out;
}

// The parts that identify the event, each prefixed with its length so that no
// two different sets of parts give the same bytes.
std::string Identity(const CalendarEvent& event) {
  std::string identity;
  for (const std::string& part : {event.section, std::to_string(event.field), event.firstText, event.secondText,
                                  std::to_string(event.occurrence)})
    identity += std::to_string(part.size()) + ":" + part;
  return identity;
}

std::string EventUid(const CalendarEvent& event) {
  const std::string identity = Identity(event);
  gchar* hash =
      g_compute_checksum_for_data(G_CHECKSUM_SHA256, reinterpret_cast<const guchar*>(identity.data()), identity.size());
  std::string uid = std::string(hash, kUidHashDigits) + "-" + event.section + "-" + std::to_string(event.field);
  g_free(hash);
  return uid + "@kalvora";
}

icaltimetype Day(const CalendarEvent& event) {
  icaltimetype day = icaltime_null_date();
  day.year = event.year;
  day.month = event.month;
  day.day = event.day;
  return day;
}

icaltimetype DayAfter(icaltimetype day) {
  icaltime_adjust(&day, 1, 0, 0, 0);
  return day;
}

icalcomponent* Alarm(const std::string& description, int daysBefore) {
  icaltriggertype trigger{};
  trigger.time = icaltime_null_time();
  trigger.duration = icaldurationtype_null_duration();
  trigger.duration.is_neg = daysBefore > 0;
  trigger.duration.days = unsigned(daysBefore > 0 ? int64_t(daysBefore) : -int64_t(daysBefore));
  return icalcomponent_vanew(ICAL_VALARM_COMPONENT, icalproperty_new_action(ICAL_ACTION_DISPLAY),
                             icalproperty_new_description(description.c_str()), icalproperty_new_trigger(trigger),
                             nullptr);
}

icalcomponent* Event(const CalendarEvent& event, icaltimetype stamp) {
  const std::string summary = ValidText(event.summary);
  const icaltimetype day = Day(event);
  return icalcomponent_vanew(
      ICAL_VEVENT_COMPONENT, icalproperty_new_uid(EventUid(event).c_str()), icalproperty_new_dtstamp(stamp),
      icalproperty_new_dtstart(day), icalproperty_new_dtend(DayAfter(day)), icalproperty_new_summary(summary.c_str()),
      icalproperty_new_categories(ValidText(event.category).c_str()), icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT),
      Alarm(summary, event.alarmDaysBefore), nullptr);
}
}  // namespace

bool CalendarText(const std::vector<CalendarEvent>& events, int64_t stamp, std::string& text, std::string& error) {
  Component calendar(icalcomponent_vanew(ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"),
                                         icalproperty_new_prodid(kProductId), icalproperty_new_calscale("GREGORIAN"),
                                         icalproperty_new_x(kCalendarName), nullptr));
  icalproperty_set_x_name(icalcomponent_get_first_property(calendar.get(), ICAL_X_PROPERTY), "X-WR-CALNAME");
  const icaltimetype utcStamp = icaltime_from_timet_with_zone(time_t(stamp), 0, icaltimezone_get_utc_timezone());
  for (const CalendarEvent& event : events) icalcomponent_add_component(calendar.get(), Event(event, utcStamp));
  std::unique_ptr<char, BufferFree> written(icalcomponent_as_ical_string_r(calendar.get()));
  if (!written) {
    error = std::string("libical: ") + icalerror_strerror(icalerrno);
    return false;
  }
  text = written.get();
  return true;
}
