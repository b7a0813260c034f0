// Input events as short text ("press 2 10,20", "down 27 repeat"), so that a test
// compares a whole sequence of events in one comparison.
#pragma once

#include <string>
#include <vector>

#include "engine/platform.h"

inline std::string EventText(const InputEvent& e) {
  using T = InputEvent::Type;
  std::string at = " " + std::to_string(e.x) + "," + std::to_string(e.y);
  std::string flags = std::string(e.repeat ? " repeat" : "") + (e.extended ? " ext" : "");
  switch (e.type) {
    case T::KeyDown: return "down " + std::to_string(e.key) + flags;
    case T::KeyUp: return "up " + std::to_string(e.key) + flags;
    case T::Character: return "char " + std::to_string(e.character);
    case T::ButtonDown: return "press " + std::to_string(e.button) + at;
    case T::ButtonUp: return "release " + std::to_string(e.button) + at;
    case T::MouseMove: return "move" + at;
    case T::Wheel: return "wheel " + std::to_string(e.wheelDelta);
    case T::Activate: return e.active ? "focus" : "blur";
    case T::Close: return "close";
  }
  return "?";
}

inline std::vector<std::string> EventTexts(const std::vector<InputEvent>& events) {
  std::vector<std::string> texts;
  for (const InputEvent& event : events) texts.push_back(EventText(event));
  return texts;
}
