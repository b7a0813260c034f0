// oLicense: the licences register (category 4, section "L4"): the licence and
// its edition (trial or paid), two dates. It draws the sick-leave editor's
// labels; its own field names appear in its prompts and window caption.
#include "app/register_editor.h"

namespace {
StringConstant s_person("Osoba : "), s_description("Opis np. Covid19 : ");
StringConstant s_leaveUntil("Chorobowe do "), s_until(" do ");

const EditorDesign kLicences{.category = 4,
                             .defaultRecordFillsCarriedLists = true,
                             .datePromptsOfferToday = true,
                             .upperDateFollowsIntoLower = false,
                             .lowerDateOnlyWhenSet = true,
                             .upperLeftLabel = s_person,
                             .lowerLeftLabel = s_description,
                             .upperDateLabel = s_leaveUntil,
                             .lowerDateLabel = s_until};
}  // namespace

KSL_EDITOR_OBJECT(oLicense, kLicences)
