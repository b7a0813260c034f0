#include <cmath>
#include <limits>
#include <utility>

#include "runtime/array.h"
#include "runtime_fixture.h"

namespace {
using ValueTest = RuntimeTest;

TEST_F(ValueTest, EveryKindHasItsTextForm) {
  TempValue list, integer, nullPointer;
  SetReference(list, kRefTypeDsList, 3);
  SetInt32(integer, -7);
  nullPointer.kind = VALUE_PTR;
  struct Case {
    TempValue value;
    const char* text;
  };
  const Case cases[] = {
      {TempValue(5), "5"},  // whole numbers within 64 bits as integers, others with two decimals
      {TempValue(5.5), "5.50"},
      {TempValue(1.0 / 3.0), "0.33"},
      {TempValue(-0.004), "-0.00"},
      {TempValue(-0.0), "0"},
      {TempValue(2.999), "3.00"},
      {TempValue(9.22e18), "9220000000000000000"},
      {TempValue(-0x1p63), "-9223372036854775808"},
      {TempValue(0x1p63), "9223372036854775808.00"},
      {TempValue(1e20), "100000000000000000000.00"},
      {TempValue(std::nan("")), "NaN"},
      {TempValue(INFINITY), "inf"},
      {TempValue(-INFINITY), "-inf"},
      {Bool(true), "1"},
      {Bool(false), "0"},
      {Undefined(), "undefined"},
      {list, "ref ds_list 3"},
      {integer, "-7"},
      {nullPointer, "null"},
      {Str("Zażółć"), "Zażółć"},
  };
  for (const Case& c : cases) EXPECT_EQ(ValueText(c.value), c.text);
  EXPECT_RUNTIME_ERROR(ValueText(RValue()), "STRING argument is unset");
  EXPECT_EQ(std::vector<std::string>({KindName(TempValue(1)), KindName(Str("")), KindName(Undefined()), KindNameOf(99),
                                      ReferenceTypeName(kRefTypeRoom), ReferenceTypeName(0x1234)}),
            std::vector<std::string>({"number", "string", "undefined", "unknown", "room", "unknown"}));
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
  EXPECT_RUNTIME_ERROR(ToReal(Str("abc")), "unable to convert string \"abc\" to number");
  EXPECT_RUNTIME_ERROR(ToReal(Undefined()), "REAL argument incorrect type undefined");
  EXPECT_RUNTIME_ERROR(ToReal(RValue()), "REAL argument is unset");
  EXPECT_RUNTIME_ERROR(ToInt32(Undefined()), "I32 argument is undefined");
  EXPECT_RUNTIME_ERROR(ToInt32(Str("x")), "unable to convert string \"x\" to integer");
  EXPECT_RUNTIME_ERROR(ToInt64(Str("x")), "unable to convert string \"x\" to int64");
  EXPECT_RUNTIME_ERROR(ToBool(Str("maybe")), "unable to convert string \"maybe\" to bool");
  EXPECT_RUNTIME_ERROR(ToPtr(Undefined()), "PTR argument is undefined");

  EXPECT_EQ(
      std::vector<double>({ToReal(Str("12abc")), double(ToInt32(TempValue(-2.9))), double(ToInt32(TempValue(3e10))),
                           double(ToInt64(TempValue(std::nan("")))), double(ToInt64(TempValue(INFINITY))),
                           double(ToInt64(TempValue(-INFINITY))), double(ToPtr(Str("ff")))}),
      std::vector<double>({12, -2, -0x1p31, 0, 0x1p63, -0x1p63, 255}));
  EXPECT_EQ(std::vector<bool>({ToBool(Str("TRUE")), ToBool(Str("False")), ToBool(Str("0.6")), ToBool(Undefined())}),
            std::vector<bool>({true, false, true, false}));

  SuppressErrors quiet;
  EXPECT_EQ(ToReal(Str("abc")), 0.0);
  EXPECT_TRUE(quiet.ErrorOccurred());
}

TEST_F(ValueTest, ComparisonFollowsTheKindRules) {
  TempValue array, sameArray, otherArray;
  MakeArray(array, 1);
  AssignValue(sameArray, array);
  MakeArray(otherArray, 1);
  struct Case {
    TempValue left, right;
    int order;  // CompareValues with an error on unconvertible strings
  };
  const Case cases[] = {
      {Add(TempValue(0.1), 0.2), TempValue(0.3), 0},  // within the epsilon
      {TempValue(1), TempValue(1.000001), 0},
      {TempValue(1), TempValue(1.0001), -1},
      {Str("10"), TempValue(10), 0},
      {TempValue(10), Str("10"), 0},
      {Bool(true), Str("1"), 1},  // a boolean is no number against a string
      {Str("1"), Bool(true), 1},
      {Undefined(), Undefined(), 0},
      {Undefined(), Str("x"), 1},
      {Str("abc"), Str("abd"), -1},
      {Str("ą"), Str("z"), 1},  // unsigned bytes
      {TempValue(INFINITY), TempValue(INFINITY), 0},
      {TempValue(std::nan("")), TempValue(1), 1},
      {array, sameArray, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ValueText(c.left) + " vs " + ValueText(c.right));
    EXPECT_EQ(CompareValues(c.left, c.right, 1e-5, true), c.order);
    EXPECT_EQ(Equal(c.left, c.right), c.order == 0);
  }
  EXPECT_FALSE(Equal(Str("abc"), 0));  // no error with ==
  EXPECT_FALSE(Equal(Undefined(), 0) || Less(Undefined(), 0) || Greater(Undefined(), 0));
  EXPECT_FALSE(Equal(array, otherArray) || Equal(array, 1) || Equal(array, Undefined()));
  EXPECT_RUNTIME_ERROR(Less(Str("abc"), 1), "unable to convert string \"abc\" to float");
  EXPECT_RUNTIME_ERROR(Equal(RValue(), 1), "Cannot compare unset variables");
  EXPECT_RUNTIME_ERROR(Less(array, 1), "Illegal array use");
}

TEST_F(ValueTest, ArithmeticFollowsTheLeftHandKind) {
  TempValue text = Str("ab");
  AddAssign(text, Str("cd"));
  EXPECT_EQ(ValueText(text), "abcd");
  EXPECT_RUNTIME_ERROR(AddAssign(text, TempValue(1)), "unable to add a number to string");
  EXPECT_EQ(ValueText(text), "abcd");
  TempValue repeat(3);
  MulAssign(repeat, Str("ab"));
  EXPECT_EQ(ValueText(repeat), "ababab");
  TempValue undefinedValue = Undefined();
  EXPECT_RUNTIME_ERROR(AddAssign(undefinedValue, TempValue(1)),
                       "invalid type for += lhs=undefined (type=5), rhs=1 (type=0)");

  // Booleans and numeric strings become numbers; any kind on the right is read as a number.
  TempValue flag = Bool(true), count = Str("4"), difference = Str("10"), sum(1), less(10), product(3), two;
  SetInt32(two, 2);
  AddAssign(flag, 2);
  Increment(count);
  SubAssign(difference, TempValue(3));
  AddAssign(sum, two);
  SubAssign(less, Str("4"));
  MulAssign(product, two);
  for (const TempValue* number : {&flag, &count, &difference, &sum, &less, &product})
    EXPECT_EQ(KindOf(*number), uint32_t(VALUE_REAL));
  EXPECT_EQ(std::vector<double>({flag.real, count.real, difference.real, sum.real, less.real, product.real}),
            std::vector<double>({3, 5, 7, 3, 6, 6}));
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

}  // namespace
