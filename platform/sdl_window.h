// platform/sdl_window.h — the game window: one SDL window whose client area shows
// each frame 1:1 through a streaming texture.
//
// An unchanged frame is not uploaded again; it is re-presented only when the
// window needs redrawing (exposed, or the renderer lost its textures), which the
// window learns from an SDL event watch of its own. The window owns the SDL video
// subsystem for its lifetime.
#pragma once

#include <memory>
#include <string>

#include <SDL.h>

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

 private:
  SdlWindow() = default;
  static int WatchEvents(void* window, SDL_Event* event);
  bool EnsureTexture(int width, int height);

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int textureWidth_ = 0, textureHeight_ = 0;
  bool needsRedraw_ = true;
};
