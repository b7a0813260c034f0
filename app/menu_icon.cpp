// MenuIcon: the eight buttons of the menu (room 0). Each instance's image_index
// (0 to 7) selects both the face it draws and what a click on it does: open an
// editor or the upcoming deadlines, back up or restore save.ini, or cycle the
// reminder horizon kept in save2.ini.
#include <optional>
#include <string>

#include "app/app_helpers.h"
#include "app/backup_files.h"
#include "builtins/draw_builtins.h"
#include "builtins/ini_builtins.h"
#include "engine/engine_builtins.h"

namespace {
StringConstant s_saveIni("save.ini"), s_save2Ini("save2.ini");
StringConstant s_termin("Termin"), s_key1("1");
StringConstant s_min("MIN");
StringConstant s_menuCaption("Kalvora - Vestra-K ");
StringConstant s_backupFilter("*.vtab|*.vtab"), s_backupName("Kopia_Bazy");
StringConstant s_replaceQuestion("Czy zamienić lokalną bazę danych ?");
StringConstant s_savedTo("Plik zapisany do folderu ");
StringConstant s_savedHint(". \n\n*Jeśli go tam nie ma, sprawdź uprawnienia do zapisu.");
StringConstant s_notADatabase(
    "Wybrany plik nie jest kopią bazy danych (nie ma w nim rejestru, który dałoby się odczytać):\n");
StringConstant s_databaseUnchanged("\n\nBaza danych nie została zmieniona.");
StringConstant s_restoredFrom("Baza danych została wczytana z pliku:\n");
StringConstant s_keptAs("\n\nPoprzednią bazę zachowano jako:\n");
StringConstant s_horizonCaption("PRZYPOMINAJ OD \n");
StringConstant s_days(" DNI");
StringConstant s_horizons[5] = {StringConstant("7 DNI"), StringConstant("14 DNI"), StringConstant("1 MIESIĄC"),
                                StringConstant("2 MIESIĄCE"), StringConstant("3 MIESIĄCE")};
StringConstant s_captions[8] = {StringConstant("TERMINY DLA OSÓB"),    StringConstant("TERMINY DLA AUT"),
                                StringConstant("WCZYTAJ KOPIE BAZY"),  StringConstant("ZAPISZ KOPIE BAZY"),
                                StringConstant("NADCHODZĄCE"),         StringConstant(""),
                                StringConstant("TERMINY CHOROBOWEGO"), StringConstant("TERMINY DLA LICENCJI")};

constexpr int kRestoreButton = 2;
constexpr int kBackupButton = 3;
constexpr int kHorizonButton = 5;
constexpr int kLastHorizon = 4;
constexpr double kHorizonSaveDelay = 15;
constexpr int kViewRoom = 3;

// The rooms the other buttons open, by image_index (-1: not a room button).
constexpr int kButtonRooms[8] = {1, 2, -1, -1, kViewRoom, -1, 5, 6};

bool IsButton(KslFrame& k, int button) { return Equal(k.Get(v_image_index), button); }

// Replaces save.ini with the backup `loc` names, once the database it replaces
// is kept beside it; tells the user where that copy is. The copy replaces
// save.ini in one step, so save.ini is not deleted first: a copy that fails
// leaves the database as it was. False when nothing was replaced (the failure told).
bool ReplaceDatabase(KslFrame& k) {
  std::optional<std::string> kept = KeepBeforeRestore(s_saveIni.Text());
  if (!kept || !Equal(k.Call(f_file_copy, k.Global(v_loc), s_saveIni), 0)) return false;
  TempValue message = Add(s_restoredFrom, k.Call(f_string, k.Global(v_loc)));
  if (!kept->empty()) {
    TempValue copy;
    SetStringCopy(copy, *kept);
    message = Add(Add(message, s_keptAs), copy);
  }
  k.Call(f_show_message, message);
  return true;
}

// A restore that does not happen leaves the editors on the database: `loc` goes
// back to save.ini (an editor would otherwise show the chosen file's register
// and then save it over save.ini).
void Restore(KslFrame& k) {
  k.Line(20);
  k.SetGlobal(v_loc, k.Call(f_get_open_filename, s_backupFilter, s_backupName));
  k.Line(21);
  if (!ToBool(k.Call(f_file_exists, k.Global(v_loc)))) {
    k.SetGlobal(v_loc, s_saveIni);
    return;
  }
  k.Line(22);
  if (!HoldsRegister(ValueText(k.Global(v_loc)))) {
    k.Call(f_show_message, Add(Add(s_notADatabase, k.Call(f_string, k.Global(v_loc))), s_databaseUnchanged));
    k.SetGlobal(v_loc, s_saveIni);
    return;
  }
  k.Line(23);
  TempValue answer = k.Call(f_show_question, s_replaceQuestion);
  k.Line(24);
  if (!Equal(answer, 1) || !ReplaceDatabase(k)) k.SetGlobal(v_loc, s_saveIni);
}

void BackUp(KslFrame& k) {
  k.Line(30);
  if (!DatabaseToBackUp(ValueText(k.Global(v_loc)))) return;
  TempValue file = k.Call(f_get_save_filename, s_backupFilter, s_backupName);
  k.Line(31);
  k.Call(f_file_copy, k.Global(v_loc), file);
  k.Line(32);
  if (ToBool(k.Call(f_file_exists, file)))
    k.Call(f_show_message, Add(Add(s_savedTo, k.Call(f_string, file)), s_savedHint));
}

void CycleHorizon(KslFrame& k) {
  k.Line(40);
  if (!Equal(k.Get(v_alarm, 0), -1)) return;
  k.Line(41);
  if (Less(k.Var(v_termin), kLastHorizon))
    k.SetVar(v_termin, Add(k.Var(v_termin), 1));
  else
    k.SetVar(v_termin, 0);
  k.Line(42);
  k.Set(v_alarm, kHorizonSaveDelay, 0);
}

// The caption of the horizon: dni[termin]. A save2.ini edited by hand may hold
// another number, which the upcoming view takes as days: it is shown that way
// instead of indexing past the five captions.
TempValue HorizonText(KslFrame& k) {
  const RValue& horizon = k.Var(v_termin);
  for (int index = 0; index <= kLastHorizon; ++index)
    if (Equal(horizon, index)) return k.Call(f_string, k.Get(v_dni, index));
  return Add(k.Call(f_string, horizon), s_days);
}

TempValue Caption(KslFrame& k) {
  if (IsButton(k, kHorizonButton)) return Add(s_horizonCaption, HorizonText(k));
  for (int button = 0; button < 8; ++button)
    if (IsButton(k, button)) return TempValue(s_captions[button]);
  return TempValue(s_captions[kHorizonButton]);
}
}  // namespace

KSL_EVENT(MenuIcon, PreCreate_0) {
  KslFrame k(__func__, self, other);
  k.Line(1);
  EventInherited(self, other);
  k.Line(2);
  k.Set(v_image_speed, 0);
}

KSL_EVENT(MenuIcon, Create_0) {
  KslFrame k(__func__, self, other);
  k.Line(1);
  k.SetGlobal(v_loc, s_saveIni);
  k.Line(2);
  IniOpen(s_save2Ini.Text());
  k.SetVar(v_termin, IniReadReal(s_termin.Text(), s_key1.Text(), 0));
  k.Call(f_ini_close);
  k.Line(3);
  for (int i = 0; i < 5; ++i) k.Set(v_dni, s_horizons[i], i);
  k.Line(4);
  TempValue count = k.Call(f_parameter_count);
  k.SetGlobal(v_AT, 0);
  k.Line(5);
  if (Greater(count, 0)) {
    for (TempValue i = 0; Less(i, count); i = Add(i, 1)) {
      k.Line(6);
      if (Equal(k.Call(f_parameter_string, Add(i, 1)), s_min)) k.SetGlobal(v_AT, 1);
    }
  }
  k.Line(7);
  if (Equal(k.Global(v_AT), 1)) GoToRoom(k, kViewRoom);
  k.Line(8);
  WindowSetCaption(s_menuCaption.Text());
}

KSL_EVENT(MenuIcon, Mouse_7) {
  KslFrame k(__func__, self, other);
  for (int button = 0; button < 8; ++button) {
    k.Line(10 + button);
    if (kButtonRooms[button] >= 0 && IsButton(k, button)) GoToRoom(k, kButtonRooms[button]);
  }
  if (IsButton(k, kRestoreButton)) Restore(k);
  if (IsButton(k, kBackupButton)) BackUp(k);
  if (IsButton(k, kHorizonButton)) CycleHorizon(k);
}

KSL_EVENT(MenuIcon, Alarm_0) {
  KslFrame k(__func__, self, other);
  k.Line(1);
  IniOpen(s_save2Ini.Text());
  k.Line(2);
  IniWriteReal(s_termin.Text(), s_key1.Text(), ToReal(k.Var(v_termin)));
  k.Line(3);
  k.Call(f_ini_close);
}

KSL_EVENT(MenuIcon, Draw_0) {
  KslFrame k(__func__, self, other);
  k.Line(1);
  SetTextStyle(kWhite);
  k.Line(2);
  DrawInstanceSprite(*self);
  k.Line(3);
  k.Call(f_draw_text, k.Get(v_x), Subtract(k.Get(v_y), 120), Caption(k));
}
