// oCovid: the sick-leave register (category 3, section "L3"): the person and the
// illness, the end of the leave and a second date.
#include "app/register_editor.h"

namespace {
StringConstant s_person("Osoba : "), s_description("Opis np. Covid19 : ");
StringConstant s_leaveUntil("Chorobowe do "), s_until(" do ");
}  // namespace

const EditorLabels kSickLeaveLabels{s_person, s_description, s_leaveUntil, s_until};

namespace {
const EditorDesign kSickLeave{.category = 3,
                              .defaultRecordFillsCarriedLists = true,
                              .datePromptsOfferToday = true,
                              .upperDateFollowsIntoLower = false,
                              .lowerDateOnlyWhenSet = true,
                              .labels = kSickLeaveLabels};
}  // namespace

KSL_EDITOR_OBJECT(oCovid, kSickLeave)
