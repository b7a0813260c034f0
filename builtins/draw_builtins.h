// builtins/draw_builtins.h — the drawing built-ins (draw_set_*, draw_text,
// draw_line, draw_rectangle, draw_self) and window_set_caption, over the
// rasteriser of graphics/.
//
// They draw into the frame of the current draw target, which the frame loop sets
// before the draw stage; with no frame set (no draw stage running) drawing does
// nothing. The draw state lives for the whole run. The functions below the
// built-ins are the direct entry points that compiled code calls.
#pragma once

#include <string>
#include <vector>

#include "graphics/draw_state.h"
#include "graphics/font.h"
#include "graphics/image.h"
#include "graphics/sprite.h"

class CInstance;

// The game data's fonts and sprites (set once at start-up) and the frame being drawn.
struct DrawResources {
  const std::vector<Font>* fonts = nullptr;
  const std::vector<Sprite>* sprites = nullptr;
};
void SetDrawResources(const DrawResources& resources);
void SetDrawFrame(Image* frame);
DrawState& CurrentDrawState();

// Where the caption goes (the window and the dialogs' titles).
using CaptionSink = void (*)(const std::string& caption);
void SetCaptionSink(CaptionSink sink);
const std::string& CurrentCaption();

// Direct entry points.
void DrawSetColour(double colour);
void DrawSetAlpha(double alpha);
void DrawSetFont(double font);
void DrawSetHalign(double halign);
void DrawSetValign(double valign);
void DrawTextAt(double x, double y, const std::string& text);
void DrawLineBetween(double x1, double y1, double x2, double y2);
void DrawRectangleBetween(double x1, double y1, double x2, double y2, bool outline);
void DrawInstanceSprite(const CInstance& instance);
void WindowSetCaption(const std::string& caption);
