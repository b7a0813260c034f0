#include <cmath>
#include <limits>
#include <utility>

#include "runtime/array.h"
#include "runtime_fixture.h"

namespace {
using ValueTest = RuntimeTest;

std::string TextOf(double number) { return ValueText(TempValue(number)); }

TEST_F(ValueTest, NumbersPrintAsIntegersOrWithTwoDecimals) {
  EXPECT_EQ(TextOf(5), "5");
  EXPECT_EQ(TextOf(5.5), "5.50");
  EXPECT_EQ(TextOf(1.0 / 3.0), "0.33");
  EXPECT_EQ(TextOf(-0.004), "-0.00");
  EXPECT_EQ(TextOf(-0.0), "0");
  EXPECT_EQ(TextOf(2.999), "3.00");
  EXPECT_EQ(TextOf(1000000), "1000000");
  EXPECT_EQ(TextOf(1e15), "1000000000000000");
  EXPECT_EQ(TextOf(9.22e18), "9220000000000000000");
  EXPECT_EQ(TextOf(-0x1p63), "-9223372036854775808");
  EXPECT_EQ(TextOf(0x1p63), "9223372036854775808.00");  // beyond the 64-bit range
  EXPECT_EQ(TextOf(1e20), "100000000000000000000.00");
  EXPECT_EQ(TextOf(std::nan("")), "NaN");
  EXPECT_EQ(TextOf(INFINITY), "inf");
  EXPECT_EQ(TextOf(-INFINITY), "-inf");
}

TEST_F(ValueTest, OtherKindsHaveTheirTextForms) {
  EXPECT_EQ(ValueText(Bool(true)), "1");
  EXPECT_EQ(ValueText(Bool(false)), "0");
  EXPECT_EQ(ValueText(Undefined()), "undefined");
  TempValue list;
  SetReference(list, kRefTypeDsList, 3);
  EXPECT_EQ(ValueText(list), "ref ds_list 3");
  TempValue integer;
  SetInt32(integer, -7);
  EXPECT_EQ(ValueText(integer), "-7");
  TempValue nullPointer;
  nullPointer.kind = VALUE_PTR;
  EXPECT_EQ(ValueText(nullPointer), "null");
  EXPECT_EQ(ValueText(Str("Zażółć")), "Zażółć");
  EXPECT_RUNTIME_ERROR(ValueText(RValue()), "STRING argument is unset");
}

TEST_F(ValueTest, ArraysPrintNestedWithQuotedStringsAndStopAtRecursion) {
  TempValue outer;
  MakeArray(outer, 3);
  SetReal(outer.arr->elements[0], 1);
  SetStringCopy(outer.arr->elements[1], "a b");
  MakeArray(outer.arr->elements[2], 2);
  SetStringCopy(outer.arr->elements[2].arr->elements[0], "x");
  SetReal(outer.arr->elements[2].arr->elements[1], 2.5);
  EXPECT_EQ(ValueText(outer), "[ 1,\"a b\",[ \"x\",2.50 ] ]");

  TempValue self;
  MakeArray(self, 2);
  SetReal(self.arr->elements[0], 7);
  CopyValue(self.arr->elements[1], self);  // the array holds itself
  EXPECT_EQ(ValueText(self), "[ 7,\"Warning: recursive array found\" ]");
  ReleaseValue(self.arr->elements[1]);
}

TEST_F(ValueTest, ParseNumberReadsTheLongestNumericPrefix) {
  struct Case {
    const char* text;
    bool read;
    double number;
  };
  for (const Case& c :
       {Case{"12abc", true, 12}, Case{"0b101", true, 5}, Case{"0b/", true, 0}, Case{"   7", true, 7},
        Case{"ref 42", true, 42}, Case{"3.5abc", true, 3.5}, Case{"abc", false, 0}, Case{"", false, 0}}) {
    double number = 0;
    EXPECT_EQ(ParseNumber(c.text, number), c.read) << c.text;
    EXPECT_EQ(number, c.number) << c.text;  // "0b/": no binary digits, the leading 0
  }
  for (auto [text, value] : {std::pair{"0x1F", 31}, {"0b11", 3}, {"12.9", 12}}) {
    int64_t integer;
    EXPECT_TRUE(ParseInteger(text, integer));
    EXPECT_EQ(integer, value) << text;
  }
  int64_t integer;
  EXPECT_FALSE(ParseInteger("0x", integer));
}

TEST_F(ValueTest, ConversionsReportWhatCannotBeConverted) {
  EXPECT_EQ(ToReal(Str("12abc")), 12);
  EXPECT_RUNTIME_ERROR(ToReal(Str("abc")), "unable to convert string \"abc\" to number");
  EXPECT_RUNTIME_ERROR(ToReal(Undefined()), "REAL argument incorrect type undefined");
  EXPECT_RUNTIME_ERROR(ToReal(RValue()), "REAL argument is unset");
  EXPECT_RUNTIME_ERROR(ToInt32(Undefined()), "I32 argument is undefined");
  EXPECT_RUNTIME_ERROR(ToInt32(Str("x")), "unable to convert string \"x\" to integer");
  EXPECT_RUNTIME_ERROR(ToInt64(Str("x")), "unable to convert string \"x\" to int64");
  EXPECT_RUNTIME_ERROR(ToBool(Str("maybe")), "unable to convert string \"maybe\" to bool");
  EXPECT_RUNTIME_ERROR(ToPtr(Undefined()), "PTR argument is undefined");

  EXPECT_EQ(ToInt32(TempValue(-2.9)), -2);
  EXPECT_EQ(ToInt32(TempValue(3e10)), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ToInt64(TempValue(std::nan(""))), 0);
  EXPECT_EQ(ToInt64(TempValue(INFINITY)), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ToInt64(TempValue(-INFINITY)), std::numeric_limits<int64_t>::min());
  EXPECT_TRUE(ToBool(Str("TRUE")));
  EXPECT_FALSE(ToBool(Str("False")));
  EXPECT_TRUE(ToBool(Str("0.6")));
  EXPECT_FALSE(ToBool(Undefined()));
  EXPECT_EQ(ToPtr(Str("ff")), 255);

  SuppressErrors quiet;
  EXPECT_EQ(ToReal(Str("abc")), 0.0);
  EXPECT_TRUE(quiet.ErrorOccurred());
}

TEST_F(ValueTest, ComparisonFollowsTheKindRules) {
  EXPECT_TRUE(Equal(Add(TempValue(0.1), 0.2), 0.3));
  EXPECT_TRUE(Equal(TempValue(1), 1.000001));
  EXPECT_FALSE(Equal(TempValue(1), 1.0001));
  EXPECT_TRUE(Equal(Str("10"), 10));
  EXPECT_TRUE(Equal(TempValue(10), Str("10")));
  EXPECT_FALSE(Equal(Str("abc"), 0));         // no error with == (report off)
  EXPECT_FALSE(Equal(Bool(true), Str("1")));  // a boolean is no number against a string
  EXPECT_EQ(CompareValues(Bool(true), Str("1"), 1e-5, true), 1);
  EXPECT_EQ(CompareValues(Str("1"), Bool(true), 1e-5, true), 1);
  EXPECT_TRUE(Equal(Undefined(), Undefined()));
  EXPECT_FALSE(Equal(Undefined(), 0));
  EXPECT_FALSE(Less(Undefined(), 0));
  EXPECT_FALSE(Greater(Undefined(), 0));
  EXPECT_EQ(CompareValues(Undefined(), Str("x"), 1e-5, true), 1);
  EXPECT_TRUE(Less(Str("abc"), Str("abd")));
  EXPECT_TRUE(Greater(Str("ą"), Str("z")));  // unsigned bytes
  EXPECT_RUNTIME_ERROR(Less(Str("abc"), 1), "unable to convert string \"abc\" to float");
  EXPECT_RUNTIME_ERROR(Equal(RValue(), 1), "Cannot compare unset variables");
  EXPECT_EQ(CompareValues(TempValue(INFINITY), TempValue(INFINITY), 1e-5, false), 0);
  EXPECT_EQ(CompareValues(TempValue(std::nan("")), TempValue(1), 1e-5, false), 1);

  TempValue array;
  MakeArray(array, 1);
  TempValue sameArray(array);
  EXPECT_TRUE(Equal(array, sameArray));
  TempValue otherArray;
  MakeArray(otherArray, 1);
  EXPECT_FALSE(Equal(array, otherArray));
  EXPECT_RUNTIME_ERROR(Less(array, 1), "Illegal array use");
  EXPECT_FALSE(Equal(array, 1));
  EXPECT_FALSE(Equal(array, Undefined()));
}

TEST_F(ValueTest, ArithmeticFollowsTheLeftHandKind) {
  TempValue text = Str("ab");
  AddAssign(text, Str("cd"));
  EXPECT_EQ(ValueText(text), "abcd");
  EXPECT_RUNTIME_ERROR(AddAssign(text, TempValue(1)), "unable to add a number to string");
  EXPECT_EQ(ValueText(text), "abcd");

  TempValue flag = Bool(true);
  AddAssign(flag, 2);
  EXPECT_EQ(KindOf(flag), uint32_t(VALUE_REAL));
  EXPECT_EQ(flag.real, 3);

  TempValue count = Str("4");
  Increment(count);
  EXPECT_EQ(KindOf(count), uint32_t(VALUE_REAL));
  EXPECT_EQ(count.real, 5);

  TempValue difference = Str("10");
  SubAssign(difference, TempValue(3));
  EXPECT_EQ(difference.real, 7);

  TempValue repeat(3);
  MulAssign(repeat, Str("ab"));
  EXPECT_EQ(ValueText(repeat), "ababab");

  TempValue undefinedValue = Undefined();
  EXPECT_RUNTIME_ERROR(AddAssign(undefinedValue, TempValue(1)),
                       "invalid type for += lhs=undefined (type=5), rhs=1 (type=0)");
}

TEST_F(ValueTest, StringsAreSharedAndReleasedByCount) {
  TempValue first = Str("shared");
  StringBody* body = first.str;
  TempValue second;
  AssignValue(second, first);
  EXPECT_EQ(second.str, body);
  EXPECT_EQ(body->refCount, 2);
  SetReal(first, 1);  // overwrite one holder
  EXPECT_EQ(body->refCount, 1);
  EXPECT_EQ(ValueText(second), "shared");

  TempValue constant;
  static const char kLiteral[] = "constant";
  SetStringConst(constant, kLiteral);
  EXPECT_EQ(constant.str->text, kLiteral);
  EXPECT_TRUE(constant.str->IsConstant());
  EXPECT_EQ(constant.str->Length(), 8u);
  TempValue joined(constant);
  ConcatStrings(joined, Str("!"));
  EXPECT_EQ(ValueText(joined), "constant!");
  EXPECT_EQ(constant.str->refCount, 1);
}

TEST_F(ValueTest, OperatorsOnTemporariesMatchTheAssignmentOperations) {
  // Strings: a new body, the operands untouched; the same text as += gives.
  TempValue left = Str("Osoba : "), right = Str("\xC5\x81ukasz");
  TempValue sum = Add(left, right);
  EXPECT_EQ(ValueText(sum), "Osoba : \xC5\x81ukasz");
  EXPECT_EQ(sum.str->Length(), 15u);  // bytes
  EXPECT_NE(sum.str, left.str);
  EXPECT_EQ(left.str->refCount, 1);
  EXPECT_EQ(right.str->refCount, 1);
  TempValue empty = Add(Str(""), Str(""));
  EXPECT_EQ(KindOf(empty), uint32_t(VALUE_STRING));
  EXPECT_EQ(ValueText(empty), "");
  TempValue twice(left);
  ConcatStrings(twice, twice);  // a string added to itself
  EXPECT_EQ(ValueText(twice), "Osoba : Osoba : ");
  EXPECT_EQ(left.str->refCount, 1);

  // Numbers: the left value's kind word comes along, as with +=, -= and *=.
  TempValue marked(5);
  marked.kind |= 0x40000000u;  // a holder's mark in the high bits
  for (auto [result, expected] :
       {std::pair{Add(marked, 2), 7.0}, std::pair{Subtract(marked, 2), 3.0}, std::pair{Multiply(marked, 2), 10.0}}) {
    EXPECT_EQ(result.real, expected);
    EXPECT_EQ(result.kind, marked.kind);
  }
  TempValue general(5);
  general.kind |= 0x40000000u;
  AddAssign(general, TempValue(2));
  EXPECT_EQ(general.kind, Add(marked, 2).kind);
  // Mixed kinds still take the general path.
  EXPECT_EQ(ValueText(Add(Bool(true), 2)), "3");
  EXPECT_RUNTIME_ERROR(Add(Str("a"), 1), "unable to add a number to string");
}

TEST_F(ValueTest, KindNamesAndReferenceNames) {
  EXPECT_STREQ(KindName(TempValue(1)), "number");
  EXPECT_STREQ(KindName(Str("")), "string");
  EXPECT_STREQ(KindName(Undefined()), "undefined");
  EXPECT_STREQ(KindNameOf(99), "unknown");
  EXPECT_STREQ(ReferenceTypeName(kRefTypeRoom), "room");
  EXPECT_STREQ(ReferenceTypeName(0x1234), "unknown");
}
}  // namespace
