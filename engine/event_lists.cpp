#include "engine/event_lists.h"

#include <array>

#include "engine/event_types.h"
#include "engine/objects.h"

namespace {
constexpr int kTypeCount = 15;

// How many numbers of each type have a list (0: none).
constexpr std::array<int32_t, kTypeCount> kNumbersPerType = {
    1,    // Create
    1,    // Destroy
    13,   // Alarm
    17,   // Step
    0,    // Collision
    129,  // Keyboard
    129,  // Mouse
    129,  // Other
    78,   // Draw
    129,  // KeyPress
    129,  // KeyRelease
    0,    // (not raised)
    0,    // Clean-up
    129,  // Gesture
    1,    // PreCreate
};

std::array<std::vector<std::vector<int32_t>>, kTypeCount> g_lists;
const std::vector<int32_t> kNoObjects;

bool HasList(int32_t type, int32_t number) {
  return type >= 0 && type < kTypeCount && number >= 0 && number < kNumbersPerType[size_t(type)];
}
}  // namespace

void BuildEventObjectLists() {
  ClearEventObjectLists();
  for (int type = 0; type < kTypeCount; ++type) g_lists[size_t(type)].resize(size_t(kNumbersPerType[size_t(type)]));
  for (int32_t index = 0; index < ObjectCount(); ++index) {
    FindObject(index)->events.ForEach([&](uint64_t key, const CEvent* event) {
      int32_t type = EventKeyType(key), number = EventKeyNumber(key);
      if (!HasList(type, number)) return;
      if (!event->code && type != kEventAlarm) return;
      g_lists[size_t(type)][size_t(number)].push_back(index);
    });
  }
}

void ClearEventObjectLists() {
  for (auto& lists : g_lists) lists.clear();
}

const std::vector<int32_t>& EventObjectList(int32_t type, int32_t number) {
  if (!HasList(type, number) || g_lists[size_t(type)].empty()) return kNoObjects;
  return g_lists[size_t(type)][size_t(number)];
}
