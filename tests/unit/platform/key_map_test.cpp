#include "platform/key_map.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/sdl_events.h"

namespace {

int Vk(SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers = KMOD_NONE) {
  return VirtualKeyFromSdl(key, scancode, modifiers);
}

SDL_Event KeyEvent(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers = KMOD_NONE,
                   int repeat = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.type = type;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = scancode;
  event.key.keysym.mod = modifiers;
  event.key.repeat = Uint8(repeat);
  return event;
}

std::vector<InputEvent> Translate(const SDL_Event& event) {
  std::vector<InputEvent> out;
  TranslateSdlEvent(event, out);
  return out;
}

// The rules of the map, one row each; its code table is not repeated here.
TEST(KeyMap, RangesLayoutPositionAndKeypadRules) {
  struct Row {
    SDL_Keycode key;
    SDL_Scancode scancode;
    uint16_t modifiers;
    int code;
  };
  for (const Row& row : std::initializer_list<Row>{
           {SDLK_a, SDL_SCANCODE_A, KMOD_NONE, 65},
           {SDLK_z, SDL_SCANCODE_Z, KMOD_NONE, 90},
           {SDLK_0, SDL_SCANCODE_0, KMOD_NONE, 48},
           {SDLK_9, SDL_SCANCODE_9, KMOD_NONE, 57},
           {SDLK_F1, SDL_SCANCODE_F1, KMOD_NONE, 112},
           {SDLK_F12, SDL_SCANCODE_F12, KMOD_NONE, 123},
           {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, 27},
           {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, KMOD_NONE, 16},
           {SDLK_MODE, SDL_SCANCODE_RALT, KMOD_NONE, 18},
           {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, KMOD_NONE, 0},
           {SDLK_z, SDL_SCANCODE_Y, KMOD_NONE, 90},                      // German layout: the key says Z
           {SDLK_AMPERSAND, SDL_SCANCODE_1, KMOD_NONE, 49},              // French digit row: by position
           {SDL_Keycode(0xF6), SDL_SCANCODE_SEMICOLON, KMOD_NONE, 186},  // 'ö' where ';' sits
           {SDLK_ESCAPE, SDL_SCANCODE_CAPSLOCK, KMOD_NONE, 27},          // Caps Lock made Escape
           {SDLK_KP_0, SDL_SCANCODE_KP_0, KMOD_NUM, 96},
           {SDLK_KP_9, SDL_SCANCODE_KP_9, KMOD_NUM, 105},
           {SDLK_1, SDL_SCANCODE_KP_1, KMOD_NUM, 97},      // a keypad key whose keysym is a digit
           {SDLK_KP_8, SDL_SCANCODE_KP_8, KMOD_NONE, 38},  // without Num Lock: navigation
           {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_NONE, 13},
       })
    EXPECT_EQ(Vk(row.key, row.scancode, row.modifiers), row.code) << SDL_GetKeyName(row.key);
}

// Distinct keys have distinct codes, save the left and right hand modifiers and
// the two Enter keys (with Num Lock on, so the keypad is not the navigation keys).
TEST(KeyMap, DistinctKeysHaveDistinctCodes) {
  std::map<int, std::vector<std::string>> keysOfCode;
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    SDL_Keycode key = SDL_SCANCODE_TO_KEYCODE(scancode);
    int code = Vk(key, SDL_Scancode(scancode), KMOD_NUM);
    if (code != 0) keysOfCode[code].push_back(SDL_GetScancodeName(SDL_Scancode(scancode)));
  }
  for (const auto& [code, keys] : keysOfCode) {
    if (code == kVkShift || code == kVkControl || code == kVkAlt || code == 13) continue;
    EXPECT_EQ(keys.size(), 1u) << code << ": " << ::testing::PrintToString(keys);
  }
}

TEST(KeyMap, RightHandShiftAltAndControlAreExtended) {
  EXPECT_TRUE(IsExtendedSdlKey(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT));
  EXPECT_TRUE(IsExtendedSdlKey(SDLK_MODE, SDL_SCANCODE_RALT));
  EXPECT_FALSE(IsExtendedSdlKey(SDLK_LCTRL, SDL_SCANCODE_LCTRL));
  std::vector<InputEvent> right = Translate(KeyEvent(SDL_KEYDOWN, SDLK_RCTRL, SDL_SCANCODE_RCTRL));
  ASSERT_EQ(right.size(), 1u);
  EXPECT_EQ(right[0].key, 17);
  EXPECT_TRUE(right[0].extended);
  std::vector<InputEvent> left = Translate(KeyEvent(SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT));
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].type, InputEvent::Type::KeyUp);
  EXPECT_FALSE(left[0].extended);
}

TEST(SdlEvents, KeysTextAndControlCharacters) {
  std::vector<InputEvent> a = Translate(KeyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_NONE, 1));
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].type, InputEvent::Type::KeyDown);
  EXPECT_EQ(a[0].key, 65);
  EXPECT_TRUE(a[0].repeat);

  std::vector<InputEvent> backspace = Translate(KeyEvent(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE));
  ASSERT_EQ(backspace.size(), 2u);
  EXPECT_EQ(backspace[1].type, InputEvent::Type::Character);
  EXPECT_EQ(backspace[1].character, 8u);
  EXPECT_EQ(Translate(KeyEvent(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE))[1].character, 27u);
  EXPECT_EQ(Translate(KeyEvent(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE)).size(), 1u);  // typing is on the way down

  std::vector<InputEvent> altF4 = Translate(KeyEvent(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT));
  ASSERT_EQ(altF4.size(), 1u);
  EXPECT_EQ(altF4[0].type, InputEvent::Type::Close);
  EXPECT_EQ(Translate(KeyEvent(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4))[0].key, 115);

  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  std::snprintf(text.text.text, sizeof text.text.text, "%s", "żA€");
  std::vector<InputEvent> typed = Translate(text);
  ASSERT_EQ(typed.size(), 3u);
  EXPECT_EQ(typed[0].character, 0x17Cu);
  EXPECT_EQ(typed[1].character, uint32_t('A'));
  EXPECT_EQ(typed[2].character, 0x20ACu);
}

TEST(SdlEvents, MouseWheelFocusAndClose) {
  SDL_Event press{};
  press.type = SDL_MOUSEBUTTONDOWN;
  press.button.button = SDL_BUTTON_RIGHT;
  press.button.x = 12;
  press.button.y = 34;
  std::vector<InputEvent> down = Translate(press);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].type, InputEvent::Type::ButtonDown);
  EXPECT_EQ(down[0].button, 2);
  EXPECT_EQ(down[0].x, 12);
  EXPECT_EQ(down[0].y, 34);
  press.type = SDL_MOUSEBUTTONUP;
  for (auto [sdl, ours] :
       {std::pair{SDL_BUTTON_LEFT, 1}, {SDL_BUTTON_MIDDLE, 3}, {SDL_BUTTON_X1, 4}, {SDL_BUTTON_X2, 5}}) {
    press.button.button = Uint8(sdl);
    std::vector<InputEvent> up = Translate(press);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].type, InputEvent::Type::ButtonUp);
    EXPECT_EQ(up[0].button, ours);
  }

  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.x = -4;
  motion.motion.y = 700;
  std::vector<InputEvent> moved = Translate(motion);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0].x, -4);
  EXPECT_EQ(moved[0].y, 700);

  SDL_Event wheel{};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.y = 2;
  std::vector<InputEvent> up = Translate(wheel);
  ASSERT_EQ(up.size(), 2u);  // one event per notch
  EXPECT_GT(up[1].wheelDelta, 0);
  wheel.wheel.y = -1;
  EXPECT_LT(Translate(wheel).at(0).wheelDelta, 0);
  wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
  EXPECT_GT(Translate(wheel).at(0).wheelDelta, 0);
  wheel.wheel.y = 0;
  EXPECT_TRUE(Translate(wheel).empty());

  SDL_Event window{};
  window.type = SDL_WINDOWEVENT;
  window.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  EXPECT_EQ(Translate(window).at(0).type, InputEvent::Type::Activate);
  EXPECT_FALSE(Translate(window).at(0).active);
  window.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  EXPECT_EQ(Translate(window).at(0).type, InputEvent::Type::Activate);
  EXPECT_TRUE(Translate(window).at(0).active);
  window.window.event = SDL_WINDOWEVENT_CLOSE;
  EXPECT_EQ(Translate(window).at(0).type, InputEvent::Type::Close);
  window.window.event = SDL_WINDOWEVENT_EXPOSED;
  EXPECT_TRUE(Translate(window).empty());
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_EQ(Translate(quit).at(0).type, InputEvent::Type::Close);
}

// What the user did to the window while a dialog was open is dropped, except a
// close: Alt+F4 pressed then arrives as one Close once the dialog is answered.
TEST(SdlEvents, InputQueuedDuringADialogIsDroppedButAnAltF4CloseIsKept) {
  ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
  for (bool altF4 : {false, true}) {
    SCOPED_TRACE(altF4 ? "with Alt+F4" : "without");
    SDL_Event key = KeyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A);
    SDL_PushEvent(&key);
    if (altF4) {
      SDL_Event close = KeyEvent(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT);
      SDL_PushEvent(&close);
    }
    SDL_PushEvent(&key);
    DiscardPendingSdlInput();
    std::vector<InputEvent> delivered;
    SdlEventSource source;
    source.Pump(1, [&](const InputEvent& event) { delivered.push_back(event); });
    ASSERT_EQ(delivered.size(), altF4 ? 1u : 0u);
    if (altF4) {
      EXPECT_EQ(delivered[0].type, InputEvent::Type::Close);
    }
  }
  SDL_Quit();
}
}  // namespace
