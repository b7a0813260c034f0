// engine/event_types.h — the numbering of events: a 32-bit type and a 32-bit
// number, combined into the 64-bit key (type << 32) | number of event maps.
#pragma once

#include <cstdint>

enum EventType : int32_t {
  kEventCreate = 0,
  kEventDestroy = 1,
  kEventAlarm = 2,
  kEventStep = 3,
  kEventCollision = 4,
  kEventKeyboard = 5,
  kEventMouse = 6,
  kEventOther = 7,
  kEventDraw = 8,
  kEventKeyPress = 9,
  kEventKeyRelease = 10,
  kEventCleanUp = 12,
  kEventGesture = 13,
  kEventPreCreate = 14,
};

// Step numbers.
constexpr int32_t kStepNormal = 0;
constexpr int32_t kStepBegin = 1;
constexpr int32_t kStepEnd = 2;

// Other numbers.
constexpr int32_t kOtherGameStart = 2;
constexpr int32_t kOtherGameEnd = 3;
constexpr int32_t kOtherRoomStart = 4;
constexpr int32_t kOtherRoomEnd = 5;
constexpr int32_t kOtherAnimationEnd = 7;
constexpr int32_t kOtherUser0 = 10;

// Draw numbers.
constexpr int32_t kDrawNormal = 0;
constexpr int32_t kDrawGui = 64;
constexpr int32_t kDrawBegin = 72;
constexpr int32_t kDrawEnd = 73;
constexpr int32_t kDrawGuiBegin = 74;
constexpr int32_t kDrawGuiEnd = 75;
constexpr int32_t kDrawPre = 76;
constexpr int32_t kDrawPost = 77;

// Keyboard numbers below the first key code.
constexpr int32_t kNoKey = 0;
constexpr int32_t kAnyKey = 1;

// Mouse numbers.
constexpr int32_t kMouseLeftButton = 0;  // 0-2 held, local
constexpr int32_t kMouseNoButton = 3;
constexpr int32_t kMouseLeftPressed = 4;   // 4-6
constexpr int32_t kMouseLeftReleased = 7;  // 7-9
constexpr int32_t kMouseEnter = 10;
constexpr int32_t kMouseLeave = 11;
constexpr int32_t kMouseAnyPressed = 12;
constexpr int32_t kMouseAnyReleased = 13;
constexpr int32_t kMouseGlobalLeftButton = 50;    // 50-52
constexpr int32_t kMouseGlobalLeftPressed = 53;   // 53-55
constexpr int32_t kMouseGlobalLeftReleased = 56;  // 56-58
constexpr int32_t kMouseWheelUp = 60;
constexpr int32_t kMouseWheelDown = 61;

constexpr uint64_t EventKey(int32_t type, int32_t number) {
  return (uint64_t(uint32_t(type)) << 32) | uint32_t(number);
}
constexpr int32_t EventKeyType(uint64_t key) { return int32_t(key >> 32); }
constexpr int32_t EventKeyNumber(uint64_t key) { return int32_t(uint32_t(key)); }
