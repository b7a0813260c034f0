// oPers: the persons register (category 1, section "L1"): an identifier and a
// person, the due dates of the medical examination and of the qualifications.
// Setting the examination date also sets the qualifications date while that is
// still today, as it is on a new record.
#include "app/register_editor.h"

namespace {
StringConstant s_identifier("Identyfikator : "), s_person("Osoba : ");
StringConstant s_examinationUntil("Badania do "), s_qualificationsUntil("Uprawnienia do ");

const EditorLabels kLabels{s_identifier, s_person, s_examinationUntil, s_qualificationsUntil};
const EditorDesign kPersons{.category = 1,
                            .defaultRecordFillsCarriedLists = false,
                            .datePromptsOfferToday = false,
                            .upperDateFollowsIntoLower = true,
                            .lowerDateOnlyWhenSet = false,
                            .labels = kLabels};
}  // namespace

KSL_EDITOR_OBJECT(oPers, kPersons)
