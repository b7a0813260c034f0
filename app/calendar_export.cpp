#include "app/calendar_export.h"

#include <map>
#include <utility>

#include "app/app_helpers.h"
#include "app/upcoming_rows.h"

namespace {
const char* const kCategories[4] = {"Osoby", "Auta", "Chorobowe", "Licencje"};
// The dates' fields (ds3, ds4) and the indices of their prompts in `opi`.
constexpr int kDateFields[2] = {2, 3};
constexpr int kDatePrompts[2] = {1, 3};
constexpr double kFirstCalendarYear = 1970;

// The prompt `index` of `opi`, as Init set it for self, without its " : ".
std::string Label(KslFrame& k, int index) {
  const std::string prompt = ValueText(k.Get(v_opi, index));
  const size_t last = prompt.find_last_not_of(" :");
  return last == std::string::npos ? "" : prompt.substr(0, last + 1);
}

std::string Summary(const std::string& label, const std::string& first, const std::string& second) {
  std::string texts = first;
  if (!second.empty()) texts += (texts.empty() ? "" : ", ") + second;
  return texts.empty() ? label : label + ": " + texts;
}

// Appends `event` on the calendar day of `cell`, when it has one.
void AddOnDay(KslFrame& k, std::vector<CalendarEvent>& events, CalendarEvent event, const RValue& cell) {
  if (!HasDate(cell)) return;
  TempValue year = k.Call(f_date_get_year, cell);
  if (Less(year, kFirstCalendarYear)) return;
  event.year = ToInt32(year);
  event.month = ToInt32(k.Call(f_date_get_month, cell));
  event.day = ToInt32(k.Call(f_date_get_day, cell));
  events.push_back(std::move(event));
}

void AddRegisterEvents(KslFrame& k, int reg, int alarmDays, std::vector<CalendarEvent>& events) {
  k.Script(ksl_Script_Init, double(reg + 1));
  std::map<std::pair<std::string, std::string>, int> earlier;
  for (TempValue i = 0; Less(i, ListSize(k, *kSourceLists[reg][0])); i = Add(i, 1)) {
    CalendarEvent event;
    event.section = ValueText(RegisterSection(reg));
    event.firstText = ValueText(CellText(k, ListValue(k, *kSourceLists[reg][0], i)));
    event.secondText = ValueText(CellText(k, ListValue(k, *kSourceLists[reg][1], i)));
    event.occurrence = earlier[{event.firstText, event.secondText}]++;
    event.category = kCategories[reg];
    event.alarmDaysBefore = alarmDays;
    for (int date = 0; date < 2; ++date) {
      CalendarEvent dated = event;
      dated.field = kDateFields[date] + 1;
      dated.summary = Summary(Label(k, kDatePrompts[date]), event.firstText, event.secondText);
      AddOnDay(k, events, std::move(dated), ListValue(k, *kSourceLists[reg][kDateFields[date]], i));
    }
  }
}
}  // namespace

std::vector<CalendarEvent> CalendarEvents(CInstance* self) {
  KslFrame k(__func__, self, self);
  ReadHorizon(k);
  const int alarmDays = ToInt32(k.Var(v_termin));
  CreateViewLists(k);
  ReadSourceListsForCommand(k);
  std::vector<CalendarEvent> events;
  for (int reg = 0; reg < 4; ++reg) AddRegisterEvents(k, reg, alarmDays, events);
  return events;
}
