#include "platform/key_map.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "platform/event_text.h"
#include "platform/sdl_events.h"

namespace {

using Texts = std::vector<std::string>;

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

// The right-hand keys are known by their keysym or by their position.
TEST(KeyMap, RightHandShiftAltAndControlAreExtended) {
  for (SDL_Keycode key : {SDLK_RSHIFT, SDLK_RCTRL, SDLK_RALT, SDLK_MODE})
    EXPECT_TRUE(IsExtendedSdlKey(key, SDL_SCANCODE_UNKNOWN)) << SDL_GetKeyName(key);
  for (SDL_Scancode scancode : {SDL_SCANCODE_RSHIFT, SDL_SCANCODE_RCTRL, SDL_SCANCODE_RALT})
    EXPECT_TRUE(IsExtendedSdlKey(SDLK_UNKNOWN, scancode)) << SDL_GetScancodeName(scancode);
  EXPECT_FALSE(IsExtendedSdlKey(SDLK_LCTRL, SDL_SCANCODE_LCTRL));
  EXPECT_EQ(EventTexts(Translate(KeyEvent(SDL_KEYDOWN, SDLK_RCTRL, SDL_SCANCODE_RCTRL))), Texts{"down 17 ext"});
  EXPECT_EQ(EventTexts(Translate(KeyEvent(SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT))), Texts{"up 18"});
}

TEST(SdlEvents, KeysTextAndControlCharacters) {
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  std::snprintf(text.text.text, sizeof text.text.text, "%s", "żA€");
  for (auto [event, expected] : std::initializer_list<std::pair<SDL_Event, Texts>>{
           {KeyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_NONE, 1), {"down 65 repeat"}},
           {KeyEvent(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE), {"down 8", "char 8"}},
           {KeyEvent(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), {"down 27", "char 27"}},
           {KeyEvent(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), {"up 27"}},  // typing is on the way down
           {KeyEvent(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT), {"close"}},
           {KeyEvent(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4), {"down 115"}},
           {text, {"char 380", "char 65", "char 8364"}}})
    EXPECT_EQ(EventTexts(Translate(event)), expected);
}

TEST(SdlEvents, MouseWheelFocusAndClose) {
  Texts out;
  auto translate = [&](const SDL_Event& event) {
    for (const std::string& text : EventTexts(Translate(event))) out.push_back(text);
  };
  SDL_Event event{};
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button.button = SDL_BUTTON_RIGHT;
  event.button.x = 12;
  event.button.y = 34;
  translate(event);
  event.type = SDL_MOUSEBUTTONUP;
  for (int button : {SDL_BUTTON_LEFT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1, SDL_BUTTON_X2}) {
    event.button.button = Uint8(button);
    translate(event);
  }
  event = SDL_Event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.x = -4;
  event.motion.y = 700;
  translate(event);
  event = SDL_Event{};
  event.type = SDL_MOUSEWHEEL;
  for (auto [y, direction] : {std::pair{2, SDL_MOUSEWHEEL_NORMAL},
                              {-1, SDL_MOUSEWHEEL_NORMAL},
                              {-1, SDL_MOUSEWHEEL_FLIPPED},
                              {0, SDL_MOUSEWHEEL_NORMAL}}) {
    event.wheel.y = y;
    event.wheel.direction = Uint32(direction);
    translate(event);
  }
  event.type = SDL_WINDOWEVENT;
  for (auto kind :
       {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_CLOSE, SDL_WINDOWEVENT_EXPOSED}) {
    event.window.event = Uint8(kind);
    translate(event);
  }
  event.type = SDL_QUIT;
  translate(event);
  EXPECT_EQ(out, (Texts{"press 2 12,34", "release 1 12,34", "release 3 12,34", "release 4 12,34", "release 5 12,34",
                        "move -4,700", "wheel 120", "wheel 120", "wheel -120", "wheel 120", "blur", "focus", "close",
                        "close"}));  // a wheel event per notch, none for no turn
}

// What the user did to the window while a dialog was open is dropped, except a
// close: Alt+F4 pressed then arrives as one Close once the dialog is answered.
TEST(SdlEvents, InputQueuedDuringADialogIsDroppedButAnAltF4CloseIsKept) {
  ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
  for (bool altF4 : {false, true}) {
    SCOPED_TRACE(altF4 ? "with Alt+F4" : "without");
    SDL_Event key = KeyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A);
    SDL_Event close = KeyEvent(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT);
    SDL_PushEvent(&key);
    if (altF4) SDL_PushEvent(&close);
    SDL_PushEvent(&key);
    DiscardPendingSdlInput();
    Texts delivered;
    SdlEventSource source;
    source.Pump(1, [&](const InputEvent& event) { delivered.push_back(EventText(event)); });
    EXPECT_EQ(delivered, altF4 ? Texts{"close"} : Texts{});
  }
  SDL_Quit();
}
}  // namespace
