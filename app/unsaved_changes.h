// app/unsaved_changes.h — changes of the open screen that are not saved yet,
// and the questions that keep them from being lost in silence.
//
// The open screen is a register editor or the upcoming-deadlines view: the one
// controller instance of its room. Its instance variable `unsaved` is 1 from
// the first edit that stores a different value, or the first record added or
// deleted, until the screen is left; a screen opens without changes. With
// changes, Escape asks "Porzucić niezapisane zmiany?" before leaving without
// saving, and closing the window asks "Zapisać zmiany przed zamknięciem?" and
// saves as the screen's save button does when the answer is yes. Without
// changes nothing is asked.
#pragma once

#include "app/app_symbols.h"

// How a screen saves its changes, without leaving it (run with the screen as self).
using ScreenSave = void (*)(KslFrame& k);

// A screen's Create: self is the open screen, without changes; `save` saves it.
void OpenScreen(KslFrame& k, ScreenSave save);

// ds_list_replace(list, index, value), through ReplaceCell; a change when the
// cell held another value.
void EditCell(KslFrame& k, const RValue& list, const RValue& index, const RValue& value);
// A record added or deleted.
void NoteChange(KslFrame& k);

// Escape: whether self may be left without saving: it has no changes, or the
// user agreed to give them up.
bool MayLeaveWithoutSaving(KslFrame& k);

// The program's answer to a close of the window, before the game ends: the open
// screen's changes saved when the user asks for it.
void OfferToSaveBeforeClosing();
