// oClose: the upcoming-deadlines view (room 3). It gathers from all four
// registers every record with a date before the horizon (overdue dates
// included), shows them, lets the user correct the two dates of a row, refreshes
// the table, exports it as tab-separated text, and saves the corrected dates
// back. In reminder mode (global AT = 1) it ends the program when nothing is due
// and after saving, and tells the desktop what is due (due_notification.h).
//
// The view keeps the four registers' first four lists (ds11 ... ds44, field K of
// register R in dsRK; tabK[R - 1] = dsRK) and one row per selected record in ds1
// to ds6: the two texts, the two dates, the record's index and its register.
// Which records are rows, and what an exported row holds, is upcoming_rows.h's.
// Date prompts are read as typed_dates.h says; an edited date is an unsaved
// change that Escape and a close of the window ask about (unsaved_changes.h).
#include "app/app_helpers.h"
#include "app/damaged_database.h"
#include "app/due_notification.h"
#include "app/record_boxes.h"
#include "app/register_editor.h"
#include "app/typed_dates.h"
#include "app/unsaved_changes.h"
#include "app/upcoming_rows.h"
#include "builtins/draw_builtins.h"
#include "builtins/ini_builtins.h"
#include "engine/engine_builtins.h"

namespace {
StringConstant s_empty("");
StringConstant s_saveIni("save.ini");
StringConstant s_captionStart("Kalvora - Vestra-K - Nadchodzące terminy do "), s_captionEnd(" dni !");
StringConstant s_nothingDue("Brak nadchodzących terminów");
StringConstant s_total("RAZEM : "), s_saveAndLeave("WRÓĆ I ZAPISZ"), s_export("ZAPISZ DO TABELI");
StringConstant s_refresh("ODŚWIEŻ");
StringConstant s_exportFilter("*.csv|*.csv"), s_exportName("Tabela Terminów");
StringConstant s_tab("\t"), s_newline("\n");
StringConstant s_exportedTo("Tabela terminów została zapisana do pliku:\n");

const SymbolEntry* const kTables[4] = {&v_tab1, &v_tab2, &v_tab3, &v_tab4};

constexpr double kActionDelay = 5;
constexpr int kSaveAlarm = 3, kRefreshAlarm = 4, kExportAlarm = 5;

void DestroyViewLists(KslFrame& k) {
  for (const SymbolEntry* list : kRowLists) k.Call(f_ds_list_destroy, k.Var(*list));
  for (const auto& source : kSourceLists)
    for (const SymbolEntry* list : source) k.Call(f_ds_list_destroy, k.Var(*list));
}

// Keys "1" to "4" of the four registers; a damaged database is kept aside and
// the user told (see damaged_database.h).
void LoadRegisters(KslFrame& k) {
  DamagedDatabaseCheck damage;
  ReadSourceLists(k);
  damage.TellIfDamaged(ValueText(k.Global(v_loc)));
}

// Stores a typed date both in the register (through tabK) and in the row.
void StoreDate(KslFrame& k, const SymbolEntry& table, const SymbolEntry& rowList, const RValue& reg,
               const RValue& index, const RValue& row, const TypedDate& typed) {
  if (!typed.Stores()) return;
  EditCell(k, k.Get(table, ToInt32(reg)), index, typed.value);
  k.Call(f_ds_list_replace, k.Var(rowList), row, typed.value);
}

void ClickRow(KslFrame& k, const RValue& row) {
  k.Line(31);
  TempValue reg = ListValue(k, v_ds6, row);
  TempValue index = ListValue(k, v_ds5, row);
  TempValue top = SetRowTop(k, row);
  k.Line(32);
  if (MouseInBox(k, 380, top, 720, Add(top, 40))) {
    TypedDate typed = AskForDate(k, s_empty, k.Call(f_ds_list_find_value, k.Get(v_tab3, ToInt32(reg)), index));
    StoreDate(k, v_tab3, v_ds3, reg, index, row, typed);
  }
  k.Line(33);
  if (MouseInBox(k, 380, Add(top, 60), 720, Add(top, 100)))
    StoreDate(k, v_tab4, v_ds4, reg, index, row, AskForDate(k, s_empty, ListValue(k, v_ds4, row)));
}

void DrawRow(KslFrame& k, const RValue& row) {
  k.Line(41);
  TempValue top = SetRowTop(k, row);
  if (!RowOnScreen(top)) {  // leaves the draw state as a drawn record does
    SetTextStyle(kBlack);
    return;
  }
  k.Line(42);
  DrawSetColour(kLightGrey);
  DrawLineAcross(k, Add(top, 110));
  k.Line(43);
  TempValue upperDate = ListValue(k, v_ds3, row);
  TempValue lowerDate = ListValue(k, v_ds4, row);
  TempValue lowerTop = Add(top, 60);
  FillBox(kYellow, 20, top, 360, Add(top, 40));
  FillBox(DateBoxColour(k, upperDate), 380, top, 780, Add(top, 40));
  FillBox(kLightGrey, 20, lowerTop, 360, Add(top, 100));
  FillBox(DateBoxColour(k, lowerDate), 380, lowerTop, 780, Add(top, 100));
  k.Line(44);
  SetTextStyle(kBlack);
  k.Line(45);
  DrawTextInBox(k, 190, Add(top, 20), CellText(k, ListValue(k, v_ds1, row)), 340);
  DrawTextInBox(k, 190, Add(top, 80), CellText(k, ListValue(k, v_ds2, row)), 340);
  DrawTextInBox(k, 580, Add(top, 20), DateText(k, upperDate), 400);
  DrawTextInBox(k, 580, Add(top, 80), DateText(k, lowerDate), 400);
}

// One exported line: the row's columns, each after a tab but the first.
TempValue ExportLine(KslFrame& k, const RValue& row) {
  std::array<TempValue, 4> columns = RowColumns(k, row);
  TempValue line = columns[0];
  for (int column = 1; column < 4; ++column) line = Add(Add(line, s_tab), columns[column]);
  return Add(line, s_newline);
}

// Keys "1" to "4" of the four registers into save.ini (always this name),
// keys "5" to "8" kept as the file holds them; the rows and the source lists
// are emptied.
void SaveBack(KslFrame& k) {
  k.Line(1);
  ClearRows(k);
  k.Line(2);
  IniOpen(s_saveIni.Text());
  for (int reg = 0; reg < 4; ++reg) {
    for (int field = 0; field < 4; ++field) {
      k.Line(3);
      k.SetVar(v_str, k.Call(f_ds_list_write, k.Var(*kSourceLists[reg][field])));
      k.Call(f_ini_write_string, RegisterSection(reg), FieldKey(field), k.Var(v_str));
      k.Call(f_ds_list_clear, k.Var(*kSourceLists[reg][field]));
    }
  }
  k.Line(4);
  k.Call(f_ini_close);
}
}  // namespace

KSL_EVENT(oClose, Create_0) {
  KslFrame k(__func__, self, other);
  k.Line(1);
  ReadHorizon(k);
  k.Line(3);
  WindowSetCaption(ValueText(Add(Add(s_captionStart, k.Call(f_string, k.Var(v_termin))), s_captionEnd)));
  k.Line(4);
  k.Set(v_y, 20);
  k.SetVar(v_top, 0);
  k.SetVar(v_lp, 0);
  k.SetVar(v_del, 0);
  OpenScreen(k, SaveBack);
  k.Line(5);
  CreateViewLists(k);
  k.Line(6);
  LoadRegisters(k);
  k.Line(7);
  ClearRows(k);
  k.Line(8);
  SelectRows(k);
  k.Line(9);
  for (int field = 0; field < 4; ++field)
    for (int reg = 0; reg < 4; ++reg) k.Set(*kTables[field], k.Var(*kSourceLists[reg][field]), reg);
  k.Line(10);
  k.SetVar(v_lp, ListSize(k, v_ds1));
  if (Greater(k.Var(v_lp), 4)) k.Set(v_y, Subtract(TempValue(360), Multiply(k.Var(v_lp), kRowHeight)));
  k.Line(11);
  if (!Equal(k.Var(v_lp), 0)) {
    if (Equal(k.Global(v_AT), 1)) NotifyDueRows(k);
    return;
  }
  if (Equal(k.Global(v_AT), 1)) {
    GameEnd();
    return;
  }
  k.Line(12);
  k.Call(f_show_message, s_nothingDue);
  GoToRoom(k, kMenuRoom);
  DestroyViewLists(k);
}

// The view sets neither alarm 1 nor alarm 2; the game data binds these handlers
// all the same, and they do nothing.
KSL_EVENT(oClose, Alarm_1) { KslFrame k(__func__, self, other); }
KSL_EVENT(oClose, Alarm_2) { KslFrame k(__func__, self, other); }

KSL_EVENT(oClose, Alarm_3) {
  KslFrame k(__func__, self, other);
  SaveBack(k);
  k.Line(5);
  if (Equal(k.Global(v_AT), 1)) {
    GameEnd();
    return;
  }
  GoToRoom(k, kMenuRoom);
  DestroyViewLists(k);
}

KSL_EVENT(oClose, Alarm_4) {
  KslFrame k(__func__, self, other);
  k.Line(1);
  ClearRows(k);
  k.Line(2);
  SelectRows(k);
}

KSL_EVENT(oClose, Alarm_5) {
  KslFrame k(__func__, self, other);
  k.Line(1);
  TempValue path = k.Call(f_get_save_filename, s_exportFilter, s_exportName);
  // Nothing is written when the dialog was cancelled.
  if (Equal(path, s_empty)) return;
  k.Line(2);
  TempValue table(RowTableHeader());
  k.Line(3);
  for (TempValue row = 0; Less(row, ListSize(k, v_ds1)); row = Add(row, 1)) AddAssign(table, ExportLine(k, row));
  k.Line(4);
  TempValue file = k.Call(f_file_text_open_write, path);
  if (Less(file, 0)) return;  // the failure was logged and reported by the file layer
  k.Call(f_file_text_write_string, file, table);
  k.Line(5);
  // Confirmed like a backup; a failed write was told by the file layer.
  if (Equal(k.Call(f_file_text_close, file), 1)) k.Call(f_show_message, Add(s_exportedTo, path));
}

KSL_EVENT(oClose, Mouse_56) {
  KslFrame k(__func__, self, other);
  k.Line(30);
  for (TempValue row = 0; Less(row, ListSize(k, v_ds1)); row = Add(row, 1)) ClickRow(k, row);
  k.Line(35);
  const RValue& top = k.Var(v_top);
  if (MouseInBox(k, 520, Add(top, 120), 780, Add(top, 160))) k.Set(v_alarm, kActionDelay, kSaveAlarm);
  k.Line(36);
  if (MouseInBox(k, 20, Add(top, 120), 250, Add(top, 160))) k.Set(v_alarm, kActionDelay, kRefreshAlarm);
  k.Line(37);
  if (MouseInBox(k, 20, Add(top, 180), 250, Add(top, 220))) k.Set(v_alarm, kActionDelay, kExportAlarm);
}

KSL_EVENT(oClose, Mouse_60) { ScrollUp(__func__, self, other); }
KSL_EVENT(oClose, Mouse_61) { ScrollDown(__func__, self, other); }

KSL_EVENT(oClose, Draw_0) {
  KslFrame k(__func__, self, other);
  k.Line(40);
  for (TempValue row = 0; Less(row, ListSize(k, v_ds1)); row = Add(row, 1)) DrawRow(k, row);
  k.Line(50);
  const RValue& top = k.Var(v_top);
  FillBox(kLightGrey, 20, Add(top, 180), 240, Add(top, 220));
  FillBox(kLightGrey, 520, Add(top, 120), 780, Add(top, 160));
  FillBox(kLightGrey, 20, Add(top, 120), 240, Add(top, 160));
  k.Line(51);
  k.Call(f_draw_text, 380, Add(top, 140), Add(s_total, k.Call(f_string, ListSize(k, v_ds1))));
  k.Line(52);
  DrawSetColour(kBlack);
  k.Call(f_draw_text, 650, Add(top, 140), s_saveAndLeave);
  k.Call(f_draw_text, 130, Add(top, 200), s_export);
  k.Call(f_draw_text, 130, Add(top, 140), s_refresh);
}

KSL_EVENT(oClose, KeyPress_27) {
  KslFrame k(__func__, self, other);
  k.Line(1);
  if (!MayLeaveWithoutSaving(k)) return;
  GoToRoom(k, kMenuRoom);
  k.Line(2);
  DestroyViewLists(k);
}
