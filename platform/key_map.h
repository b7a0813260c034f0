// platform/key_map.h — SDL keys to Windows virtual-key codes, the codes the
// engine's keyboard state is indexed by.
//
// Letters, digits and punctuation follow the key's meaning in the active layout
// (its SDL keycode) when that is a US-layout character, otherwise the key's
// position (its scancode) on a US keyboard. The keypad follows Num Lock as on
// Windows: without it the keypad's digits are the navigation keys.
#pragma once

#include <SDL.h>

inline constexpr int kVkShift = 16;
inline constexpr int kVkControl = 17;
inline constexpr int kVkAlt = 18;

// The virtual-key code of a key, or 0 when it has none.
int VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers);

// True for the right-hand Shift, Control and Alt (and AltGr): the keys that the
// engine records under their own codes as right-hand ones besides the shared code.
bool IsExtendedSdlKey(SDL_Keycode key, SDL_Scancode scancode);
