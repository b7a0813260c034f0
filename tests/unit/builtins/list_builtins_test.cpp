// The ds_list_* built-ins: ids, growth, element operations, argument errors and
// the nested lists that clearing destroys.
#include <pthread.h>

#include <algorithm>

#include "list_test_support.h"
#include "runtime/debug_output.h"

namespace {
using ListBuiltinsTest = ListTest;

TEST_F(ListBuiltinsTest, IdsAreDsListReferencesReusedLowestFirstInATableGrowingBySixteen) {
  TempValue first = NewList();
  EXPECT_EQ(KindOf(first), VALUE_REF);
  EXPECT_EQ(uint64_t(first.v64), 0x0200000100000000u);
  TempValue second = NewList();
  NewList();
  Call("ds_list_destroy", {second});
  Call("ds_list_destroy", {first});
  std::vector<int> ids;
  for (int i = 0; i < 3; ++i) ids.push_back(ListIdOf(NewList()));
  EXPECT_EQ(ids, (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(std::vector<int>({ListTableCount(), ListTableCapacity()}), (std::vector<int>{4, 16}));
  for (int i = 0; i < 13; ++i) NewList();
  EXPECT_EQ(ListTableCapacity(), 32);
}

TEST_F(ListBuiltinsTest, StorageGrowsByAnEighthAndAtLeastSixteenAndClearingKeepsIt) {
  TempValue list = NewList();
  std::vector<int> capacities = {ListOf(list).Capacity()};
  for (int i = 0; i < 200; ++i) {
    Call("ds_list_add", {list, TempValue(i)});
    if (capacities.back() != ListOf(list).Capacity()) capacities.push_back(ListOf(list).Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{0, 16, 32, 48, 64, 80, 96, 112, 128, 144, 162, 182, 204}));
  EXPECT_EQ(Size(list), 200);
  Call("ds_list_clear", {list});
  EXPECT_EQ(std::vector<int>({Size(list), ListOf(list).Capacity()}), (std::vector<int>{0, 204}));
}

TEST_F(ListBuiltinsTest, ElementOperationsActInsideTheListOnly) {
  TempValue list = NewList();
  TempValue text = Str("Kowalski");
  Call("ds_list_add", {list, TempValue(1), text, Undefined(), TempValue(2.5)});
  EXPECT_EQ(Contents(list), "1 \"Kowalski\" u 2.5");
  EXPECT_EQ(text.str->refCount, 2);    // the list shares the body
  EXPECT_EQ(At(list, 3.9).real, 2.5);  // positions are truncated toward zero
  EXPECT_EQ(Picture(At(list, -1)) + Picture(At(list, 4)), "uu");
  EXPECT_EQ(Text(Call("ds_list_find_value", {list, Str("1")})), "Kowalski");

  Call("ds_list_replace", {list, TempValue(1), Str("dwa")});
  Call("ds_list_delete", {list, TempValue(-1)});
  Call("ds_list_delete", {list, TempValue(4)});
  Call("ds_list_delete", {list, TempValue(0)});
  EXPECT_EQ(Contents(list), "\"dwa\" u 2.5");
  EXPECT_EQ(ListOf(list).At(3).kind, uint32_t(VALUE_UNDEFINED));  // the vacated slot holds nothing
  Call("ds_list_insert", {list, TempValue(0), TempValue(1)});
  Call("ds_list_insert", {list, TempValue(4), TempValue(3)});
  Call("ds_list_set", {list, TempValue(2), TempValue(20)});
  Call("ds_list_set", {list, TempValue(7), TempValue(50)});
  EXPECT_EQ(Contents(list), "1 \"dwa\" 20 2.5 3 0 0 50");
  for (auto [name, position] : std::vector<std::pair<const char*, int>>{
           {"ds_list_replace", 8}, {"ds_list_replace", -1}, {"ds_list_insert", 9}, {"ds_list_set", -2}})
    EXPECT_EQ(CallError(name, {list, TempValue(position), TempValue(0)}),
              std::string(name) + " :: Trying to access an out-of-bounds index [| " + std::to_string(position) + "]");
  EXPECT_EQ(Contents(list), "1 \"dwa\" 20 2.5 3 0 0 50");

  Call("ds_list_add", {list, Str("20")});
  std::vector<double> found;
  for (const TempValue& value : {TempValue(50), Str("20"), TempValue(7)})
    found.push_back(Call("ds_list_find_index", {list, value}).real);
  EXPECT_EQ(found, (std::vector<double>{7, 2, -1}));  // == compares "20" equal to 20
}

TEST_F(ListBuiltinsTest, ListIdArgumentsAreCheckedWithTheirMessages) {
  NewList();
  TempValue second = NewList();
  NewList();
  Call("ds_list_destroy", {second});
  TempValue room, array, destroyed;
  SetReference(room, kRefTypeRoom, 0);
  MakeArray(array, 1);
  SetReference(destroyed, kRefTypeDsList, 1);
  const std::vector<std::pair<TempValue, std::string>> rows = {
      {room, "incorrect type (room) expecting a ds_list"},
      {Undefined(), "incorrect type (undefined) expecting a ds_list"},
      {TempValue(7), "invalid reference to (ds_list) - requested 7 max is 3"},
      {destroyed, "invalid reference to (ds_list) - requested 1 max is 3"},
      {TempValue(-1), "invalid reference to (ds_list) - requested -1 max is 3"},
      {array, "incorrect type (array) expecting a Number (VQGI32)"},
  };
  for (const auto& [id, message] : rows)
    EXPECT_EQ(CallError("ds_list_clear", {id}), "ds_list_clear argument 1 " + message);
  EXPECT_EQ(CallError("ds_list_size", {TempValue(0.9)}) + CallError("ds_list_size", {Str("0")}), "");  // list 0
}

TEST_F(ListBuiltinsTest, ARejectedIdNeverFallsBackToListZero) {
  TempValue zero = NewList({TempValue(1)});
  TempValue array;
  MakeArray(array, 1);
  {
    SuppressErrors suppressed;
    Call("ds_list_clear", {array});
    Call("ds_list_add", {Str("abc"), TempValue(2)});
    EXPECT_TRUE(suppressed.ErrorOccurred());
  }
  g_runtimeStarted = false;  // before start-up the report returns instead of throwing
  std::string output;
  SetDebugOutputCapture(&output);
  Call("ds_list_clear", {Str("abc")});
  SetDebugOutputCapture(nullptr);
  EXPECT_EQ(Contents(zero), "1");
  EXPECT_NE(output.find("incorrect type (string)"), std::string::npos);
  EXPECT_EQ(output.find("ERROR!!!", output.find("ERROR!!!") + 1), std::string::npos);  // reported once
}

TEST_F(ListBuiltinsTest, CopyEmptySortAndShuffle) {
  TempValue list = NewList();
  EXPECT_EQ(Call("ds_list_empty", {list}).real, 1.0);
  Call("ds_list_add", {list, Str("b"), TempValue(3), Str("a"), TempValue(-1), Undefined(), TempValue(2)});
  EXPECT_EQ(Call("ds_list_empty", {list}).real, 0.0);
  TempValue copy = NewList({Str("gone")});
  Call("ds_list_copy", {copy, list});
  Call("ds_list_copy", {copy, copy});
  Call("ds_list_sort", {copy, TempValue(1)});
  EXPECT_EQ(Contents(copy), "-1 2 3 \"a\" \"b\" u");
  Call("ds_list_sort", {copy, TempValue(0)});
  EXPECT_EQ(Contents(copy), "u \"b\" \"a\" 3 2 -1");
  EXPECT_EQ(Contents(list), "\"b\" 3 \"a\" -1 u 2");  // the source is untouched

  TempValue many = NewList();
  for (int i = 0; i < 50; ++i) Call("ds_list_add", {many, TempValue(i)});
  Call("ds_list_shuffle", {many});
  std::vector<double> shuffled;
  for (int i = 0; i < 50; ++i) shuffled.push_back(At(many, i).real);
  std::sort(shuffled.begin(), shuffled.end());
  for (int i = 0; i < 50; ++i) EXPECT_EQ(shuffled[size_t(i)], i);
}

TEST_F(ListBuiltinsTest, MarksAreReportedClearedOnFindAndOwnNestedLists) {
  TempValue innermost = NewList({TempValue(1)});
  TempValue inner = NewList({innermost});
  Call("ds_list_mark_as_list", {inner, TempValue(0)});
  TempValue unrelated = NewList();
  TempValue outer = NewList({inner, unrelated, TempValue(5)});
  Call("ds_list_mark_as_list", {outer, TempValue(0)});
  Call("ds_list_mark_as_map", {outer, TempValue(2)});
  EXPECT_EQ(CallError("ds_list_mark_as_list", {outer, TempValue(3)}),
            "ds_list_mark_as_list :: Trying to access an out-of-bounds index [| 3]");
  std::vector<double> answers;
  for (const char* name : {"ds_list_is_list", "ds_list_is_map"})
    for (int position : {0, 1, 2, 9}) answers.push_back(Call(name, {outer, TempValue(position)}).real);
  EXPECT_EQ(answers, (std::vector<double>{1, 0, 0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(At(outer, 0).kind, uint32_t(VALUE_REF));                          // the copy carries no mark
  EXPECT_EQ(Text(Call("ds_list_write", {outer})).substr(16, 8), "0F000000");  // nor does the text

  Call("ds_list_delete", {outer, TempValue(1)});  // deleting does not act on marks
  Call("ds_list_clear", {outer});
  EXPECT_EQ(FindList(ListIdOf(inner)), nullptr);
  EXPECT_EQ(FindList(ListIdOf(innermost)), nullptr);
  EXPECT_NE(FindList(ListIdOf(unrelated)), nullptr);
  EXPECT_NE(FindList(ListIdOf(outer)), nullptr);
}

TEST_F(ListBuiltinsTest, ClearingSurvivesCyclesAndLongChainsOfNestedLists) {
  auto holdMarked = [](const TempValue& holder, const TempValue& held) {
    Call("ds_list_add", {holder, held});
    Call("ds_list_mark_as_list", {holder, TempValue(Size(holder) - 1)});
  };
  TempValue self = NewList();
  holdMarked(self, self);
  Call("ds_list_clear", {self});
  ASSERT_NE(FindList(ListIdOf(self)), nullptr);  // a list never destroys itself
  EXPECT_EQ(Size(self), 0);

  TempValue a = NewList();
  TempValue b = NewList();
  holdMarked(a, b);
  holdMarked(b, a);
  Call("ds_list_read", {a, Str("2F01000000000000")});  // reading clears as ds_list_clear does
  EXPECT_NE(FindList(ListIdOf(a)), nullptr);
  EXPECT_EQ(FindList(ListIdOf(b)), nullptr);
  holdMarked(a, a);
  Call("ds_list_destroy", {a});
  EXPECT_EQ(FindList(ListIdOf(a)), nullptr);

  TempValue head = NewList();
  TempValue previous = head;
  for (int i = 0; i < 30000; ++i) {
    TempValue next = NewList();
    holdMarked(previous, next);
    previous = next;
  }
  // On a 256 KB stack, which destroying the chain recursively would overflow.
  static int32_t headId;
  headId = ListIdOf(head);
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 256 * 1024);
  pthread_t destroyer;
  auto destroy = [](void*) -> void* {
    DestroyList(headId);
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&destroyer, &attributes, destroy, nullptr), 0);
  pthread_join(destroyer, nullptr);
  pthread_attr_destroy(&attributes);
  EXPECT_EQ(FindList(ListIdOf(previous)), nullptr);
  EXPECT_EQ(ListIdOf(NewList()), 1);  // the lowest id freed by the chain
}
}  // namespace
