// oCars: the cars register (category 2, section "L2"): the car and its
// registration plate, the dates of its examination and technical inspection.
#include "app/register_editor.h"

namespace {
StringConstant s_car("Samochód : "), s_plate("Tablica rej. : ");
StringConstant s_examinationUntil("Badania do "), s_inspectionUntil("Przegląd do ");

const EditorLabels kLabels{s_car, s_plate, s_examinationUntil, s_inspectionUntil};
const EditorDesign kCars{.category = 2,
                         .defaultRecordFillsCarriedLists = true,
                         .datePromptsOfferToday = true,
                         .upperDateFollowsIntoLower = false,
                         .lowerDateOnlyWhenSet = true,
                         .labels = kLabels};
}  // namespace

KSL_EDITOR_OBJECT(oCars, kCars)
