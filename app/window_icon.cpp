#include "app/window_icon.h"

namespace {
// The menu buttons' sprite and the bell's frame in it (packaging/CMakeLists.txt
// draws the installed icons from the same frame of the same art).
constexpr size_t kMenuButtonSprite = 0;
constexpr size_t kBellFrame = 4;
}  // namespace

void ShowWindowIcon(FramePresenter& window, const std::vector<Sprite>& sprites) {
  if (sprites.size() <= kMenuButtonSprite || sprites[kMenuButtonSprite].frames.size() <= kBellFrame) return;
  window.SetIcon(sprites[kMenuButtonSprite].frames[kBellFrame]);
}
