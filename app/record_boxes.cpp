#include "app/record_boxes.h"

#include "app/app_helpers.h"

namespace {

StringConstant s_ellipsis("…"), s_space(" ");

constexpr double kBoxMargin = 5;  // pixels kept free at each end of a box

bool WiderThan(KslFrame& k, const RValue& text, double width) { return Greater(k.Call(f_string_width, text), width); }

// The first `characters` characters of `text` followed by "…".
TempValue CutText(KslFrame& k, const RValue& text, size_t characters) {
  return Add(k.Call(f_string_copy, text, 1, double(characters)), s_ellipsis);
}

// The longest cut of `text` at most `width` wide (a text has no more
// characters than bytes), without the spaces before the "…".
TempValue CutToWidth(KslFrame& k, const RValue& text, double width) {
  size_t fits = 0, tooMany = StringBytes(text).size();
  while (tooMany - fits > 1) {
    size_t middle = fits + (tooMany - fits) / 2;
    if (WiderThan(k, CutText(k, text, middle), width))
      tooMany = middle;
    else
      fits = middle;
  }
  while (fits > 0 && Equal(k.Call(f_string_copy, text, double(fits), 1.0), s_space)) --fits;
  return CutText(k, text, fits);
}

}  // namespace

uint32_t DateBoxColour(KslFrame& k, const RValue& cell) {
  bool overdue = HasDate(cell) && Less(k.Call(f_date_compare_date, cell, k.Call(f_date_current_datetime)), 0);
  return overdue ? kLightRed : kLightGrey;
}

void DrawTextInBox(KslFrame& k, double x, const RValue& y, const RValue& text, double boxWidth) {
  const double width = boxWidth - 2 * kBoxMargin;
  if (KindOf(text) == VALUE_STRING && WiderThan(k, text, width))
    k.Call(f_draw_text, x, y, CutToWidth(k, text, width));
  else
    k.Call(f_draw_text, x, y, text);
}
