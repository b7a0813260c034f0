// graphics/raster_canvas.h — the frame canvas of the engine's draw stage, drawn
// by the rasteriser: one picture of the room's size. The drawing built-ins
// record into the canvas (from the Draw events, and from any other event too),
// and the recording is rasterised when the frame is finished.
//
// A frame is drawn over the previous picture, as every drawing call since the
// previous frame was finished asks, until its background is cleared: the clear
// covers the whole picture, so what was recorded before it is dropped. A frame
// that cleared its background and records exactly what the previous finished
// frame recorded is not rasterised again: the picture already shows it.
#pragma once

#include "engine/frame_canvas.h"
#include "graphics/draw_list.h"
#include "graphics/image.h"

class RasterCanvas : public FrameCanvas {
 public:
  RasterCanvas();
  ~RasterCanvas() override;

  void BeginFrame(int width, int height) override;
  void ClearBackground(uint32_t backgroundColour) override;
  void DrawDefault(const CInstance& instance) override;
  const Image& FinishFrame() override;
  bool RepeatedPreviousFrame() const override { return repeated_; }

 private:
  Image frame_;
  DrawList recording_;  // since the previous frame was finished
  DrawList finished_;   // what the picture shows
  bool repeated_ = false;
};
