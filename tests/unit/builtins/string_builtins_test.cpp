#include <cmath>

#include "builtins/strings.h"
#include "support/builtin_fixture.h"

namespace {
using StringBuiltinsTest = BuiltinTest;

const char* const kDate = "12/05/2024";
const std::string kAab =
    "a\xC4\x85"
    "b";  // aąb

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

// Positions and counts are in characters; a malformed lead byte never steps past
// the end of the text.
TEST_F(StringBuiltinsTest, PositionAndCountAreInCharacters) {
  struct Row {
    const char* function;
    std::string needle, text;
    double result;
  };
  for (const Row& row : std::initializer_list<Row>{
           {"string_pos", "/", kDate, 3},
           {"string_pos", "x", "abc", 0},
           {"string_pos", "", "abc", 1},
           {"string_pos", "", "", 1},
           {"string_pos", "abcd", "abc", 0},
           {"string_pos", "bc", "abc", 2},
           {"string_pos", "b", kAab, 3},
           {"string_pos", "\xC4\x85", kAab, 2},
           {"string_pos", "b",
            "\xC4"
            "b",
            0},  // b is inside the two-byte step
           {"string_count", "/", kDate, 2},
           {"string_count", "aa", "aaaa", 3},  // overlapping
           {"string_count", "a", "", 0},
           {"string_count", "", kAab, 3},  // every character
           {"string_count", "2024", kDate, 1},
           {"string_count", "24/", kDate, 0},  // no match running past the end
           {"string_count", "", "\xE2\x82", 1},
       })
    EXPECT_EQ(Call(row.function, Str(row.needle), Str(row.text)).real, row.result)
        << row.function << " \"" << row.needle << "\" in \"" << row.text << "\"";
  EXPECT_EQ(Call("string_pos", Str("0"), 5.5).real, 4);  // other kinds in their text form: 5.50
  EXPECT_EQ(KindOf(Call("string_pos", Str("/"), Str(kDate))), uint32_t(VALUE_REAL));
}

// Indexes from 1, numbers truncated toward zero, negative and huge indexes and
// counts clamped; characters of any length; malformed texts stop at their end.
TEST_F(StringBuiltinsTest, CopyAndDeleteTakeCharactersFromAnIndex) {
  struct Row {
    const char* function;
    std::string text;
    double index, count;
    std::string result;
  };
  for (const Row& row : std::initializer_list<Row>{
           {"string_copy", kDate, 4, 2, "05"},
           {"string_copy", kDate, 0, 2, "12"},
           {"string_copy", kDate, 1, 2, "12"},
           {"string_copy", kDate, -7, 2, "12"},
           {"string_copy", kDate, 9, 5, "24"},
           {"string_copy", kDate, 11, 1, ""},
           {"string_copy", kDate, 1, -1, ""},
           {"string_copy", kDate, 2147483647, 2147483647, ""},
           {"string_copy", kDate, 3.9, 1.9, "/"},
           {"string_copy", kAab, 2, 1, "\xC4\x85"},
           {"string_copy", "\xF0\x9F\x93\x85 x", 1, 1, "\xF0\x9F\x93\x85"},
           {"string_copy", "a\xF0", 2, 5, "\xF0"},
           {"string_delete", kDate, 1, 3, "05/2024"},
           {"string_delete", kDate, -1, 1, "12/05/202"},
           {"string_delete", kDate, 3, -2, "105/2024"},
           {"string_delete", kDate, 20, 1, kDate},
           {"string_delete", kDate, 0, 2, "/05/2024"},
           {"string_delete", kDate, -20, 1, "2/05/2024"},
           {"string_delete", kDate, 9, 100, "12/05/20"},
           {"string_delete", kDate, 1, -100, "2/05/2024"},
           {"string_delete", kDate, -2147483648.0, -2147483648.0, "2/05/2024"},
           {"string_delete", "", 1, 1, ""},
           {"string_delete", kAab, 2, 1, "ab"},
           {"string_delete", "\x80\x80x", 1, 1, "x"},
           {"string_delete", "\xF0\x9F", -1, -3, ""},
       })
    EXPECT_EQ(Text(Call(row.function, Str(row.text), row.index, row.count)), row.result)
        << row.function << " \"" << row.text << "\" " << row.index << " " << row.count;
}

TEST_F(StringBuiltinsTest, StringRealAndIsUndefinedConvertByKind) {
  std::string texts;
  for (const TempValue& value : {TempValue(42.0), TempValue(0.126), Str("tekst"), Undefined(), Bool(true)})
    texts += Text(Call("string", value)) + "|";
  EXPECT_EQ(texts, "42|0.13|tekst|undefined|1|");

  std::vector<double> numbers;
  for (const TempValue& value : {Str(" 42"), Str("3.5abc"), Str("012/"), Str("0b101"), Str("0b/"), TempValue(2.25)})
    numbers.push_back(Call("real", value).real);
  EXPECT_EQ(numbers, (std::vector<double>{42, 3.5, 12, 5, 0, 2.25}));  // the longest number at the start
  TempValue fromBool = Call("real", Bool(true));
  EXPECT_EQ(std::pair(KindOf(fromBool), fromBool.real), std::pair(uint32_t(VALUE_REAL), 1.0));
  EXPECT_TRUE(std::isnan(Call("real", std::nan("")).real));

  TempValue marked = Undefined();
  marked.kind |= 0x80000000u;  // a holder's mark in the high bits
  std::vector<double> undefined;
  for (const TempValue& value : {Undefined(), TempValue(0.0), Str(""), marked})
    undefined.push_back(Call("is_undefined", value).real);
  EXPECT_EQ(undefined, (std::vector<double>{1, 0, 0, 0}));
  EXPECT_EQ(KindOf(Call("is_undefined", Undefined())), uint32_t(VALUE_BOOL));
}

TEST_F(StringBuiltinsTest, WrongArgumentsAreReportedThenCarriedOnWithZero) {
  EXPECT_EQ(CallError("string_pos", {Str("/"), TempValue()}),
            "string_pos argument 2 incorrect type (unknown) expecting a String (VQGS)");
  EXPECT_EQ(CallError("string_copy", {Str(kDate), Str("x"), 1.0}),
            "string_copy argument 2 incorrect type (string) expecting a Number (VQGI32)");
  EXPECT_EQ(CallError("string_delete", {Str(kDate), 1.0, Undefined()}),
            "string_delete argument 3 incorrect type (undefined) expecting a Number (VQGI32)");
  EXPECT_EQ(CallError("real", {Str("")}), "unable to convert string \"\" to number");
  EXPECT_EQ(CallError("real", {Undefined()}), "REAL argument incorrect type undefined");
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), Str("4"), 2.0)), "05");  // a digit-led string is a number
  SuppressErrors suppress;
  EXPECT_EQ(Text(Call("string_delete", Str(kDate), 1.0, Undefined())), kDate);
  EXPECT_EQ(Call("real", Str("abc")).real, 0);
  EXPECT_TRUE(suppress.ErrorOccurred());
}
}  // namespace
