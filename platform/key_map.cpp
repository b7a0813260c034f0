#include "platform/key_map.h"

namespace {

// Keypad keys; `numLock` picks digits or navigation as Windows does.
int KeypadKey(SDL_Scancode scancode, bool numLock) {
  struct Keypad {
    SDL_Scancode scancode;
    int withNumLock, withoutNumLock;
  };
  static const Keypad kKeypad[] = {
      {SDL_SCANCODE_KP_0, 96, 45},      {SDL_SCANCODE_KP_1, 97, 35},       {SDL_SCANCODE_KP_2, 98, 40},
      {SDL_SCANCODE_KP_3, 99, 34},      {SDL_SCANCODE_KP_4, 100, 37},      {SDL_SCANCODE_KP_5, 101, 12},
      {SDL_SCANCODE_KP_6, 102, 39},     {SDL_SCANCODE_KP_7, 103, 36},      {SDL_SCANCODE_KP_8, 104, 38},
      {SDL_SCANCODE_KP_9, 105, 33},     {SDL_SCANCODE_KP_PERIOD, 110, 46}, {SDL_SCANCODE_KP_MULTIPLY, 106, 106},
      {SDL_SCANCODE_KP_PLUS, 107, 107}, {SDL_SCANCODE_KP_MINUS, 109, 109}, {SDL_SCANCODE_KP_DIVIDE, 111, 111},
      {SDL_SCANCODE_KP_ENTER, 13, 13},
  };
  for (const Keypad& entry : kKeypad)
    if (entry.scancode == scancode) return numLock ? entry.withNumLock : entry.withoutNumLock;
  return 0;
}

// US-layout characters of the main block.
int CharacterKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  switch (key) {
    case SDLK_SPACE: return 32;
    case SDLK_SEMICOLON: return 186;
    case SDLK_EQUALS: return 187;
    case SDLK_COMMA: return 188;
    case SDLK_MINUS: return 189;
    case SDLK_PERIOD: return 190;
    case SDLK_SLASH: return 191;
    case SDLK_BACKQUOTE: return 192;
    case SDLK_LEFTBRACKET: return 219;
    case SDLK_BACKSLASH: return 220;
    case SDLK_RIGHTBRACKET: return 221;
    case SDLK_QUOTE: return 222;
    default: return 0;
  }
}

// A key by its position on a US keyboard.
int PositionKey(SDL_Scancode scancode) {
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return 112 + (scancode - SDL_SCANCODE_F1);
  if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) return 124 + (scancode - SDL_SCANCODE_F13);
  switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_RETURN: return 13;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return kVkShift;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return kVkControl;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return kVkAlt;
    case SDL_SCANCODE_PAUSE: return 19;
    case SDL_SCANCODE_CAPSLOCK: return 20;
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_SPACE: return 32;
    case SDL_SCANCODE_PAGEUP: return 33;
    case SDL_SCANCODE_PAGEDOWN: return 34;
    case SDL_SCANCODE_END: return 35;
    case SDL_SCANCODE_HOME: return 36;
    case SDL_SCANCODE_LEFT: return 37;
    case SDL_SCANCODE_UP: return 38;
    case SDL_SCANCODE_RIGHT: return 39;
    case SDL_SCANCODE_DOWN: return 40;
    case SDL_SCANCODE_PRINTSCREEN: return 44;
    case SDL_SCANCODE_INSERT: return 45;
    case SDL_SCANCODE_DELETE: return 46;
    case SDL_SCANCODE_LGUI: return 91;
    case SDL_SCANCODE_RGUI: return 92;
    case SDL_SCANCODE_APPLICATION: return 93;
    case SDL_SCANCODE_NUMLOCKCLEAR: return 144;
    case SDL_SCANCODE_SCROLLLOCK: return 145;
    case SDL_SCANCODE_SEMICOLON: return 186;
    case SDL_SCANCODE_EQUALS: return 187;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_MINUS: return 189;
    case SDL_SCANCODE_PERIOD: return 190;
    case SDL_SCANCODE_SLASH: return 191;
    case SDL_SCANCODE_GRAVE: return 192;
    case SDL_SCANCODE_LEFTBRACKET: return 219;
    case SDL_SCANCODE_BACKSLASH: return 220;
    case SDL_SCANCODE_RIGHTBRACKET: return 221;
    case SDL_SCANCODE_APOSTROPHE: return 222;
    case SDL_SCANCODE_NONUSBACKSLASH: return 226;
    default: return 0;
  }
}

// The key a keycode means, as a scancode, so that keys moved by the layout (say
// Caps Lock made Escape) give the code of what they mean.
SDL_Scancode ScancodeOfMeaning(SDL_Keycode key) {
  if (key & SDLK_SCANCODE_MASK) return SDL_Scancode(key & ~SDLK_SCANCODE_MASK);
  switch (key) {
    case SDLK_RETURN: return SDL_SCANCODE_RETURN;
    case SDLK_ESCAPE: return SDL_SCANCODE_ESCAPE;
    case SDLK_BACKSPACE: return SDL_SCANCODE_BACKSPACE;
    case SDLK_TAB: return SDL_SCANCODE_TAB;
    case SDLK_DELETE: return SDL_SCANCODE_DELETE;
    default: return SDL_SCANCODE_UNKNOWN;
  }
}

}  // namespace

int VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers) {
  if (int keypad = KeypadKey(scancode, (modifiers & KMOD_NUM) != 0)) return keypad;
  if (key == SDLK_MODE) return kVkAlt;  // AltGr on layouts that give it its own keysym
  if (int character = CharacterKey(key)) return character;
  if (int meant = PositionKey(ScancodeOfMeaning(key))) return meant;
  return PositionKey(scancode);
}

bool IsExtendedSdlKey(SDL_Keycode key, SDL_Scancode scancode) {
  if (key == SDLK_RSHIFT || key == SDLK_RCTRL || key == SDLK_RALT || key == SDLK_MODE) return true;
  return scancode == SDL_SCANCODE_RSHIFT || scancode == SDL_SCANCODE_RCTRL || scancode == SDL_SCANCODE_RALT;
}
