// builtins/date_text_cache.h — the texts date_date_string made recently, by the
// whole second they stand for.
//
// Every frame of a register screen shows the dates of every record again, and a
// time-zone conversion with strftime per date cost more than the rest of the
// frame. The cache is direct-mapped (kSlots entries, a newer second replacing an
// older one in the same slot) and holds one reference to each text's string
// body, so a hit is a shared copy without any allocation. Each slot also
// remembers which slot was looked up right after it, and a lookup fetches that
// slot into the processor's cache ahead of time: the frames of a register screen
// look their dates up in the same order again and again, and without this the
// scattered slots cost a memory access each.
//
// A text depends on the second, the time-zone mode (local or UTC), the zone the
// C library has loaded and the time category of the locale. Every lookup checks
// the last three against what they were when the texts were made and empties
// the cache when any differs. The loaded zone is recognised by its ZoneState
// (local_time.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "builtins/local_time.h"
#include "runtime/value.h"

class DateTextCache {
 public:
  static constexpr size_t kSlots = size_t(1) << 16;

  DateTextCache() = default;
  ~DateTextCache();
  DateTextCache(const DateTextCache&) = delete;
  DateTextCache& operator=(const DateTextCache&) = delete;

  // The cached text of `seconds`, or null when it is not cached. The cache keeps
  // the reference: the body lives until the next Store or change of conditions.
  const StringBody* Find(int64_t seconds, bool utc);
  // Keeps the text `value` (a string) of `seconds`, sharing its body.
  void Store(int64_t seconds, bool utc, const RValue& value);

 private:
  struct Slot {
    int64_t seconds = 0;
    StringBody* text = nullptr;  // one reference; null when empty
    uint32_t next = 0;           // the slot looked up after this one, last time
  };
  struct Conditions {
    bool utc = false;
    ZoneState zone;
    std::string timeLocale;
  };

  static uint32_t SlotOf(int64_t seconds);
  // Learns that `slot` follows the previous lookup and prefetches its successor.
  void Follow(uint32_t slot);
  bool ConditionsHold(bool utc, const char* locale) const;
  // Empties the cache when the conditions differ from those of its texts.
  void Validate(bool utc);
  void Clear();

  std::array<Slot, kSlots> slots_;
  uint32_t previous_ = 0;
  Conditions conditions_;
};
