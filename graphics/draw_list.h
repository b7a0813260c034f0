// graphics/draw_list.h — a frame's drawing recorded as commands, so that a frame
// that draws exactly what the previous one drew need not be rasterised again.
//
// A command keeps everything its pixels depend on: the coordinates, the pixel or
// tint, the font with the draw state, the text, the sprite with its frame index
// and placement. Replaying two equal lists into equal frames gives equal
// pictures. A line, rectangle or text that cannot touch any pixel of the frame
// (NaN, or lying wholly above, below, left or right of it; texts are tested
// vertically only) is not recorded, so drawing off the screen costs a few
// comparisons. The texts of a list share one byte arena, and emptying a list
// keeps its storage, so a list that is reused frame after frame stops
// allocating once it has grown to a frame's size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/draw_sink.h"

class DrawList : public DrawSink {
 public:
  // Empties the list for a frame of the given size (the size culling tests against).
  void Reset(int width, int height);
  // Keeps the commands and changes the size culling tests against.
  void Resize(int width, int height);

  // The whole frame filled with `pixel`, without blending.
  void Clear(uint32_t pixel);
  void Line(double x1, double y1, double x2, double y2, uint32_t pixel) override;
  void Rectangle(double x1, double y1, double x2, double y2, uint32_t pixel, bool outline) override;
  void Text(const Font& font, const DrawState& state, double x, double y, std::string_view text) override;
  void SpriteImage(const Sprite& sprite, double imageIndex, const SpritePlacement& placement, uint32_t tint) override;

  // Whether the first command fills the whole frame, so that the picture does not
  // depend on what the frame held before.
  bool StartsWithClear() const;
  // Same frame size, same commands, same texts.
  bool operator==(const DrawList& other) const;
  // Draws the commands into `frame`, in order.
  void Replay(Image& frame) const;

 private:
  enum class Kind : uint8_t { Clear, Line, Rectangle, Text, Sprite };
  struct Command {
    Kind kind = Kind::Clear;
    bool outline = false;                    // Rectangle
    uint32_t pixel = 0;                      // Clear, Line, Rectangle: the pixel; Sprite: the tint
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;   // Line, Rectangle: the corners; Text: (x1, y1)
    DrawState state;                         // Text
    const void* resource = nullptr;          // Text: the Font; Sprite: the Sprite
    uint32_t textStart = 0, textLength = 0;  // Text: bytes of the arena
    SpritePlacement placement;               // Sprite
    double imageIndex = 0;                   // Sprite
    bool operator==(const Command&) const = default;
  };

  // Whether the pixel rectangle spanned by two corners (in room coordinates)
  // overlaps the frame; false for NaN.
  bool SpanTouchesFrame(double x1, double y1, double x2, double y2) const;
  bool TextMayTouchFrame(const Font& font, double y, std::string_view text) const;
  // The recording of what passed those tests, out of line: most drawing of a long
  // table is turned away, and that path should not pay for setting up a command.
  [[gnu::noinline]] void RecordSpan(Kind kind, double x1, double y1, double x2, double y2, uint32_t pixel,
                                    bool outline);
  [[gnu::noinline]] void RecordText(const Font& font, const DrawState& state, double x, double y,
                                    std::string_view text);

  int width_ = 0, height_ = 0;
  std::vector<Command> commands_;
  std::string texts_;
};
