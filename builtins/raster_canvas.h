// builtins/raster_canvas.h — the frame canvas of the engine's draw stage, drawn
// by the rasteriser: one picture of the room's size that the drawing built-ins
// draw into (from the Draw events, and from any other event too).
#pragma once

#include "engine/frame_canvas.h"
#include "graphics/image.h"

class RasterCanvas : public FrameCanvas {
 public:
  RasterCanvas();
  ~RasterCanvas() override;

  void BeginFrame(int width, int height, uint32_t backgroundColour, bool clear) override;
  void DrawDefault(const CInstance& instance) override;
  const Image& FinishFrame() override;

 private:
  Image frame_;
};
