// tools/vector_art.h — pictures made of simple shapes, rasterised with
// anti-aliasing when the game data is built (the syntax is in data/README.md,
// "Vector art").
//
// Shapes are painted in file order, each over the ones before it (source-over),
// onto a transparent canvas. Coordinates are canvas pixels with (0, 0) at the
// top-left corner of the top-left pixel, so the centre of pixel (x, y) is
// (x + 0.5, y + 0.5). A pixel's coverage is the fraction of a 16 × 16 grid of
// sample points that fall inside the shape.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "graphics/image.h"
#include "tools/description_scanner.h"

struct ArtPaint {
  Rgba top;     // the colour, or the gradient's colour at the shape's top edge
  Rgba bottom;  // the gradient's colour at the bottom edge (== top for a flat fill)
};

struct ArtShape {
  std::function<bool(double x, double y)> contains;
  double left = 0, top = 0, right = 0, bottom = 0;  // bounds of the shape
  ArtPaint paint;
};

using ArtFrame = std::vector<ArtShape>;

// Parses the lines of an art file into frames; throws DescriptionError.
std::vector<ArtFrame> ParseArt(const std::vector<DescriptionLine>& lines);

// Paints one frame into a transparent width × height image (straight alpha).
Image RasteriseArtFrame(const ArtFrame& frame, int width, int height);

// The frame drawn `scale` times as large (scale > 0): every shape, its bounds
// and so its gradient grow about the canvas origin. The program's icons are the
// button faces drawn at the icon theme's sizes.
ArtFrame ScaleArtFrame(const ArtFrame& frame, double scale);
