// runtime/error.h — the runtime error report and VQKSLException.
//
// Every misuse of the runtime by script code goes through ReportRuntimeError with
// a printf-style message. While errors are suppressed it only records that an
// error happened, and the caller carries on with its neutral result. Otherwise it
// composes the report (the running event, the object, the message and a stack
// trace from the frame chain), writes it to the error console and, once start-up
// has finished, throws VQKSLException to unwind compiled code; before that it
// shows the error dialog and ends the game.
#pragma once

#include <memory>
#include <string>
#include <vector>

class VQObjectBase;

// What was running when an error was reported; the engine supplies it.
struct ErrorContext {
  enum class Kind { Event, RoomCreationCode };
  Kind kind = Kind::Event;
  int actionNumber = 1;
  std::string eventName = "<Unknown Event>";
  std::string objectName = "<undefined>";
  std::string roomName;
};
using ErrorContextProvider = ErrorContext (*)();
void SetErrorContextProvider(ErrorContextProvider provider);

// What the platform does for the error report.
struct ErrorHooks {
  // The "Code Error" dialog; returns 1 for Abort, 0 for Ignore.
  int (*showErrorDialog)(const std::string& text, bool allowIgnore) = nullptr;
  // Ends the game (an error before start-up finished).
  void (*endGame)() = nullptr;
};
void SetErrorHooks(const ErrorHooks& hooks);

void ReportRuntimeError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Set once the runtime's variable tables exist: from then on errors throw.
extern bool g_runtimeStarted;

// Errors are suppressed while one of these lives; ErrorOccurred tells whether one was reported.
class SuppressErrors {
 public:
  SuppressErrors();
  ~SuppressErrors();
  bool ErrorOccurred() const;

 private:
  bool savedSuppressed_;
  bool savedOccurred_;
};

// Unwinds compiled code with the report. Its struct (class "[[VQKSLException]]",
// members "message", "longMessage", "script", "line", "stacktrace" and
// "toString") is made when first asked for, so that throwing needs no memory of
// the runtime's own: a report of failed allocation can always be thrown.
class VQKSLException {
 public:
  VQKSLException(const std::string& message, const std::string& longMessage, const std::string& script,
                 const std::vector<std::string>& stackTrace);

  VQObjectBase* Struct() const;
  const std::string& Message() const { return message_; }
  const std::string& LongMessage() const { return longMessage_; }
  const std::vector<std::string>& StackTrace() const { return stackTrace_; }
  // The long message followed by the stack trace, one line each.
  std::string ReportText() const;

 private:
  mutable std::shared_ptr<VQObjectBase> exceptionStruct_;
  std::string message_;
  std::string longMessage_;
  std::string script_;
  std::vector<std::string> stackTrace_;
};

// The text of the last error reported before start-up finished.
const std::string& LastStartupError();

// The runtime's outermost handler: writes the report to the error console,
// shows the error dialog and returns the exit code (1).
int HandleUnhandledException(const VQKSLException& exception);

// Lays a message out for the error dialog: "\r\n", 43 underscores, "\r\n", then
// the message with every line break (CR, LF, CR LF, LF CR, LF LF) as one "\r\n"
// and every tab as seven spaces.
std::string LayoutErrorDialogText(const std::string& message);
