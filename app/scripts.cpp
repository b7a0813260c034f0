// The application's three scripts: Init fills the register descriptors of the
// calling editor, Write saves its register to save.ini and returns to the menu,
// dateset reads a date the user typed. Each runs for the instance that calls it:
// its unprefixed variables are that instance's.
#include "app/app_helpers.h"
#include "builtins/draw_builtins.h"
#include "builtins/ini_builtins.h"

namespace {
StringConstant s_firm("Vestra-K - Kalvora");
StringConstant s_saveIni("save.ini");
StringConstant s_slash("/"), s_dash("-"), s_colon(":"), s_dot(".");
StringConstant s_zero("0");
StringConstant s_keys[8] = {StringConstant("1"), StringConstant("2"), StringConstant("3"), StringConstant("4"),
                            StringConstant("5"), StringConstant("6"), StringConstant("7"), StringConstant("8")};

// What Init writes for one register (category 1 to 4).
struct RegisterDescriptor {
  StringConstant title;
  StringConstant prompts[4];
  StringConstant section;
};

RegisterDescriptor g_registers[4] = {
    {StringConstant(" Osobowe"),
     {StringConstant("ID : "), StringConstant("Badania : "), StringConstant("Osoba : "),
      StringConstant("Uprawnienia : ")},
     StringConstant("L1")},
    {StringConstant(" dla Aut"),
     {StringConstant("Samochód : "), StringConstant("Badania : "), StringConstant("Tablica rej. : "),
      StringConstant("Przegląd : ")},
     StringConstant("L2")},
    {StringConstant(" Chorobowego"),
     {StringConstant("Osoba : "), StringConstant("Chorobowe : "), StringConstant("Choroba : "),
      StringConstant("Termin : ")},
     StringConstant("L3")},
    {StringConstant(" Licencji"),
     {StringConstant("Licencja : "), StringConstant("Termin : "), StringConstant("Trial / Pro : "),
      StringConstant("Termin : ")},
     StringConstant("L4")},
};

constexpr double kFirstFourDigitYear = 1000;

const SymbolEntry* const kRegisterLists[8] = {&v_ds1, &v_ds2, &v_ds3, &v_ds4, &v_ds5, &v_ds6, &v_ds7, &v_ds8};

void WriteDescriptor(KslFrame& k, const RegisterDescriptor& reg) {
  k.SetVar(v_tit, reg.title);
  for (int i = 0; i < 4; ++i) k.Set(v_opi, reg.prompts[i], i);
  k.SetVar(v_lista, reg.section);
}

// real("0" + string_copy(text, 1, count)): the number a field of the text starts with.
TempValue LeadingNumber(KslFrame& k, const RValue& text, double count) {
  return k.Call(f_real, Add(s_zero, k.Call(f_string_copy, text, 1.0, count)));
}
}  // namespace

RValue* ksl_Script_Init(CInstance* self, CInstance* other, RValue* result, int argc, RValue** argv) {
  KslFrame k("ksl_Script_Init", self, other);
  ScriptArgs args(argc, argv);
  k.Line(1);
  k.SetVar(v_firm, s_firm);
  k.Line(2);
  for (int category = 1; category <= 4; ++category) {
    if (Equal(args[0], category)) {
      WriteDescriptor(k, g_registers[category - 1]);
      break;
    }
  }
  k.Line(30);
  WindowSetCaption(ValueText(Add(k.Call(f_string, k.Var(v_firm)), k.Call(f_string, k.Var(v_tit)))));
  return result;
}

RValue* ksl_Script_Write(CInstance* self, CInstance* other, RValue* result, int argc, RValue** argv) {
  KslFrame k("ksl_Script_Write", self, other);
  ScriptArgs args(argc, argv);
  k.Line(1);
  IniOpen(s_saveIni.Text());
  for (int list = 0; list < 8; ++list) {
    k.Line(2);
    k.Call(f_ini_write_string, args[0], s_keys[list], k.Call(f_ds_list_write, k.Var(*kRegisterLists[list])));
    k.Line(3);
    k.Call(f_ds_list_clear, k.Var(*kRegisterLists[list]));
  }
  k.Line(5);
  k.Call(f_ini_close);
  k.Line(6);
  GoToRoom(k, kMenuRoom);
  return result;
}

RValue* ksl_Script_dateset(CInstance* self, CInstance* other, RValue* result, int argc, RValue** argv) {
  KslFrame k("ksl_Script_dateset", self, other);
  ScriptArgs args(argc, argv);
  k.Line(1);
  TempValue text(args[0]);
  TempValue separator(s_slash);
  TempValue date = k.Call(f_date_current_datetime);
  k.Line(2);
  if (Greater(k.Call(f_string_count, s_dash, text), 1)) separator = s_dash;
  k.Line(3);
  if (Greater(k.Call(f_string_count, s_colon, text), 1)) separator = s_colon;
  k.Line(4);
  if (Greater(k.Call(f_string_count, s_dot, text), 1)) separator = s_dot;
  k.Line(5);
  if (NotEqual(k.Call(f_string_count, separator, text), 2)) return result;

  k.Line(6);
  TempValue position = k.Call(f_string_pos, separator, text);
  k.SetVar(v_da, LeadingNumber(k, text, ToReal(position)));
  text = k.Call(f_string_delete, text, 1.0, position);
  k.Line(7);
  position = k.Call(f_string_pos, separator, text);
  k.SetVar(v_mo, LeadingNumber(k, text, ToReal(position)));
  text = k.Call(f_string_delete, text, 1.0, position);
  k.Line(8);
  k.SetVar(v_yr, LeadingNumber(k, text, 5));

  k.Line(9);
  // A first field above 2000 is the year, written first. Otherwise a year of
  // four digits is taken as written, and a shorter one means 20xx (24: 2024).
  if (Greater(k.Var(v_da), 2000)) {
    TempValue year = k.Var(v_da);
    k.SetVar(v_da, k.Var(v_yr));
    k.SetVar(v_yr, year);
  } else if (Less(k.Var(v_yr), kFirstFourDigitYear)) {
    k.Line(10);
    k.SetVar(v_yr, Add(k.Var(v_yr), 2000));
  }
  k.Line(11);
  if (ToBool(k.Call(f_date_valid_datetime, k.Var(v_yr), k.Var(v_mo), k.Var(v_da), 8.0, 0.0, 0.0))) {
    k.Line(12);
    date = k.Call(f_date_create_datetime, k.Var(v_yr), k.Var(v_mo), k.Var(v_da), 8.0, 0.0, 0.0);
  }
  k.Line(13);
  AssignValue(*result, date);
  return result;
}

RValue* ksl_GlobalScript_dateset(CInstance* self, CInstance*, RValue* result) {
  return BindScriptMethod(self, v_dateset, ksl_Script_dateset, result);
}

RValue* ksl_GlobalScript_Init(CInstance* self, CInstance*, RValue* result) {
  return BindScriptMethod(self, v_Init, ksl_Script_Init, result);
}

RValue* ksl_GlobalScript_Write(CInstance* self, CInstance*, RValue* result) {
  return BindScriptMethod(self, v_Write, ksl_Script_Write, result);
}
