// oLicense: the licences register (category 4, section "L4"): the licence and
// its edition (trial or paid), two dates. It draws the sick-leave editor's
// labels; its own field names appear in its prompts and window caption.
#include "app/register_editor.h"

namespace {
const EditorDesign kLicences{.category = 4,
                             .defaultRecordFillsCarriedLists = true,
                             .datePromptsOfferToday = true,
                             .upperDateFollowsIntoLower = false,
                             .lowerDateOnlyWhenSet = true,
                             .labels = kSickLeaveLabels};
}  // namespace

KSL_EDITOR_OBJECT(oLicense, kLicences)
