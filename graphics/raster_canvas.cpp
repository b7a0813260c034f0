#include "graphics/raster_canvas.h"

#include <utility>

#include "builtins/draw_builtins.h"
#include "graphics/colour.h"

RasterCanvas::RasterCanvas() { SetDrawSink(&recording_); }

RasterCanvas::~RasterCanvas() { SetDrawSink(nullptr); }

void RasterCanvas::BeginFrame(int width, int height) {
  if (frame_.width != width || frame_.height != height) {
    frame_ = Image(width, height);
    finished_.Reset(0, 0);  // nothing of the old picture can be repeated
  }
  recording_.Resize(width, height);
}

void RasterCanvas::ClearBackground(uint32_t backgroundColour) {
  recording_.Reset(frame_.width, frame_.height);
  recording_.Clear(PixelFromColour(backgroundColour, 255));
}

void RasterCanvas::DrawDefault(const CInstance& instance) { DrawInstanceSprite(instance); }

const Image& RasterCanvas::FinishFrame() {
  repeated_ = recording_.StartsWithClear() && recording_ == finished_;
  if (!repeated_) recording_.Replay(frame_);
  std::swap(recording_, finished_);
  recording_.Reset(frame_.width, frame_.height);
  return frame_;
}
