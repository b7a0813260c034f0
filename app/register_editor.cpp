#include "app/register_editor.h"

#include "app/app_helpers.h"
#include "app/damaged_database.h"
#include "app/record_boxes.h"
#include "app/typed_dates.h"
#include "app/unsaved_changes.h"
#include "builtins/draw_builtins.h"
#include "builtins/ini_builtins.h"

namespace {
StringConstant s_empty("");
StringConstant s_keys[8] = {StringConstant("1"), StringConstant("2"), StringConstant("3"), StringConstant("4"),
                            StringConstant("5"), StringConstant("6"), StringConstant("7"), StringConstant("8")};
StringConstant s_deleteQuestion("Usunąć ");
StringConstant s_deleteMark("X"), s_addMark("+");
StringConstant s_total("RAZEM : ");
StringConstant s_saveAndLeave("WRÓĆ I ZAPISZ");

const SymbolEntry* const kLists[8] = {&v_ds1, &v_ds2, &v_ds3, &v_ds4, &v_ds5, &v_ds6, &v_ds7, &v_ds8};

constexpr double kFirstRowTop = 20;
constexpr double kActionDelay = 5;
constexpr int kAddAlarm = 1, kDeleteAlarm = 2, kSaveAlarm = 3;

// Reads the register from the database named by `loc`: each non-empty key "1"
// to "8" of the register's section into its list. A damaged database is kept
// aside and the user told, before a save can replace what did not read.
void LoadRegister(KslFrame& k) {
  DamagedDatabaseCheck damage;
  std::string database = ValueText(k.Global(v_loc));
  IniOpen(database.c_str());
  for (int list = 0; list < 8; ++list) {
    TempValue text = k.Call(f_ini_read_string, k.Var(v_lista), s_keys[list], s_empty);
    if (NotEqual(text, s_empty)) k.Call(f_ds_list_read, k.Var(*kLists[list]), text);
  }
  k.Call(f_ini_close);
  damage.TellIfDamaged(database);
}

void AddDefaultRecord(const EditorDesign& design, KslFrame& k) {
  k.Call(f_ds_list_add, k.Var(v_ds1), s_empty);
  k.Call(f_ds_list_add, k.Var(v_ds2), s_empty);
  if (design.defaultRecordFillsCarriedLists) {
    k.Call(f_ds_list_add, k.Var(v_ds5), s_empty);
    k.Call(f_ds_list_add, k.Var(v_ds6), s_empty);
  }
  k.Call(f_ds_list_add, k.Var(v_ds3), k.Call(f_date_current_datetime));
  k.Call(f_ds_list_add, k.Var(v_ds4), k.Call(f_date_current_datetime));
  if (design.defaultRecordFillsCarriedLists) {
    k.Call(f_ds_list_add, k.Var(v_ds7), k.Call(f_date_current_datetime));
    k.Call(f_ds_list_add, k.Var(v_ds8), k.Call(f_date_current_datetime));
  }
}

bool IsLastRow(KslFrame& k, const RValue& row) { return Equal(row, Subtract(ListSize(k, v_ds1), 1)); }

// A text field's prompt: an empty answer leaves the field as it is.
void EditText(KslFrame& k, const SymbolEntry& list, int prompt, const RValue& row) {
  TempValue answer = k.Call(f_get_string, k.Get(v_opi, prompt), CellText(k, ListValue(k, list, row)));
  if (NotEqual(answer, s_empty)) EditCell(k, k.Var(list), row, answer);
}

// The date a date prompt offers: today, or the field's own.
TempValue OfferedDate(const EditorDesign& design, KslFrame& k, const SymbolEntry& list, const RValue& row) {
  if (design.datePromptsOfferToday) return k.Call(f_date_current_datetime);
  return ListValue(k, list, row);
}

void EditUpperDate(const EditorDesign& design, KslFrame& k, const RValue& row) {
  TypedDate typed = AskForDate(k, k.Get(v_opi, 1), OfferedDate(design, k, v_ds3, row));
  if (!typed.Stores()) return;
  EditCell(k, k.Var(v_ds3), row, typed.value);
  if (design.upperDateFollowsIntoLower && typed.meaning == TypedDate::Meaning::Day &&
      IsToday(k, ListValue(k, v_ds4, row)))
    EditCell(k, k.Var(v_ds4), row, typed.value);
}

void EditLowerDate(const EditorDesign& design, KslFrame& k, const RValue& row) {
  TypedDate typed = AskForDate(k, k.Get(v_opi, 3), OfferedDate(design, k, v_ds4, row));
  if (typed.Stores()) EditCell(k, k.Var(v_ds4), row, typed.value);
}

void ClickUpperRow(const EditorDesign& design, KslFrame& k, const RValue& row, const RValue& top) {
  k.Line(12);
  if (MouseInBox(k, 20, top, 360, Add(top, 40))) EditText(k, v_ds1, 0, row);
  k.Line(13);
  if (MouseInBox(k, 380, top, 720, Add(top, 40))) EditUpperDate(design, k, row);
  k.Line(14);
  if (MouseInBox(k, 740, top, 780, Add(top, 40))) {
    k.Set(v_alarm, kActionDelay, kDeleteAlarm);
    k.SetVar(v_del, row);
  }
}

void ClickLowerRow(const EditorDesign& design, KslFrame& k, const RValue& row, const RValue& top) {
  TempValue rowTop = Add(top, 60);
  TempValue rowBottom = Add(top, 100);
  k.Line(16);
  if (MouseInBox(k, 20, rowTop, 360, rowBottom)) EditText(k, v_ds2, 2, row);
  k.Line(17);
  if (MouseInBox(k, 380, rowTop, 720, rowBottom)) EditLowerDate(design, k, row);
  k.Line(18);
  if (IsLastRow(k, row) && MouseInBox(k, 740, rowTop, 780, rowBottom)) k.Set(v_alarm, kActionDelay, kAddAlarm);
}

void DrawRecord(const EditorDesign& design, KslFrame& k, const RValue& row) {
  k.Line(31);
  TempValue top = SetRowTop(k, row);
  if (!RowOnScreen(top)) {  // leaves the draw state as a drawn record does
    SetTextStyle(kBlack);
    return;
  }
  k.Line(32);
  DrawSetColour(kLightGrey);
  DrawLineAcross(k, Add(top, 110));
  k.Line(33);
  TempValue upperDate = ListValue(k, v_ds3, row);
  TempValue lowerDate = ListValue(k, v_ds4, row);
  TempValue lowerTop = Add(top, 60);
  FillBox(kYellow, 20, top, 360, Add(top, 40));
  FillBox(DateBoxColour(k, upperDate), 380, top, 720, Add(top, 40));
  FillBox(kRed, 740, top, 780, Add(top, 40));
  FillBox(kLightGrey, 20, lowerTop, 360, Add(top, 100));
  FillBox(DateBoxColour(k, lowerDate), 380, lowerTop, 720, Add(top, 100));
  k.Line(34);
  bool last = IsLastRow(k, row);
  if (last) FillBox(kGreen, 740, lowerTop, 780, Add(top, 100));
  k.Line(35);
  SetTextStyle(kBlack);
  k.Line(36);
  DrawTextInBox(k, 190, Add(top, 20), Add(design.labels.upperLeft, CellText(k, ListValue(k, v_ds1, row))), 340);
  DrawTextInBox(k, 190, Add(top, 80), Add(design.labels.lowerLeft, CellText(k, ListValue(k, v_ds2, row))), 340);
  DrawTextInBox(k, 560, Add(top, 20), Add(design.labels.upperDate, DateText(k, upperDate)), 340);
  if (!design.lowerDateOnlyWhenSet || !ToBool(k.Call(f_is_undefined, lowerDate)))
    DrawTextInBox(k, 560, Add(top, 80), Add(design.labels.lowerDate, DateText(k, lowerDate)), 340);
  k.Call(f_draw_text, 760, Add(top, 20), s_deleteMark);
  if (last) k.Call(f_draw_text, 760, Add(top, 80), s_addMark);
}

void DestroyRegisterLists(KslFrame& k) {
  DestroyLists(k, {&v_ds1, &v_ds2, &v_ds3, &v_ds4, &v_ds5, &v_ds6, &v_ds7, &v_ds8});
}

// Write(lista): the register into save.ini (and a change to the menu pending).
void SaveRegister(KslFrame& k) { k.Script(ksl_Script_Write, k.Var(v_lista)); }
}  // namespace

void EditorCreate(const EditorDesign& design, const char* name, CInstance* self, CInstance* other) {
  KslFrame k(name, self, other);
  k.Line(1);
  k.Script(ksl_Script_Init, design.category);
  k.Line(2);
  k.Set(v_y, kFirstRowTop);
  k.SetVar(v_top, 0);
  k.SetVar(v_lp, 0);
  k.SetVar(v_del, 0);
  OpenScreen(k, SaveRegister);
  k.Line(3);
  for (const SymbolEntry* list : kLists) k.SetVar(*list, k.Call(f_ds_list_create));
  k.Line(4);
  LoadRegister(k);
  k.Line(5);
  k.SetVar(v_lp, ListSize(k, v_ds1));
  k.Line(6);
  if (Greater(k.Var(v_lp), 3)) k.Set(v_y, Subtract(TempValue(140), Multiply(k.Var(v_lp), kRowHeight)));
  k.Line(7);
  if (Equal(k.Var(v_lp), 0)) {
    AddDefaultRecord(design, k);
    k.SetVar(v_lp, 1);
  }
}

void EditorAddRecord(const char* name, CInstance* self, CInstance* other) {
  KslFrame k(name, self, other);
  k.Line(1);
  k.Call(f_ds_list_add, k.Var(v_ds1), s_empty);
  k.Call(f_ds_list_add, k.Var(v_ds2), s_empty);
  k.Call(f_ds_list_add, k.Var(v_ds3), k.Call(f_date_current_datetime));
  k.Call(f_ds_list_add, k.Var(v_ds4), k.Call(f_date_current_datetime));
  NoteChange(k);
}

void EditorDeleteRecord(const char* name, CInstance* self, CInstance* other) {
  KslFrame k(name, self, other);
  k.Line(1);
  if (!Greater(ListSize(k, v_ds1), 1)) return;
  k.Line(2);
  TempValue answer = k.Call(f_show_question, Add(s_deleteQuestion, CellText(k, ListValue(k, v_ds1, k.Var(v_del)))));
  k.Line(3);
  if (!Equal(answer, 1)) return;
  for (const SymbolEntry* list : {&v_ds1, &v_ds2, &v_ds3, &v_ds4}) k.Call(f_ds_list_delete, k.Var(*list), k.Var(v_del));
  NoteChange(k);
}

void EditorSaveAndLeave(const char* name, CInstance* self, CInstance* other) {
  KslFrame k(name, self, other);
  k.Line(1);
  SaveRegister(k);
  k.Line(2);
  DestroyRegisterLists(k);
}

void EditorLeaveWithoutSaving(const char* name, CInstance* self, CInstance* other) {
  KslFrame k(name, self, other);
  k.Line(1);
  if (!MayLeaveWithoutSaving(k)) return;
  GoToRoom(k, kMenuRoom);
  k.Line(2);
  DestroyRegisterLists(k);
}

void ScrollUp(const char* name, CInstance* self, CInstance* other) {
  KslFrame k(name, self, other);
  k.Line(1);
  if (Less(k.Get(v_y), 0)) k.Set(v_y, Add(k.Get(v_y), 100));
}

void ScrollDown(const char* name, CInstance* self, CInstance* other) {
  KslFrame k(name, self, other);
  k.Line(1);
  k.Set(v_y, Subtract(k.Get(v_y), 100));
}

void EditorClick(const EditorDesign& design, const char* name, CInstance* self, CInstance* other) {
  KslFrame k(name, self, other);
  k.Line(10);
  for (TempValue row = 0; Less(row, ListSize(k, v_ds1)); row = Add(row, 1)) {
    k.Line(11);
    TempValue top = SetRowTop(k, row);
    if (MouseInRows(k, top, Add(top, 40))) ClickUpperRow(design, k, row, top);
    k.Line(15);
    if (MouseInRows(k, Add(top, 60), Add(top, 100))) ClickLowerRow(design, k, row, top);
  }
  k.Line(20);
  const RValue& top = k.Var(v_top);
  if (MouseInBox(k, 520, Add(top, 120), 780, Add(top, 160))) k.Set(v_alarm, kActionDelay, kSaveAlarm);
}

void EditorDraw(const EditorDesign& design, const char* name, CInstance* self, CInstance* other) {
  KslFrame k(name, self, other);
  k.Line(30);
  for (TempValue row = 0; Less(row, ListSize(k, v_ds1)); row = Add(row, 1)) DrawRecord(design, k, row);
  k.Line(40);
  const RValue& top = k.Var(v_top);
  FillBox(kLightGrey, 520, Add(top, 120), 780, Add(top, 160));
  k.Line(41);
  k.Call(f_draw_text, 190, Add(top, 140), Add(s_total, k.Call(f_string, ListSize(k, v_ds1))));
  k.Line(42);
  DrawSetColour(kBlack);
  k.Call(f_draw_text, 650, Add(top, 140), s_saveAndLeave);
}
