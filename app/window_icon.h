// app/window_icon.h — the window's icon: the face of the menu's NADCHODZĄCE
// button (the bell), the same art the installed desktop icons are drawn from.
#pragma once

#include <vector>

#include "engine/platform.h"
#include "graphics/sprite.h"

// Gives the window the icon out of the game data's sprites; nothing when the
// data lacks the button's sprite or frame.
void ShowWindowIcon(FramePresenter& window, const std::vector<Sprite>& sprites);
