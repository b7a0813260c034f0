// The list text form inside: storage sized to the count, kinds the call cases
// cannot make, what reading and writing log. Worked texts, older versions and
// damaged texts: cases/list_texts.calls.
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

// The worked texts themselves: cases/list_texts.calls.
TEST_F(ListTextTest, ReadingSizesTheStorageExactlyToTheCount) {
  const std::string nested =  // ["wiersz", [1.5, undefined]]
      Header(303, 1) + Hex32(2) + Hex32(2) + Hex32(1) + HexString("wiersz") + Hex32(2) + Hex32(2) + Hex32(0) +
      HexReal(1.5) + Hex32(5);
  std::vector<int> capacities;
  for (const std::string& text : {std::string("2F01000000000000"), nested, std::string(kAbcThen2_5)})
    capacities.push_back(ListOf(Read(text)).Capacity());
  EXPECT_EQ(capacities, (std::vector<int>{0, 1, 2}));
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

// The other texts, with their verdicts: cases/list_texts.calls. These log what
// they found.
TEST_F(ListTextTest, UnsupportedKindsAndTooDeepNestingAreLogged) {
  using enum ListTextReading;
  // Arrays nested one level too deep, and a hundred thousand levels deep.
  std::string deep = Header(303, 1), deeper = Header(303, 1);
  for (int i = 0; i <= kMaxArrayNesting; ++i) deep += Hex32(2) + Hex32(1);
  for (int i = 0; i < 100000; ++i) deeper += Hex32(2) + Hex32(1);
  const std::string deepest = std::string(kMaxArrayNesting, '[') + "u" + std::string(kMaxArrayNesting, ']');
  const std::vector<std::pair<std::string, std::string>> rows = {
      {Header(303, 2) + Hex32(6) + Hex32(99) + Hex32(0) + HexReal(3), "u u"},
      {deep + Hex32(5), deepest},
      {deeper + Hex32(0) + HexReal(1), deepest},
  };
  for (const auto& [text, contents] : rows) {
    SCOPED_TRACE(text.substr(0, 80));
    TempValue list = NewList({Str("keep")});
    int64_t before = DamagedListTextCount();
    EXPECT_EQ(ReadListText(ListOf(list), text, false), Damaged);
    EXPECT_EQ(Contents(list), contents);
    EXPECT_EQ(DamagedListTextCount() - before, 1);
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
