// Fuzz target: any text through the application's date parser (the dateset
// script and the reading of a prompt's answer, with its message) and the date and
// string built-ins it stands on, also with numbers taken from the input (NaN,
// infinities and huge values included), in both time-zone modes: no crash, no
// sanitizer report.
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
// The input's bytes read as numbers from the front, zeros once used up.
struct InputNumbers {
  const uint8_t* data;
  size_t size, used = 0;
  template <typename T>
  double Next() {
    T number{};
    size_t available = std::min(sizeof number, size - used);
    std::memcpy(&number, data + used, available);
    used += available;
    return double(number);
  }
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
  KslFrame frame("fuzz_date_text", nullptr, nullptr);
  return frame.Call(SymbolEntry{name, FindFunctionIndex(name)}, args...);
}

TempValue Text(const std::string& text) {
  TempValue value;
  SetStringCopy(value, text);
  return value;
}

// A date shown, offered, moved and compared as the editors and the view do.
void UseDate(const TempValue& date, double days) {
  Call("date_date_string", date);
  if (KindOf(date) == VALUE_REAL) DayFirstDateText(date.real);
  Call("date_inc_day", date, days);
  Call("date_compare_date", date, Call("date_current_datetime"));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool kReady = (SetUpOnce(), true);
  static CInstance caller{100001, 5, 0, 0};  // the instance the script leaves its fields in
  (void)kReady;
  SuppressErrors suppress;  // a reported misuse carries on with the neutral result
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const TempValue text = Text(bytes);
  InputNumbers in{data, size};
  Call("date_set_timezone", double(int(in.Next<uint8_t>()) & 1));

  KslFrame k("fuzz_date_text", &caller, &caller);
  UseDate(k.Script(ksl_Script_dateset, text), in.Next<int32_t>());
  if (TypedDate typed = ReadTypedDate(k, text); typed.Stores()) UseDate(typed.value, in.Next<int32_t>());

  double f[6];
  for (double& field : f) field = in.Next<int32_t>();
  Call("date_valid_datetime", f[0], f[1], f[2], f[3], f[4], f[5]);
  UseDate(Call("date_create_datetime", f[0], f[1], f[2], f[3], f[4], f[5]), in.Next<double>());
  const double date = in.Next<double>();
  Call("date_date_string", date);
  DayFirstDateText(date);
  Call("date_inc_day", date, in.Next<double>());
  Call("date_compare_date", date, in.Next<double>());

  const TempValue piece = Text(bytes.substr(0, size_t(in.Next<uint8_t>()) % 4));
  Call("string_pos", piece, text);
  Call("string_count", piece, text);
  Call("string_copy", text, in.Next<int32_t>(), in.Next<int32_t>());
  Call("string_delete", text, in.Next<int32_t>(), in.Next<int32_t>());
  Call("real", text);
  Call("string", in.Next<double>());
  ReclaimArgumentScratch();
  g_debugLines.clear();
  return 0;
}
