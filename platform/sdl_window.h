// platform/sdl_window.h — the game window: one SDL window whose client area shows
// each frame 1:1 through the window's own framebuffer (shared memory with the X
// server). No renderer and no OpenGL: the frames are drawn in software already,
// and a GL context costs hundreds of milliseconds at start and a texture upload
// and a composite for every changed frame.
//
// An unchanged frame is not copied again; it is re-presented only when the
// window needs redrawing (exposed, resized, restored), which the window learns
// from an SDL event watch of its own. The window owns the SDL video subsystem for
// its lifetime.
//
// A window destroyed from outside (a desktop session ending, a tool closing it)
// is noticed through its DestroyNotify and through the X errors that requests
// made on it afterwards cause: those errors are ignored rather than ending the
// process, and nothing is drawn any more.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "engine/platform.h"

class SdlWindow : public FramePresenter {
 public:
  // Null with a reason in `error` when SDL or the window cannot be started.
  static std::unique_ptr<SdlWindow> Create(int width, int height, const std::string& caption, std::string& error);
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  void Present(int64_t frame, const Image& picture, bool unchanged) override;
  void SetCaption(const std::string& utf8) override;
  bool Visible() const override;
  void BringToFront() override;
  void SetIcon(const Image& picture) override;

  // While no frame runs (a modal dialog is open): reads the window's events and,
  // when the window was exposed, shows the last frame again. Input read here
  // stays queued.
  void RedrawIfExposed();

  // True once the window system destroyed the window without the program asking.
  static bool DestroyedFromOutside();

 private:
  SdlWindow() = default;
  static int WatchEvents(void* window, SDL_Event* event);

  SDL_Window* window_ = nullptr;
  bool needsRedraw_ = true;
};
