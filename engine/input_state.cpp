#include "engine/input_state.h"

#include <array>
#include <cmath>

#include "engine/platform.h"
#include "engine/rooms.h"

namespace {
constexpr int kVkBackspace = 8;
constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkAlt = 18;
constexpr int kVkLeftShift = 160;
constexpr int kVkRightShift = 161;
constexpr int kVkLeftControl = 162;
constexpr int kVkRightControl = 163;
constexpr int kVkLeftAlt = 164;
constexpr int kVkRightAlt = 165;
constexpr int kVkImeProcess = 229;
constexpr int kVkIgnored242 = 242;

struct Latches {
  KeyStates keys;
  ButtonStates mouse;
  int x = 0, y = 0;
  int currentKey = 0, lastKey = 0, previousKey = 0;
  int currentButton = 0, lastButton = 0;
  std::string typed;
  size_t typedCount = 0;  // characters (not bytes) in `typed`
};

Latches g_latches;
FrameInput g_frame;
std::array<int, kKeyCount> IdentityKeyMap() {
  std::array<int, kKeyCount> map{};
  for (int key = 0; key < kKeyCount; ++key) map[size_t(key)] = key;
  return map;
}
std::array<int, kKeyCount> g_keyMap = IdentityKeyMap();
int g_clientWidth = 0, g_clientHeight = 0;
bool g_windowActive = true;

bool ValidKey(int key) { return key >= 0 && key < kKeyCount; }
bool ValidButton(int button) { return button >= 1 && button <= kButtonCount; }

// The side-specific code that Shift, Alt and Control also record, or 0.
int SideKey(int key, bool extended) {
  if (key == kVkShift) return extended ? kVkRightShift : kVkLeftShift;
  if (key == kVkAlt) return extended ? kVkRightAlt : kVkLeftAlt;
  if (key == kVkControl) return extended ? kVkRightControl : kVkLeftControl;
  return 0;
}

void SetKeyDown(int key, bool repeat) {
  KeyStates& keys = g_latches.keys;
  if (!keys.down[key] && !repeat) keys.pressed[key] = true;
  keys.down[key] = true;
}

void SetKeyUp(int key) {
  g_latches.keys.down[key] = false;
  g_latches.keys.released[key] = true;
}

void KeyDown(int key, bool repeat, bool extended) {
  if (key == kVkImeProcess || key == kVkIgnored242 || !ValidKey(key)) return;
  key = g_keyMap[size_t(key)];
  if (key != g_latches.currentKey) g_latches.previousKey = g_latches.currentKey;
  g_latches.currentKey = g_latches.lastKey = key;
  SetKeyDown(key, repeat);
  if (int side = SideKey(key, extended)) SetKeyDown(side, repeat);
}

void KeyUp(int key, bool extended) {
  if (key == kVkImeProcess || key == kVkIgnored242 || !ValidKey(key)) return;
  key = g_keyMap[size_t(key)];
  SetKeyUp(key);
  if (int side = SideKey(key, extended)) SetKeyUp(side);
  if (key == g_latches.currentKey) {
    int previous = g_latches.previousKey;
    g_latches.currentKey = (previous != 0 && g_latches.keys.down[previous]) ? previous : 0;
    g_latches.previousKey = 0;
  }
}

void AppendUtf8(std::string& text, uint32_t codepoint) {
  if (codepoint < 0x80) {
    text += char(codepoint);
  } else if (codepoint < 0x800) {
    text += char(0xC0 | (codepoint >> 6));
    text += char(0x80 | (codepoint & 0x3F));
  } else if (codepoint < 0x10000) {
    text += char(0xE0 | (codepoint >> 12));
    text += char(0x80 | ((codepoint >> 6) & 0x3F));
    text += char(0x80 | (codepoint & 0x3F));
  } else {
    text += char(0xF0 | (codepoint >> 18));
    text += char(0x80 | ((codepoint >> 12) & 0x3F));
    text += char(0x80 | ((codepoint >> 6) & 0x3F));
    text += char(0x80 | (codepoint & 0x3F));
  }
}

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Removes the first (`fromFront`) or last character of UTF-8 text.
void EraseCharacter(std::string& text, bool fromFront) {
  if (text.empty()) return;
  if (fromFront) {
    size_t end = 1;
    while (end < text.size() && IsContinuationByte(text[end])) ++end;
    text.erase(0, end);
  } else {
    size_t start = text.size() - 1;
    while (start > 0 && IsContinuationByte(text[start])) --start;
    text.erase(start);
  }
}

// Typed characters; backspace takes the last one back, other control characters
// are not stored; beyond the limit the oldest character makes room.
void TypeCharacter(uint32_t codepoint) {
  std::string& typed = g_latches.typed;
  if (codepoint == kVkBackspace) {
    if (g_latches.typedCount > 0) {
      EraseCharacter(typed, false);
      --g_latches.typedCount;
    }
    return;
  }
  if (codepoint < 32 || codepoint > 0x10FFFF || (codepoint >= 0xD800 && codepoint <= 0xDFFF)) return;
  if (g_latches.typedCount == kMaxTypedCharacters) {
    EraseCharacter(typed, true);
    --g_latches.typedCount;
  }
  AppendUtf8(typed, codepoint);
  ++g_latches.typedCount;
}

void ButtonDown(int button) {
  if (!ValidButton(button)) return;
  ButtonStates& mouse = g_latches.mouse;
  g_latches.currentButton = g_latches.lastButton = button;
  if (!mouse.down[button - 1]) mouse.pressed[button - 1] = true;
  mouse.down[button - 1] = true;
}

void ButtonUp(int button) {
  if (!ValidButton(button)) return;
  ButtonStates& mouse = g_latches.mouse;
  g_latches.currentButton = 0;
  mouse.down[button - 1] = false;
  mouse.pressed[button - 1] = false;
  mouse.released[button - 1] = true;
}

// Switching to another application forgets the keyboard, not the mouse buttons.
void ClearKeyboard() {
  g_latches.keys = KeyStates{};
  g_frame.keys = KeyStates{};
  g_latches.currentKey = g_latches.lastKey = g_latches.previousKey = 0;
  g_frame.keyboardKey = g_frame.keyboardLastKey = 0;
  g_latches.typed.clear();
  g_latches.typedCount = 0;
  g_frame.keyboardString.clear();
}

void MoveTo(int x, int y) {
  g_latches.x = x;
  g_latches.y = y;
}
}  // namespace

void ApplyInputEvent(const InputEvent& event) {
  switch (event.type) {
    case InputEvent::Type::KeyDown: KeyDown(event.key, event.repeat, event.extended); break;
    case InputEvent::Type::KeyUp: KeyUp(event.key, event.extended); break;
    case InputEvent::Type::Character: TypeCharacter(event.character); break;
    case InputEvent::Type::ButtonDown:
      MoveTo(event.x, event.y);
      ButtonDown(event.button);
      break;
    case InputEvent::Type::ButtonUp:
      MoveTo(event.x, event.y);
      ButtonUp(event.button);
      break;
    case InputEvent::Type::MouseMove: MoveTo(event.x, event.y); break;
    case InputEvent::Type::Wheel:
      if (event.wheelDelta > 0) g_latches.mouse.wheelUp = true;
      if (event.wheelDelta < 0) g_latches.mouse.wheelDown = true;
      break;
    case InputEvent::Type::Activate:
      ClearKeyboard();
      g_windowActive = event.active;
      break;
    case InputEvent::Type::Close: break;
  }
}

void UpdateInput() {
  g_frame.keys = g_latches.keys;
  g_frame.mouse = g_latches.mouse;
  g_frame.x = g_latches.x;
  g_frame.y = g_latches.y;
  g_frame.mouseButton = g_latches.currentButton;
  g_frame.mouseLastButton = g_latches.lastButton;
  g_frame.keyboardKey = g_latches.currentKey;
  g_frame.keyboardLastKey = g_latches.lastKey;
  g_frame.keyboardString = g_latches.typed;

  for (int key = 0; key < kKeyCount; ++key) g_latches.keys.pressed[key] = g_latches.keys.released[key] = false;
  for (int b = 0; b < kButtonCount; ++b) g_latches.mouse.pressed[b] = g_latches.mouse.released[b] = false;
  g_latches.mouse.wheelUp = g_latches.mouse.wheelDown = false;
}

void ClearAllInput() {
  ClearKeyboard();
  g_latches.mouse = ButtonStates{};
  g_frame.mouse = ButtonStates{};
  g_latches.currentButton = g_latches.lastButton = 0;
  g_frame.mouseButton = g_frame.mouseLastButton = 0;
}

void ResetInput() {
  ClearAllInput();
  g_keyMap = IdentityKeyMap();
  g_latches.x = g_latches.y = g_frame.x = g_frame.y = 0;
  g_windowActive = true;
}

bool WindowActive() { return g_windowActive; }

const FrameInput& CurrentInput() { return g_frame; }

void SetKeyMapping(int from, int to) {
  if (ValidKey(from) && ValidKey(to)) g_keyMap[size_t(from)] = to;
}

int KeyMapping(int from) { return ValidKey(from) ? g_keyMap[size_t(from)] : from; }

void SetWindowClientSize(int width, int height) {
  g_clientWidth = width;
  g_clientHeight = height;
}

void MouseRoomPosition(double& x, double& y) {
  x = g_frame.x;
  y = g_frame.y;
  const CRoom* room = CurrentRoom();
  if (!room || g_clientWidth <= 0 || g_clientHeight <= 0) return;
  x = std::trunc(double(g_frame.x) * room->definition->width / g_clientWidth);
  y = std::trunc(double(g_frame.y) * room->definition->height / g_clientHeight);
}
