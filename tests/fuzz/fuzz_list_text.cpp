// tests/fuzz/fuzz_list_text.cpp — reads any bytes as a list text (in the form
// its version selects, and in the legacy form), writes the list back and reads
// that text again: the text written from what was read must come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "builtins/ds_list.h"
#include "builtins/list_text.h"
#include "runtime/debug_output.h"
#include "runtime/gc.h"

namespace {
void RequireStableRoundTrip(std::string_view input, bool legacy) {
  static const int32_t readId = CreateList();
  static const int32_t againId = CreateList();
  CDS_List& read = *FindList(readId);
  CDS_List& again = *FindList(againId);

  if (ReadListText(read, input, legacy)) {
    std::string written = WriteListText(read);
    if (!ReadListText(again, written, false)) {
      std::fprintf(stderr, "a written text was refused: %s\n", written.c_str());
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
  RequireStableRoundTrip(input, false);
  RequireStableRoundTrip(input, true);
  GCCollect();  // frees the arrays the texts made
  return 0;
}
