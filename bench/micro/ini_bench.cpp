// INI speed on a database of the size a large office reaches: four registers
// of 10,000 records, each register eight lists in their hexadecimal text form
// (about 10 MB of save.ini). Parsing, serialising, the crash-safe write of the
// whole file, and a 50 MB damaged text that must still parse in linear time.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/support/register_database.h"
#include "builtins/ini_file.h"
#include "storage/file_io.h"

namespace {
constexpr int kRecords = 10000;

const std::string& Database() {
  static const std::string text = DatabaseText(kRecords);
  return text;
}

void BM_IniParseDatabase(benchmark::State& state) {
  const std::string& text = Database();
  for (auto _ : state) benchmark::DoNotOptimize(IniFile::Parse(text));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["file_bytes"] = double(text.size());
}
BENCHMARK(BM_IniParseDatabase)->Unit(benchmark::kMillisecond);

void BM_IniSerialiseDatabase(benchmark::State& state) {
  IniFile ini = IniFile::Parse(Database());
  for (auto _ : state) benchmark::DoNotOptimize(ini.Serialise());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Database().size()));
}
BENCHMARK(BM_IniSerialiseDatabase)->Unit(benchmark::kMillisecond);

// The write that closing a changed save.ini makes: temporary file, flush, rename.
void BM_IniWriteDatabaseToDisk(benchmark::State& state) {
  char pattern[] = "/tmp/kalvora-bench-XXXXXX";
  if (!::mkdtemp(pattern)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string path = std::string(pattern) + "/save.ini";
  const std::string text = IniFile::Parse(Database()).Serialise();
  for (auto _ : state) {
    if (!WriteFileAtomically(path, text)) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_IniWriteDatabaseToDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

// 50 MB of lines without "=", one key per megabyte: each key runs over 10,000 lines.
void BM_IniParseDamaged50MB(benchmark::State& state) {
  std::string text = "[S]\n";
  const std::string line(99, 'x');
  while (text.size() < 50u << 20) {
    for (int i = 0; i < 10000; ++i) text.append(line).append("\n");
    text.append("=v\n");
  }
  for (auto _ : state) benchmark::DoNotOptimize(IniFile::Parse(text));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_IniParseDamaged50MB)->Unit(benchmark::kMillisecond);
}  // namespace
