#include "bench/support/register_database.h"

#include <cstdint>
#include <string>

#include "builtins/ini_file.h"

namespace {
constexpr double kFirstDate = 36526 + 8.0 / 24;  // 2000-01-01 08:00
constexpr double kDateSpanDays = 18262;          // to 2050-01-01

void AppendHex(std::string& text, const void* bytes, size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (size_t i = 0; i < size; ++i) {
    uint8_t byte = static_cast<const uint8_t*>(bytes)[i];
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 15]);
  }
}

void AppendHex32(std::string& text, uint32_t value) { AppendHex(text, &value, 4); }

// The list header: the format marker 303 and the element count.
std::string ListHeader(int records) {
  std::string text;
  AppendHex32(text, 303);
  AppendHex32(text, uint32_t(records));
  return text;
}
}  // namespace

std::string TextColumn(int records) {
  std::string text = ListHeader(records);
  for (int i = 0; i < records; ++i) {
    const std::string name =
        "\xC5\x81ukasz Wr\xC3\xB3"
        "bel " +
        std::to_string(i);
    AppendHex32(text, 1);
    AppendHex32(text, uint32_t(name.size()));
    AppendHex(text, name.data(), name.size());
  }
  return text;
}

std::string DateColumn(int records) {
  std::string text = ListHeader(records);
  for (int i = 0; i < records; ++i) {
    // A stride coprime with the record count scatters the dates over the span.
    const double date = kFirstDate + double((int64_t(i) * 7919) % records) * kDateSpanDays / records;
    AppendHex32(text, 0);
    AppendHex(text, &date, sizeof date);
  }
  return text;
}

std::string DatabaseText(int records) {
  IniFile ini;
  const std::string texts = TextColumn(records);
  const std::string dates = DateColumn(records);
  for (int section = 1; section <= 4; ++section)
    for (int key = 1; key <= 8; ++key)
      ini.Write("L" + std::to_string(section), std::to_string(key), (key - 1) % 4 < 2 ? texts : dates);
  return ini.Serialise();
}
