#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

#include "runtime/array.h"
#include "runtime_fixture.h"

namespace {
using ValueTest = RuntimeTest;
using Numbers = std::vector<double>;

// Whole numbers within 64 bits print as integers, others with two decimals.
TEST_F(ValueTest, EveryKindHasItsTextForm) {
  TempValue list, integer, nullPointer;
  SetReference(list, kRefTypeDsList, 3);
  SetInt32(integer, -7);
  nullPointer.kind = VALUE_PTR;
  const std::pair<TempValue, const char*> cases[] = {{TempValue(5), "5"},
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
                                                     {Str("Zażółć"), "Zażółć"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(ValueText(value), text);
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
  MakeArray(outer.arr->elements[2], 1);
  SetStringCopy(outer.arr->elements[2].arr->elements[0], "x");
  EXPECT_EQ(ValueText(outer), "[ 1,\"a b\",[ \"x\" ] ]");
  CopyValue(outer.arr->elements[0], outer);  // the array holds itself
  EXPECT_EQ(ValueText(outer), "[ \"Warning: recursive array found\",\"a b\",[ \"x\" ] ]");
  ReleaseValue(outer.arr->elements[0]);
}

TEST_F(ValueTest, ParseNumberReadsTheLongestNumericPrefix) {
  // "0b/": no binary digits, the leading 0.
  for (auto [text, number] : {std::pair{"12abc", 12.0},
                              {"0b101", 5.0},
                              {"0b/", 0.0},
                              {"   7", 7.0},
                              {"ref 42", 42.0},
                              {"3.5abc", 3.5},
                              {"abc", -1.0},
                              {"", -1.0}}) {
    double read = -1;
    EXPECT_EQ(ParseNumber(text, read), number >= 0) << text;
    EXPECT_EQ(read, std::max(number, 0.0)) << text;  // 0 when nothing was read
  }
  for (auto [text, number] : {std::pair{"0x1F", 31}, {"0b11", 3}, {"12.9", 12}, {"0x", -1}}) {
    int64_t read = -1;
    EXPECT_EQ(ParseInteger(text, read), number >= 0) << text;
    EXPECT_EQ(number >= 0 ? read : -1, number) << text;
  }
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
  EXPECT_EQ(Numbers({ToReal(Str("12abc")), double(ToInt32(TempValue(-2.9))), double(ToInt32(TempValue(3e10))),
                     double(ToInt64(TempValue(std::nan("")))), double(ToInt64(TempValue(INFINITY))),
                     double(ToInt64(TempValue(-INFINITY))), double(ToPtr(Str("ff")))}),
            Numbers({12, -2, -0x1p31, 0, 0x1p63, -0x1p63, 255}));
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
  TempValue integer;
  SetInt32(integer, -7);
  // CompareValues's order; a boolean is no number against a string; strings by unsigned bytes.
  const std::tuple<TempValue, TempValue, int> cases[] = {{Add(TempValue(0.1), 0.2), TempValue(0.3), 0},
                                                         {TempValue(1), TempValue(1.000001), 0},
                                                         {TempValue(1), TempValue(1.0001), -1},
                                                         {Str("10"), TempValue(10), 0},
                                                         {TempValue(10), Str("10"), 0},
                                                         {integer, Str("-7.5"), 0},
                                                         {Str("-7.5"), integer, 0},
                                                         {Bool(true), Str("1"), 1},
                                                         {Str("1"), Bool(true), 1},
                                                         {Undefined(), Undefined(), 0},
                                                         {Undefined(), Str("x"), 1},
                                                         {Str("abc"), Str("abd"), -1},
                                                         {Str("ą"), Str("z"), 1},
                                                         {TempValue(INFINITY), TempValue(INFINITY), 0},
                                                         {TempValue(std::nan("")), TempValue(1), 1},
                                                         {array, sameArray, 0}};
  for (const auto& [left, right, order] : cases) {
    SCOPED_TRACE(ValueText(left) + " vs " + ValueText(right));
    EXPECT_EQ(CompareValues(left, right, 1e-5, true), order);
    EXPECT_EQ(Equal(left, right), order == 0);
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
  EXPECT_EQ(Numbers({flag.real, count.real, difference.real, sum.real, less.real, product.real}),
            Numbers({3, 5, 7, 3, 6, 6}));
}

// Strings share one counted body; operators on temporaries make a new one and
// carry the left value's kind word, as the assignment operators do.
TEST_F(ValueTest, StringsAreSharedByCountAndOperatorsMatchTheAssignments) {
  TempValue first = Str("Osoba : "), second, right = Str("\xC5\x81ukasz");
  AssignValue(second, first);
  EXPECT_EQ(second.str, first.str);
  EXPECT_EQ(first.str->refCount, 2);
  SetReal(first, 1);
  EXPECT_EQ(second.str->refCount, 1);
  TempValue sum = Add(second, right);
  EXPECT_EQ(ValueText(sum), "Osoba : \xC5\x81ukasz");
  EXPECT_EQ(sum.str->Length(), 15u);  // bytes
  EXPECT_EQ(std::vector<int>({second.str->refCount, right.str->refCount}), std::vector<int>({1, 1}));
  EXPECT_EQ(ValueText(Add(Str(""), Str(""))), "");
  TempValue twice(second);
  ConcatStrings(twice, twice);  // a string added to itself
  EXPECT_EQ(ValueText(twice), "Osoba : Osoba : ");

  TempValue constant;
  static const char kLiteral[] = "constant";
  SetStringConst(constant, kLiteral);
  EXPECT_TRUE(constant.str->text == kLiteral && constant.str->IsConstant());
  TempValue joined(constant);
  ConcatStrings(joined, Str("!"));
  EXPECT_EQ(ValueText(joined), "constant!");
  EXPECT_EQ(constant.str->refCount, 1);

  TempValue marked(5), general(5);
  marked.kind |= 0x40000000u;  // a holder's mark in the high bits
  general.kind = marked.kind;
  AddAssign(general, TempValue(2));
  for (auto [result, expected] :
       {std::pair{Add(marked, 2), 7.0}, {Subtract(marked, 2), 3.0}, {Multiply(marked, 2), 10.0}})
    EXPECT_TRUE(result.real == expected && result.kind == general.kind) << expected;
  EXPECT_EQ(ValueText(Add(Bool(true), 2)), "3");
  EXPECT_RUNTIME_ERROR(Add(Str("a"), 1), "unable to add a number to string");
}
}  // namespace
