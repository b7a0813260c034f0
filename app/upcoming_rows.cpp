#include "app/upcoming_rows.h"

#include "app/app_helpers.h"
#include "app/damaged_database.h"
#include "builtins/ini_builtins.h"

namespace {
StringConstant s_empty("");
StringConstant s_saveIni("save.ini");
StringConstant s_save2Ini("save2.ini"), s_termin("Termin"), s_key1("1");
StringConstant s_sections[4] = {StringConstant("L1"), StringConstant("L2"), StringConstant("L3"), StringConstant("L4")};
StringConstant s_keys[4] = {StringConstant("1"), StringConstant("2"), StringConstant("3"), StringConstant("4")};
StringConstant s_header("Identyfikator\tNazwa/Osoba\tTermin Badania\tPrzeglad/Uprawnienia\n");

// The stored horizon index and the number of days it stands for.
constexpr double kHorizonDays[5] = {7, 14, 31, 62, 93};
constexpr double kCarsRegister = 1;

void AppendRow(KslFrame& k, int reg, const RValue& index) {
  for (int field = 0; field < 4; ++field)
    k.Call(f_ds_list_add, k.Var(*kRowLists[field]), ListValue(k, *kSourceLists[reg][field], index));
  k.Call(f_ds_list_add, k.Var(v_ds5), index);
  k.Call(f_ds_list_add, k.Var(v_ds6), double(reg));
}
}  // namespace

const SymbolEntry* const kSourceLists[4][4] = {{&v_ds11, &v_ds12, &v_ds13, &v_ds14},
                                               {&v_ds21, &v_ds22, &v_ds23, &v_ds24},
                                               {&v_ds31, &v_ds32, &v_ds33, &v_ds34},
                                               {&v_ds41, &v_ds42, &v_ds43, &v_ds44}};
const SymbolEntry* const kRowLists[6] = {&v_ds1, &v_ds2, &v_ds3, &v_ds4, &v_ds5, &v_ds6};

const RValue& RegisterSection(int reg) { return s_sections[reg]; }
const RValue& FieldKey(int field) { return s_keys[field]; }

void ReadHorizon(KslFrame& k) {
  IniOpen(s_save2Ini.Text());
  k.SetVar(v_termin, IniReadReal(s_termin.Text(), s_key1.Text(), 0));
  k.Call(f_ini_close);
  for (int index = 0; index < 5; ++index)
    if (Equal(k.Var(v_termin), index)) k.SetVar(v_termin, kHorizonDays[index]);
}

void CreateViewLists(KslFrame& k) {
  for (const SymbolEntry* list : kRowLists) k.SetVar(*list, k.Call(f_ds_list_create));
  for (const auto& source : kSourceLists)
    for (const SymbolEntry* list : source) k.SetVar(*list, k.Call(f_ds_list_create));
}

void ReadSourceLists(KslFrame& k) {
  IniOpen(ValueText(k.Global(v_loc)).c_str());
  for (int reg = 0; reg < 4; ++reg) {
    for (int field = 0; field < 4; ++field) {
      TempValue text = k.Call(f_ini_read_string, RegisterSection(reg), FieldKey(field), s_empty);
      if (NotEqual(text, s_empty)) k.Call(f_ds_list_read, k.Var(*kSourceLists[reg][field]), text);
    }
  }
  k.Call(f_ini_close);
}

void ReadSourceListsForCommand(KslFrame& k) {
  k.SetGlobal(v_loc, s_saveIni);
  DamagedDatabaseCheck damage;
  ReadSourceLists(k);
  damage.WarnIfDamaged(s_saveIni.Text());
}

void ClearRows(KslFrame& k) {
  for (const SymbolEntry* list : kRowLists) k.Call(f_ds_list_clear, k.Var(*list));
}

bool DayBefore(KslFrame& k, const RValue& cell, const RValue& days) {
  if (!HasDate(cell)) return false;
  TempValue day = k.Call(f_date_inc_day, k.Call(f_date_current_datetime), days);
  return Equal(k.Call(f_date_compare_date, cell, day), -1);
}

void SelectRows(KslFrame& k) {
  for (int reg = 0; reg < 4; ++reg) {
    for (TempValue i = 0; Less(i, ListSize(k, *kSourceLists[reg][0])); i = Add(i, 1)) {
      k.Line(20);
      if (DayBefore(k, ListValue(k, *kSourceLists[reg][2], i), k.Var(v_termin)) ||
          DayBefore(k, ListValue(k, *kSourceLists[reg][3], i), k.Var(v_termin)))
        AppendRow(k, reg, i);
    }
  }
}

const RValue& RowTableHeader() { return s_header; }

std::array<TempValue, 4> RowColumns(KslFrame& k, const RValue& row) {
  bool car = Equal(ListValue(k, v_ds6, row), kCarsRegister);
  return {CellText(k, ListValue(k, car ? v_ds1 : v_ds2, row)), CellText(k, ListValue(k, car ? v_ds2 : v_ds1, row)),
          DateText(k, ListValue(k, v_ds3, row)), DateText(k, ListValue(k, v_ds4, row))};
}
