// platform/utf8_text.h — the little UTF-8 handling the platform boundary needs:
// typed text to codepoints, and limits counted in characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The codepoints of `text`; each malformed byte sequence gives one U+FFFD.
std::vector<uint32_t> DecodeUtf8(std::string_view text);

// The first `maxCharacters` characters of `text` (never cuts a character in two).
std::string TruncateUtf8(std::string_view text, size_t maxCharacters);
