#include "graphics/sprite_draw.h"

#include <algorithm>
#include <cmath>

#include "graphics/colour.h"
#include "graphics/pixel_grid.h"

namespace {

constexpr uint32_t kNoTint = 0xFFFFFFFFu;

void BlendSpritePixel(uint32_t& target, uint32_t source, uint32_t tint) {
  if (tint != kNoTint) source = Modulate(source, tint);
  target = BlendOver(target, source);
}

// Unrotated and unscaled: rows of the image are blended straight across.
void DrawUnitSprite(Image& frame, const Image& image, int64_t left, int64_t top, uint32_t tint) {
  PixelRect area{left, top, left + image.width - 1, top + image.height - 1};
  if (!area.ClipTo(frame)) return;
  for (int64_t y = area.top; y <= area.bottom; ++y) {
    const uint32_t* source = image.Row(int(y - top)) + (area.left - left);
    uint32_t* target = frame.Row(int(y)) + area.left;
    for (int64_t x = area.left; x <= area.right; ++x) BlendSpritePixel(*target++, *source++, tint);
  }
}

// Any scale and rotation: each frame pixel inside the transformed bounds samples
// the sprite at its centre.
void DrawTransformedSprite(Image& frame, const Image& image, const SpriteTransform& transform, uint32_t tint) {
  const double width = image.width, height = image.height;
  const Point2 corners[] = {transform.ToRoom({0, 0}), transform.ToRoom({width, 0}), transform.ToRoom({0, height}),
                            transform.ToRoom({width, height})};
  double minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
  for (const Point2& corner : corners) {
    minX = std::min(minX, corner.x), maxX = std::max(maxX, corner.x);
    minY = std::min(minY, corner.y), maxY = std::max(maxY, corner.y);
  }
  // Pixels whose centres lie in [min, max).
  PixelRect area{PixelOf(minX), PixelOf(minY), PixelOf(maxX) - 1, PixelOf(maxY) - 1};
  if (!area.ClipTo(frame)) return;
  for (int64_t y = area.top; y <= area.bottom; ++y) {
    for (int64_t x = area.left; x <= area.right; ++x) {
      const Point2 at = transform.ToSprite({double(x) + 0.5, double(y) + 0.5});
      if (!(at.x >= 0 && at.x < width && at.y >= 0 && at.y < height)) continue;
      BlendSpritePixel(frame.At(int(x), int(y)), image.At(int(at.x), int(at.y)), tint);
    }
  }
}

}  // namespace

void DrawSprite(Image& frame, const Sprite& sprite, double imageIndex, const SpritePlacement& placement,
                uint32_t tint) {
  const int index = SpriteFrame(sprite, imageIndex);
  const SpriteTransform transform(sprite, placement);
  if (index < 0 || !transform.Usable() || PixelAlpha(tint) == 0) return;
  const Image& image = sprite.frames[size_t(index)];
  if (transform.Identity()) {
    DrawUnitSprite(frame, image, PixelOf(placement.x - sprite.originX), PixelOf(placement.y - sprite.originY), tint);
  } else {
    DrawTransformedSprite(frame, image, transform, tint);
  }
}
