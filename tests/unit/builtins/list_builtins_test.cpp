// The ds_list_* built-ins: ids, growth, element operations, argument errors and
// the nested lists that clearing destroys.
#include <pthread.h>

#include <algorithm>

#include "list_test_support.h"
#include "runtime/array.h"
#include "runtime/debug_output.h"

class ListBuiltinsTest : public ListTest {
 protected:
  int Size(const TempValue& id) { return int(Call("ds_list_size", {id}).real); }
  TempValue At(const TempValue& id, double position) { return Call("ds_list_find_value", {id, TempValue(position)}); }
  std::vector<double> Numbers(const TempValue& id) {
    std::vector<double> numbers;
    for (int i = 0; i < Size(id); ++i) numbers.push_back(At(id, i).real);
    return numbers;
  }
};

TEST_F(ListBuiltinsTest, IdsAreDsListReferencesReusedLowestFirst) {
  TempValue first = NewList();
  EXPECT_EQ(KindOf(first), VALUE_REF);
  EXPECT_EQ(uint64_t(first.v64), 0x0200000100000000u);
  TempValue second = NewList();
  TempValue third = NewList();
  EXPECT_EQ(ListIdOf(third), 2);

  Call("ds_list_destroy", {second});
  Call("ds_list_destroy", {first});
  EXPECT_EQ(ListIdOf(NewList()), 0);
  EXPECT_EQ(ListIdOf(NewList()), 1);
  EXPECT_EQ(ListIdOf(NewList()), 3);
  EXPECT_EQ(ListTableCount(), 4);
  EXPECT_EQ(ListTableCapacity(), 16);
  for (int i = 0; i < 13; ++i) NewList();
  EXPECT_EQ(ListTableCapacity(), 32);  // the table grows by 16 entries
}

TEST_F(ListBuiltinsTest, StorageGrowsByAnEighthAndAtLeastSixteen) {
  TempValue list = NewList();
  EXPECT_EQ(ListOf(list).Capacity(), 0);
  Call("ds_list_add", {list, TempValue(0)});
  EXPECT_EQ(ListOf(list).Capacity(), 16);
  for (int i = 1; i < 16; ++i) Call("ds_list_add", {list, TempValue(i)});
  EXPECT_EQ(ListOf(list).Capacity(), 16);
  Call("ds_list_add", {list, TempValue(16)});
  EXPECT_EQ(ListOf(list).Capacity(), 32);

  std::vector<int> capacities;
  for (int i = 17; i < 200; ++i) {
    Call("ds_list_add", {list, TempValue(i)});
    if (capacities.empty() || capacities.back() != ListOf(list).Capacity())
      capacities.push_back(ListOf(list).Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{32, 48, 64, 80, 96, 112, 128, 144, 162, 182, 204}));

  Call("ds_list_clear", {list});  // clearing keeps the storage
  EXPECT_EQ(Size(list), 0);
  EXPECT_EQ(ListOf(list).Capacity(), 204);
}

TEST_F(ListBuiltinsTest, AddTakesAnyNumberOfValuesAndFindCopiesThem) {
  TempValue list = NewList();
  TempValue text = Str("Kowalski");
  Call("ds_list_add", {list, TempValue(1), text, Undefined(), TempValue(2.5)});
  ASSERT_EQ(Size(list), 4);
  EXPECT_EQ(Text(At(list, 1)), "Kowalski");
  EXPECT_EQ(text.str->refCount, 2);  // the list shares the body
  EXPECT_EQ(KindOf(At(list, 2)), VALUE_UNDEFINED);
  EXPECT_EQ(At(list, 3.9).real, 2.5);  // positions are truncated toward zero

  EXPECT_EQ(KindOf(At(list, -1)), VALUE_UNDEFINED);
  EXPECT_EQ(KindOf(At(list, 4)), VALUE_UNDEFINED);
  EXPECT_EQ(Text(Call("ds_list_find_value", {list, Str("1")})), "Kowalski");
}

TEST_F(ListBuiltinsTest, ReplaceAndDeleteActInsideTheListOnly) {
  TempValue list = NewList();
  Call("ds_list_add", {list, TempValue(10), TempValue(20), TempValue(30)});

  Call("ds_list_replace", {list, TempValue(1), Str("dwadzieścia")});
  EXPECT_EQ(Text(At(list, 1)), "dwadzieścia");
  EXPECT_EQ(CallError("ds_list_replace", {list, TempValue(3), TempValue(0)}),
            "ds_list_replace :: Trying to access an out-of-bounds index [| 3]");
  EXPECT_EQ(CallError("ds_list_replace", {list, TempValue(-1), TempValue(0)}),
            "ds_list_replace :: Trying to access an out-of-bounds index [| -1]");
  EXPECT_EQ(Size(list), 3);

  Call("ds_list_delete", {list, TempValue(-1)});
  Call("ds_list_delete", {list, TempValue(3)});
  EXPECT_EQ(Size(list), 3);
  Call("ds_list_delete", {list, TempValue(0)});
  ASSERT_EQ(Size(list), 2);
  EXPECT_EQ(Text(At(list, 0)), "dwadzieścia");
  EXPECT_EQ(At(list, 1).real, 30);
  EXPECT_EQ(ListOf(list).At(2).kind, uint32_t(VALUE_UNDEFINED));  // the vacated slot holds nothing
}

TEST_F(ListBuiltinsTest, ListIdArgumentsAreCheckedWithTheirMessages) {
  TempValue first = NewList();
  TempValue second = NewList();
  NewList();
  Call("ds_list_destroy", {second});

  TempValue room;
  SetReference(room, kRefTypeRoom, 0);
  EXPECT_EQ(CallError("ds_list_size", {room}), "ds_list_size argument 1 incorrect type (room) expecting a ds_list");
  EXPECT_EQ(CallError("ds_list_add", {Undefined(), TempValue(1)}),
            "ds_list_add argument 1 incorrect type (undefined) expecting a ds_list");
  EXPECT_EQ(CallError("ds_list_size", {TempValue(7)}),
            "ds_list_size argument 1 invalid reference to (ds_list) - requested 7 max is 3");
  EXPECT_EQ(CallError("ds_list_clear", {ListIdValue(1)}),
            "ds_list_clear argument 1 invalid reference to (ds_list) - requested 1 max is 3");
  EXPECT_EQ(CallError("ds_list_write", {TempValue(-1)}),
            "ds_list_write argument 1 invalid reference to (ds_list) - requested -1 max is 3");
  TempValue array;
  MakeArray(array, 1);
  EXPECT_EQ(CallError("ds_list_size", {array}),
            "ds_list_size argument 1 incorrect type (array) expecting a Number (VQGI32)");
  EXPECT_EQ(CallError("ds_list_find_value", {first, array}),
            "ds_list_find_value argument 2 incorrect type (array) expecting a Number (VQGI32)");

  EXPECT_EQ(CallError("ds_list_size", {TempValue(0.9)}), "");  // a number names a list, truncated
  EXPECT_EQ(Call("ds_list_size", {Str("0")}).real, 0);
}

TEST_F(ListBuiltinsTest, ARejectedIdNeverFallsBackToListZero) {
  TempValue zero = NewList();
  Call("ds_list_add", {zero, TempValue(1)});
  TempValue array;
  MakeArray(array, 1);
  {
    SuppressErrors suppressed;
    Call("ds_list_clear", {array});
    Call("ds_list_add", {Str("abc"), TempValue(2)});
    EXPECT_TRUE(suppressed.ErrorOccurred());
  }
  EXPECT_EQ(Numbers(zero), (std::vector<double>{1}));

  g_runtimeStarted = false;  // before start-up the report returns instead of throwing
  std::string output;
  SetDebugOutputCapture(&output);
  Call("ds_list_clear", {Str("abc")});
  SetDebugOutputCapture(nullptr);
  EXPECT_EQ(Numbers(zero), (std::vector<double>{1}));
  size_t first = output.find("incorrect type (string)");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(output.find("ERROR!!!", output.find("ERROR!!!") + 1), std::string::npos);  // reported once
}

TEST_F(ListBuiltinsTest, ReadAndWriteGoThroughTheBuiltins) {
  TempValue list = NewList();
  Call("ds_list_add", {list, Str("abc"), TempValue(2.5)});
  TempValue text = Call("ds_list_write", {list});
  EXPECT_EQ(Text(text), "2F010000020000000100000003000000616263000000000000000000000440");

  TempValue copy = NewList();
  Call("ds_list_read", {copy, text});
  EXPECT_EQ(Text(Call("ds_list_write", {copy})), Text(text));
}

TEST_F(ListBuiltinsTest, InsertSetAndFindIndex) {
  TempValue list = NewList();
  Call("ds_list_insert", {list, TempValue(0), TempValue(2)});
  Call("ds_list_insert", {list, TempValue(0), TempValue(1)});
  Call("ds_list_insert", {list, TempValue(2), TempValue(3)});
  EXPECT_EQ(Numbers(list), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(CallError("ds_list_insert", {list, TempValue(5), TempValue(0)}),
            "ds_list_insert :: Trying to access an out-of-bounds index [| 5]");

  Call("ds_list_set", {list, TempValue(1), TempValue(20)});
  Call("ds_list_set", {list, TempValue(5), TempValue(50)});
  EXPECT_EQ(Numbers(list), (std::vector<double>{1, 20, 3, 0, 0, 50}));
  EXPECT_EQ(CallError("ds_list_set", {list, TempValue(-2), TempValue(0)}),
            "ds_list_set :: Trying to access an out-of-bounds index [| -2]");

  Call("ds_list_add", {list, Str("20")});
  EXPECT_EQ(Call("ds_list_find_index", {list, TempValue(50)}).real, 5);
  EXPECT_EQ(Call("ds_list_find_index", {list, Str("20")}).real, 1);  // == compares "20" equal to 20
  EXPECT_EQ(Call("ds_list_find_index", {list, TempValue(7)}).real, -1);
}

TEST_F(ListBuiltinsTest, CopyEmptySortAndShuffle) {
  TempValue list = NewList();
  EXPECT_EQ(Call("ds_list_empty", {list}).real, 1.0);
  Call("ds_list_add", {list, Str("b"), TempValue(3), Str("a"), TempValue(-1), Undefined(), TempValue(2)});
  EXPECT_EQ(Call("ds_list_empty", {list}).real, 0.0);

  TempValue copy = NewList();
  Call("ds_list_add", {copy, Str("gone")});
  Call("ds_list_copy", {copy, list});
  ASSERT_EQ(Size(copy), 6);
  Call("ds_list_copy", {copy, copy});
  EXPECT_EQ(Size(copy), 6);

  Call("ds_list_sort", {copy, TempValue(1)});
  EXPECT_EQ(At(copy, 0).real, -1);
  EXPECT_EQ(At(copy, 1).real, 2);
  EXPECT_EQ(At(copy, 2).real, 3);
  EXPECT_EQ(Text(At(copy, 3)), "a");
  EXPECT_EQ(Text(At(copy, 4)), "b");
  EXPECT_EQ(KindOf(At(copy, 5)), VALUE_UNDEFINED);
  Call("ds_list_sort", {copy, TempValue(0)});
  EXPECT_EQ(KindOf(At(copy, 0)), VALUE_UNDEFINED);
  EXPECT_EQ(Text(At(copy, 1)), "b");
  EXPECT_EQ(At(copy, 5).real, -1);
  EXPECT_EQ(Text(At(list, 0)), "b");  // the source is untouched

  TempValue many = NewList();
  for (int i = 0; i < 50; ++i) Call("ds_list_add", {many, TempValue(i)});
  Call("ds_list_shuffle", {many});
  std::vector<double> shuffled = Numbers(many);
  std::sort(shuffled.begin(), shuffled.end());
  for (int i = 0; i < 50; ++i) EXPECT_EQ(shuffled[size_t(i)], i);
}

TEST_F(ListBuiltinsTest, MarksAreReportedClearedOnFindAndOwnNestedLists) {
  TempValue outer = NewList();
  TempValue inner = NewList();
  TempValue innermost = NewList();
  TempValue unrelated = NewList();
  Call("ds_list_add", {innermost, TempValue(1)});
  Call("ds_list_add", {inner, innermost});
  Call("ds_list_mark_as_list", {inner, TempValue(0)});
  Call("ds_list_add", {outer, inner, unrelated, TempValue(5)});
  Call("ds_list_mark_as_list", {outer, TempValue(0)});
  Call("ds_list_mark_as_map", {outer, TempValue(2)});
  EXPECT_EQ(CallError("ds_list_mark_as_list", {outer, TempValue(3)}),
            "ds_list_mark_as_list :: Trying to access an out-of-bounds index [| 3]");

  EXPECT_EQ(Call("ds_list_is_list", {outer, TempValue(0)}).real, 1.0);
  EXPECT_EQ(Call("ds_list_is_list", {outer, TempValue(1)}).real, 0.0);
  EXPECT_EQ(Call("ds_list_is_map", {outer, TempValue(2)}).real, 1.0);
  EXPECT_EQ(Call("ds_list_is_map", {outer, TempValue(9)}).real, 0.0);
  TempValue found = At(outer, 0);
  EXPECT_EQ(found.kind, uint32_t(VALUE_REF));                                 // the copy carries no mark
  EXPECT_EQ(Text(Call("ds_list_write", {outer})).substr(16, 8), "0F000000");  // nor does the text

  Call("ds_list_delete", {outer, TempValue(1)});  // deleting does not act on marks
  Call("ds_list_clear", {outer});
  EXPECT_EQ(FindList(ListIdOf(inner)), nullptr);
  EXPECT_EQ(FindList(ListIdOf(innermost)), nullptr);
  EXPECT_NE(FindList(ListIdOf(unrelated)), nullptr);
  EXPECT_NE(FindList(ListIdOf(outer)), nullptr);
}

TEST_F(ListBuiltinsTest, ClearingSurvivesCyclesAndLongChainsOfNestedLists) {
  TempValue self = NewList();
  Call("ds_list_add", {self, self});
  Call("ds_list_mark_as_list", {self, TempValue(0)});
  Call("ds_list_clear", {self});
  ASSERT_NE(FindList(ListIdOf(self)), nullptr);  // a list never destroys itself
  EXPECT_EQ(Size(self), 0);

  TempValue a = NewList();
  TempValue b = NewList();
  Call("ds_list_add", {a, b});
  Call("ds_list_mark_as_list", {a, TempValue(0)});
  Call("ds_list_add", {b, a});
  Call("ds_list_mark_as_list", {b, TempValue(0)});
  Call("ds_list_read", {a, Str("2F01000000000000")});  // reading clears as ds_list_clear does
  EXPECT_NE(FindList(ListIdOf(a)), nullptr);
  EXPECT_EQ(FindList(ListIdOf(b)), nullptr);

  Call("ds_list_add", {a, a});
  Call("ds_list_mark_as_list", {a, TempValue(0)});
  Call("ds_list_destroy", {a});
  EXPECT_EQ(FindList(ListIdOf(a)), nullptr);

  TempValue head = NewList();
  TempValue previous = head;
  for (int i = 0; i < 30000; ++i) {
    TempValue next = NewList();
    Call("ds_list_add", {previous, next});
    Call("ds_list_mark_as_list", {previous, TempValue(0)});
    previous = next;
  }
  // On a 256 KB stack, which destroying the chain recursively would overflow.
  static int32_t headId;
  headId = ListIdOf(head);
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 256 * 1024);
  pthread_t destroyer;
  ASSERT_EQ(pthread_create(
                &destroyer, &attributes,
                [](void*) -> void* {
                  DestroyList(headId);
                  return nullptr;
                },
                nullptr),
            0);
  pthread_join(destroyer, nullptr);
  pthread_attr_destroy(&attributes);
  EXPECT_EQ(FindList(headId), nullptr);
  EXPECT_EQ(FindList(ListIdOf(previous)), nullptr);
  EXPECT_EQ(ListIdOf(NewList()), 1);  // the lowest id freed by the chain
}
