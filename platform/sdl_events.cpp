#include "platform/sdl_events.h"

#include <cstdlib>

#include "platform/key_map.h"
#include "platform/playback_format.h"
#include "platform/session_bus_notifier.h"
#include "platform/utf8_text.h"
#include "runtime/debug_output.h"

namespace {

constexpr int kVkF4 = 115;

InputEvent MakeEvent(InputEvent::Type type) {
  InputEvent event;
  event.type = type;
  return event;
}

int ButtonNumber(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    case SDL_BUTTON_X1: return 4;
    case SDL_BUTTON_X2: return 5;
    default: return 0;
  }
}

// The control characters that the keys type on Windows besides their key message.
uint32_t TypedControlCharacter(int virtualKey) {
  switch (virtualKey) {
    case 8:
    case 9:
    case 13:
    case 27: return uint32_t(virtualKey);
    default: return 0;
  }
}

void TranslateKey(const SDL_KeyboardEvent& key, std::vector<InputEvent>& out) {
  const SDL_Keysym& sym = key.keysym;
  int virtualKey = VirtualKeyFromSdl(sym.sym, sym.scancode, sym.mod);
  if (virtualKey == 0) return;
  bool down = key.type == SDL_KEYDOWN;
  if (down && virtualKey == kVkF4 && (sym.mod & KMOD_ALT)) {
    out.push_back(MakeEvent(InputEvent::Type::Close));
    return;
  }
  InputEvent event = MakeEvent(down ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp);
  event.key = virtualKey;
  event.repeat = down && key.repeat != 0;
  event.extended = IsExtendedSdlKey(sym.sym, sym.scancode);
  out.push_back(event);
  if (uint32_t character = down ? TypedControlCharacter(virtualKey) : 0) {
    InputEvent typed = MakeEvent(InputEvent::Type::Character);
    typed.character = character;
    out.push_back(typed);
  }
}

void TranslateWindowEvent(const SDL_WindowEvent& window, std::vector<InputEvent>& out) {
  switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST: {
      InputEvent activate = MakeEvent(InputEvent::Type::Activate);
      activate.active = window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
      out.push_back(activate);
      break;
    }
    case SDL_WINDOWEVENT_CLOSE: out.push_back(MakeEvent(InputEvent::Type::Close)); break;
    default: break;
  }
}

void TranslateWheel(const SDL_MouseWheelEvent& wheel, std::vector<InputEvent>& out) {
  int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
  InputEvent event = MakeEvent(InputEvent::Type::Wheel);
  event.wheelDelta = notches > 0 ? kWheelNotchDelta : -kWheelNotchDelta;
  for (int i = std::abs(notches); i > 0; --i) out.push_back(event);
}

// Takes the queued key presses out; true when one of them closes the program.
bool TakeQueuedKeyPressesFindingClose() {
  bool close = false;
  SDL_Event keys[32];
  std::vector<InputEvent> translated;
  for (int count; (count = SDL_PeepEvents(keys, 32, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYDOWN)) > 0;) {
    for (int i = 0; i < count; ++i) {
      translated.clear();
      TranslateSdlEvent(keys[i], translated);
      for (const InputEvent& event : translated) close = close || event.type == InputEvent::Type::Close;
    }
  }
  return close;
}

}  // namespace

void TranslateSdlEvent(const SDL_Event& event, std::vector<InputEvent>& out) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: TranslateKey(event.key, out); break;
    case SDL_TEXTINPUT:
      for (uint32_t codepoint : DecodeUtf8(event.text.text)) {
        InputEvent typed = MakeEvent(InputEvent::Type::Character);
        typed.character = codepoint;
        out.push_back(typed);
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      InputEvent button =
          MakeEvent(event.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Type::ButtonDown : InputEvent::Type::ButtonUp);
      button.button = ButtonNumber(event.button.button);
      button.x = event.button.x;
      button.y = event.button.y;
      if (button.button != 0) out.push_back(button);
      break;
    }
    case SDL_MOUSEMOTION: {
      InputEvent move = MakeEvent(InputEvent::Type::MouseMove);
      move.x = event.motion.x;
      move.y = event.motion.y;
      out.push_back(move);
      break;
    }
    case SDL_MOUSEWHEEL: TranslateWheel(event.wheel, out); break;
    case SDL_WINDOWEVENT: TranslateWindowEvent(event.window, out); break;
    case SDL_QUIT: out.push_back(MakeEvent(InputEvent::Type::Close)); break;
    default: break;
  }
}

void SdlEventSource::Pump(int64_t, const std::function<void(const InputEvent&)>& deliver) {
  if (!gone_ && windowGone_()) {
    gone_ = true;
    DebugOutput("The window was destroyed from outside: the game ends without asking, unsaved changes are not saved\n");
  }
  TakeDesktopNotificationAnswers();
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    translated_.clear();
    TranslateSdlEvent(event, translated_);
    for (const InputEvent& input : translated_) {
      if (input.type == InputEvent::Type::Close) {
        if (closed_) continue;
        closed_ = true;
      }
      FollowButtons(input);
      deliver(input);
    }
  }
}

void SdlEventSource::FollowButtons(const InputEvent& event) {
  if (event.type == InputEvent::Type::ButtonDown) SDL_CaptureMouse(SDL_TRUE);
  if (event.type == InputEvent::Type::ButtonUp && SDL_GetMouseState(nullptr, nullptr) == 0) SDL_CaptureMouse(SDL_FALSE);
}

void DiscardPendingSdlInput() {
  SDL_PumpEvents();
  // Alt+F4 pressed on the window while the dialog was open still closes it,
  // once the dialog is answered, as the window's close button does.
  if (TakeQueuedKeyPressesFindingClose()) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
  SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEMOTION - 1);     // keys and typed text
  SDL_FlushEvents(SDL_MOUSEBUTTONDOWN, SDL_MOUSEWHEEL);  // buttons and wheel; motion stays
  SDL_CaptureMouse(SDL_FALSE);
}
