#include "builtins/date_text_cache.h"

#include <clocale>
#include <cstring>

DateTextCache::~DateTextCache() { Clear(); }

uint32_t DateTextCache::SlotOf(int64_t seconds) {
  // Fibonacci hashing: neighbouring seconds and whole days spread over the table.
  return uint32_t((uint64_t(seconds) * 0x9E3779B97F4A7C15ull) >> 48) & (kSlots - 1);
}

void DateTextCache::Follow(uint32_t slot) {
  slots_[previous_].next = slot;
  previous_ = slot;
  __builtin_prefetch(&slots_[slots_[slot].next]);
}

bool DateTextCache::ConditionsHold(bool utc, const char* locale) const {
  const Conditions& c = conditions_;
  return c.utc == utc && c.zone == ZoneState::Current() && std::strcmp(c.timeLocale.c_str(), locale) == 0;
}

void DateTextCache::Validate(bool utc) {
  const char* locale = std::setlocale(LC_TIME, nullptr);
  if (!locale) locale = "";
  if (ConditionsHold(utc, locale)) return;
  Clear();
  conditions_.utc = utc;
  conditions_.zone = ZoneState::Current();
  conditions_.timeLocale = locale;
}

void DateTextCache::Clear() {
  for (Slot& slot : slots_) {
    if (!slot.text) continue;
    RValue held = BorrowedString(slot.text);
    FreeValue(held);
    slot.text = nullptr;
  }
}

const StringBody* DateTextCache::Find(int64_t seconds, bool utc) {
  Validate(utc);
  const uint32_t index = SlotOf(seconds);
  Follow(index);
  const Slot& slot = slots_[index];
  return slot.text && slot.seconds == seconds ? slot.text : nullptr;
}

void DateTextCache::Store(int64_t seconds, bool utc, const RValue& value) {
  Validate(utc);
  if (KindOf(value) != VALUE_STRING || !value.str) return;
  Slot& slot = slots_[SlotOf(seconds)];
  if (slot.text) {
    RValue held = BorrowedString(slot.text);
    FreeValue(held);
  }
  ++value.str->refCount;
  slot.text = value.str;
  slot.seconds = seconds;
}
