#include "builtins/strings.h"
#include "support/builtin_fixture.h"

namespace {
TEST(CharacterTest, LengthCountsLeadBytesAndSteppingFollowsTheLeadByteUpToTheEnd) {
  std::vector<size_t> lengths;
  for (const std::string text : {"", "12/05/2024",
                                 "Przegl\xC4\x85"
                                 "d",
                                 "\x80\xBF\xC0\xFF", "\x80\x80\x80"})
    lengths.push_back(CharacterLength(text.c_str(), text.size()));
  EXPECT_EQ(lengths, (std::vector<size_t>{0, 10, 8, 2, 0}));  // 0x80-0xBF continue a character

  const char* text =
      "a\xC4\x85\xE2\x82\xAC\xF0\x9F\x93\x85"
      "\x9F\xBFxyz";
  std::vector<long> steps;
  for (int from : {0, 1, 3, 6, 10, 11}) steps.push_back(NextCharacter(text + from) - text);
  // Continuation bytes step as 2 (bit 5 clear) and 3 (set); a cut character stops at the end.
  EXPECT_EQ(steps, (std::vector<long>{1, 3, 6, 10, 12, 14}));
  const char* cut = "\xF0\x9F";
  EXPECT_EQ(NextCharacter(cut), cut + 2);
}

}  // namespace
