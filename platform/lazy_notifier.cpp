#include "platform/lazy_notifier.h"

#include <string>

#include "platform/module_loader.h"
#include "platform/window_system.h"
#include "runtime/debug_output.h"

namespace {
class LazyNotifier : public DesktopNotifier {
 public:
  explicit LazyNotifier(std::function<void()> activated) : activated_(std::move(activated)) {}

  void Notify(const std::string& title, const std::string& body) override {
    if (!tried_) Connect();
    if (notifier_) notifier_->Notify(title, body);
  }

 private:
  void Connect() {
    tried_ = true;
    std::string error;
    auto connect = reinterpret_cast<decltype(&KalvoraConnectNotifier)>(
        LoadModuleFunction("kalvora-window.so", "KalvoraConnectNotifier", error));
    if (!connect || !connect(activated_, notifier_, error))
      DebugOutput("Desktop notifications are off: %s\n", error.c_str());
  }

  std::function<void()> activated_;
  bool tried_ = false;
  std::unique_ptr<DesktopNotifier> notifier_;
};
}  // namespace

std::unique_ptr<DesktopNotifier> MakeLazyNotifier(std::function<void()> activated) {
  return std::make_unique<LazyNotifier>(std::move(activated));
}
