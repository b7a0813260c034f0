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

#include "builtins/file_io.h"
#include "builtins/ini_file.h"

namespace {
constexpr int kRecords = 10000;

void AppendHex(std::string& text, const void* bytes, size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (size_t i = 0; i < size; ++i) {
    uint8_t byte = static_cast<const uint8_t*>(bytes)[i];
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 15]);
  }
}

void AppendHex32(std::string& text, uint32_t value) { AppendHex(text, &value, 4); }

// A list of `kRecords` strings such as "Jan Kowalski 1234", or of date-time reals.
std::string ListText(bool strings) {
  std::string text;
  AppendHex32(text, 303);
  AppendHex32(text, kRecords);
  for (int i = 0; i < kRecords; ++i) {
    if (strings) {
      std::string name = "Jan Kowalski " + std::to_string(i);
      AppendHex32(text, 1);
      AppendHex32(text, uint32_t(name.size()));
      AppendHex(text, name.data(), name.size());
    } else {
      double date = 45000.5 + i;
      AppendHex32(text, 0);
      AppendHex(text, &date, sizeof date);
    }
  }
  return text;
}

const std::string& DatabaseText() {
  static const std::string text = [] {
    IniFile ini;
    const std::string names = ListText(true);
    const std::string dates = ListText(false);
    for (int section = 1; section <= 4; ++section)
      for (int key = 1; key <= 8; ++key)
        ini.Write("L" + std::to_string(section), std::to_string(key), (key - 1) % 4 < 2 ? names : dates);
    return ini.Serialise();
  }();
  return text;
}

void BM_IniParseDatabase(benchmark::State& state) {
  const std::string& text = DatabaseText();
  for (auto _ : state) benchmark::DoNotOptimize(IniFile::Parse(text));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["file_bytes"] = double(text.size());
}
BENCHMARK(BM_IniParseDatabase)->Unit(benchmark::kMillisecond);

void BM_IniSerialiseDatabase(benchmark::State& state) {
  IniFile ini = IniFile::Parse(DatabaseText());
  for (auto _ : state) benchmark::DoNotOptimize(ini.Serialise());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(DatabaseText().size()));
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
  const std::string text = IniFile::Parse(DatabaseText()).Serialise();
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
