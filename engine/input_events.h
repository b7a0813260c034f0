// engine/input_events.h — keyboard and mouse events raised from the frame's input
// state, once a frame, in their fixed order.
//
// Every raise is one pass to all instances that have the event; a local mouse
// event in addition reaches only instances whose collision shape contains the
// pointer (in room coordinates, taken once at the start of the mouse stage). The
// state is read again before each instance is reached, so once a dialog has
// cleared the input the click or key that opened it raises nothing more.
#pragma once

// Keyboard, KeyPress and KeyRelease for keys 8-255, then "any key" / "no key".
void RaiseKeyboardEvents();
// Pressed, held (or "no button"), released, enter and leave, wheel.
void RaiseMouseEvents();
