// Fuzz target: arbitrary typed text through the application's date parser (the
// dateset script and the reading of a prompt's answer, with its message) and
// the date and string built-ins it stands on, plus the same built-ins with
// numbers taken from the input (NaN, infinities and huge values included), in
// both time-zone modes. Any input must run without a crash or a sanitizer report.
#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "app/app_symbols.h"
#include "app/typed_dates.h"
#include "builtins/builtins.h"
#include "builtins/dates.h"
#include "engine/engine_builtins.h"
#include "runtime/args.h"
#include "runtime/compiled.h"
#include "runtime/debug_output.h"
#include "runtime/error.h"
#include "runtime/instance.h"

namespace {
// Hands out the input's bytes as numbers, from the front, zeros once used up.
class InputNumbers {
 public:
  InputNumbers(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  double NextDouble() {
    double number;
    Take(&number, sizeof number);
    return number;
  }
  double NextWholeNumber() {  // an int32 value
    int32_t number;
    Take(&number, sizeof number);
    return number;
  }
  uint8_t NextByte() {
    uint8_t byte;
    Take(&byte, 1);
    return byte;
  }

 private:
  void Take(void* destination, size_t bytes) {
    std::memset(destination, 0, bytes);
    size_t available = std::min(bytes, size_ - used_);
    std::memcpy(destination, data_ + used_, available);
    used_ += available;
  }

  const uint8_t* data_;
  size_t size_;
  size_t used_ = 0;
};

std::string g_debugLines;  // the messages' log lines, emptied after every input

void SetUpOnce() {
  setenv("TZ", "Europe/Warsaw", 1);
  tzset();
  std::setlocale(LC_TIME, "pl_PL.UTF-8");
  RegisterAllBuiltins();
  RegisterEngineBuiltins();
  RegisterRuntimeBuiltinVariables();
  const char* missing = nullptr;
  if (!ResolveSymbols(*KalvoraLinkRecord(), &missing)) std::abort();
  CreateStringConstants();
  SetWallClock([] { return int64_t(1715610645); });
  SetDebugOutputCapture(&g_debugLines);
}

TempValue Call(const char* name, const auto&... args) {
  SymbolEntry function{name, FindFunctionIndex(name)};
  KslFrame frame("fuzz_date_text", nullptr, nullptr);
  return frame.Call(function, args...);
}

TempValue Text(const std::string& text) {
  TempValue value;
  SetStringCopy(value, text);
  return value;
}

// The application's date parser, the `dateset` script, run for `caller`.
TempValue ParseTypedDate(CInstance& caller, const TempValue& text) {
  KslFrame k("fuzz_date_text", &caller, &caller);
  return k.Script(ksl_Script_dateset, text);
}

// The answer to a date prompt, read as the editors and the view read it.
TypedDate ReadAnswer(CInstance& caller, const TempValue& text) {
  KslFrame k("fuzz_date_text", &caller, &caller);
  return ReadTypedDate(k, text);
}

// The parsed date shown, offered, moved and compared as the editors and the view do.
void UseParsedDate(const TempValue& date, InputNumbers& numbers) {
  Call("date_date_string", date);
  if (KindOf(date) == VALUE_REAL) DayFirstDateText(date.real);
  Call("date_inc_day", date, numbers.NextWholeNumber());
  Call("date_compare_date", date, Call("date_current_datetime"));
  Call("is_undefined", date);
}

void CallDateBuiltinsWithNumbers(InputNumbers& numbers) {
  double fields[6];
  for (double& field : fields) field = numbers.NextWholeNumber();
  Call("date_valid_datetime", fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]);
  Call("date_create_datetime", fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]);
  double date = numbers.NextDouble();
  Call("date_date_string", date);
  DayFirstDateText(date);
  Call("date_inc_day", date, numbers.NextDouble());
  Call("date_compare_date", date, numbers.NextDouble());
}

void CallStringBuiltins(const TempValue& text, const std::string& bytes, InputNumbers& numbers) {
  TempValue piece = Text(bytes.substr(0, numbers.NextByte() % 4));
  Call("string_pos", piece, text);
  Call("string_count", piece, text);
  Call("string_copy", text, numbers.NextWholeNumber(), numbers.NextWholeNumber());
  Call("string_delete", text, numbers.NextWholeNumber(), numbers.NextWholeNumber());
  Call("real", text);
  Call("string", numbers.NextDouble());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool kReady = (SetUpOnce(), true);
  static CInstance caller{100001, 5, 0, 0};  // the instance the script leaves its fields in
  (void)kReady;
  SuppressErrors suppress;  // a reported misuse carries on with the neutral result

  std::string bytes(reinterpret_cast<const char*>(data), size);
  TempValue text = Text(bytes);
  InputNumbers numbers(data, size);
  Call("date_set_timezone", double(numbers.NextByte() & 1));

  UseParsedDate(ParseTypedDate(caller, text), numbers);
  if (TypedDate typed = ReadAnswer(caller, text); typed.Stores()) UseParsedDate(typed.value, numbers);
  CallDateBuiltinsWithNumbers(numbers);
  CallStringBuiltins(text, bytes, numbers);
  ReclaimArgumentScratch();
  g_debugLines.clear();
  return 0;
}
