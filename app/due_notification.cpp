#include "app/due_notification.h"

#include <string>

#include "app/app_helpers.h"
#include "app/upcoming_rows.h"
#include "engine/platform.h"

namespace {
DesktopNotifier* g_dueNotifier = nullptr;

// Rows with a date on a calendar day before today.
int RowsPastTheirDate(KslFrame& k) {
  const TempValue today = 0;
  int past = 0;
  for (TempValue row = 0; Less(row, ListSize(k, v_ds1)); row = Add(row, 1))
    if (DayBefore(k, ListValue(k, v_ds3, row), today) || DayBefore(k, ListValue(k, v_ds4, row), today)) ++past;
  return past;
}
}  // namespace

void SetDueNotifier(DesktopNotifier* notifier) { g_dueNotifier = notifier; }

void NotifyDueRows(KslFrame& k) {
  if (!g_dueNotifier) return;
  // The horizon written as the view's caption writes it.
  const std::string days = ValueText(k.Call(f_string, k.Var(v_termin)));
  const std::string body = "Nadchodzące terminy (do " + days + (days == "1" ? " dnia" : " dni") +
                           "): " + ValueText(k.Call(f_string, ListSize(k, v_ds1))) +
                           "\nW tym po terminie: " + std::to_string(RowsPastTheirDate(k));
  g_dueNotifier->Notify("Kalvora", body);
}
