// The text form: worked texts byte for byte, every readable version, round trips
// and damaged texts.
#include "builtins/list_text.h"

#include <cmath>
#include <cstring>

#include "builtins/stream.h"
#include "list_test_support.h"
#include "runtime/array.h"
#include "runtime/debug_output.h"

namespace {
const char* const kEmpty = "2F01000000000000";
const char* const kOne = "2F0100000100000000000000000000000000F03F";
const char* const kAbc = "2F010000010000000100000003000000616263";
const char* const kEmptyString = "2F010000010000000100000000000000";
const char* const kUndefined = "2F0100000100000005000000";
const char* const kAbcThen2_5 = "2F010000020000000100000003000000616263000000000000000000000440";

std::string Header(int32_t version, int32_t count) { return Hex32(version) + Hex32(count); }

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
}  // namespace

class ListTextTest : public ListTest {
 protected:
  // Reads `text` into a new list through ds_list_read.
  TempValue Read(const std::string& text) {
    TempValue id = NewList();
    Call("ds_list_read", {id, Str(text)});
    return id;
  }
  std::string Write(const TempValue& id) { return Text(Call("ds_list_write", {id})); }
  TempValue At(const TempValue& id, int position) { return Call("ds_list_find_value", {id, TempValue(position)}); }
  int Size(const TempValue& id) { return int(Call("ds_list_size", {id}).real); }
};

TEST_F(ListTextTest, WorkedTextsAreWrittenByteForByte) {
  TempValue empty = NewList();
  EXPECT_EQ(Write(empty), kEmpty);

  TempValue one = NewList();
  Call("ds_list_add", {one, TempValue(1.0)});
  EXPECT_EQ(Write(one), kOne);

  TempValue abc = NewList();
  Call("ds_list_add", {abc, Str("abc")});
  EXPECT_EQ(Write(abc), kAbc);

  TempValue emptyString = NewList();
  Call("ds_list_add", {emptyString, Str("")});
  EXPECT_EQ(Write(emptyString), kEmptyString);

  TempValue undefinedValue = NewList();
  Call("ds_list_add", {undefinedValue, Undefined()});
  EXPECT_EQ(Write(undefinedValue), kUndefined);

  TempValue pair = NewList();
  Call("ds_list_add", {pair, Str("abc"), TempValue(2.5)});
  EXPECT_EQ(Write(pair), kAbcThen2_5);
}

TEST_F(ListTextTest, WorkedTextsReadBack) {
  TempValue filled = NewList();
  Call("ds_list_add", {filled, TempValue(9), TempValue(8)});
  Call("ds_list_read", {filled, Str(kEmpty)});
  EXPECT_EQ(Size(filled), 0);

  TempValue one = Read(kOne);
  ASSERT_EQ(Size(one), 1);
  EXPECT_EQ(KindOf(At(one, 0)), VALUE_REAL);
  EXPECT_EQ(At(one, 0).real, 1.0);

  TempValue abc = Read(kAbc);
  ASSERT_EQ(Size(abc), 1);
  EXPECT_EQ(Text(At(abc, 0)), "abc");

  TempValue emptyString = Read(kEmptyString);
  ASSERT_EQ(Size(emptyString), 1);
  EXPECT_EQ(KindOf(At(emptyString, 0)), VALUE_STRING);
  EXPECT_EQ(Text(At(emptyString, 0)), "");

  TempValue undefinedValue = Read(kUndefined);
  ASSERT_EQ(Size(undefinedValue), 1);
  EXPECT_EQ(KindOf(At(undefinedValue, 0)), VALUE_UNDEFINED);

  TempValue pair = Read(kAbcThen2_5);
  ASSERT_EQ(Size(pair), 2);
  EXPECT_EQ(Text(At(pair, 0)), "abc");
  EXPECT_EQ(At(pair, 1).real, 2.5);
  EXPECT_EQ(ListOf(pair).Capacity(), 2);  // sized exactly to the count read
}

TEST_F(ListTextTest, LowerCaseAndTrailingCharactersReadTheSame) {
  std::string lower = kAbcThen2_5;
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(Write(Read(lower)), kAbcThen2_5);

  for (const char* tail : {" ", "\r\n", "\"", "Z", "0", "ABC"}) {
    EXPECT_EQ(Write(Read(std::string(kAbcThen2_5) + tail)), kAbcThen2_5) << "tail " << tail;
  }
}

TEST_F(ListTextTest, DatesAndPolishStringsRoundTripExactly) {
  const double dates[] = {45424.3333333, 45424.500005787, 45424.0 + 1.0 / 3.0, -0.0, 1e-310, 1.7976931348623157e308};
  const char* const texts[] = {"Zażółć gęślą jaźń", "ZAŻÓŁĆ GĘŚLĄ JAŹŃ", "Tablica rej. : ", "żółw\tłódź\n", ""};

  TempValue list = NewList();
  for (double date : dates) Call("ds_list_add", {list, TempValue(date)});
  for (const char* text : texts) Call("ds_list_add", {list, Str(text)});
  std::string text = Write(list);
  EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos);

  TempValue back = Read(text);
  ASSERT_EQ(Size(back), 11);
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(SameBits(At(back, i).real, dates[i])) << i;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Text(At(back, 6 + i)), texts[i]);
  EXPECT_EQ(Write(back), text);

  TempValue letter = NewList();
  Call("ds_list_add", {letter, Str("ż")});
  EXPECT_EQ(Write(letter),
            "2F01000001000000"
            "01000000"
            "02000000"
            "C5BC");
}

TEST_F(ListTextTest, OtherKindsKeepTheirKindAndPayload) {
  TempValue list = NewList();
  CDS_List& raw = ListOf(list);
  RValue value;
  SetInt32(value, -7);
  raw.Add(value);
  SetInt64(value, INT64_MIN + 5);
  raw.Add(value);
  SetBool(value, true);
  raw.Add(value);
  SetReference(value, kRefTypeDsList, 3);
  raw.Add(value);
  value.v64 = 0x1234;
  value.kind = VALUE_PTR;
  raw.Add(value);

  TempValue back = Read(Write(list));
  ASSERT_EQ(Size(back), 5);
  EXPECT_EQ(KindOf(At(back, 0)), VALUE_INT32);
  EXPECT_EQ(At(back, 0).v32, -7);
  EXPECT_EQ(KindOf(At(back, 1)), VALUE_INT64);
  EXPECT_EQ(At(back, 1).v64, INT64_MIN + 5);
  EXPECT_EQ(KindOf(At(back, 2)), VALUE_BOOL);
  EXPECT_EQ(At(back, 2).real, 1.0);
  EXPECT_EQ(KindOf(At(back, 3)), VALUE_REF);
  EXPECT_EQ(At(back, 3).v64, ListIdValue(3).v64);
  EXPECT_EQ(KindOf(At(back, 4)), VALUE_PTR);
  EXPECT_EQ(At(back, 4).v64, 0x1234);
}

TEST_F(ListTextTest, NestedArraysRoundTripInTheCurrentForm) {
  TempValue array;
  ArrayBody* outer = MakeArray(array, 2);
  SetStringCopy(outer->elements[0], "wiersz");
  ArrayBody* inner = MakeArray(outer->elements[1], 2);
  SetReal(inner->elements[0], 1.5);
  SetUndefined(inner->elements[1]);

  TempValue list = NewList();
  Call("ds_list_add", {list, array});
  std::string text = Write(list);
  EXPECT_EQ(text, Header(303, 1) + Hex32(2) + Hex32(2) + Hex32(1) + HexString("wiersz") + Hex32(2) + Hex32(2) +
                      Hex32(0) + HexReal(1.5) + Hex32(5));

  TempValue back = At(Read(text), 0);
  ASSERT_EQ(KindOf(back), VALUE_ARRAY);
  ASSERT_EQ(back.arr->length, 2);
  EXPECT_STREQ(StringText(back.arr->elements[0]), "wiersz");
  const ArrayBody* backInner = back.arr->elements[1].arr;
  ASSERT_EQ(backInner->length, 2);
  EXPECT_EQ(backInner->elements[0].real, 1.5);
  EXPECT_EQ(KindOf(backInner->elements[1]), VALUE_UNDEFINED);
}

TEST_F(ListTextTest, VersionCheckAndEmptyTextLeaveTheListUnchanged) {
  TempValue list = NewList();
  Call("ds_list_add", {list, Str("zostaje"), TempValue(45424.5)});
  const std::string before = Write(list);
  for (const std::string& text :
       {std::string(""), std::string("   "), std::string("not hex"), Header(300, 0), Header(304, 0), Header(0, 0),
        std::string("2F01"), std::string("2F0100"), std::string("X2F01000000000000")}) {
    Call("ds_list_read", {list, Str(text)});
    EXPECT_EQ(Write(list), before) << "text " << text;
  }
  Call("ds_list_read", {list, Str("2F010000")});  // a version and nothing else: an empty list
  EXPECT_EQ(Size(list), 0);
}

TEST_F(ListTextTest, LegacyFormReadsEachElementAsItsString) {
  std::string text = Header(302, 3) + Hex32(0) + HexReal(45424.5) + HexString("stary zapis") +  //
                     Hex32(1) + HexReal(0) + HexString("") +                                    //
                     Hex32(77) + HexReal(1) + HexString("Łódź");
  TempValue list = NewList();
  Call("ds_list_read", {list, Str(text), TempValue(1)});
  ASSERT_EQ(Size(list), 3);
  EXPECT_EQ(Text(At(list, 0)), "stary zapis");
  EXPECT_EQ(KindOf(At(list, 1)), VALUE_STRING);
  EXPECT_EQ(Text(At(list, 1)), "");
  EXPECT_EQ(Text(At(list, 2)), "Łódź");

  TempValue unflagged = NewList();  // a flag of 0 reads the same text in its version's own form
  Call("ds_list_read", {unflagged, Str(Header(303, 1) + Hex32(1) + HexString("x")), TempValue(0)});
  EXPECT_EQ(Text(At(unflagged, 0)), "x");

  TempValue wrongVersion = NewList();
  Call("ds_list_add", {wrongVersion, TempValue(5)});
  Call("ds_list_read", {wrongVersion, Str(Header(299, 1) + Hex32(0) + HexReal(0) + HexString("a")), TempValue(1)});
  EXPECT_EQ(Write(wrongVersion), Header(303, 1) + Hex32(0) + HexReal(5));
}

TEST_F(ListTextTest, Version301ReadsNumbersStringsTwoDimensionalArraysAndBareKinds) {
  std::string text = Header(301, 5) + Hex32(0) + HexReal(45424.5) + Hex32(1) + HexString("pierwszy") + Hex32(2) +
                     Hex32(2) +                                                      // two rows
                     Hex32(2) + Hex32(0) + HexReal(1) + Hex32(1) + HexString("a") +  // row 0
                     Hex32(1) + Hex32(0) + HexReal(2) +                              // row 1
                     Hex32(7) +                                                      // int32, no data
                     Hex32(0x40000000);                                              // a kind with a slot mark
  TempValue list = Read(text);
  ASSERT_EQ(Size(list), 5);
  EXPECT_EQ(At(list, 0).real, 45424.5);
  EXPECT_EQ(Text(At(list, 1)), "pierwszy");
  TempValue grid = At(list, 2);
  ASSERT_EQ(KindOf(grid), VALUE_ARRAY);
  ASSERT_EQ(grid.arr->length, 2);
  const ArrayBody* row0 = grid.arr->elements[0].arr;
  const ArrayBody* row1 = grid.arr->elements[1].arr;
  ASSERT_EQ(row0->length, 2);
  EXPECT_EQ(row0->elements[0].real, 1.0);
  EXPECT_STREQ(StringText(row0->elements[1]), "a");
  ASSERT_EQ(row1->length, 1);
  EXPECT_EQ(row1->elements[0].real, 2.0);
  EXPECT_EQ(KindOf(At(list, 3)), VALUE_INT32);
  EXPECT_EQ(At(list, 3).v32, 0);
  // A damaged kind never smuggles a slot mark in: it reads as undefined.
  EXPECT_EQ(KindOf(At(list, 4)), VALUE_UNDEFINED);
  EXPECT_FALSE(ListOf(list).HasMark(4, kSlotMarks));
}

TEST_F(ListTextTest, Version302ReadsOneRowFlatAndSeveralRowsAsArrays) {
  std::string text = Header(302, 2) +                                                              //
                     Hex32(2) + Hex32(1) + Hex32(3) +                                              // one row of 3
                     Hex32(0) + HexReal(1) + Hex32(13) + HexReal(1) + Hex32(1) + HexString("c") +  //
                     Hex32(2) + Hex32(2) +                                                         // two rows
                     Hex32(1) + Hex32(7) + Hex32(42) +                                             //
                     Hex32(0);                                                                     // an empty row
  TempValue list = Read(text);
  ASSERT_EQ(Size(list), 2);
  TempValue flat = At(list, 0);
  ASSERT_EQ(flat.arr->length, 3);
  EXPECT_EQ(flat.arr->elements[0].real, 1.0);
  EXPECT_EQ(KindOf(flat.arr->elements[1]), VALUE_BOOL);
  EXPECT_STREQ(StringText(flat.arr->elements[2]), "c");
  TempValue rows = At(list, 1);
  ASSERT_EQ(rows.arr->length, 2);
  ASSERT_EQ(rows.arr->elements[0].arr->length, 1);
  EXPECT_EQ(rows.arr->elements[0].arr->elements[0].v32, 42);
  EXPECT_EQ(rows.arr->elements[1].arr->length, 0);

  // What was read is written in the current form and reads back the same.
  std::string current = Write(list);
  EXPECT_EQ(Write(Read(current)), current);
}

TEST_F(ListTextTest, UnsupportedKindsAreWrittenBareAndReadAsUndefined) {
  std::string output;
  SetDebugOutputCapture(&output);
  TempValue list = NewList();
  RValue vec;
  vec.v64 = 0;
  vec.flags = 0;
  vec.kind = VALUE_VEC3;
  ListOf(list).Add(vec);
  std::string text = Write(list);
  EXPECT_EQ(text, Header(303, 1) + Hex32(4));
  EXPECT_NE(output.find("Attempting to WriteValue for unsupported type 4\n"), std::string::npos);

  TempValue back = Read(Header(303, 2) + Hex32(6) + Hex32(99) + Hex32(0) + HexReal(3));
  SetDebugOutputCapture(nullptr);
  ASSERT_EQ(Size(back), 2);  // an unsupported kind carries no data: the next element follows it
  EXPECT_EQ(KindOf(At(back, 0)), VALUE_UNDEFINED);
  EXPECT_EQ(KindOf(At(back, 1)), VALUE_UNDEFINED);
  EXPECT_NE(output.find("Attempting to ReadValue for unsupported type 6\n"), std::string::npos);
  EXPECT_NE(output.find("Attempting to ReadValue for unsupported type 99\n"), std::string::npos);
}

TEST_F(ListTextTest, HugeOrNegativeCountsNeverAllocateBeyondTheData) {
  // A count of 0x7FFFFFFF with one element present: one element, storage for at most what the bytes could start.
  TempValue huge = Read(Header(303, 0x7FFFFFFF) + Hex32(0) + HexReal(1));
  ASSERT_EQ(Size(huge), 1);
  EXPECT_EQ(At(huge, 0).real, 1.0);
  EXPECT_LE(ListOf(huge).Capacity(), 3);

  TempValue negative = NewList();
  Call("ds_list_add", {negative, TempValue(1)});
  Call("ds_list_read", {negative, Str(Header(303, -1) + Hex32(0) + HexReal(1))});
  EXPECT_EQ(Size(negative), 0);

  TempValue arrays = Read(Header(303, 3) + Hex32(2) + Hex32(0x7FFFFFFF) + Hex32(0) + HexReal(4));
  ASSERT_EQ(Size(arrays), 3);               // the two elements after the data read as 0
  ASSERT_EQ(At(arrays, 0).arr->length, 1);  // the declared length was clamped to the data
  EXPECT_EQ(At(arrays, 0).arr->elements[0].real, 4.0);

  TempValue negativeArray = Read(Header(303, 2) + Hex32(2) + Hex32(-8) + Hex32(0) + HexReal(6));
  ASSERT_EQ(Size(negativeArray), 2);
  EXPECT_EQ(At(negativeArray, 0).arr->length, 0);
  EXPECT_EQ(At(negativeArray, 1).real, 6.0);  // the data after the empty array is still read

  TempValue rows301 = Read(Header(301, 1) + Hex32(2) + Hex32(0x7FFFFFFF) + Hex32(0x7FFFFFFF) + Hex32(0) + HexReal(1));
  ASSERT_EQ(Size(rows301), 1);
  ASSERT_EQ(At(rows301, 0).arr->length, 1);
  EXPECT_EQ(At(rows301, 0).arr->elements[0].arr->length, 1);

  TempValue rows302 = Read(Header(302, 1) + Hex32(2) + Hex32(-3));
  EXPECT_EQ(At(rows302, 0).arr->length, 0);
}

TEST_F(ListTextTest, TextsThatEndEarlyReadZerosAndEmptyStringsForStartedElements) {
  // A string cut short keeps the bytes there are; a real cut short is 0; an element
  // whose kind is present but nothing else reads as its kind's empty value.
  TempValue cutString = Read(Header(303, 1) + Hex32(1) + Hex32(10) + HexBytes("abc", 3));
  EXPECT_EQ(Text(At(cutString, 0)), "abc");

  TempValue cutReal = Read(Header(303, 2) + Hex32(1) + HexString("a") + Hex32(0) + "000000000000");
  ASSERT_EQ(Size(cutReal), 2);
  EXPECT_EQ(KindOf(At(cutReal, 1)), VALUE_REAL);
  EXPECT_EQ(At(cutReal, 1).real, 0.0);

  TempValue kindOnly = Read(Header(303, 2) + Hex32(0) + HexReal(3) + Hex32(1));
  ASSERT_EQ(Size(kindOnly), 2);
  EXPECT_EQ(Text(At(kindOnly, 1)), "");

  // The declared count stands: elements that no byte holds read as the number 0.
  TempValue declaredMore = Read(Header(303, 5) + Hex32(0) + HexReal(3));
  ASSERT_EQ(Size(declaredMore), 5);
  EXPECT_EQ(At(declaredMore, 0).real, 3.0);
  EXPECT_EQ(KindOf(At(declaredMore, 4)), VALUE_REAL);
  EXPECT_EQ(At(declaredMore, 4).real, 0.0);
  // A count beyond any early end is damage: only the elements present are kept.
  TempValue damaged = Read(Header(303, (1 << 20) + 1) + Hex32(0) + HexReal(3));
  EXPECT_EQ(Size(damaged), 1);

  TempValue cutKind = Read(Header(303, 2) + Hex32(0) + HexReal(3) + "0100");  // half a kind: number 0
  ASSERT_EQ(Size(cutKind), 2);
  EXPECT_EQ(At(cutKind, 1).real, 0.0);
}

TEST_F(ListTextTest, DeepNestingIsBoundedWithoutExhaustingTheStack) {
  std::string text = Header(303, 1);
  for (int i = 0; i < 100000; ++i) text += Hex32(2) + Hex32(1);
  text += Hex32(0) + HexReal(1);
  std::string output;
  SetDebugOutputCapture(&output);
  TempValue list = Read(text);
  SetDebugOutputCapture(nullptr);
  EXPECT_NE(output.find("nested deeper than 64"), std::string::npos);

  ASSERT_EQ(Size(list), 1);
  TempValue value = At(list, 0);
  int depth = 0;
  const RValue* cursor = &value;
  while (KindOf(*cursor) == VALUE_ARRAY) {
    ASSERT_EQ(cursor->arr->length, 1);
    cursor = &cursor->arr->elements[0];
    ++depth;
  }
  EXPECT_EQ(depth, kMaxArrayNesting);
  EXPECT_EQ(KindOf(*cursor), VALUE_UNDEFINED);

  std::string written = Write(list);
  EXPECT_EQ(Write(Read(written)), written);
}

TEST_F(ListTextTest, ArraysThatContainThemselvesOrNestTooDeepAreWrittenAsUndefined) {
  std::string output;
  SetDebugOutputCapture(&output);
  TempValue cyclic;
  ArrayBody* body = MakeArray(cyclic, 2);
  SetReal(body->elements[0], 1);
  CopyValue(body->elements[1], cyclic);  // the array holds itself
  TempValue list = NewList();
  Call("ds_list_add", {list, cyclic});
  EXPECT_EQ(Write(list), Header(303, 1) + Hex32(2) + Hex32(2) + Hex32(0) + HexReal(1) + Hex32(5));
  EXPECT_NE(output.find("array that contains itself"), std::string::npos);

  TempValue deep;
  RValue* cursor = &deep;
  for (int i = 0; i < 200; ++i) cursor = &MakeArray(*cursor, 1)->elements[0];
  SetReal(*cursor, 7);
  TempValue deepList = NewList();
  Call("ds_list_add", {deepList, deep});
  std::string text = Write(deepList);
  SetDebugOutputCapture(nullptr);
  std::string expected = Header(303, 1);
  for (int i = 0; i < kMaxArrayNesting; ++i) expected += Hex32(2) + Hex32(1);
  expected += Hex32(5);
  EXPECT_EQ(text, expected);
  EXPECT_EQ(Write(Read(text)), text);
}

TEST_F(ListTextTest, ADamagedTextNeverDestroysOtherListsThroughMarks) {
  TempValue victim = NewList();
  Call("ds_list_add", {victim, TempValue(1)});
  TempValue list = Read(Header(301, 1) + Hex32(int32_t(0x40000000u | VALUE_REAL)));
  Call("ds_list_clear", {list});
  ASSERT_NE(FindList(ListIdOf(victim)), nullptr);
  EXPECT_EQ(Size(victim), 1);
}

TEST_F(ListTextTest, EveryKindOfDamageIsToldApartFromAWholeText) {
  auto reading = [&](const std::string& text) {
    TempValue id = NewList();
    int64_t before = DamagedListTextCount();
    ListTextReading result = ReadListText(ListOf(id), text, false);
    bool blank = text.find_first_not_of(" \t\r\n") == std::string::npos;
    EXPECT_EQ(DamagedListTextCount() - before, result == ListTextReading::Complete || blank ? 0 : 1) << text;
    return result;
  };
  using enum ListTextReading;
  // Whole texts, whatever they hold; blanks after the digits (as in an INI value) are no damage.
  for (const char* whole : {kEmpty, kOne, kAbc, kEmptyString, kUndefined, kAbcThen2_5})
    EXPECT_EQ(reading(whole), Complete) << whole;
  EXPECT_EQ(reading(std::string(kAbc) + " \r\n"), Complete);
  EXPECT_EQ(reading("2f0100000100000001000000030000006162"
                    "63"),
            Complete);  // lower case
  EXPECT_EQ(reading(Header(303, 1) + Hex32(2) + Hex32(2) + Hex32(0) + HexReal(1) + Hex32(1) + HexString("x")),
            Complete);
  EXPECT_EQ(reading(Header(302, 1) + Hex32(2) + Hex32(1) + Hex32(1) + Hex32(0) + HexReal(1)), Complete);

  // Not list texts: refused; only a non-blank one counts as damage.
  EXPECT_EQ(reading(""), Refused);
  EXPECT_EQ(reading("  "), Refused);
  EXPECT_EQ(reading("not hex"), Refused);
  EXPECT_EQ(reading(Header(304, 0)), Refused);

  std::string abc = kAbc;
  EXPECT_EQ(reading(abc.substr(0, abc.size() - 2)), Damaged);                    // cut inside a string
  EXPECT_EQ(reading(abc.substr(0, abc.size() - 1)), Damaged);                    // an odd number of digits
  EXPECT_EQ(reading(abc + "00"), Damaged);                                       // a byte left over
  EXPECT_EQ(reading(abc + "x"), Damaged);                                        // other characters after it
  EXPECT_EQ(reading(Header(303, 3) + Hex32(0) + HexReal(1)), Damaged);           // fewer elements than declared
  EXPECT_EQ(reading(Header(303, -1)), Damaged);                                  // a negative count
  EXPECT_EQ(reading(Header(303, 1) + Hex32(1) + Hex32(-2)), Damaged);            // a negative string length
  EXPECT_EQ(reading(Header(303, 1) + Hex32(2) + Hex32(-2)), Damaged);            // a negative array length
  EXPECT_EQ(reading(Header(303, 1) + Hex32(2) + Hex32(3) + Hex32(5)), Damaged);  // an array cut short
  EXPECT_EQ(reading(Header(303, 1) + Hex32(0) + "0000F03F"), Damaged);           // a number cut short
  EXPECT_EQ(reading(Header(303, 1) + Hex32(6)), Damaged);                        // an unsupported kind
  std::string deep = Header(303, 1);
  for (int i = 0; i <= kMaxArrayNesting; ++i) deep += Hex32(2) + Hex32(1);
  EXPECT_EQ(reading(deep + Hex32(5)), Damaged);  // nested too deep
}
