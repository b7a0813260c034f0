#include "engine/event_map.h"

#include <utility>

namespace {
constexpr size_t kInitialCapacity = 8;
constexpr double kMaxLoad = 0.6;
}  // namespace

EventMap::EventMap() : slots_(kInitialCapacity) {}

uint32_t EventMap::HashOf(uint64_t key) {
  uint32_t hash = uint32_t(((key * 0x9E3779B97F4A7C55ull) >> 32) + 1) & 0x7FFFFFFFu;
  return hash != 0 ? hash : 1;  // 0 is the empty marker
}

CEvent* EventMap::Find(uint64_t key) const {
  uint32_t hash = HashOf(key);
  size_t index = hash & Mask();
  for (size_t distance = 0; distance < slots_.size(); ++distance, index = (index + 1) & Mask()) {
    const Slot& slot = slots_[index];
    if (slot.hash == 0 || DistanceFromHome(slot.hash, index) < distance) return nullptr;
    if (slot.hash == hash && slot.key == key) return slot.event;
  }
  return nullptr;
}

void EventMap::Insert(uint64_t key, CEvent* event) {
  Place(Slot{key, event, HashOf(key)});
  if (double(count_) > kMaxLoad * double(slots_.size())) Grow();
}

void EventMap::Place(Slot incoming) {
  size_t index = incoming.hash & Mask();
  size_t distance = 0;
  for (;;) {
    Slot& slot = slots_[index];
    if (slot.hash == 0) {
      slot = incoming;
      ++count_;
      return;
    }
    if (slot.hash == incoming.hash && slot.key == incoming.key) {
      slot.event = incoming.event;
      return;
    }
    size_t residentDistance = DistanceFromHome(slot.hash, index);
    if (residentDistance < distance) {
      std::swap(slot, incoming);
      distance = residentDistance;
    }
    index = (index + 1) & Mask();
    ++distance;
  }
}

void EventMap::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  count_ = 0;
  for (const Slot& slot : old)
    if (slot.hash != 0) Place(slot);
}
