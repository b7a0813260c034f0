#include <cmath>

#include "support/builtin_fixture.h"

namespace {
using StringBuiltinsTest = BuiltinTest;

const char* const kDate = "12/05/2024";

const std::string kAab =
    "a\xC4\x85"
    "b";  // aąb

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
  // Texts of other kinds are searched in their text form: 5.5 reads 5.50.
  EXPECT_EQ(Call("string_pos", Str("0"), 5.5).real, 4);
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

TEST_F(StringBuiltinsTest, StringGivesTheTextForm) {
  EXPECT_EQ(Text(Call("string", 42.0)), "42");
  EXPECT_EQ(Text(Call("string", 0.126)), "0.13");
  EXPECT_EQ(Text(Call("string", Str("tekst"))), "tekst");
  EXPECT_EQ(Text(Call("string", Undefined())), "undefined");
  TempValue flag;
  SetBool(flag, true);
  EXPECT_EQ(Text(Call("string", flag)), "1");
}

TEST_F(StringBuiltinsTest, RealReadsTheLongestNumberAtTheStart) {
  EXPECT_EQ(Call("real", Str(" 42")).real, 42);
  EXPECT_EQ(Call("real", Str("3.5abc")).real, 3.5);
  EXPECT_EQ(Call("real", Str("012/")).real, 12);
  EXPECT_EQ(Call("real", Str("0b101")).real, 5);
  EXPECT_EQ(Call("real", Str("0b/")).real, 0);  // no binary digits: the leading 0 is the number
  EXPECT_EQ(Call("real", 2.25).real, 2.25);
  TempValue flag;
  SetBool(flag, true);
  TempValue fromBool = Call("real", flag);
  EXPECT_EQ(KindOf(fromBool), uint32_t(VALUE_REAL));
  EXPECT_EQ(fromBool.real, 1);
  EXPECT_TRUE(std::isnan(Call("real", std::nan("")).real));
  EXPECT_RUNTIME_ERROR(Call("real", Str("abc")), "unable to convert string \"abc\" to number");
  EXPECT_RUNTIME_ERROR(Call("real", Str("")), "unable to convert string \"\" to number");
  EXPECT_RUNTIME_ERROR(Call("real", Undefined()), "REAL argument incorrect type undefined");
  {
    SuppressErrors suppress;
    EXPECT_EQ(Call("real", Str("abc")).real, 0);
    EXPECT_TRUE(suppress.ErrorOccurred());
  }
}

TEST_F(StringBuiltinsTest, IsUndefinedTestsTheWholeKindWord) {
  TempValue yes = Call("is_undefined", Undefined());
  EXPECT_EQ(KindOf(yes), uint32_t(VALUE_BOOL));
  EXPECT_EQ(yes.real, 1);
  EXPECT_EQ(Call("is_undefined", 0.0).real, 0);
  EXPECT_EQ(Call("is_undefined", Str("")).real, 0);
  TempValue marked = Undefined();
  marked.kind |= 0x80000000u;  // a holder's mark in the high bits
  EXPECT_EQ(Call("is_undefined", marked).real, 0);
}

TEST_F(StringBuiltinsTest, WrongArgumentKindsNameTheFunctionAndArgument) {
  TempValue unset;
  EXPECT_RUNTIME_ERROR(Call("string_pos", Str("/"), unset),
                       "string_pos argument 2 incorrect type (unknown) expecting a String (VQGS)");
  EXPECT_RUNTIME_ERROR(Call("string_copy", Str(kDate), Str("x"), 1.0),
                       "string_copy argument 2 incorrect type (string) expecting a Number (VQGI32)");
  EXPECT_RUNTIME_ERROR(Call("string_delete", Str(kDate), 1.0, Undefined()),
                       "string_delete argument 3 incorrect type (undefined) expecting a Number (VQGI32)");
  {
    SuppressErrors suppress;  // reported, then carried on with 0 for the count
    EXPECT_EQ(Text(Call("string_delete", Str(kDate), 1.0, Undefined())), kDate);
    EXPECT_TRUE(suppress.ErrorOccurred());
  }
  // A digit-led string is a number to the int32 getter.
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), Str("4"), 2.0)), "05");
}
}  // namespace
