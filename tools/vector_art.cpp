#include "tools/vector_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace {

constexpr int kSamplesPerAxis = 16;
constexpr int kCoarseSamplesPerAxis = 4;

struct Point {
  double x, y;
};

double DistanceToSegment(Point p, Point a, Point b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double lengthSquared = dx * dx + dy * dy;
  double t = lengthSquared > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0) : 0.0;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Even-odd rule: a point is inside when a ray to the right crosses an odd number of edges.
bool PolygonContains(const std::vector<Point>& points, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
    const Point& a = points[i];
    const Point& b = points[j];
    if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
  }
  return inside;
}

// Reads the paint that follows the shape's numbers: `fill #C` or `gradient #TOP #BOTTOM`.
ArtPaint ParsePaint(const DescriptionLine& line, size_t at) {
  const std::string& kind = line.Word(at);
  if (kind == "fill") {
    line.ExpectSize(at + 2);
    Rgba colour = line.Colour(at + 1);
    return ArtPaint{colour, colour};
  }
  if (kind == "gradient") {
    line.ExpectSize(at + 3);
    return ArtPaint{line.Colour(at + 1), line.Colour(at + 2)};
  }
  line.Fail("expected 'fill' or 'gradient', found '" + kind + "'");
}

// The index of the paint keyword: shapes with a fixed count of numbers have it at
// 1 + count; a polygon has it after its last coordinate pair.
size_t PaintIndex(const DescriptionLine& line) {
  for (size_t i = 1; i < line.Size(); ++i)
    if (!line.tokens[i].quoted && (line.tokens[i].text == "fill" || line.tokens[i].text == "gradient")) return i;
  line.Fail("'" + line.Keyword() + "' needs a paint ('fill' or 'gradient')");
}

std::vector<double> Numbers(const DescriptionLine& line, size_t count) {
  if (PaintIndex(line) != count + 1)
    line.Fail("'" + line.Keyword() + "' takes " + std::to_string(count) + " numbers before its paint");
  std::vector<double> numbers;
  for (size_t i = 1; i <= count; ++i) numbers.push_back(line.Number(i));
  return numbers;
}

void RequirePositive(const DescriptionLine& line, double value, const char* what) {
  if (!(value > 0)) line.Fail(std::string(what) + " must be greater than 0");
}

ArtShape ParseRect(const DescriptionLine& line) {
  auto n = Numbers(line, 4);
  double x0 = std::min(n[0], n[2]), x1 = std::max(n[0], n[2]), y0 = std::min(n[1], n[3]), y1 = std::max(n[1], n[3]);
  return ArtShape{[=](double x, double y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }, x0, y0, x1, y1, {}};
}

ArtShape ParseRoundedRect(const DescriptionLine& line) {
  auto n = Numbers(line, 5);
  double x0 = std::min(n[0], n[2]), x1 = std::max(n[0], n[2]), y0 = std::min(n[1], n[3]), y1 = std::max(n[1], n[3]);
  double r = std::min({n[4], (x1 - x0) / 2, (y1 - y0) / 2});
  if (r < 0) line.Fail("the radius must not be negative");
  auto contains = [=](double x, double y) {
    double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return x >= x0 && x <= x1 && y >= y0 && y <= y1 && (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
  return ArtShape{contains, x0, y0, x1, y1, {}};
}

ArtShape ParseCircle(const DescriptionLine& line) {
  auto n = Numbers(line, 3);
  double cx = n[0], cy = n[1], r = n[2];
  RequirePositive(line, r, "the radius");
  return ArtShape{[=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; },
                  cx - r,
                  cy - r,
                  cx + r,
                  cy + r,
                  {}};
}

ArtShape ParseEllipse(const DescriptionLine& line) {
  auto n = Numbers(line, 4);
  double cx = n[0], cy = n[1], rx = n[2], ry = n[3];
  RequirePositive(line, rx, "the horizontal radius");
  RequirePositive(line, ry, "the vertical radius");
  auto contains = [=](double x, double y) {
    double u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v <= 1;
  };
  return ArtShape{contains, cx - rx, cy - ry, cx + rx, cy + ry, {}};
}

ArtShape ParseRing(const DescriptionLine& line) {
  auto n = Numbers(line, 4);
  double cx = n[0], cy = n[1], r = n[2], halfWidth = n[3] / 2;
  RequirePositive(line, n[3], "the width");
  auto contains = [=](double x, double y) { return std::abs(std::hypot(x - cx, y - cy) - r) <= halfWidth; };
  double outer = r + halfWidth;
  return ArtShape{contains, cx - outer, cy - outer, cx + outer, cy + outer, {}};
}

// A stroke of the given width with round ends.
ArtShape ParseLine(const DescriptionLine& line) {
  auto n = Numbers(line, 5);
  Point a{n[0], n[1]}, b{n[2], n[3]};
  double halfWidth = n[4] / 2;
  RequirePositive(line, n[4], "the width");
  auto contains = [=](double x, double y) { return DistanceToSegment({x, y}, a, b) <= halfWidth; };
  return ArtShape{contains,
                  std::min(a.x, b.x) - halfWidth,
                  std::min(a.y, b.y) - halfWidth,
                  std::max(a.x, b.x) + halfWidth,
                  std::max(a.y, b.y) + halfWidth,
                  {}};
}

ArtShape ParsePolygon(const DescriptionLine& line) {
  size_t paintAt = PaintIndex(line);
  if (paintAt % 2 == 0 || paintAt < 7) line.Fail("a polygon takes three or more x y pairs before its paint");
  std::vector<Point> points;
  for (size_t i = 1; i < paintAt; i += 2) points.push_back(Point{line.Number(i), line.Number(i + 1)});
  ArtShape shape{[points](double x, double y) { return PolygonContains(points, x, y); },
                 points[0].x,
                 points[0].y,
                 points[0].x,
                 points[0].y,
                 {}};
  for (const Point& p : points) {
    shape.left = std::min(shape.left, p.x);
    shape.top = std::min(shape.top, p.y);
    shape.right = std::max(shape.right, p.x);
    shape.bottom = std::max(shape.bottom, p.y);
  }
  return shape;
}

using ShapeParser = ArtShape (*)(const DescriptionLine&);

const std::map<std::string, ShapeParser> kShapeParsers = {
    {"rect", ParseRect}, {"rrect", ParseRoundedRect}, {"circle", ParseCircle},   {"ellipse", ParseEllipse},
    {"ring", ParseRing}, {"line", ParseLine},         {"polygon", ParsePolygon},
};

ArtShape ParseShape(const DescriptionLine& line) {
  auto parser = kShapeParsers.find(line.Keyword());
  if (parser == kShapeParsers.end()) line.Fail("unknown shape '" + line.Keyword() + "'");
  ArtShape shape = parser->second(line);
  shape.paint = ParsePaint(line, PaintIndex(line));
  return shape;
}

struct PremultipliedPixel {
  double r = 0, g = 0, b = 0, a = 0;
};

// The share of the pixel at (px, py) that `shape` covers, 0 to 1. A coarse grid
// settles pixels wholly inside or outside; only edge pixels take the fine grid.
double Coverage(const ArtShape& shape, int px, int py) {
  auto countInside = [&](int samples) {
    int inside = 0;
    for (int j = 0; j < samples; ++j)
      for (int i = 0; i < samples; ++i)
        inside += shape.contains(px + (i + 0.5) / samples, py + (j + 0.5) / samples) ? 1 : 0;
    return inside;
  };
  int coarse = countInside(kCoarseSamplesPerAxis);
  if (coarse == 0 || coarse == kCoarseSamplesPerAxis * kCoarseSamplesPerAxis) return coarse == 0 ? 0.0 : 1.0;
  return countInside(kSamplesPerAxis) / double(kSamplesPerAxis * kSamplesPerAxis);
}

double Mix(uint8_t from, uint8_t to, double t) { return (from + (to - from) * t) / 255.0; }

void PaintShape(const ArtShape& shape, std::vector<PremultipliedPixel>& canvas, int width, int height) {
  int x0 = std::max(0, int(std::floor(shape.left)) - 1), x1 = std::min(width - 1, int(std::ceil(shape.right)) + 1);
  int y0 = std::max(0, int(std::floor(shape.top)) - 1), y1 = std::min(height - 1, int(std::ceil(shape.bottom)) + 1);
  double span = shape.bottom - shape.top;
  for (int y = y0; y <= y1; ++y) {
    double t = span > 0 ? std::clamp((y + 0.5 - shape.top) / span, 0.0, 1.0) : 0.0;
    const Rgba& a = shape.paint.top;
    const Rgba& b = shape.paint.bottom;
    double alpha = Mix(a.a, b.a, t);
    double red = Mix(a.r, b.r, t), green = Mix(a.g, b.g, t), blue = Mix(a.b, b.b, t);
    for (int x = x0; x <= x1; ++x) {
      double sourceAlpha = alpha * Coverage(shape, x, y);
      if (sourceAlpha <= 0) continue;
      PremultipliedPixel& p = canvas[size_t(y) * size_t(width) + size_t(x)];
      double keep = 1 - sourceAlpha;
      p = PremultipliedPixel{red * sourceAlpha + p.r * keep, green * sourceAlpha + p.g * keep,
                             blue * sourceAlpha + p.b * keep, sourceAlpha + p.a * keep};
    }
  }
}

uint32_t Channel(double value) { return uint32_t(std::lround(std::clamp(value, 0.0, 1.0) * 255)); }

uint32_t ToStraightArgb(const PremultipliedPixel& p) {
  if (p.a <= 0) return 0;
  return Channel(p.a) << 24 | Channel(p.r / p.a) << 16 | Channel(p.g / p.a) << 8 | Channel(p.b / p.a);
}

}  // namespace

std::vector<ArtFrame> ParseArt(const std::vector<DescriptionLine>& lines) {
  std::vector<ArtFrame> frames;
  bool inFrame = false;
  for (const DescriptionLine& line : lines) {
    if (line.Keyword() == "frame") {
      line.ExpectSize(1);
      if (inFrame) line.Fail("'frame' inside a frame (missing 'end')");
      frames.emplace_back();
      inFrame = true;
    } else if (line.Keyword() == "end") {
      line.ExpectSize(1);
      if (!inFrame) line.Fail("'end' without 'frame'");
      inFrame = false;
    } else {
      if (!inFrame) line.Fail("shape outside a frame");
      frames.back().push_back(ParseShape(line));
    }
  }
  if (inFrame) lines.back().Fail("the last frame has no 'end'");
  return frames;
}

Image RasteriseArtFrame(const ArtFrame& frame, int width, int height) {
  std::vector<PremultipliedPixel> canvas(size_t(width) * size_t(height));
  for (const ArtShape& shape : frame) PaintShape(shape, canvas, width, height);
  Image image(width, height);
  for (size_t i = 0; i < canvas.size(); ++i) image.pixels[i] = ToStraightArgb(canvas[i]);
  return image;
}

ArtFrame ScaleArtFrame(const ArtFrame& frame, double scale) {
  ArtFrame scaled;
  for (const ArtShape& shape : frame)
    scaled.push_back(
        ArtShape{[contains = shape.contains, scale](double x, double y) { return contains(x / scale, y / scale); },
                 shape.left * scale, shape.top * scale, shape.right * scale, shape.bottom * scale, shape.paint});
  return scaled;
}
