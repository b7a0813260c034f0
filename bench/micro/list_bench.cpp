// bench/micro/list_bench.cpp — ds_list_write and ds_list_read of a 10,000-element
// register column: dates (reals with a time of day) and Polish texts.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "builtins/builtins.h"
#include "builtins/ds_list.h"
#include "runtime/function_table.h"
#include "runtime/gc.h"
#include "runtime/value.h"

namespace {
constexpr int kElements = 10000;

// Calls a registered list built-in on borrowed arguments.
class ListBuiltins {
 public:
  ListBuiltins() {
    if (FindFunctionIndex("ds_list_write") < 0) RegisterListBuiltins();
    write_ = FindFunctionIndex("ds_list_write");
    read_ = FindFunctionIndex("ds_list_read");
  }

  void Write(RValue& id, RValue& text) { Call(write_, text, {&id}); }
  void Read(RValue& id, RValue& text) {
    RValue ignored;
    Call(read_, ignored, {&id, &text});
  }

 private:
  static void Call(int index, RValue& result, std::vector<RValue*> args) {
    CallBuiltinByIndex(nullptr, nullptr, &result, int(args.size()), index, args.data());
  }

  int write_;
  int read_;
};

// A list of kElements values made by `fill`, as a list id value.
template <typename Fill>
RValue MakeList(Fill fill) {
  RValue id;
  SetReference(id, kRefTypeDsList, CreateList());
  CDS_List& list = *FindList(ListIdOf(id));
  RValue value;
  for (int i = 0; i < kElements; ++i) {
    fill(value, i);
    list.Add(value);
  }
  ReleaseValue(value);
  return id;
}

RValue DatesList() {
  return MakeList([](RValue& value, int i) { SetReal(value, 45424.0 + i * 0.731 + 8.0 / 24.0); });
}

RValue PolishTextsList() {
  return MakeList([](RValue& value, int i) { SetStringCopy(value, "Zażółć gęślą jaźń nr " + std::to_string(i)); });
}

void BenchWrite(benchmark::State& state, RValue (*makeList)()) {
  ListBuiltins builtins;
  RValue id = makeList();
  RValue text;
  for (auto _ : state) {
    builtins.Write(id, text);
    benchmark::DoNotOptimize(text.str);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * text.str->Length());
  ReleaseValue(text);
  DestroyAllLists();
}

void BenchRead(benchmark::State& state, RValue (*makeList)()) {
  ListBuiltins builtins;
  RValue source = makeList();
  RValue text;
  builtins.Write(source, text);
  RValue id;
  SetReference(id, kRefTypeDsList, CreateList());
  for (auto _ : state) {
    builtins.Read(id, text);
    benchmark::DoNotOptimize(FindList(ListIdOf(id))->Count());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * text.str->Length());
  ReleaseValue(text);
  DestroyAllLists();
  GCCollect();
}

void BM_ListWriteDates(benchmark::State& state) { BenchWrite(state, DatesList); }
void BM_ListReadDates(benchmark::State& state) { BenchRead(state, DatesList); }
void BM_ListWritePolishTexts(benchmark::State& state) { BenchWrite(state, PolishTextsList); }
void BM_ListReadPolishTexts(benchmark::State& state) { BenchRead(state, PolishTextsList); }
}  // namespace

BENCHMARK(BM_ListWriteDates)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListReadDates)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListWritePolishTexts)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListReadPolishTexts)->Unit(benchmark::kMicrosecond);
