// graphics/draw_sink.h — where drawing goes: straight into a frame (FrameSink) or
// into a recording that is rasterised later (DrawList, draw_list.h). The drawing
// built-ins talk to one sink; each primitive takes the arguments of its core
// routine in raster.h, text.h and sprite_draw.h and means exactly what that
// routine draws.
#pragma once

#include <cstdint>
#include <string_view>

#include "graphics/draw_state.h"
#include "graphics/font.h"
#include "graphics/image.h"
#include "graphics/sprite.h"
#include "graphics/sprite_transform.h"

class DrawSink {
 public:
  virtual ~DrawSink() = default;
  virtual void Line(double x1, double y1, double x2, double y2, uint32_t pixel) = 0;
  virtual void Rectangle(double x1, double y1, double x2, double y2, uint32_t pixel, bool outline) = 0;
  virtual void Text(const Font& font, const DrawState& state, double x, double y, std::string_view text) = 0;
  virtual void SpriteImage(const Sprite& sprite, double imageIndex, const SpritePlacement& placement,
                           uint32_t tint) = 0;
};

// Rasterises each primitive into its frame at once.
class FrameSink : public DrawSink {
 public:
  explicit FrameSink(Image& frame) : frame_(frame) {}
  void Line(double x1, double y1, double x2, double y2, uint32_t pixel) override;
  void Rectangle(double x1, double y1, double x2, double y2, uint32_t pixel, bool outline) override;
  void Text(const Font& font, const DrawState& state, double x, double y, std::string_view text) override;
  void SpriteImage(const Sprite& sprite, double imageIndex, const SpritePlacement& placement, uint32_t tint) override;

 private:
  Image& frame_;
};
