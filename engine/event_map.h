// engine/event_map.h — an object definition's map from event key to handler.
//
// Open addressing with linear probing and displacement ordering: an entry that is
// farther from its home slot takes the place of one that is nearer, so a lookup
// can stop as soon as it meets an entry nearer home than the probe. A slot's hash
// is ((key × 0x9E3779B97F4A7C55) >> 32) + 1 masked to 31 bits; 0 marks an empty
// slot (a key whose hash would be 0 uses 1). The capacity is a power of two and
// doubles when the count exceeds 0.6 × capacity. The map does not own its events.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CEvent;

class EventMap {
 public:
  EventMap();

  // The handler of `key`, or null.
  CEvent* Find(uint64_t key) const;
  // Adds `key`, or replaces its handler when present.
  void Insert(uint64_t key, CEvent* event);
  size_t Count() const { return count_; }
  size_t Capacity() const { return slots_.size(); }

  // Calls visit(key, event) for every entry, in slot order.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (const Slot& slot : slots_)
      if (slot.hash != 0) visit(slot.key, slot.event);
  }

  static uint32_t HashOf(uint64_t key);

 private:
  struct Slot {
    uint64_t key = 0;
    CEvent* event = nullptr;
    uint32_t hash = 0;
  };

  size_t Mask() const { return slots_.size() - 1; }
  size_t DistanceFromHome(uint32_t hash, size_t index) const { return (index - (hash & Mask())) & Mask(); }
  void Place(Slot incoming);
  void Grow();

  std::vector<Slot> slots_;
  size_t count_ = 0;
};
