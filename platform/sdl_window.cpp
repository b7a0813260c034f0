#include "platform/sdl_window.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

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

// Xlib's error handler belongs to the process, so this state does too: there is
// one game window per process.
Display* g_xDisplay = nullptr;
Window g_xWindow = 0;
bool g_xWindowDestroyed = false;
XErrorHandler g_previousXErrorHandler = nullptr;

int NoteErrorsOfDestroyedWindow(Display* display, XErrorEvent* error) {
  if (g_xWindow != 0 && error->resourceid == g_xWindow &&
      (error->error_code == BadWindow || error->error_code == BadDrawable)) {
    g_xWindowDestroyed = true;
    return 0;
  }
  return g_previousXErrorHandler ? g_previousXErrorHandler(display, error) : 0;
}

// Once GTK has started, its own error handler takes the errors (and lets them
// pass): the window's DestroyNotify, which SDL hands on as a window-system event,
// tells then.
void NoteDestroyNotify(const SDL_Event& event) {
  if (event.type != SDL_SYSWMEVENT || event.syswm.msg->subsystem != SDL_SYSWM_X11) return;
  const XEvent& xEvent = event.syswm.msg->msg.x11.event;
  if (xEvent.type == DestroyNotify && xEvent.xdestroywindow.window == g_xWindow) g_xWindowDestroyed = true;
}

void WatchForDestructionFromOutside(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  g_xDisplay = info.info.x11.display;
  g_xWindow = info.info.x11.window;
  g_previousXErrorHandler = XSetErrorHandler(NoteErrorsOfDestroyedWindow);
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

// Destroying a window that is already gone fails. The error must be taken while
// the handler is ours: GTK's may have replaced it, and SDL puts back the one it
// found at its start before it closes the display.
void DestroyWindow(SDL_Window* window) {
  if (!g_xWindowDestroyed) return SDL_DestroyWindow(window);
  XSetErrorHandler(NoteErrorsOfDestroyedWindow);
  SDL_DestroyWindow(window);
  XSync(g_xDisplay, False);
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
  WatchForDestructionFromOutside(window->window_);
  return window;
}

SdlWindow::~SdlWindow() {
  SDL_DelEventWatch(&SdlWindow::WatchEvents, this);
  if (window_) DestroyWindow(window_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int SdlWindow::WatchEvents(void* self, SDL_Event* event) {
  auto* window = static_cast<SdlWindow*>(self);
  NoteDestroyNotify(*event);
  bool ours = event->type == SDL_WINDOWEVENT && event->window.windowID == SDL_GetWindowID(window->window_);
  if ((ours && (event->window.event == SDL_WINDOWEVENT_EXPOSED || event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                event->window.event == SDL_WINDOWEVENT_RESTORED)))
    window->needsRedraw_ = true;
  return 1;
}

bool SdlWindow::DestroyedFromOutside() { return g_xWindowDestroyed; }

void SdlWindow::Present(int64_t, const Image& picture, bool unchanged) {
  if ((unchanged && !needsRedraw_) || g_xWindowDestroyed) return;
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
  if (!needsRedraw_ || g_xWindowDestroyed) return;
  // The window's framebuffer still holds the last frame presented.
  needsRedraw_ = false;
  SDL_UpdateWindowSurface(window_);
}

void SdlWindow::SetIcon(const Image& picture) {
  SDL_Surface* icon =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(picture.pixels.data()), picture.width, picture.height,
                                         32, picture.width * int(sizeof(uint32_t)), SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;
  SDL_SetWindowIcon(window_, icon);
  SDL_FreeSurface(icon);
}

void SdlWindow::SetCaption(const std::string& utf8) { SDL_SetWindowTitle(window_, utf8.c_str()); }

void SdlWindow::BringToFront() {
  if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
  SDL_RaiseWindow(window_);
}

bool SdlWindow::Visible() const {
  return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}
