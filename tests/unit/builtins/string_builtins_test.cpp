#include <cmath>

#include "builtins/builtin_test.h"

namespace {
using StringBuiltinsTest = BuiltinTest;

const char* const kDate = "12/05/2024";

TEST_F(StringBuiltinsTest, PositionIsTheCharacterNumberOfTheFirstMatch) {
  EXPECT_EQ(Call("string_pos", Str("/"), Str(kDate)).real, 3);
  EXPECT_EQ(Call("string_pos", Str("x"), Str("abc")).real, 0);
  EXPECT_EQ(Call("string_pos", Str(""), Str("abc")).real, 1);
  EXPECT_EQ(Call("string_pos", Str(""), Str("")).real, 1);
  EXPECT_EQ(Call("string_pos", Str("abcd"), Str("abc")).real, 0);
  EXPECT_EQ(Call("string_pos", Str("bc"), Str("abc")).real, 2);
  EXPECT_EQ(Call("string_pos", Str("b"),
                 Str("a\xC4\x85"
                     "b"))
                .real,
            3);  // aąb
  EXPECT_EQ(Call("string_pos", Str("\xC4\x85"),
                 Str("a\xC4\x85"
                     "b"))
                .real,
            2);
  // Texts of other kinds are searched in their text form: 5.5 reads 5.50.
  EXPECT_EQ(Call("string_pos", Str("0"), 5.5).real, 4);
  EXPECT_EQ(KindOf(Call("string_pos", Str("/"), Str(kDate))), uint32_t(VALUE_REAL));
}

TEST_F(StringBuiltinsTest, CountIncludesOverlappingOccurrences) {
  EXPECT_EQ(Call("string_count", Str("/"), Str(kDate)).real, 2);
  EXPECT_EQ(Call("string_count", Str("aa"), Str("aaaa")).real, 3);
  EXPECT_EQ(Call("string_count", Str("a"), Str("")).real, 0);
  EXPECT_EQ(Call("string_count", Str(""),
                 Str("a\xC4\x85"
                     "b"))
                .real,
            3);  // every character
  EXPECT_EQ(Call("string_count", Str("2024"), Str(kDate)).real, 1);
  EXPECT_EQ(Call("string_count", Str("24/"), Str(kDate)).real, 0);  // no match running past the end
}

TEST_F(StringBuiltinsTest, CopyTakesCharactersFromAnIndex) {
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), 4.0, 2.0)), "05");
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), 0.0, 2.0)), "12");
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), 1.0, 2.0)), "12");
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), -7.0, 2.0)), "12");
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), 9.0, 5.0)), "24");
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), 11.0, 1.0)), "");
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), 1.0, -1.0)), "");
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), 2147483647.0, 2147483647.0)), "");
  EXPECT_EQ(Text(Call("string_copy", Str(kDate), 3.9, 1.9)), "/");  // numbers truncate toward zero
  EXPECT_EQ(Text(Call("string_copy",
                      Str("a\xC4\x85"
                          "b"),
                      2.0, 1.0)),
            "\xC4\x85");
  EXPECT_EQ(Text(Call("string_copy", Str("\xF0\x9F\x93\x85 x"), 1.0, 1.0)), "\xF0\x9F\x93\x85");  // 4 bytes
}

TEST_F(StringBuiltinsTest, DeleteHandlesNegativeIndexAndCount) {
  EXPECT_EQ(Text(Call("string_delete", Str(kDate), 1.0, 3.0)), "05/2024");
  EXPECT_EQ(Text(Call("string_delete", Str(kDate), -1.0, 1.0)), "12/05/202");
  EXPECT_EQ(Text(Call("string_delete", Str(kDate), 3.0, -2.0)), "105/2024");
  EXPECT_EQ(Text(Call("string_delete", Str(kDate), 20.0, 1.0)), kDate);
  EXPECT_EQ(Text(Call("string_delete", Str(kDate), 0.0, 2.0)), "/05/2024");
  EXPECT_EQ(Text(Call("string_delete", Str(kDate), -20.0, 1.0)), "2/05/2024");
  EXPECT_EQ(Text(Call("string_delete", Str(kDate), 9.0, 100.0)), "12/05/20");
  EXPECT_EQ(Text(Call("string_delete", Str(kDate), 1.0, -100.0)), "2/05/2024");
  EXPECT_EQ(Text(Call("string_delete", Str(kDate), -2147483648.0, -2147483648.0)), "2/05/2024");
  EXPECT_EQ(Text(Call("string_delete", Str(""), 1.0, 1.0)), "");
  EXPECT_EQ(Text(Call("string_delete",
                      Str("a\xC4\x85"
                          "b"),
                      2.0, 1.0)),
            "ab");
}

TEST_F(StringBuiltinsTest, MalformedTextNeverStepsPastItsEnd) {
  // A lead byte promising more bytes than the text has stops at the NUL.
  EXPECT_EQ(Text(Call("string_copy", Str("a\xF0"), 2.0, 5.0)), "\xF0");
  EXPECT_EQ(Call("string_count", Str(""), Str("\xE2\x82")).real, 1);
  EXPECT_EQ(Call("string_pos", Str("b"),
                 Str("\xC4"
                     "b"))
                .real,
            0);  // b is inside the two-byte step
  EXPECT_EQ(Text(Call("string_delete", Str("\x80\x80x"), 1.0, 1.0)), "x");
  EXPECT_EQ(Text(Call("string_delete", Str("\xF0\x9F"), -1.0, -3.0)), "");
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
