// app/record_boxes.h — what the record boxes of the four editors and the
// upcoming view show beyond their plain texts: a date box whose date lies before
// today is light red, and a text wider than its box is cut and ended with "…",
// so that it never runs into the box beside it.
//
// Texts that fit are drawn exactly as draw_text draws them; draw_text itself is
// untouched.
#pragma once

#include <cstdint>

#include "app/app_symbols.h"

// An overdue date's box: far lighter than the red of the delete button.
constexpr uint32_t kLightRed = 0xB0B0FF;  // red 255, green 176, blue 176

// The fill of a date box holding `cell`: light red when the cell holds a date
// before today, light grey otherwise (no date included).
uint32_t DateBoxColour(KslFrame& k, const RValue& cell);

// draw_text(x, y, text) for a text centred in a box `boxWidth` wide: a text
// wider than the box less a margin at each end is cut after as many characters
// as fit with "…" after them.
void DrawTextInBox(KslFrame& k, double x, const RValue& y, const RValue& text, double boxWidth);
