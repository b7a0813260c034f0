#include "platform/sdl_window.h"

#include <cstdlib>
#include <cstring>

#include "graphics/image.h"

namespace {

// When no display can be reached SDL quietly falls back to drivers that show
// nothing; those count only when asked for by name in SDL_VIDEODRIVER.
bool ShowsOnScreen(const char* driver) {
  if (!driver) return false;
  if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return true;
  const char* requested = std::getenv("SDL_VIDEODRIVER");
  return requested && std::strstr(requested, driver) != nullptr;
}

}  // namespace

std::unique_ptr<SdlWindow> SdlWindow::Create(int width, int height, const std::string& caption, std::string& error) {
  // A desktop program: the screensaver and the desktop's compositor keep working.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = std::string("cannot start SDL video: ") + SDL_GetError();
    return nullptr;
  }
  if (!ShowsOnScreen(SDL_GetCurrentVideoDriver())) {
    error = std::string("cannot open the display (SDL fell back to its ") + SDL_GetCurrentVideoDriver() +
            " driver); run with -headless";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return nullptr;
  }
  std::unique_ptr<SdlWindow> window(new SdlWindow());
  window->window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                     SDL_WINDOW_SHOWN);
  if (window->window_) {
    window->renderer_ = SDL_CreateRenderer(window->window_, -1, 0);
    if (!window->renderer_) window->renderer_ = SDL_CreateRenderer(window->window_, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!window->renderer_) {
    error = std::string("cannot create the window: ") + SDL_GetError();
    return nullptr;
  }
  SDL_AddEventWatch(&SdlWindow::WatchEvents, window.get());
  return window;
}

SdlWindow::~SdlWindow() {
  SDL_DelEventWatch(&SdlWindow::WatchEvents, this);
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int SdlWindow::WatchEvents(void* self, SDL_Event* event) {
  auto* window = static_cast<SdlWindow*>(self);
  bool ours = event->type == SDL_WINDOWEVENT && event->window.windowID == SDL_GetWindowID(window->window_);
  if ((ours && (event->window.event == SDL_WINDOWEVENT_EXPOSED || event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                event->window.event == SDL_WINDOWEVENT_RESTORED)) ||
      event->type == SDL_RENDER_TARGETS_RESET || event->type == SDL_RENDER_DEVICE_RESET)
    window->needsRedraw_ = true;
  return 1;
}

bool SdlWindow::EnsureTexture(int width, int height) {
  if (texture_ && textureWidth_ == width && textureHeight_ == height) return true;
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
  textureWidth_ = texture_ ? width : 0;
  textureHeight_ = texture_ ? height : 0;
  return texture_ != nullptr;
}

void SdlWindow::Present(int64_t, const Image& picture, bool unchanged) {
  if (unchanged && !needsRedraw_) return;
  if (picture.width <= 0 || picture.height <= 0 || !EnsureTexture(picture.width, picture.height)) return;
  needsRedraw_ = false;
  // The texture may have been lost with a reset renderer, so a redraw uploads too.
  SDL_UpdateTexture(texture_, nullptr, picture.pixels.data(), picture.width * int(sizeof(uint32_t)));
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

void SdlWindow::SetCaption(const std::string& utf8) { SDL_SetWindowTitle(window_, utf8.c_str()); }

bool SdlWindow::Visible() const {
  return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}
