// engine/input_state.h — keyboard and mouse state: the latches that input events
// write between frames, and the frame state that event raising and scripts read.
//
// Latches are written as events arrive; once a frame UpdateInput copies them into
// the frame state and clears their pressed, released and wheel parts (held keys
// and buttons stay). Because a button release clears that button's pressed latch,
// a press and release that both arrive between two frames are a release only.
// Key codes are Windows virtual-key codes after the key map; buttons are 1 left,
// 2 right, 3 middle, 4 and 5 the extra buttons. Only the mouse (pointer device 0)
// exists. Positions are window client pixels; MouseRoomPosition maps them into
// the current room.
#pragma once

#include <cstdint>
#include <string>

struct InputEvent;

constexpr int kKeyCount = 256;
constexpr int kButtonCount = 5;
constexpr size_t kMaxTypedCharacters = 1023;

struct KeyStates {
  bool down[kKeyCount] = {};
  bool pressed[kKeyCount] = {};
  bool released[kKeyCount] = {};
};

// Index b - 1 holds button b.
struct ButtonStates {
  bool down[kButtonCount] = {};
  bool pressed[kButtonCount] = {};
  bool released[kButtonCount] = {};
  bool wheelUp = false;
  bool wheelDown = false;
};

struct FrameInput {
  KeyStates keys;
  ButtonStates mouse;
  int x = 0, y = 0;  // pointer, window client pixels
  int mouseButton = 0, mouseLastButton = 0;
  int keyboardKey = 0, keyboardLastKey = 0;
  std::string keyboardString;
};

// Records one event in the latches (Close is not input and is ignored here).
void ApplyInputEvent(const InputEvent& event);
// This frame's state from the latches; clears the latches' pressed, released and wheel flags.
void UpdateInput();
// Forgets every key, button, wheel flag and typed character, in latches and frame
// state alike (after a dialog, at game start). The pointer position stays.
void ClearAllInput();
// ClearAllInput, the identity key map, the pointer at (0, 0) and the window
// active: a new run.
void ResetInput();

// Whether the window is the active one, as the last Activate event said (true
// until one says otherwise; a run without a window never has one).
bool WindowActive();

const FrameInput& CurrentInput();

// The key map: code `from` of an event is read as `to`.
void SetKeyMapping(int from, int to);
int KeyMapping(int from);

// The window's client size, against which the pointer is mapped into the room.
void SetWindowClientSize(int width, int height);
// The pointer in room coordinates (whole numbers): the client position scaled by
// room size / client size, or the client position when no room is current.
void MouseRoomPosition(double& x, double& y);
