// app/app_helpers.h — small helpers that keep the application's handlers close to
// the behaviour they implement: room references, list cells, the text of cells,
// strict box tests on the mouse position, and the colours of the screens.
//
// Cells read from hand-edited files may be missing (a short list gives
// `undefined`) or of an unexpected kind; the helpers turn such a cell into an
// empty text or "no date" so that nothing a file holds can end the program.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "app/app_symbols.h"

// Colours in the runtime encoding (red + 256 × green + 65536 × blue).
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kLightGrey = 0xC0C0C0;
constexpr uint32_t kYellow = 0x00FFFF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kBlack = 0;

constexpr int kMenuRoom = 0;
constexpr double kRowHeight = 120;  // one record: two rows of boxes and a gap
constexpr double kScreenHeight = 600;
constexpr int kFontMain = 0;
constexpr int kAlignCentre = 1;
constexpr int kAlignMiddle = 1;

// A reference to room `room`, as room_goto takes it.
TempValue RoomRef(int room);
void GoToRoom(KslFrame& k, int room);

// ds_list_find_value(list, index) and ds_list_size(list) of a list held in a variable of self.
TempValue ListValue(KslFrame& k, const SymbolEntry& list, const RValue& index);
TempValue ListSize(KslFrame& k, const SymbolEntry& list);
// ds_list_replace(list, index, value). A list that a hand-edited file left
// shorter than its register is first filled up to the index with cells without
// a value, so that editing a missing cell stores the edit instead of failing.
void ReplaceCell(KslFrame& k, const RValue& list, const RValue& index, const RValue& value);

// The text a text cell shows: the string itself; "" for a cell without a value.
TempValue CellText(KslFrame& k, TempValue cell);
// Whether a date cell holds a date (a number); a missing cell holds none.
bool HasDate(const RValue& cell);
// date_date_string of a date cell, or "" when it holds no date.
TempValue DateText(KslFrame& k, const RValue& cell);
// Whether a date cell falls on today's calendar day.
bool IsToday(KslFrame& k, const RValue& cell);

// row top := y + 120 × row, kept in the row-top variable `top`.
const RValue& SetRowTop(KslFrame& k, const RValue& row);
// Whether any pixel of a record whose row starts at `top` can show on the screen:
// a register of thousands of records draws only the few in sight.
bool RowOnScreen(const RValue& top);

// lo < value < hi, compared as values.
bool StrictlyBetween(double lo, const RValue& value, double hi);
// y1 < mouse_y < y2.
bool MouseInRows(KslFrame& k, const RValue& y1, const RValue& y2);
// The mouse inside the open box (x1, y1)-(x2, y2), reading mouse_x and mouse_y afresh.
bool MouseInBox(KslFrame& k, double x1, const RValue& y1, double x2, const RValue& y2);

// The text style of every screen: the colour, font 0, centred both ways.
void SetTextStyle(uint32_t colour);
// A filled rectangle in `colour`, which becomes the draw colour.
void FillBox(uint32_t colour, double x1, const RValue& y1, double x2, const RValue& y2);
// draw_line(0, y, 800, y): the separator under a row.
void DrawLineAcross(KslFrame& k, const RValue& y);

// Releases lists a screen created, when it leaves its room.
void DestroyLists(KslFrame& k, std::initializer_list<const SymbolEntry*> lists);
