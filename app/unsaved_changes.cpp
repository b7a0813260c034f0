#include "app/unsaved_changes.h"

#include "app/app_helpers.h"
#include "engine/instances.h"
#include "runtime/instance.h"

namespace {
StringConstant s_giveUpQuestion("Porzucić niezapisane zmiany?");
StringConstant s_saveQuestion("Zapisać zmiany przed zamknięciem?");

// The screen last opened: its instance id (it is no longer in the world once
// its room was left) and how it saves.
struct OpenScreenRecord {
  int32_t instance = -1;
  ScreenSave save = nullptr;
};
OpenScreenRecord g_openScreen;

bool SameValue(const RValue& a, const RValue& b) { return KindOf(a) == KindOf(b) && Equal(a, b); }

bool HasChanges(KslFrame& k) { return ToBool(k.Var(v_unsaved)); }

bool AnsweredYes(KslFrame& k, const RValue& question) { return Equal(k.Call(f_show_question, question), 1); }
}  // namespace

void OpenScreen(KslFrame& k, ScreenSave save) {
  g_openScreen = {k.Self()->id, save};
  k.SetVar(v_unsaved, 0);
}

void EditCell(KslFrame& k, const RValue& list, const RValue& index, const RValue& value) {
  if (SameValue(k.Call(f_ds_list_find_value, list, index), value)) return;
  ReplaceCell(k, list, index, value);
  NoteChange(k);
}

void NoteChange(KslFrame& k) { k.SetVar(v_unsaved, 1); }

bool MayLeaveWithoutSaving(KslFrame& k) { return !HasChanges(k) || AnsweredYes(k, s_giveUpQuestion); }

void OfferToSaveBeforeClosing() {
  CInstance* screen = FindInstanceById(g_openScreen.instance);
  if (!screen) return;
  KslFrame k("OfferToSaveBeforeClosing", screen, screen);
  if (HasChanges(k) && AnsweredYes(k, s_saveQuestion)) g_openScreen.save(k);
}
