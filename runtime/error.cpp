#include "runtime/error.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "runtime/array.h"
#include "runtime/debug_output.h"
#include "runtime/frames.h"
#include "runtime/gc.h"
#include "runtime/object.h"
#include "runtime/value.h"
#include "runtime/variable_names.h"

bool g_runtimeStarted = false;

namespace {
constexpr size_t kMessageBufferBytes = 1024;
constexpr size_t kReportBufferBytes = 32767;

ErrorContextProvider g_contextProvider = nullptr;
ErrorHooks g_hooks;
bool g_errorsSuppressed = false;
bool g_errorOccurred = false;
std::string g_lastStartupError;
std::vector<VQObjectBase*> g_liveExceptionStructs;

void MarkLiveExceptionStructs(GCMarker& marker) {
  for (VQObjectBase* object : g_liveExceptionStructs) object->Mark(marker);
}

std::string Format(size_t capacity, const char* format, ...) __attribute__((format(printf, 2, 3)));
std::string Format(size_t capacity, const char* format, ...) {
  std::string buffer(capacity, '\0');
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(buffer.data(), capacity, format, args);
  va_end(args);
  buffer.resize(std::min(capacity - 1, size_t(written < 0 ? 0 : written)));
  return buffer;
}

std::string ComposeLongMessage(const ErrorContext& context, const std::string& message) {
  if (context.kind == ErrorContext::Kind::RoomCreationCode)
    return Format(kReportBufferBytes, "%sFATAL ERROR in Room Creation Code for room %s\n\n\n%s\n", "",
                  context.roomName.c_str(), message.c_str());
  return Format(kReportBufferBytes, "%sERROR in action number %d\nof %s for object %s:\n%s", "", context.actionNumber,
                context.eventName.c_str(), context.objectName.c_str(), message.c_str());
}

std::vector<std::string> StackTraceLines() {
  std::vector<std::string> lines;
  for (const StackFrame* frame = g_frameChainHead; frame; frame = frame->previous) {
    if (frame->line < 0)
      lines.emplace_back(frame->name);
    else
      lines.push_back(Format(kMessageBufferBytes, "%s (line %d)", frame->name, frame->line));
  }
  return lines;
}

// The member `name` of `object` for writing; null when no memory is left for it,
// so that the report of a failed allocation still goes out, with fewer members.
RValue* MemberForWrite(VQObjectBase& object, const char* name) { return object.GetVarRefForWrite(VariableSlot(name)); }

void SetMemberString(VQObjectBase& object, const char* name, const std::string& text) {
  if (RValue* member = MemberForWrite(object, name)) SetStringCopy(*member, text);
}

// The "toString" member: the long message of the exception it is bound to.
RValue* ExceptionToString(CInstance* self, CInstance*, RValue* result, int, RValue**) {
  auto* object = reinterpret_cast<VQObjectBase*>(self);
  AssignValue(*result, *object->GetVarRef(VariableSlot("longMessage")));
  return result;
}

VQObjectBase* MakeExceptionStruct(const std::string& message, const std::string& longMessage, const std::string& script,
                                  const std::vector<std::string>& trace) {
  auto* object = new VQObjectBase(kObjectTypeException, false);
  object->className = "[[VQKSLException]]";
  g_liveExceptionStructs.push_back(object);
  GCAddRootProvider(MarkLiveExceptionStructs);
  PushContextStack(object);
  SetMemberString(*object, "message", message);
  SetMemberString(*object, "longMessage", longMessage);
  SetMemberString(*object, "script", script);
  if (RValue* line = MemberForWrite(*object, "line")) SetReal(*line, 0);
  if (RValue* stacktrace = MemberForWrite(*object, "stacktrace")) {
    MakeArray(*stacktrace, int32_t(trace.size()));
    for (size_t i = 0; i < trace.size(); ++i) SetStringCopy(stacktrace->arr->elements[i], trace[i]);
  }
  if (RValue* toString = MemberForWrite(*object, "toString")) {
    toString->obj = new CScriptRef(ExceptionToString, object);
    toString->flags = 0;
    toString->kind = VALUE_OBJECT;
  }
  PopContextStack();
  return object;
}

void DestroyExceptionStruct(VQObjectBase* object) {
  auto& live = g_liveExceptionStructs;
  live.erase(std::remove(live.begin(), live.end(), object), live.end());
  delete object;
}

std::string JoinReport(const std::string& longMessage, const std::vector<std::string>& trace) {
  std::string text = longMessage;
  for (const std::string& line : trace) text += "\n" + line;
  return text;
}
}  // namespace

void SetErrorContextProvider(ErrorContextProvider provider) { g_contextProvider = provider; }
void SetErrorHooks(const ErrorHooks& hooks) { g_hooks = hooks; }

SuppressErrors::SuppressErrors() : savedSuppressed_(g_errorsSuppressed), savedOccurred_(g_errorOccurred) {
  g_errorsSuppressed = true;
  g_errorOccurred = false;
}

SuppressErrors::~SuppressErrors() {
  g_errorsSuppressed = savedSuppressed_;
  g_errorOccurred = savedOccurred_ || g_errorOccurred;
}

bool SuppressErrors::ErrorOccurred() const { return g_errorOccurred; }

VQKSLException::VQKSLException(const std::string& message, const std::string& longMessage, const std::string& script,
                               const std::vector<std::string>& stackTrace)
    : message_(message), longMessage_(longMessage), script_(script), stackTrace_(stackTrace) {}

VQObjectBase* VQKSLException::Struct() const {
  if (!exceptionStruct_)
    exceptionStruct_.reset(MakeExceptionStruct(message_, longMessage_, script_, stackTrace_), DestroyExceptionStruct);
  return exceptionStruct_.get();
}

std::string VQKSLException::ReportText() const { return JoinReport(longMessage_, stackTrace_); }

void ReportRuntimeError(const char* format, ...) {
  std::string message(kMessageBufferBytes, '\0');
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(message.data(), kMessageBufferBytes, format, args);
  va_end(args);
  message.resize(std::min(kMessageBufferBytes - 1, size_t(written < 0 ? 0 : written)));

  if (g_errorsSuppressed) {
    g_errorOccurred = true;
    return;
  }
  ErrorContext context = g_contextProvider ? g_contextProvider() : ErrorContext{};
  std::string longMessage = ComposeLongMessage(context, message);
  std::vector<std::string> trace = StackTraceLines();
  std::string text = JoinReport(longMessage, trace);
  DebugOutput("%s\n", text.c_str());

  if (g_runtimeStarted)
    throw VQKSLException(message, longMessage, g_frameChainHead ? g_frameChainHead->name : "unknown", trace);

  g_lastStartupError = text;
  if (g_hooks.showErrorDialog) g_hooks.showErrorDialog(LayoutErrorDialogText(text), false);
  DebugOutput("ERROR!!! :: %s\n", text.c_str());
  if (g_hooks.endGame) g_hooks.endGame();
}

const std::string& LastStartupError() { return g_lastStartupError; }

int HandleUnhandledException(const VQKSLException& exception) {
  const std::string rule(92, '#');
  DebugOutput("%s\n%s\n%s\n", rule.c_str(), exception.LongMessage().c_str(), rule.c_str());
  for (const std::string& line : exception.StackTrace()) DebugOutput("%s\n", line.c_str());
  if (g_hooks.showErrorDialog) g_hooks.showErrorDialog(LayoutErrorDialogText(exception.ReportText()), false);
  return 1;
}

std::string LayoutErrorDialogText(const std::string& message) {
  std::string text = "\r\n" + std::string(43, '_') + "\r\n";
  for (size_t i = 0; i < message.size(); ++i) {
    char c = message[i];
    if (c == '\r' || c == '\n') {
      text += "\r\n";
      if (i + 1 < message.size() && (message[i + 1] == '\r' || message[i + 1] == '\n')) ++i;
    } else if (c == '\t') {
      text += "       ";
    } else {
      text += c;
    }
  }
  return text;
}
