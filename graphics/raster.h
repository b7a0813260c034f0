// graphics/raster.h — shapes drawn into a frame: clearing, lines and rectangles.
//
// Colours are pixels (0xAARRGGBB, see colour.h) blended source-over; coordinates
// are room pixels mapped to frame pixels as pixel_grid.h states. Each shape is
// cut to the frame before any pixel is touched, so what lies outside costs a few
// comparisons. A NaN coordinate draws nothing.
//
// With whole-number coordinates the results are pixel-exact:
// - DrawRectangle(20, 10, 360, 40) covers columns 20 to 360 and rows 10 to 40,
//   both inclusive (the corners may come in any order); the outline is the
//   one-pixel border of that area with its corners lit, each pixel drawn once.
// - DrawLine lights both end pixels and one pixel per column (or per row, for a
//   steep line) between them, the nearest to the ideal line, ties going down or
//   right; the result does not depend on the order of the end points. A
//   zero-length line lights its one pixel. Exact while the end points lie within
//   kLineMargin pixels of the frame; beyond that the line is first cut to that
//   distance.
#pragma once

#include <cstdint>

#include "graphics/image.h"

constexpr double kLineMargin = 65536;

// Fills the whole frame with `pixel`, without blending (the room background).
void Clear(Image& frame, uint32_t pixel);

void DrawLine(Image& frame, double x1, double y1, double x2, double y2, uint32_t pixel);

void DrawRectangle(Image& frame, double x1, double y1, double x2, double y2, uint32_t pixel, bool outline);
