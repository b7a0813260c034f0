// The string built-ins on a short text (a typed date) and a long one (10 KB of
// Polish text with two-byte letters), called by index through the function
// table as compiled code calls them.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "builtins/builtins.h"
#include "runtime/compiled.h"
#include "runtime/function_table.h"

namespace {
const std::string& LongText() {
  static const std::string text = [] {
    std::string words;
    while (words.size() < 10 * 1024)
      words +=
          "Przegl\xC4\x85"
          "d techniczny samochodu, termin bada\xC5\x84 lekarskich; ";
    words.resize(10 * 1024 - 1);  // ends on a one-byte character
    return words;
  }();
  return text;
}

const char* TextFor(int64_t which) { return which == 0 ? "12/05/2024" : LongText().c_str(); }

int IndexOf(const char* name) {
  static const bool kRegistered = (RegisterDateBuiltins(), RegisterStringBuiltins(), true);
  (void)kRegistered;
  return FindFunctionIndex(name);
}

TempValue Str(const char* text) {
  TempValue value;
  SetStringCopy(value, text);
  return value;
}

// Calls the built-in `name` on (text, second, third) in a loop. The state's
// first argument picks the text: 0 short, 1 long.
void RunBuiltin(benchmark::State& state, const char* name, const TempValue& second, const TempValue& third,
                bool textFirst) {
  SymbolEntry function{name, IndexOf(name)};
  TempValue text = Str(TextFor(state.range(0)));
  KslFrame frame("string_bench", nullptr, nullptr);
  for (auto _ : state) {
    TempValue result = textFirst ? frame.Call(function, text, second, third) : frame.Call(function, second, text);
    benchmark::DoNotOptimize(result.v64);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::strlen(TextFor(state.range(0)))));
}

void BM_string_pos_absent(benchmark::State& state) { RunBuiltin(state, "string_pos", Str("#"), TempValue(), false); }
void BM_string_count(benchmark::State& state) { RunBuiltin(state, "string_count", Str("/"), TempValue(), false); }
void BM_string_copy_middle(benchmark::State& state) {
  RunBuiltin(state, "string_copy", TempValue(state.range(0) == 0 ? 4.0 : 5000.0), TempValue(2.0), true);
}
void BM_string_delete_middle(benchmark::State& state) {
  RunBuiltin(state, "string_delete", TempValue(state.range(0) == 0 ? 4.0 : 5000.0), TempValue(2.0), true);
}
}  // namespace

BENCHMARK(BM_string_pos_absent)->Arg(0)->Arg(1);
BENCHMARK(BM_string_count)->Arg(0)->Arg(1);
BENCHMARK(BM_string_copy_middle)->Arg(0)->Arg(1);
BENCHMARK(BM_string_delete_middle)->Arg(0)->Arg(1);
