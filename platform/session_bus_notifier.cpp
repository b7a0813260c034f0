#include "platform/session_bus_notifier.h"

#include <gio/gio.h>

#include <cstring>

#include "runtime/debug_output.h"

namespace {
constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kApplication = "Kalvora";
constexpr const char* kIcon = "kalvora";
constexpr const char* kDesktopEntry = "kalvora";
constexpr const char* kDefaultAction = "default";
constexpr const char* kDefaultActionLabel = "Pokaż terminy";
constexpr gint kServerDecidesTimeout = -1;

SessionBusNotifier* g_liveNotifier = nullptr;

// The session bus's address; empty when the session has none.
std::string SessionBusAddress() {
  if (const char* address = g_getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return address;
  const char* runtime = g_getenv("XDG_RUNTIME_DIR");
  if (!runtime || !*runtime) return "";
  gchar* socket = g_build_filename(runtime, "bus", nullptr);
  std::string address;
  if (g_file_test(socket, G_FILE_TEST_EXISTS)) {
    gchar* escaped = g_dbus_address_escape_value(socket);
    address = std::string("unix:path=") + escaped;
    g_free(escaped);
  }
  g_free(socket);
  return address;
}

std::string Consume(GError* error) {
  std::string message = error ? error->message : "unknown error";
  g_clear_error(&error);
  return message;
}
}  // namespace

// Every callback runs in `context`, which only TakeAnswers (and the
// destructor) iterates, on the main thread.
struct SessionBusNotifier::State {
  GMainContext* context = nullptr;
  GDBusConnection* bus = nullptr;
  guint subscription = 0;
  std::function<void()> activated;
  guint32 id = 0;  // the service's id of the notification shown; 0 before its answer

  ~State() {
    if (subscription) g_dbus_connection_signal_unsubscribe(bus, subscription);
    if (bus) g_object_unref(bus);
    g_main_context_unref(context);
  }

  // Runs `call` with `context` as the thread's default, so that GIO delivers
  // its answers there.
  template <typename Call>
  void InContext(Call call) {
    g_main_context_push_thread_default(context);
    call();
    g_main_context_pop_thread_default(context);
  }

  static void Shown(GObject* bus, GAsyncResult* result, gpointer data) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error);
    if (!reply) {
      DebugOutput("Desktop notification not shown: %s\n", Consume(error).c_str());
      return;
    }
    g_variant_get(reply, "(u)", &static_cast<State*>(data)->id);
    g_variant_unref(reply);
  }

  static void ActionInvoked(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                            GVariant* parameters, gpointer data) {
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(us)"))) return;
    guint32 id = 0;
    const gchar* action = nullptr;
    g_variant_get(parameters, "(u&s)", &id, &action);
    auto* state = static_cast<State*>(data);
    if (state->id != 0 && id == state->id && std::strcmp(action, kDefaultAction) == 0) state->activated();
  }
};

std::unique_ptr<SessionBusNotifier> SessionBusNotifier::Connect(std::function<void()> activated, std::string& error) {
  const std::string address = SessionBusAddress();
  if (address.empty()) {
    error = "no session bus (DBUS_SESSION_BUS_ADDRESS is unset and $XDG_RUNTIME_DIR/bus does not exist)";
    return nullptr;
  }
  auto state = std::make_unique<State>();
  state->context = g_main_context_new();
  state->activated = std::move(activated);
  GError* failure = nullptr;
  state->InContext([&] {
    const auto flags = GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                            G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    state->bus = g_dbus_connection_new_for_address_sync(address.c_str(), flags, nullptr, nullptr, &failure);
    if (state->bus)
      state->subscription =
          g_dbus_connection_signal_subscribe(state->bus, nullptr, kService, "ActionInvoked", kPath, nullptr,
                                             G_DBUS_SIGNAL_FLAGS_NONE, State::ActionInvoked, state.get(), nullptr);
  });
  if (!state->bus) {
    error = "cannot reach the session bus at " + address + ": " + Consume(failure);
    return nullptr;
  }
  return std::unique_ptr<SessionBusNotifier>(new SessionBusNotifier(std::move(state)));
}

SessionBusNotifier::SessionBusNotifier(std::unique_ptr<State> state) : state_(std::move(state)) {
  g_liveNotifier = this;
}

SessionBusNotifier::~SessionBusNotifier() {
  g_liveNotifier = nullptr;
  TakeAnswers();
  if (state_->id != 0)
    g_dbus_connection_call(state_->bus, kService, kPath, kService, "CloseNotification",
                           g_variant_new("(u)", state_->id), nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, nullptr,
                           nullptr, nullptr);
  g_dbus_connection_flush_sync(state_->bus, nullptr, nullptr);
}

void SessionBusNotifier::Notify(const std::string& title, const std::string& body) {
  GVariantBuilder actions, hints;
  g_variant_builder_init(&actions, G_VARIANT_TYPE("as"));
  g_variant_builder_add(&actions, "s", kDefaultAction);
  g_variant_builder_add(&actions, "s", kDefaultActionLabel);
  g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
  g_variant_builder_add(&hints, "{sv}", "desktop-entry", g_variant_new_string(kDesktopEntry));
  g_variant_builder_add(&hints, "{sv}", "urgency", g_variant_new_byte(1));  // normal
  GVariant* arguments = g_variant_new("(susssasa{sv}i)", kApplication, guint32(0), kIcon, title.c_str(), body.c_str(),
                                      &actions, &hints, kServerDecidesTimeout);
  state_->InContext([&] {
    g_dbus_connection_call(state_->bus, kService, kPath, kService, "Notify", arguments, G_VARIANT_TYPE("(u)"),
                           G_DBUS_CALL_FLAGS_NONE, -1, nullptr, State::Shown, state_.get());
  });
}

void SessionBusNotifier::TakeAnswers() {
  while (g_main_context_iteration(state_->context, FALSE)) {
  }
}

void TakeDesktopNotificationAnswers() {
  if (g_liveNotifier) g_liveNotifier->TakeAnswers();
}
