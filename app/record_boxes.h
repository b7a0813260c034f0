// app/record_boxes.h — what the record boxes of the four editors and the
// upcoming view show beyond their plain texts: a date box whose date lies before
// today is light red, and a text wider than its box is cut and ended with "…",
// so that it never runs into the box beside it.
//
// Texts that fit are drawn exactly as draw_text draws them; draw_text itself is
// untouched. The screens draw every record each frame, the ones scrolled out of
// the room too: a box out of sight is drawn plainly, without measuring its text
// or comparing its date.
#pragma once

#include <cstdint>

#include "app/app_symbols.h"

// An overdue date's box: far lighter than the red of the delete button.
constexpr uint32_t kLightRed = 0xB0B0FF;  // red 255, green 176, blue 176

// The fill of the date box at `boxTop` holding `cell`: light red when the cell
// holds a date before today, light grey otherwise (no date included).
uint32_t DateBoxColour(KslFrame& k, const RValue& cell, const RValue& boxTop);

// draw_text(x, y, text) for a text centred in a box `boxWidth` wide: a text
// wider than the box less a margin at each end is cut after as many characters
// as fit with "…" after them.
void DrawTextInBox(KslFrame& k, double x, const RValue& y, const RValue& text, double boxWidth);
