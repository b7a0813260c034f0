#include "app/app_helpers.h"

#include "builtins/draw_builtins.h"

namespace {
StringConstant s_empty("");
}  // namespace

TempValue RoomRef(int room) {
  TempValue reference;
  SetReference(reference, kRefTypeRoom, room);
  return reference;
}

void GoToRoom(KslFrame& k, int room) { k.Call(f_room_goto, RoomRef(room)); }

TempValue ListValue(KslFrame& k, const SymbolEntry& list, const RValue& index) {
  return k.Call(f_ds_list_find_value, k.Var(list), index);
}

TempValue ListSize(KslFrame& k, const SymbolEntry& list) { return k.Call(f_ds_list_size, k.Var(list)); }

void ReplaceCell(KslFrame& k, const RValue& list, const RValue& index, const RValue& value) {
  TempValue missing;
  SetUndefined(missing);
  while (!Less(index, k.Call(f_ds_list_size, list))) k.Call(f_ds_list_add, list, missing);
  k.Call(f_ds_list_replace, list, index, value);
}

TempValue CellText(KslFrame& k, TempValue cell) {
  if (KindOf(cell) == VALUE_STRING) return cell;
  if (ToBool(k.Call(f_is_undefined, cell))) return TempValue(s_empty);
  return k.Call(f_string, cell);
}

bool HasDate(const RValue& cell) {
  switch (KindOf(cell)) {
    case VALUE_REAL:
    case VALUE_BOOL:
    case VALUE_INT32:
    case VALUE_INT64: return true;
    default: return false;
  }
}

TempValue DateText(KslFrame& k, const RValue& cell) {
  if (!HasDate(cell)) return TempValue(s_empty);
  return k.Call(f_date_date_string, cell);
}

bool IsToday(KslFrame& k, const RValue& cell) {
  return HasDate(cell) && Equal(k.Call(f_date_compare_date, cell, k.Call(f_date_current_datetime)), 0);
}

bool StrictlyBetween(double lo, const RValue& value, double hi) { return Greater(value, lo) && Less(value, hi); }

bool MouseInRows(KslFrame& k, const RValue& y1, const RValue& y2) {
  return Less(y1, k.Get(v_mouse_y)) && Less(k.Get(v_mouse_y), y2);
}

bool MouseInBox(KslFrame& k, double x1, const RValue& y1, double x2, const RValue& y2) {
  return MouseInRows(k, y1, y2) && StrictlyBetween(x1, k.Get(v_mouse_x), x2);
}

void SetTextStyle(uint32_t colour) {
  DrawSetColour(colour);
  DrawSetFont(kFontMain);
  DrawSetValign(kAlignMiddle);
  DrawSetHalign(kAlignCentre);
}

void FillBox(uint32_t colour, double x1, const RValue& y1, double x2, const RValue& y2) {
  DrawSetColour(colour);
  DrawRectangleBetween(x1, ToReal(y1), x2, ToReal(y2), false);
}

void DrawLineAcross(KslFrame& k, const RValue& y) { k.Call(f_draw_line, 0, y, 800, y); }

void DestroyLists(KslFrame& k, std::initializer_list<const SymbolEntry*> lists) {
  for (const SymbolEntry* list : lists) k.Call(f_ds_list_destroy, k.Var(*list));
}

const RValue& SetRowTop(KslFrame& k, const RValue& row) {
  k.SetVar(v_top, Add(k.Get(v_y), Multiply(row, kRowHeight)));
  return k.Var(v_top);
}

bool RowOnScreen(const RValue& top) { return ToReal(top) > -kRowHeight && ToReal(top) < kScreenHeight; }
