// platform/sdl_events.h — the window's event pump: SDL events become InputEvents
// (keys as virtual-key codes, typed text as codepoints, buttons 1-5, wheel notches,
// focus changes as Activate, the close button as Close).
//
// The mouse is captured while a button is held, so that a release outside the
// window still arrives. At most one Close is delivered per run.
#pragma once

#include <SDL.h>

#include <functional>
#include <vector>

#include "engine/platform.h"

// Appends the input events that `event` stands for (none for most events).
// Besides the plain translation, as the Windows message loop does: Backspace,
// Tab, Enter and Escape also type their control character, and Alt+F4 closes.
void TranslateSdlEvent(const SDL_Event& event, std::vector<InputEvent>& out);

class SdlEventSource : public EventSource {
 public:
  // `windowGone` tells whether the window was destroyed from outside: then
  // nothing more comes, and the game ends without asking anything.
  explicit SdlEventSource(std::function<bool()> windowGone = [] { return false; })
      : windowGone_(std::move(windowGone)) {}

  void Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver) override;
  bool Exhausted() const override { return gone_; }

 private:
  void FollowButtons(const InputEvent& event);

  std::function<bool()> windowGone_;
  bool closed_ = false;
  bool gone_ = false;
  std::vector<InputEvent> translated_;
};

// Drops the keyboard and mouse input that is still queued (what the user did to
// the game window while a modal dialog was open) and ends the mouse capture. A
// close of the window stays queued, Alt+F4 included.
void DiscardPendingSdlInput();
