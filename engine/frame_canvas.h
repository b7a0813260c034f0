// engine/frame_canvas.h — the picture one frame is drawn into, as the engine sees
// it. The rasteriser implements it; the draw stage starts each frame, clears it
// to the room's background after the pre-draw pass, asks for the default drawing
// of instances whose object has no Draw handler, and hands the finished picture
// to the presenter. Script drawing calls (draw_text, draw_line, ...) reach the
// same picture through the graphics library, not through this interface.
#pragma once

#include <cstdint>

class CInstance;
struct Image;

class FrameCanvas {
 public:
  virtual ~FrameCanvas() = default;
  // Starts a frame of the room's size, over what the previous frame showed and
  // what was drawn since.
  virtual void BeginFrame(int width, int height) = 0;
  // Fills the whole frame with `backgroundColour` (runtime encoding, red + 256 ×
  // green + 65536 × blue), covering everything drawn before.
  virtual void ClearBackground(uint32_t backgroundColour) = 0;
  // Draws the instance's sprite at its place (its image index, scale, angle,
  // blend and alpha): what an instance without a Draw handler shows.
  virtual void DrawDefault(const CInstance& instance) = 0;
  // The finished picture, valid until the next BeginFrame.
  virtual const Image& FinishFrame() = 0;
  // True when the frame just finished was recognised as the same picture as the
  // one finished before it, without comparing pixels.
  virtual bool RepeatedPreviousFrame() const { return false; }
};
