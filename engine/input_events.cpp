#include "engine/input_events.h"

#include "engine/dispatch.h"
#include "engine/event_lists.h"
#include "engine/event_types.h"
#include "engine/input_state.h"
#include "engine/rooms.h"
#include "engine/sprites.h"
#include "runtime/instance.h"

namespace {
constexpr int kFirstKey = 8;
constexpr int kMouseButtonsWithEvents = 3;  // left, right, middle

// One pass of (type, number) to the instances that `reaches` admits, while
// `active` (the input condition that raised it) still holds.
template <typename Active, typename Reaches>
void Raise(int32_t type, int32_t number, Active active, Reaches reaches) {
  const std::vector<int32_t>& objects = EventObjectList(type, number);
  if (objects.empty()) return;
  ForEachPassTarget(objects, BeginEventPass(), [&](CInstance& instance) {
    if (active() && reaches(instance)) PerformEvent(&instance, &instance, type, number);
  });
}

template <typename Active>
void RaiseGlobal(int32_t type, int32_t number, Active active) {
  Raise(type, number, active, [](const CInstance&) { return true; });
}

const KeyStates& Keys() { return CurrentInput().keys; }
const ButtonStates& Mouse() { return CurrentInput().mouse; }

bool KeyHeld(int key) { return Keys().down[key] || Keys().pressed[key]; }

template <typename Test>
bool AnyKey(Test test) {
  for (int key = kFirstKey; key < kKeyCount; ++key)
    if (test(key)) return true;
  return false;
}

bool AnyKeyHeld() { return AnyKey(KeyHeld); }
bool AnyKeyPressed() {
  return AnyKey([](int key) { return Keys().pressed[key]; });
}
bool AnyKeyReleased() {
  return AnyKey([](int key) { return Keys().released[key]; });
}

bool ButtonHeld(int b) { return Mouse().down[b] || Mouse().pressed[b]; }
bool AnyButtonHeld() {
  for (int b = 0; b < kMouseButtonsWithEvents; ++b)
    if (ButtonHeld(b)) return true;
  return false;
}

void RaiseEnterAndLeave(double px, double py) {
  if (EventObjectList(kEventMouse, kMouseEnter).empty() && EventObjectList(kEventMouse, kMouseLeave).empty()) return;
  auto hit = [&](const CInstance& instance) { return InstanceHit(instance, px, py); };
  auto always = [] { return true; };
  Raise(kEventMouse, kMouseEnter, always,
        [&](const CInstance& instance) { return !instance.HasFlag(kInstanceMouseOver) && hit(instance); });
  Raise(kEventMouse, kMouseLeave, always,
        [&](const CInstance& instance) { return instance.HasFlag(kInstanceMouseOver) && !hit(instance); });
  CRoom* room = CurrentRoom();
  if (!room) return;
  for (CInstance* instance = room->instances.First(); instance; instance = RoomInstanceList::Next(instance)) {
    if (hit(*instance))
      instance->flags |= kInstanceMouseOver;
    else
      instance->flags &= ~kInstanceMouseOver;
  }
}
}  // namespace

void RaiseKeyboardEvents() {
  for (int key = kFirstKey; key < kKeyCount; ++key) {
    if (KeyHeld(key)) RaiseGlobal(kEventKeyboard, key, [key] { return KeyHeld(key); });
    if (Keys().pressed[key]) RaiseGlobal(kEventKeyPress, key, [key] { return Keys().pressed[key]; });
    if (Keys().released[key]) RaiseGlobal(kEventKeyRelease, key, [key] { return Keys().released[key]; });
  }
  RaiseGlobal(kEventKeyboard, AnyKeyHeld() ? kAnyKey : kNoKey, [] { return true; });
  RaiseGlobal(kEventKeyPress, AnyKeyPressed() ? kAnyKey : kNoKey, [] { return true; });
  RaiseGlobal(kEventKeyRelease, AnyKeyReleased() ? kAnyKey : kNoKey, [] { return true; });
}

void RaiseMouseEvents() {
  double px, py;
  MouseRoomPosition(px, py);
  auto over = [&](const CInstance& instance) { return InstanceHit(instance, px, py); };

  for (int b = 0; b < kMouseButtonsWithEvents; ++b) {
    auto pressed = [b] { return Mouse().pressed[b]; };
    if (!pressed()) continue;
    Raise(kEventMouse, kMouseLeftPressed + b, pressed, over);
    RaiseGlobal(kEventMouse, kMouseAnyPressed, pressed);
    RaiseGlobal(kEventMouse, kMouseGlobalLeftPressed + b, pressed);
  }
  bool anyHeld = AnyButtonHeld();
  for (int b = 0; b < kMouseButtonsWithEvents; ++b) {
    auto held = [b] { return ButtonHeld(b); };
    if (!held()) continue;
    Raise(kEventMouse, kMouseLeftButton + b, held, over);
    RaiseGlobal(kEventMouse, kMouseGlobalLeftButton + b, held);
  }
  if (!anyHeld)
    Raise(
        kEventMouse, kMouseNoButton, [] { return !AnyButtonHeld(); }, over);
  for (int b = 0; b < kMouseButtonsWithEvents; ++b) {
    auto released = [b] { return Mouse().released[b]; };
    if (!released()) continue;
    Raise(kEventMouse, kMouseLeftReleased + b, released, over);
    RaiseGlobal(kEventMouse, kMouseAnyReleased, released);
    RaiseGlobal(kEventMouse, kMouseGlobalLeftReleased + b, released);
  }
  RaiseEnterAndLeave(px, py);
  if (Mouse().wheelUp) RaiseGlobal(kEventMouse, kMouseWheelUp, [] { return Mouse().wheelUp; });
  if (Mouse().wheelDown) RaiseGlobal(kEventMouse, kMouseWheelDown, [] { return Mouse().wheelDown; });
}
