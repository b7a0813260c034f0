#include "graphics/draw_sink.h"

#include "graphics/raster.h"
#include "graphics/sprite_draw.h"
#include "graphics/text.h"

void FrameSink::Line(double x1, double y1, double x2, double y2, uint32_t pixel) {
  DrawLine(frame_, x1, y1, x2, y2, pixel);
}

void FrameSink::Rectangle(double x1, double y1, double x2, double y2, uint32_t pixel, bool outline) {
  DrawRectangle(frame_, x1, y1, x2, y2, pixel, outline);
}

void FrameSink::Text(const Font& font, const DrawState& state, double x, double y, std::string_view text) {
  DrawText(frame_, font, state, x, y, text);
}

void FrameSink::SpriteImage(const Sprite& sprite, double imageIndex, const SpritePlacement& placement, uint32_t tint) {
  DrawSprite(frame_, sprite, imageIndex, placement, tint);
}
