#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "builtins/strings.h"

namespace {
size_t CharacterLengthByteByByte(const char* text, size_t byteLength) {
  size_t characters = 0;
  for (size_t i = 0; i < byteLength; ++i) characters += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
  return characters;
}

// A text of `byteLength` bytes mixing one- to four-byte characters, so that
// multi-byte characters straddle word boundaries at every alignment (the last
// character may be cut short).
std::string MixedText(size_t byteLength) {
  static const char* const kPieces[] = {"a", "\xC4\x85", "\xE2\x82\xAC", "\xF0\x9F\x93\x85", "Z", "\xC5\x82"};
  std::string text;
  for (size_t i = 0; text.size() < byteLength; ++i) text += kPieces[i % 6];
  text.resize(byteLength);
  return text;
}

TEST(CharacterLengthTest, WordAtATimeAgreesWithByteAtATimeForEveryAlignmentAndLength) {
  for (size_t offset = 0; offset < 8; ++offset) {
    for (size_t length = 0; length <= 64; ++length) {
      std::string text = MixedText(length);
      // An allocation that ends right after the NUL, so that a sanitizer build
      // catches any read of a word running past the text.
      char* block = static_cast<char*>(std::malloc(offset + length + 1));
      char* start = block + offset;
      std::memcpy(start, text.c_str(), length + 1);
      EXPECT_EQ(CharacterLength(start, length), CharacterLengthByteByByte(start, length))
          << "offset " << offset << ", length " << length;
      std::free(block);
    }
  }
}

TEST(CharacterLengthTest, CountsBytesThatAreNotContinuationBytes) {
  EXPECT_EQ(CharacterLength("", 0), 0u);
  EXPECT_EQ(CharacterLength("12/05/2024", 10), 10u);
  EXPECT_EQ(CharacterLength("Przegl\xC4\x85"
                            "d",
                            9),
            8u);                                          // Przegląd
  EXPECT_EQ(CharacterLength("\x80\xBF\xC0\xFF", 4), 2u);  // 0x80 and 0xBF are continuation bytes
  std::string allContinuation(40, '\x80');
  EXPECT_EQ(CharacterLength(allContinuation.c_str(), allContinuation.size()), 0u);
}

TEST(CharacterLengthTest, SteppingFollowsTheLeadByteAndStopsAtTheEnd) {
  const char* text = "a\xC4\x85\xE2\x82\xAC\xF0\x9F\x93\x85";
  EXPECT_EQ(NextCharacter(text), text + 1);
  EXPECT_EQ(NextCharacter(text + 1), text + 3);
  EXPECT_EQ(NextCharacter(text + 3), text + 6);
  EXPECT_EQ(NextCharacter(text + 6), text + 10);
  const char* continuation = "\x9F\xBFxyz";  // continuation bytes step as 2 (bit 5 clear) and 3 (set)
  EXPECT_EQ(NextCharacter(continuation), continuation + 2);
  EXPECT_EQ(NextCharacter(continuation + 1), continuation + 4);
  const char* cut = "\xF0\x9F";
  EXPECT_EQ(NextCharacter(cut), cut + 2);
}
}  // namespace
