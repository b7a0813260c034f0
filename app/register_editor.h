// app/register_editor.h — the register editor, one design shared by the four
// editor objects (oPers, oCars, oCovid, oLicense).
//
// An editor instance loads its register from the database named by the global
// `loc` into eight lists, draws each record as two rows of boxes, edits a field
// through a prompt when its box is clicked, adds a record with "+", deletes one
// with "X" after a question, scrolls with the wheel, and leaves by "WRÓĆ I
// ZAPISZ" (saving through Write) or Escape (discarding, after a question when
// there are unsaved changes: unsaved_changes.h). Date prompts are read as
// typed_dates.h says. Clicks only set an alarm to 5; the action runs when it
// fires. What differs between the four objects is an EditorDesign.
#pragma once

#include "app/app_symbols.h"

// The texts drawn before the four fields of a record.
struct EditorLabels {
  const StringConstant& upperLeft;
  const StringConstant& lowerLeft;
  const StringConstant& upperDate;
  const StringConstant& lowerDate;
};

// The sick-leave editor's labels, which the licences editor draws too.
extern const EditorLabels kSickLeaveLabels;

struct EditorDesign {
  double category;  // Init's argument: 1 persons, 2 cars, 3 sick leave, 4 licences
  // An empty register gets a default record that also fills ds5 to ds8.
  bool defaultRecordFillsCarriedLists;
  // Date prompts offer today's date instead of the field's own.
  bool datePromptsOfferToday;
  // Setting the upper date also sets the lower one while that is still today.
  bool upperDateFollowsIntoLower;
  // The lower date's text is left out when the cell holds no value.
  bool lowerDateOnlyWhenSet;
  const EditorLabels& labels;
};

void EditorCreate(const EditorDesign& design, const char* name, CInstance* self, CInstance* other);
void EditorAddRecord(const char* name, CInstance* self, CInstance* other);
void EditorDeleteRecord(const char* name, CInstance* self, CInstance* other);
void EditorSaveAndLeave(const char* name, CInstance* self, CInstance* other);
void EditorClick(const EditorDesign& design, const char* name, CInstance* self, CInstance* other);
void EditorDraw(const EditorDesign& design, const char* name, CInstance* self, CInstance* other);
void EditorLeaveWithoutSaving(const char* name, CInstance* self, CInstance* other);

// Wheel scrolling, shared with the upcoming-deadlines view: up stops at the top.
void ScrollUp(const char* name, CInstance* self, CInstance* other);
void ScrollDown(const char* name, CInstance* self, CInstance* other);

// The nine handlers of one editor object, each running its design.
#define KSL_EDITOR_OBJECT(object, design)                                      \
  KSL_EVENT(object, Create_0) { EditorCreate(design, __func__, self, other); } \
  KSL_EVENT(object, Alarm_1) { EditorAddRecord(__func__, self, other); }       \
  KSL_EVENT(object, Alarm_2) { EditorDeleteRecord(__func__, self, other); }    \
  KSL_EVENT(object, Alarm_3) { EditorSaveAndLeave(__func__, self, other); }    \
  KSL_EVENT(object, Mouse_60) { ScrollUp(__func__, self, other); }             \
  KSL_EVENT(object, Mouse_61) { ScrollDown(__func__, self, other); }           \
  KSL_EVENT(object, Mouse_56) { EditorClick(design, __func__, self, other); }  \
  KSL_EVENT(object, Draw_0) { EditorDraw(design, __func__, self, other); }     \
  KSL_EVENT(object, KeyPress_27) { EditorLeaveWithoutSaving(__func__, self, other); }
