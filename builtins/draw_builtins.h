// builtins/draw_builtins.h — the drawing built-ins (draw_set_*, draw_text,
// draw_line, draw_rectangle, draw_self) and window_set_caption, over the
// rasteriser of graphics/.
//
// They draw into the current draw sink (graphics/draw_sink.h): the frame
// canvas's recording while a game runs, a frame drawn at once in tests; with no
// sink set drawing does nothing. The draw state lives for the whole run. The functions below the
// built-ins are the direct entry points that compiled code calls.
#pragma once

#include <string>
#include <string_view>
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
// The number of fonts the game data holds (what DrawState::SetFont checks against).
int DrawFontCount();

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
void DrawTextAt(double x, double y, std::string_view text);
// draw_text(x, y, first + second) of two strings, without joining them first:
// the sink joins them only where it keeps the text.
void DrawJoinedTextAt(double x, double y, std::string_view first, std::string_view second);
// draw_text of a value: its text form (a string's own text) at (x, y).
void DrawTextValue(double x, double y, const RValue& value);
void DrawLineBetween(double x1, double y1, double x2, double y2);
void DrawRectangleBetween(double x1, double y1, double x2, double y2, bool outline);
void DrawInstanceSprite(const CInstance& instance);
void WindowSetCaption(const std::string& caption);
