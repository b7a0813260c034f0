// The list text form: worked texts byte for byte, every readable version, round
// trips, and how far damaged texts read.
#include "builtins/list_text.h"

#include "list_test_support.h"
#include "runtime/debug_output.h"

namespace {
const char* const kAbcThen2_5 = "2F010000020000000100000003000000616263000000000000000000000440";

class ListTextTest : public ListTest {
 protected:
  void SetUp() override {
    ListTest::SetUp();
    SetDebugOutputCapture(&log_);
  }
  void TearDown() override {
    SetDebugOutputCapture(nullptr);
    ListTest::TearDown();
  }
  std::string log_;
};

TEST_F(ListTextTest, WorkedTextsAreWrittenByteForByteAndReadBack) {
  TempValue array;  // ["wiersz", [1.5, undefined]]
  ArrayBody* outer = MakeArray(array, 2);
  SetStringCopy(outer->elements[0], "wiersz");
  ArrayBody* inner = MakeArray(outer->elements[1], 2);
  SetReal(inner->elements[0], 1.5);
  SetUndefined(inner->elements[1]);
  struct Row {
    std::vector<TempValue> values;
    std::string text;
  };
  const std::vector<Row> rows = {
      {{}, "2F01000000000000"},
      {{TempValue(1.0)}, "2F0100000100000000000000000000000000F03F"},
      {{Str("abc")}, "2F010000010000000100000003000000616263"},
      {{Str("")}, "2F010000010000000100000000000000"},
      {{Undefined()}, "2F0100000100000005000000"},
      {{Str("abc"), TempValue(2.5)}, kAbcThen2_5},
      {{Str("ż")}, "2F010000010000000100000002000000C5BC"},
      {{array},
       Header(303, 1) + Hex32(2) + Hex32(2) + Hex32(1) + HexString("wiersz") + Hex32(2) + Hex32(2) + Hex32(0) +
           HexReal(1.5) + Hex32(5)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    TempValue list = NewList();
    for (const TempValue& value : row.values) Call("ds_list_add", {list, value});
    EXPECT_EQ(Write(list), row.text);
    TempValue back = NewList({TempValue(9), TempValue(8)});  // reading replaces what was there
    Call("ds_list_read", {back, Str(row.text)});
    EXPECT_EQ(Contents(back), Contents(list));
    EXPECT_EQ(ListOf(Read(row.text)).Capacity(), int(row.values.size()));  // sized exactly to the count
  }
}

TEST_F(ListTextTest, NumbersStringsAndOtherKindsRoundTripExactly) {
  TempValue list = NewList();
  for (double date : {45424.3333333, 45424.0 + 1.0 / 3.0, -0.0, 1e-310, 1.7976931348623157e308})
    Call("ds_list_add", {list, TempValue(date)});
  for (const char* text : {"Zażółć gęślą jaźń", "żółw\tłódź\n", ""}) Call("ds_list_add", {list, Str(text)});
  RValue value;
  SetInt32(value, -7);
  ListOf(list).Add(value);
  SetInt64(value, INT64_MIN + 5);
  ListOf(list).Add(value);
  SetBool(value, true);
  ListOf(list).Add(value);
  SetReference(value, kRefTypeDsList, 3);
  ListOf(list).Add(value);
  value.v64 = 0x1234;
  value.kind = VALUE_PTR;
  ListOf(list).Add(value);

  std::string text = Write(list);
  EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(Write(Read(text)), text);
  EXPECT_EQ(Contents(Read(text)), Contents(list));
}

TEST_F(ListTextTest, OlderVersionsAndTheLegacyFormRead) {
  struct Row {
    std::string text;
    double legacyFlag;
    std::string contents;
  };
  const std::vector<Row> rows = {
      // 301: two-dimensional arrays as rows; kinds other than numbers and strings carry no data.
      {Header(301, 5) + Hex32(0) + HexReal(45424.5) + Hex32(1) + HexString("pierwszy") + Hex32(2) + Hex32(2) +
           Hex32(2) + Hex32(0) + HexReal(1) + Hex32(1) + HexString("a") + Hex32(1) + Hex32(0) + HexReal(2) + Hex32(7) +
           Hex32(0x40000000),
       0, "45424.5 \"pierwszy\" [[1,\"a\"],[2]] i0 u"},
      // 302: one row reads flat, several rows as arrays of arrays.
      {Header(302, 2) + Hex32(2) + Hex32(1) + Hex32(3) + Hex32(0) + HexReal(1) + Hex32(13) + HexReal(1) + Hex32(1) +
           HexString("c") + Hex32(2) + Hex32(2) + Hex32(1) + Hex32(7) + Hex32(42) + Hex32(0),
       0, "[1,b1,\"c\"] [[i42],[]]"},
      // The legacy form: each element a kind, a number and a string, read as the string.
      {Header(302, 3) + Hex32(0) + HexReal(45424.5) + HexString("stary zapis") + Hex32(1) + HexReal(0) + HexString("") +
           Hex32(77) + HexReal(1) + HexString("Łódź"),
       1, "\"stary zapis\" \"\" \"Łódź\""},
      {Header(303, 1) + Hex32(1) + HexString("x"), 0, "\"x\""},
      {Header(299, 1) + Hex32(0) + HexReal(0) + HexString("a"), 1, "5"},  // an unknown version: unchanged
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.contents);
    TempValue list = NewList({TempValue(5)});
    Call("ds_list_read", {list, Str(row.text), TempValue(row.legacyFlag)});
    EXPECT_EQ(Contents(list), row.contents);
    EXPECT_EQ(Contents(Read(Write(list))), row.contents);  // written in the current form, read the same
  }
  // A damaged kind never smuggles a slot mark in, nor destroys another list through one.
  TempValue victim = NewList({TempValue(1)});
  TempValue marked = Read(Header(301, 1) + Hex32(int32_t(0x40000000u | VALUE_REAL)));
  EXPECT_FALSE(ListOf(marked).HasMark(0, kSlotMarks));
  Call("ds_list_clear", {marked});
  EXPECT_EQ(Contents(victim), "1");
}

// Every text: what a list holding "keep" holds after reading it, and whether
// the text was whole, damaged or refused.
TEST_F(ListTextTest, DamagedTextsReadAsFarAsTheyGoAndAreToldApart) {
  using enum ListTextReading;
  const std::string abc = "2F010000010000000100000003000000616263";
  // Arrays nested one level too deep, and a hundred thousand levels deep.
  std::string deep = Header(303, 1), deeper = Header(303, 1);
  for (int i = 0; i <= kMaxArrayNesting; ++i) deep += Hex32(2) + Hex32(1);
  for (int i = 0; i < 100000; ++i) deeper += Hex32(2) + Hex32(1);
  const std::string deepest = std::string(kMaxArrayNesting, '[') + "u" + std::string(kMaxArrayNesting, ']');
  struct Row {
    std::string text;
    std::string contents;
    ListTextReading reading;
  };
  const std::vector<Row> rows = {
      {abc + " \r\n", "\"abc\"", Complete},  // blanks after the digits, as in an INI value
      {"2f010000010000000100000003000000616263", "\"abc\"", Complete},
      {Header(302, 1) + Hex32(2) + Hex32(1) + Hex32(1) + Hex32(0) + HexReal(1), "[1]", Complete},
      {"", "\"keep\"", Refused},
      {"  ", "\"keep\"", Refused},
      {"not hex", "\"keep\"", Refused},
      {"X2F01000000000000", "\"keep\"", Refused},
      {"2F0100", "\"keep\"", Refused},
      {Header(300, 0), "\"keep\"", Refused},
      {Header(304, 0), "\"keep\"", Refused},
      {"2F010000", "", Damaged},
      {abc + "00", "\"abc\"", Damaged},
      {abc + "x", "\"abc\"", Damaged},
      {abc + "0", "\"abc\"", Damaged},
      {abc.substr(0, abc.size() - 1), "\"ab\"", Damaged},
      {Header(303, 1) + Hex32(1) + Hex32(10) + HexBytes("abc", 3), "\"abc\"", Damaged},
      {Header(303, 2) + Hex32(1) + HexString("a") + Hex32(0) + "000000000000", "\"a\" 0", Damaged},
      {Header(303, 2) + Hex32(0) + HexReal(3) + Hex32(1), "3 \"\"", Damaged},
      {Header(303, 2) + Hex32(0) + HexReal(3) + "0100", "3 0", Damaged},
      {Header(303, 5) + Hex32(0) + HexReal(3), "3 0 0 0 0", Damaged},
      {Header(303, (1 << 20) + 1) + Hex32(0) + HexReal(3), "3", Damaged},
      {Header(303, 0x7FFFFFFF) + Hex32(0) + HexReal(1), "1", Damaged},
      {Header(303, -1) + Hex32(0) + HexReal(1), "", Damaged},
      {Header(303, 1) + Hex32(1) + Hex32(-2), "\"\"", Damaged},
      {Header(303, 3) + Hex32(2) + Hex32(0x7FFFFFFF) + Hex32(0) + HexReal(4), "[4] 0 0", Damaged},
      {Header(303, 2) + Hex32(2) + Hex32(-8) + Hex32(0) + HexReal(6), "[] 6", Damaged},
      {Header(303, 1) + Hex32(2) + Hex32(3) + Hex32(5), "[u]", Damaged},
      {Header(301, 1) + Hex32(2) + Hex32(0x7FFFFFFF) + Hex32(0x7FFFFFFF) + Hex32(0) + HexReal(1), "[[1]]", Damaged},
      {Header(302, 1) + Hex32(2) + Hex32(-3), "[]", Damaged},
      {Header(303, 2) + Hex32(6) + Hex32(99) + Hex32(0) + HexReal(3), "u u", Damaged},
      {deep + Hex32(5), deepest, Damaged},
      {deeper + Hex32(0) + HexReal(1), deepest, Damaged},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text.substr(0, 80));
    TempValue list = NewList({Str("keep")});
    int64_t before = DamagedListTextCount();
    EXPECT_EQ(ReadListText(ListOf(list), row.text, false), row.reading);
    EXPECT_EQ(Contents(list), row.contents);
    bool blank = row.text.find_first_not_of(" ") == std::string::npos;
    EXPECT_EQ(DamagedListTextCount() - before, row.reading == Complete || blank ? 0 : 1);
  }
  EXPECT_NE(log_.find("Attempting to ReadValue for unsupported type 6\n"), std::string::npos);
  EXPECT_NE(log_.find("Attempting to ReadValue for unsupported type 99\n"), std::string::npos);
  EXPECT_NE(log_.find("nested deeper than 64"), std::string::npos);
  // A huge count allocates only for the elements the bytes could start.
  EXPECT_LE(ListOf(Read(Header(303, 0x7FFFFFFF) + Hex32(0) + HexReal(1))).Capacity(), 3);
}

TEST_F(ListTextTest, ArraysThatContainThemselvesOrNestTooDeepAreWrittenAsUndefined) {
  TempValue cyclic;
  ArrayBody* body = MakeArray(cyclic, 2);
  SetReal(body->elements[0], 1);
  CopyValue(body->elements[1], cyclic);
  EXPECT_EQ(Write(NewList({cyclic})), Header(303, 1) + Hex32(2) + Hex32(2) + Hex32(0) + HexReal(1) + Hex32(5));
  EXPECT_NE(log_.find("array that contains itself"), std::string::npos);

  TempValue deep;
  RValue* cursor = &deep;
  for (int i = 0; i < 200; ++i) cursor = &MakeArray(*cursor, 1)->elements[0];
  SetReal(*cursor, 7);
  std::string expected = Header(303, 1);
  for (int i = 0; i < kMaxArrayNesting; ++i) expected += Hex32(2) + Hex32(1);
  EXPECT_EQ(Write(NewList({deep})), expected + Hex32(5));
  EXPECT_EQ(Write(Read(expected + Hex32(5))), expected + Hex32(5));

  TempValue unsupported = NewList();
  RValue vec;
  vec.v64 = 0;
  vec.flags = 0;
  vec.kind = VALUE_VEC3;
  ListOf(unsupported).Add(vec);
  EXPECT_EQ(Write(unsupported), Header(303, 1) + Hex32(4));
  EXPECT_NE(log_.find("Attempting to WriteValue for unsupported type 4\n"), std::string::npos);
}
}  // namespace
