// builtins/draw_builtins.h — the drawing built-ins (draw_set_*, draw_text, string_width,
// draw_line, draw_rectangle, draw_self) and window_set_caption, over the
// rasteriser of graphics/.
//
// They draw into the current draw sink (graphics/draw_sink.h): the frame
// canvas's recording while a game runs, a frame drawn at once in tests; with no
// sink set drawing does nothing. The draw state lives for the whole run. The functions below the
// built-ins are the direct entry points that compiled code calls for the drawing
// built-ins it does not reach through the function table.
#pragma once

#include <string>
#include <vector>

#include "graphics/draw_state.h"
#include "graphics/font.h"
#include "graphics/sprite.h"

class CInstance;
struct RValue;

class DrawSink;

// The game data's fonts and sprites (set once at start-up) and where drawing goes.
struct DrawResources {
  const std::vector<Font>* fonts = nullptr;
  const std::vector<Sprite>* sprites = nullptr;
};
void SetDrawResources(const DrawResources& resources);
void SetDrawSink(DrawSink* sink);
DrawState& CurrentDrawState();

// Where the caption goes (the window and the dialogs' titles).
using CaptionSink = void (*)(const std::string& caption);
void SetCaptionSink(CaptionSink sink);
const std::string& CurrentCaption();

// Direct entry points.
void DrawSetColour(double colour);
void DrawSetFont(double font);
void DrawSetHalign(double halign);
void DrawSetValign(double valign);
void DrawRectangleBetween(double x1, double y1, double x2, double y2, bool outline);
void DrawInstanceSprite(const CInstance& instance);
void WindowSetCaption(const std::string& caption);
