// platform/session_bus_notifier.h — desktop notifications through the
// freedesktop notification service (org.freedesktop.Notifications) on the
// session bus, spoken with GIO's D-Bus client. Part of kalvora-window.so, which
// already maps GIO through GTK, so that no other run loads it.
//
// GIO's D-Bus rather than libnotify: no library beyond what GTK brings, every
// call asynchronous (a service that is slow to start or hangs never stalls the
// window), and the bus is only ever reached where one exists. The address is
// DBUS_SESSION_BUS_ADDRESS, else the socket $XDG_RUNTIME_DIR/bus; without
// either there is no session bus, and none is ever launched. No bus, or no
// service on it: nothing is shown and the program goes on as without
// notifications, with one line on the debug output.
//
// A notification offers the service's default action ("default"); its
// ActionInvoked signal calls `activated`. The service's answers are taken on
// the main thread, by TakeDesktopNotificationAnswers, which the window's event
// pump calls every frame. A notifier that goes (the program ends) closes its
// notification, whose window is gone.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/platform.h"

class SessionBusNotifier : public DesktopNotifier {
 public:
  // Null, with the reason in `error`, when there is no session bus or it
  // cannot be reached.
  static std::unique_ptr<SessionBusNotifier> Connect(std::function<void()> activated, std::string& error);
  ~SessionBusNotifier() override;
  SessionBusNotifier(const SessionBusNotifier&) = delete;
  SessionBusNotifier& operator=(const SessionBusNotifier&) = delete;

  void Notify(const std::string& title, const std::string& body) override;
  // Runs the service's answers that have arrived (the id of the notification
  // shown, its activation), without waiting.
  void TakeAnswers();

  struct State;  // the connection and what the service answered

 private:
  explicit SessionBusNotifier(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// TakeAnswers of the live notifier, if any: for the window's event pump.
void TakeDesktopNotificationAnswers();
