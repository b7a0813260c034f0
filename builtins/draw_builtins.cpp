#include "builtins/draw_builtins.h"

#include <cmath>

#include "builtins/builtins.h"
#include "engine/sprites.h"
#include "graphics/draw_sink.h"
#include "graphics/text.h"
#include "runtime/args.h"
#include "runtime/frames.h"
#include "runtime/function_table.h"
#include "runtime/instance.h"

namespace {
DrawResources g_resources;
DrawSink* g_sink = nullptr;
DrawState g_drawState;
CaptionSink g_captionSink = nullptr;
std::string g_caption;

const Font& CurrentFont() {
  int index = CurrentDrawState().FontIndex();
  if (g_resources.fonts && index >= 0 && size_t(index) < g_resources.fonts->size())
    return (*g_resources.fonts)[size_t(index)];
  return BuiltinFont();
}

int FontCount() { return g_resources.fonts ? int(g_resources.fonts->size()) : 0; }

// Colours and indices arrive as reals; whatever does not fit an int is 0.
int64_t WholeNumber(double value) { return (std::isfinite(value) && std::fabs(value) < 9.2e18) ? int64_t(value) : 0; }

void draw_set_colour(RValue&, CInstance*, CInstance*, int, RValue* args) { DrawSetColour(ArgReal(args, 0)); }
void draw_set_alpha(RValue&, CInstance*, CInstance*, int, RValue* args) {
  CurrentDrawState().SetAlpha(ArgReal(args, 0));
}
void draw_set_font(RValue&, CInstance*, CInstance*, int, RValue* args) { DrawSetFont(ArgReal(args, 0)); }
void draw_set_halign(RValue&, CInstance*, CInstance*, int, RValue* args) { DrawSetHalign(ArgReal(args, 0)); }
void draw_set_valign(RValue&, CInstance*, CInstance*, int, RValue* args) { DrawSetValign(ArgReal(args, 0)); }

// The text form of the third argument at (x, y); a string is its own text form.
void draw_text(RValue&, CInstance*, CInstance*, int, RValue* args) {
  double x = ArgReal(args, 0);
  double y = ArgReal(args, 1);
  if (!g_sink) return;
  if (KindOf(args[2]) == VALUE_STRING)
    g_sink->Text(CurrentFont(), CurrentDrawState(), x, y, StringBytes(args[2]));
  else
    g_sink->Text(CurrentFont(), CurrentDrawState(), x, y, ValueText(args[2]));
}

// The width in pixels that draw_text gives the text form of the argument in
// the current font (its widest line).
void string_width(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  if (KindOf(args[0]) == VALUE_STRING)
    SetReal(result, double(TextWidth(CurrentFont(), StringBytes(args[0]))));
  else
    SetReal(result, double(TextWidth(CurrentFont(), ValueText(args[0]))));
}

void draw_line(RValue&, CInstance*, CInstance*, int, RValue* args) {
  double x1 = ArgReal(args, 0), y1 = ArgReal(args, 1), x2 = ArgReal(args, 2), y2 = ArgReal(args, 3);
  if (g_sink) g_sink->Line(x1, y1, x2, y2, CurrentDrawState().Pixel());
}

void draw_rectangle(RValue&, CInstance*, CInstance*, int, RValue* args) {
  DrawRectangleBetween(ArgReal(args, 0), ArgReal(args, 1), ArgReal(args, 2), ArgReal(args, 3), ArgBool(args, 4));
}

void draw_self(RValue&, CInstance* self, CInstance*, int, RValue*) {
  if (RequireInstanceContext()) DrawInstanceSprite(*self);
}

void window_set_caption(RValue&, CInstance*, CInstance*, int argc, RValue* args) {
  WindowSetCaption(argc > 0 ? ArgString(args, 0) : "");
}
}  // namespace

void SetDrawResources(const DrawResources& resources) { g_resources = resources; }
void SetDrawSink(DrawSink* sink) { g_sink = sink; }

DrawState& CurrentDrawState() { return g_drawState; }

void SetCaptionSink(CaptionSink sink) { g_captionSink = sink; }
const std::string& CurrentCaption() { return g_caption; }

void DrawSetColour(double colour) { CurrentDrawState().SetColour(uint32_t(WholeNumber(colour))); }
void DrawSetFont(double font) { CurrentDrawState().SetFont(int(WholeNumber(font)), FontCount()); }
void DrawSetHalign(double halign) { CurrentDrawState().SetHalign(int(WholeNumber(halign))); }
void DrawSetValign(double valign) { CurrentDrawState().SetValign(int(WholeNumber(valign))); }

void DrawRectangleBetween(double x1, double y1, double x2, double y2, bool outline) {
  if (g_sink) g_sink->Rectangle(x1, y1, x2, y2, CurrentDrawState().Pixel(), outline);
}

void DrawInstanceSprite(const CInstance& instance) {
  if (!g_sink || !g_resources.sprites || instance.spriteIndex < 0 ||
      size_t(instance.spriteIndex) >= g_resources.sprites->size())
    return;
  uint32_t tint = PixelFromColour(instance.imageBlend, AlphaByte(instance.imageAlpha));
  g_sink->SpriteImage((*g_resources.sprites)[size_t(instance.spriteIndex)], instance.imageIndex, PlacementOf(instance),
                      tint);
}

void WindowSetCaption(const std::string& caption) {
  g_caption = caption;
  if (g_captionSink) g_captionSink(caption);
}

void RegisterDrawBuiltins() {
  RegisterBuiltin("draw_set_colour", draw_set_colour, 1);
  RegisterBuiltin("draw_set_color", draw_set_colour, 1);
  RegisterBuiltin("draw_set_alpha", draw_set_alpha, 1);
  RegisterBuiltin("draw_set_font", draw_set_font, 1);
  RegisterBuiltin("draw_set_halign", draw_set_halign, 1);
  RegisterBuiltin("draw_set_valign", draw_set_valign, 1);
  RegisterBuiltin("draw_text", draw_text, 3);
  RegisterBuiltin("string_width", string_width, 1);
  RegisterBuiltin("draw_line", draw_line, 4);
  RegisterBuiltin("draw_rectangle", draw_rectangle, 5);
  RegisterBuiltin("draw_self", draw_self, 0);
  RegisterBuiltin("window_set_caption", window_set_caption, 1);
}
