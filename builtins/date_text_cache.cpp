#include "builtins/date_text_cache.h"

#include <clocale>
#include <ctime>

DateTextCache::~DateTextCache() { Clear(); }

size_t DateTextCache::SlotOf(int64_t seconds) {
  // Fibonacci hashing: neighbouring seconds and whole days spread over the table.
  return size_t((uint64_t(seconds) * 0x9E3779B97F4A7C15ull) >> 48) & (kSlots - 1);
}

bool DateTextCache::ConditionsHold(bool utc, const char* locale) const {
  const Conditions& c = conditions_;
  return c.utc == utc && c.zoneOffset == timezone && c.daylight == daylight && c.zoneNames[0] == tzname[0] &&
         c.zoneNames[1] == tzname[1] && c.timeLocale == locale;
}

void DateTextCache::Validate(bool utc) {
  const char* locale = std::setlocale(LC_TIME, nullptr);
  if (!locale) locale = "";
  if (ConditionsHold(utc, locale)) return;
  Clear();
  conditions_.utc = utc;
  conditions_.zoneOffset = timezone;
  conditions_.daylight = daylight;
  conditions_.zoneNames[0] = tzname[0];
  conditions_.zoneNames[1] = tzname[1];
  conditions_.timeLocale = locale;
}

void DateTextCache::Clear() {
  for (Slot& slot : slots_)
    if (!IsUnset(slot.text)) {
      FreeValue(slot.text);
      slot.text = RValue();
    }
}

bool DateTextCache::Find(int64_t seconds, bool utc, RValue& result) {
  Validate(utc);
  const Slot& slot = slots_[SlotOf(seconds)];
  if (IsUnset(slot.text) || slot.seconds != seconds) return false;
  CopyValue(result, slot.text);
  return true;
}

void DateTextCache::Store(int64_t seconds, bool utc, const RValue& value) {
  Validate(utc);
  Slot& slot = slots_[SlotOf(seconds)];
  if (!IsUnset(slot.text)) FreeValue(slot.text);
  CopyValue(slot.text, value);
  slot.seconds = seconds;
}
