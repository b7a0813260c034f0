// The ds_list_* built-ins inside: the id table, storage growth, shared bodies,
// errors before start-up and the nested lists that clearing destroys. Their
// results and errors: cases/lists.calls.
#include <pthread.h>

#include "list_test_support.h"
#include "runtime/debug_output.h"

namespace {
using ListBuiltinsTest = ListTest;

// The ids themselves and their reuse: cases/lists.calls.
TEST_F(ListBuiltinsTest, TheIdTableGrowsBySixteen) {
  TempValue first = NewList();
  TempValue second = NewList();
  NewList();
  Call("ds_list_destroy", {second});
  Call("ds_list_destroy", {first});
  for (int i = 0; i < 3; ++i) NewList();
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

// The operations' results: cases/lists.calls.
TEST_F(ListBuiltinsTest, AddedTextsShareTheirBodyAndADeletedSlotHoldsNothing) {
  TempValue list = NewList();
  TempValue text = Str("Kowalski");
  Call("ds_list_add", {list, TempValue(1), text, Undefined(), TempValue(2.5)});
  EXPECT_EQ(text.str->refCount, 2);
  Call("ds_list_delete", {list, TempValue(0)});
  EXPECT_EQ(ListOf(list).At(3).kind, uint32_t(VALUE_UNDEFINED));
}

// With errors suppressed: cases/lists.calls.
TEST_F(ListBuiltinsTest, ARejectedIdNeverFallsBackToListZeroBeforeStartUp) {
  TempValue zero = NewList({TempValue(1)});
  g_runtimeStarted = false;  // before start-up the report returns instead of throwing
  std::string output;
  SetDebugOutputCapture(&output);
  Call("ds_list_clear", {Str("abc")});
  SetDebugOutputCapture(nullptr);
  EXPECT_EQ(Contents(zero), "1");
  EXPECT_NE(output.find("incorrect type (string)"), std::string::npos);
  EXPECT_EQ(output.find("ERROR!!!", output.find("ERROR!!!") + 1), std::string::npos);  // reported once
}

// What the marks report: cases/lists.calls.
TEST_F(ListBuiltinsTest, FoundValuesCarryNoMarkAndMarkedListsAreOwned) {
  TempValue innermost = NewList({TempValue(1)});
  TempValue inner = NewList({innermost});
  Call("ds_list_mark_as_list", {inner, TempValue(0)});
  TempValue unrelated = NewList();
  TempValue outer = NewList({inner, unrelated, TempValue(5)});
  Call("ds_list_mark_as_list", {outer, TempValue(0)});
  Call("ds_list_mark_as_map", {outer, TempValue(2)});
  EXPECT_EQ(At(outer, 0).kind, uint32_t(VALUE_REF));  // the copy carries no mark

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
