#include "builtins/raster_canvas.h"

#include "builtins/draw_builtins.h"
#include "graphics/colour.h"
#include "graphics/raster.h"

RasterCanvas::RasterCanvas() { SetDrawFrame(&frame_); }

RasterCanvas::~RasterCanvas() { SetDrawFrame(nullptr); }

void RasterCanvas::BeginFrame(int width, int height, uint32_t backgroundColour, bool clear) {
  if (frame_.width != width || frame_.height != height) frame_ = Image(width, height);
  if (clear) Clear(frame_, PixelFromColour(backgroundColour, 255));
}

void RasterCanvas::DrawDefault(const CInstance& instance) { DrawInstanceSprite(instance); }

const Image& RasterCanvas::FinishFrame() { return frame_; }
