// app/due_notification.h — the reminder's desktop notification. When the
// reminder (started with MIN) opens the upcoming-deadlines view with rows due,
// the desktop is told too: title "Kalvora", a body in Polish with the number
// of rows due within the horizon and how many of them hold a date already past
// (a calendar day before today), for example
//   Nadchodzące terminy (do 7 dni): 3
//   W tym po terminie: 1
// Activating the notification brings the window to the front (the platform's
// notifier). With nothing due the program ends at once and sends none.
#pragma once

#include "app/app_symbols.h"

class DesktopNotifier;

// The notifier the reminder uses, or null for none; set at start-up.
void SetDueNotifier(DesktopNotifier* notifier);

// Self is the view, its rows selected.
void NotifyDueRows(KslFrame& k);
