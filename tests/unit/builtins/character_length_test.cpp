#include <gtest/gtest.h>

#include <string>

#include "builtins/strings.h"

namespace {
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
