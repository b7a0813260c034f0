#include "graphics/raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "graphics/colour.h"
#include "graphics/pixel_grid.h"

namespace {

// Largest magnitude a line coordinate keeps before clipping; infinities become it,
// so the clipping arithmetic never meets inf − inf.
constexpr double kHugeCoordinate = 1e18;

int64_t FloorDiv(int64_t numerator, int64_t denominator) {  // denominator > 0
  const int64_t quotient = numerator / denominator;
  return (numerator % denominator < 0) ? quotient - 1 : quotient;
}

// The core of every filled shape: blends `pixel` over an inclusive rectangle,
// cut to the frame first.
void FillPixelRect(Image& frame, PixelRect rect, uint32_t pixel) {
  if (PixelAlpha(pixel) == 0 || !rect.ClipTo(frame)) return;
  for (int64_t y = rect.top; y <= rect.bottom; ++y) {
    uint32_t* row = frame.Row(int(y)) + rect.left;
    uint32_t* end = row + (rect.right - rect.left + 1);
    if (PixelAlpha(pixel) == 255) {
      std::fill(row, end, pixel);
    } else {
      for (uint32_t* p = row; p != end; ++p) *p = BlendOver(*p, pixel);
    }
  }
}

// Cuts the segment to [minX, maxX] × [minY, maxY] (Liang–Barsky); false when no
// part of it is inside. End points already inside are left exactly as they are.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double minX, double minY, double maxX, double maxY) {
  const double dx = x2 - x1, dy = y2 - y1;
  double enter = 0, leave = 1;
  // Keeps the part of the segment where p × t ≤ q.
  auto keep = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0)
      enter = std::max(enter, t);
    else
      leave = std::min(leave, t);
    return enter <= leave;
  };
  if (!keep(-dx, x1 - minX) || !keep(dx, maxX - x1) || !keep(-dy, y1 - minY) || !keep(dy, maxY - y1)) return false;
  const double startX = x1, startY = y1;
  if (leave < 1) x2 = startX + leave * dx, y2 = startY + leave * dy;
  if (enter > 0) x1 = startX + enter * dx, y1 = startY + enter * dy;
  return true;
}

}  // namespace

void Clear(Image& frame, uint32_t pixel) { std::fill(frame.pixels.begin(), frame.pixels.end(), pixel); }

void DrawRectangle(Image& frame, double x1, double y1, double x2, double y2, uint32_t pixel, bool outline) {
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return;
  const PixelRect area{PixelOf(std::min(x1, x2)), PixelOf(std::min(y1, y2)), PixelOf(std::max(x1, x2)),
                       PixelOf(std::max(y1, y2))};
  if (!outline) return FillPixelRect(frame, area, pixel);
  if (PixelRect visible = area; !visible.ClipTo(frame)) return;  // one test instead of four
  // The border as four pieces that do not overlap, so a translucent outline is
  // blended once per pixel: full top and bottom rows, the sides between them.
  const auto [left, top, right, bottom] = area;
  FillPixelRect(frame, {left, top, right, top}, pixel);
  if (bottom > top) FillPixelRect(frame, {left, bottom, right, bottom}, pixel);
  FillPixelRect(frame, {left, top + 1, left, bottom - 1}, pixel);
  if (right > left) FillPixelRect(frame, {right, top + 1, right, bottom - 1}, pixel);
}

// Walks the major axis (the one along which the line is longer) one pixel at a
// time and rounds the minor coordinate, so every step is computed on its own and
// the walk can start and stop at the frame's edges.
void DrawLine(Image& frame, double x1, double y1, double x2, double y2, uint32_t pixel) {
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return;
  if (PixelAlpha(pixel) == 0) return;
  auto tame = [](double& v) { v = std::clamp(v, -kHugeCoordinate, kHugeCoordinate); };
  tame(x1), tame(y1), tame(x2), tame(y2);
  if (!ClipSegment(x1, y1, x2, y2, -kLineMargin, -kLineMargin, frame.width + kLineMargin, frame.height + kLineMargin))
    return;

  const int64_t column1 = PixelOf(x1), row1 = PixelOf(y1), column2 = PixelOf(x2), row2 = PixelOf(y2);
  const bool steep = std::abs(row2 - row1) > std::abs(column2 - column1);
  int64_t majorStart = steep ? row1 : column1, minorStart = steep ? column1 : row1;
  int64_t majorEnd = steep ? row2 : column2, minorEnd = steep ? column2 : row2;
  if (majorStart > majorEnd) std::swap(majorStart, majorEnd), std::swap(minorStart, minorEnd);
  const int64_t majorLength = majorEnd - majorStart;  // ≥ 0
  const int64_t minorLength = minorEnd - minorStart;
  const int64_t majorExtent = steep ? frame.height : frame.width;
  const int64_t minorExtent = steep ? frame.width : frame.height;

  int64_t first = std::max<int64_t>(majorStart, 0);
  int64_t last = std::min<int64_t>(majorEnd, majorExtent - 1);
  if (minorLength == 0) {
    if (minorStart < 0 || minorStart >= minorExtent) return;
  } else {
    // Where the ideal line crosses minor −1 and minor minorExtent; the rounded
    // line is within half a pixel of it, so no visible pixel lies outside.
    const double slope = double(majorLength) / double(minorLength);
    const double a = double(majorStart) + (-1.0 - double(minorStart)) * slope;
    const double b = double(majorStart) + (double(minorExtent) - double(minorStart)) * slope;
    first = std::max<int64_t>(first, int64_t(std::floor(std::min(a, b))));
    last = std::min<int64_t>(last, int64_t(std::ceil(std::max(a, b))));
  }
  for (int64_t major = first; major <= last; ++major) {
    const int64_t minor =
        majorLength == 0 ? minorStart
                         : minorStart + FloorDiv(2 * (major - majorStart) * minorLength + majorLength, 2 * majorLength);
    if (minor < 0 || minor >= minorExtent) continue;
    uint32_t& target = steep ? frame.At(int(minor), int(major)) : frame.At(int(major), int(minor));
    target = BlendOver(target, pixel);
  }
}
