#include "platform/sdl_window.h"

#include <algorithm>
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
  // The window's framebuffer in plain memory, not a texture of a GL renderer.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
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
  if (!window->window_ || !SDL_GetWindowSurface(window->window_)) {
    error = std::string("cannot create the window: ") + SDL_GetError();
    return nullptr;
  }
  SDL_AddEventWatch(&SdlWindow::WatchEvents, window.get());
  return window;
}

SdlWindow::~SdlWindow() {
  SDL_DelEventWatch(&SdlWindow::WatchEvents, this);
  if (window_) SDL_DestroyWindow(window_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int SdlWindow::WatchEvents(void* self, SDL_Event* event) {
  auto* window = static_cast<SdlWindow*>(self);
  bool ours = event->type == SDL_WINDOWEVENT && event->window.windowID == SDL_GetWindowID(window->window_);
  if ((ours && (event->window.event == SDL_WINDOWEVENT_EXPOSED || event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                event->window.event == SDL_WINDOWEVENT_RESTORED)))
    window->needsRedraw_ = true;
  return 1;
}

void SdlWindow::Present(int64_t, const Image& picture, bool unchanged) {
  if (unchanged && !needsRedraw_) return;
  // A resized window gets a new surface, so a redraw copies the picture too.
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface || picture.width <= 0 || picture.height <= 0) return;
  needsRedraw_ = false;
  const int width = std::min(picture.width, surface->w), height = std::min(picture.height, surface->h);
  if (SDL_LockSurface(surface) != 0) return;
  SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_ARGB8888, picture.pixels.data(),
                    picture.width * int(sizeof(uint32_t)), surface->format->format, surface->pixels, surface->pitch);
  SDL_UnlockSurface(surface);
  SDL_UpdateWindowSurface(window_);
}

void SdlWindow::RedrawIfExposed() {
  SDL_PumpEvents();
  if (!needsRedraw_) return;
  // The window's framebuffer still holds the last frame presented.
  needsRedraw_ = false;
  SDL_UpdateWindowSurface(window_);
}

void SdlWindow::SetCaption(const std::string& utf8) { SDL_SetWindowTitle(window_, utf8.c_str()); }

void SdlWindow::BringToFront() {
  if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
  SDL_RaiseWindow(window_);
}

bool SdlWindow::Visible() const {
  return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}
