// engine/platform.h — what the core needs from the operating system, as small
// interfaces. platform/ implements them twice: with a real window (SDL2 + GTK3)
// and headless (playback of a script, off-screen frames).
//
// Contract: all calls happen on the main thread. Times are microseconds of a
// monotonic clock; wall-clock time is seconds since 1970-01-01 00:00 UTC.
// Frame numbers start at 1 and increase by one per frame step.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct Image;

// One thing the user did, already translated from the window system's event:
// keys are Windows virtual-key codes, buttons 1 left, 2 right, 3 middle, 4 and 5
// the extra buttons; positions are window client pixels.
struct InputEvent {
  enum class Type : uint8_t { KeyDown, KeyUp, Character, ButtonDown, ButtonUp, MouseMove, Wheel, Activate, Close };
  Type type = Type::MouseMove;
  int key = 0;             // KeyDown, KeyUp
  bool repeat = false;     // KeyDown: an auto-repeat of a held key
  bool extended = false;   // KeyDown, KeyUp: the right-hand Shift, Alt or Control
  int button = 0;          // ButtonDown, ButtonUp
  int x = 0, y = 0;        // ButtonDown, ButtonUp, MouseMove
  int wheelDelta = 0;      // Wheel: positive up, negative down
  uint32_t character = 0;  // Character: a Unicode codepoint
  bool active = false;     // Activate: the window became the active one (false: it stopped being it)
};

class PlatformClock {
 public:
  virtual ~PlatformClock() = default;
  virtual int64_t MonotonicMicros() = 0;
  virtual int64_t WallClockSeconds() = 0;
};

class FrameWaiter {
 public:
  virtual ~FrameWaiter() = default;
  // Returns at or soon after `deadlineMicros` (of the platform clock), calling
  // `pump` while it spins so that input keeps flowing.
  virtual void WaitUntil(int64_t deadlineMicros, const std::function<void()>& pump) = 0;
  // Returns at or after `deadlineMicros`, asleep all the while: for frames in
  // which nothing runs, whose start need not be precise.
  virtual void IdleUntil(int64_t deadlineMicros) = 0;
};

class EventSource {
 public:
  virtual ~EventSource() = default;
  // Delivers every event that arrived before the input update of `frame`.
  virtual void Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver) = 0;
  // True once the source has nothing more to give and the game should end
  // (end of a playback script).
  virtual bool Exhausted() const { return false; }
};

class FramePresenter {
 public:
  virtual ~FramePresenter() = default;
  // Shows the frame drawn during `frame`. `unchanged` is true when the canvas
  // recognised it as the same picture as the previously presented frame (a frame
  // that is not recognised may still be the same).
  virtual void Present(int64_t frame, const Image& picture, bool unchanged) = 0;
  virtual void SetCaption(const std::string& utf8) = 0;
  virtual bool Visible() const { return true; }
  // Shows the window above the others (restored when it was minimised).
  virtual void BringToFront() {}
  // Shows `picture` as the window's icon (title bar, task switcher).
  virtual void SetIcon(const Image& picture) {}
};

// Modal dialogs. Each returns only when the user has answered. Titles are the
// window caption. `std::nullopt`-like cancellation is the empty string.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual void ShowMessage(const std::string& text) = 0;
  virtual bool ShowQuestion(const std::string& text) = 0;
  // Returns false when cancelled.
  virtual bool GetString(const std::string& prompt, const std::string& initial, std::string& answer) = 0;
  // Return the chosen full path, or the empty string when cancelled.
  virtual std::string GetOpenFilename(const std::string& filter, const std::string& name) = 0;
  virtual std::string GetSaveFilename(const std::string& filter, const std::string& name) = 0;
  // The "Code Error" dialog: returns 1 for Abort, 0 for Ignore (offered only when
  // allowIgnore is true).
  virtual int ShowErrorDialog(const std::string& text, bool allowIgnore) = 0;
  virtual void SetCaption(const std::string& utf8) = 0;
};

// A notification on the user's desktop, outside the window. Sending never
// blocks and never fails visibly: without a notification service nothing is
// shown. Activating the notification brings the window to the front.
class DesktopNotifier {
 public:
  virtual ~DesktopNotifier() = default;
  virtual void Notify(const std::string& title, const std::string& body) = 0;
};

struct Platform {
  std::unique_ptr<PlatformClock> clock;
  std::unique_ptr<FrameWaiter> waiter;
  std::unique_ptr<EventSource> events;
  std::unique_ptr<FramePresenter> presenter;
  std::unique_ptr<DialogHost> dialogs;
  bool headless = false;
  // Null where no notification is sent (headless and playback runs). It acts
  // on the presenter, so it is declared after it and goes first.
  std::unique_ptr<DesktopNotifier> notifier;
};
