// oPers: the persons register (category 1, section "L1"): an identifier and a
// person, the due dates of the medical examination and of the qualifications.
// Setting the examination date also sets the qualifications date while that is
// still today, as it is on a new record.
#include "app/register_editor.h"

namespace {
StringConstant s_identifier("Identyfikator : "), s_person("Osoba : ");
StringConstant s_examinationUntil("Badania do "), s_qualificationsUntil("Uprawnienia do ");

const EditorDesign kPersons{.category = 1,
                            .defaultRecordFillsCarriedLists = false,
                            .datePromptsOfferToday = false,
                            .upperDateFollowsIntoLower = true,
                            .lowerDateOnlyWhenSet = false,
                            .upperLeftLabel = s_identifier,
                            .lowerLeftLabel = s_person,
                            .upperDateLabel = s_examinationUntil,
                            .lowerDateLabel = s_qualificationsUntil};
}  // namespace

KSL_EDITOR_OBJECT(oPers, kPersons)
