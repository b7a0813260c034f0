// tests/fuzz/fuzz_list_text.cpp — reads any bytes as a list text (in the form
// its version selects, and in the legacy form), writes the list back and reads
// that text again: the text written from what was read must read back complete
// (never taken for damaged) and unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "builtins/ds_list.h"
#include "builtins/list_text.h"
#include "builtins/stream.h"
#include "runtime/debug_output.h"
#include "runtime/gc.h"

namespace {
// A short text may declare a count of up to a million elements, which the
// reader then pads with zeros (the unit tests cover that). Each such input costs
// seconds under the sanitizers and teaches the fuzzer nothing, so texts that
// declare more elements than this are passed over.
constexpr int32_t kMostElementsDeclared = 1 << 12;

int32_t DeclaredCount(std::string_view input) {
  CStream stream = CStream::FromText(input.substr(0, 16));
  stream.ReadInt32();
  return stream.ReadInt32();
}

void RequireStableRoundTrip(std::string_view input, bool legacy) {
  static const int32_t readId = CreateList();
  static const int32_t againId = CreateList();
  CDS_List& read = *FindList(readId);
  CDS_List& again = *FindList(againId);

  if (ReadListText(read, input, legacy) != ListTextReading::Refused) {
    std::string written = WriteListText(read);
    if (ReadListText(again, written, false) != ListTextReading::Complete) {
      std::fprintf(stderr, "a written text did not read back complete: %s\n", written.c_str());
      std::abort();
    }
    if (again.Count() != read.Count() || WriteListText(again) != written) {
      std::fprintf(stderr, "the round trip changed the text: %s\n", written.c_str());
      std::abort();
    }
  }
  read.Clear();
  again.Clear();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = SetDebugOutputFile("/dev/null");  // unsupported kinds are logged
  (void)quiet;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (DeclaredCount(input) > kMostElementsDeclared) return -1;  // -1: not added to the corpus
  RequireStableRoundTrip(input, false);
  RequireStableRoundTrip(input, true);
  GCCollect();  // frees the arrays the texts made
  return 0;
}
