#include "graphics/draw_list.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graphics/pixel_grid.h"
#include "graphics/raster.h"

void DrawList::Reset(int width, int height) {
  commands_.clear();
  texts_.clear();
  Resize(width, height);
}

void DrawList::Resize(int width, int height) {
  width_ = width;
  height_ = height;
}

// Lines and rectangles light no pixel outside the pixels of their corners. Rows
// are tested first: a scrolled table leaves the frame by its rows, and a span a
// whole pixel or more above or below the frame is turned away on its coordinates
// alone (a NaN fails those comparisons and is turned away after them).
bool DrawList::SpanTouchesFrame(double x1, double y1, double x2, double y2) const {
  if (std::max(y1, y2) <= -1.0 || std::min(y1, y2) >= height_ + 1.0) return false;
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return false;
  return PixelOf(std::max(y1, y2)) >= 0 && PixelOf(std::min(y1, y2)) < height_ && PixelOf(std::max(x1, x2)) >= 0 &&
         PixelOf(std::min(x1, x2)) < width_;
}

// A block of n lines lies within n line heights of y, whatever its vertical
// alignment, plus the shadow's offset; n is at most one more than the line
// breaks, which are at most all the bytes (tried first, without reading them).
bool DrawList::TextMayTouchFrame(const Font& font, double y, std::string_view text) const {
  if (std::isnan(y) || font.lineHeight <= 0) return false;
  // A text a whole pixel beyond that reach is turned away on its coordinate alone
  // (within the range where pixel indices are not clamped).
  const double farthest = double(text.size() + 1) * font.lineHeight + std::abs(font.shadowOffsetY) + 1;
  if (farthest < double(kFarPixel) && (y + farthest <= 0 || y - farthest >= height_)) return false;
  const int64_t top = PixelOf(y);
  auto within = [&](int64_t lines) {
    const int64_t reach = lines * font.lineHeight + std::abs(font.shadowOffsetY);
    return top + reach > 0 && top - reach < height_;
  };
  if (!within(int64_t(text.size()) + 1)) return false;
  return within(1 + std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }));
}

void DrawList::Clear(uint32_t pixel) {
  Command command;
  command.kind = Kind::Clear;
  command.pixel = pixel;
  commands_.push_back(command);
}

void DrawList::Line(double x1, double y1, double x2, double y2, uint32_t pixel) {
  if (PixelAlpha(pixel) == 0 || !SpanTouchesFrame(x1, y1, x2, y2)) return;
  RecordSpan(Kind::Line, x1, y1, x2, y2, pixel, false);
}

void DrawList::Rectangle(double x1, double y1, double x2, double y2, uint32_t pixel, bool outline) {
  if (PixelAlpha(pixel) == 0 || !SpanTouchesFrame(x1, y1, x2, y2)) return;
  RecordSpan(Kind::Rectangle, x1, y1, x2, y2, pixel, outline);
}

void DrawList::Text(const Font& font, const DrawState& state, double x, double y, std::string_view text) {
  if (state.Alpha() == 0 || std::isnan(x) || !TextMayTouchFrame(font, y, text)) return;
  RecordText(font, state, x, y, text);
}

void DrawList::RecordSpan(Kind kind, double x1, double y1, double x2, double y2, uint32_t pixel, bool outline) {
  Command command;
  command.kind = kind;
  command.outline = outline;
  command.pixel = pixel;
  command.x1 = x1, command.y1 = y1, command.x2 = x2, command.y2 = y2;
  commands_.push_back(command);
}

void DrawList::RecordText(const Font& font, const DrawState& state, double x, double y, std::string_view text) {
  Command command;
  command.kind = Kind::Text;
  command.x1 = x, command.y1 = y;
  command.state = state;
  command.resource = &font;
  command.textStart = uint32_t(texts_.size());
  command.textLength = uint32_t(text.size());
  texts_.append(text);
  commands_.push_back(command);
}

void DrawList::SpriteImage(const Sprite& sprite, double imageIndex, const SpritePlacement& placement, uint32_t tint) {
  Command command;
  command.kind = Kind::Sprite;
  command.pixel = tint;
  command.resource = &sprite;
  command.placement = placement;
  command.imageIndex = imageIndex;
  commands_.push_back(command);
}

bool DrawList::StartsWithClear() const { return !commands_.empty() && commands_.front().kind == Kind::Clear; }

bool DrawList::operator==(const DrawList& other) const {
  return width_ == other.width_ && height_ == other.height_ && commands_ == other.commands_ && texts_ == other.texts_;
}

void DrawList::Replay(Image& frame) const {
  FrameSink sink(frame);
  for (const Command& c : commands_) {
    switch (c.kind) {
      case Kind::Clear: ::Clear(frame, c.pixel); break;
      case Kind::Line: sink.Line(c.x1, c.y1, c.x2, c.y2, c.pixel); break;
      case Kind::Rectangle: sink.Rectangle(c.x1, c.y1, c.x2, c.y2, c.pixel, c.outline); break;
      case Kind::Text:
        sink.Text(*static_cast<const Font*>(c.resource), c.state, c.x1, c.y1,
                  std::string_view(texts_).substr(c.textStart, c.textLength));
        break;
      case Kind::Sprite:
        sink.SpriteImage(*static_cast<const Sprite*>(c.resource), c.imageIndex, c.placement, c.pixel);
        break;
    }
  }
}
