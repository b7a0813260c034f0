#include "platform/utf8_text.h"

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// Length of the well-formed sequence at `pos` and its codepoint; 0 when malformed.
size_t DecodeOne(std::string_view text, size_t pos, uint32_t& codepoint) {
  auto byte = [&](size_t i) { return uint8_t(text[pos + i]); };
  uint8_t lead = byte(0);
  size_t length = lead < 0x80             ? 1
                  : (lead & 0xE0) == 0xC0 ? 2
                  : (lead & 0xF0) == 0xE0 ? 3
                  : (lead & 0xF8) == 0xF0 ? 4
                                          : 0;
  if (length == 0 || pos + length > text.size()) return 0;
  static const uint32_t kLeadMask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  static const uint32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
  codepoint = lead & kLeadMask[length];
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codepoint = (codepoint << 6) | (byte(i) & 0x3F);
  }
  bool valid = codepoint >= kMinimum[length] && codepoint <= 0x10FFFF && (codepoint < 0xD800 || codepoint > 0xDFFF);
  return valid ? length : 0;
}

}  // namespace

std::vector<uint32_t> DecodeUtf8(std::string_view text) {
  std::vector<uint32_t> codepoints;
  for (size_t pos = 0; pos < text.size();) {
    uint32_t codepoint = 0;
    size_t length = DecodeOne(text, pos, codepoint);
    codepoints.push_back(length ? codepoint : kReplacement);
    pos += length ? length : 1;
  }
  return codepoints;
}

std::string TruncateUtf8(std::string_view text, size_t maxCharacters) {
  size_t pos = 0;
  for (size_t count = 0; pos < text.size() && count < maxCharacters; ++count) {
    uint32_t codepoint = 0;
    size_t length = DecodeOne(text, pos, codepoint);
    pos += length ? length : 1;
  }
  return std::string(text.substr(0, pos));
}
