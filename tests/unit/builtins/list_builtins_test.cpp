// The ds_list_* built-ins: ids, growth, element operations, argument errors and
// the nested lists that clearing destroys.
#include <pthread.h>

#include <algorithm>

#include "list_test_support.h"
#include "runtime/array.h"
#include "runtime/debug_output.h"

class ListBuiltinsTest : public ListTest {
 protected:
  int Size(const Val& id) { return int(Call("ds_list_size", {id}).v.real); }
  Val At(const Val& id, double position) { return Call("ds_list_find_value", {id, Val::Real(position)}); }
  std::vector<double> Numbers(const Val& id) {
    std::vector<double> numbers;
    for (int i = 0; i < Size(id); ++i) numbers.push_back(At(id, i).v.real);
    return numbers;
  }
};

TEST_F(ListBuiltinsTest, IdsAreDsListReferencesReusedLowestFirst) {
  Val first = NewList();
  EXPECT_EQ(first.Kind(), VALUE_REF);
  EXPECT_EQ(uint64_t(first.v.v64), 0x0200000100000000u);
  Val second = NewList();
  Val third = NewList();
  EXPECT_EQ(ListIdOf(third.v), 2);

  Call("ds_list_destroy", {second});
  Call("ds_list_destroy", {first});
  EXPECT_EQ(ListIdOf(NewList().v), 0);
  EXPECT_EQ(ListIdOf(NewList().v), 1);
  EXPECT_EQ(ListIdOf(NewList().v), 3);
  EXPECT_EQ(ListTableCount(), 4);
  EXPECT_EQ(ListTableCapacity(), 16);
  for (int i = 0; i < 13; ++i) NewList();
  EXPECT_EQ(ListTableCapacity(), 32);  // the table grows by 16 entries
}

TEST_F(ListBuiltinsTest, StorageGrowsByAnEighthAndAtLeastSixteen) {
  Val list = NewList();
  EXPECT_EQ(ListOf(list).Capacity(), 0);
  Call("ds_list_add", {list, Val::Real(0)});
  EXPECT_EQ(ListOf(list).Capacity(), 16);
  for (int i = 1; i < 16; ++i) Call("ds_list_add", {list, Val::Real(i)});
  EXPECT_EQ(ListOf(list).Capacity(), 16);
  Call("ds_list_add", {list, Val::Real(16)});
  EXPECT_EQ(ListOf(list).Capacity(), 32);

  std::vector<int> capacities;
  for (int i = 17; i < 200; ++i) {
    Call("ds_list_add", {list, Val::Real(i)});
    if (capacities.empty() || capacities.back() != ListOf(list).Capacity())
      capacities.push_back(ListOf(list).Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{32, 48, 64, 80, 96, 112, 128, 144, 162, 182, 204}));

  Call("ds_list_clear", {list});  // clearing keeps the storage
  EXPECT_EQ(Size(list), 0);
  EXPECT_EQ(ListOf(list).Capacity(), 204);
}

TEST_F(ListBuiltinsTest, AddTakesAnyNumberOfValuesAndFindCopiesThem) {
  Val list = NewList();
  Val text = Val::Text("Kowalski");
  Call("ds_list_add", {list, Val::Real(1), text, Val(), Val::Real(2.5)});
  ASSERT_EQ(Size(list), 4);
  EXPECT_EQ(At(list, 1).Str(), "Kowalski");
  EXPECT_EQ(text.v.str->refCount, 2);  // the list shares the body
  EXPECT_EQ(At(list, 2).Kind(), VALUE_UNDEFINED);
  EXPECT_EQ(At(list, 3.9).v.real, 2.5);  // positions are truncated toward zero

  EXPECT_EQ(At(list, -1).Kind(), VALUE_UNDEFINED);
  EXPECT_EQ(At(list, 4).Kind(), VALUE_UNDEFINED);
  EXPECT_EQ(Call("ds_list_find_value", {list, Val::Text("1")}).Str(), "Kowalski");
}

TEST_F(ListBuiltinsTest, ReplaceAndDeleteActInsideTheListOnly) {
  Val list = NewList();
  Call("ds_list_add", {list, Val::Real(10), Val::Real(20), Val::Real(30)});

  Call("ds_list_replace", {list, Val::Real(1), Val::Text("dwadzieścia")});
  EXPECT_EQ(At(list, 1).Str(), "dwadzieścia");
  EXPECT_EQ(CallError("ds_list_replace", {list, Val::Real(3), Val::Real(0)}),
            "ds_list_replace :: Trying to access an out-of-bounds index [| 3]");
  EXPECT_EQ(CallError("ds_list_replace", {list, Val::Real(-1), Val::Real(0)}),
            "ds_list_replace :: Trying to access an out-of-bounds index [| -1]");
  EXPECT_EQ(Size(list), 3);

  Call("ds_list_delete", {list, Val::Real(-1)});
  Call("ds_list_delete", {list, Val::Real(3)});
  EXPECT_EQ(Size(list), 3);
  Call("ds_list_delete", {list, Val::Real(0)});
  ASSERT_EQ(Size(list), 2);
  EXPECT_EQ(At(list, 0).Str(), "dwadzieścia");
  EXPECT_EQ(At(list, 1).v.real, 30);
  EXPECT_EQ(ListOf(list).At(2).kind, uint32_t(VALUE_UNDEFINED));  // the vacated slot holds nothing
}

TEST_F(ListBuiltinsTest, ListIdArgumentsAreCheckedWithTheirMessages) {
  Val first = NewList();
  Val second = NewList();
  NewList();
  Call("ds_list_destroy", {second});

  Val room;
  SetReference(room.v, kRefTypeRoom, 0);
  EXPECT_EQ(CallError("ds_list_size", {room}), "ds_list_size argument 1 incorrect type (room) expecting a ds_list");
  EXPECT_EQ(CallError("ds_list_add", {Val(), Val::Real(1)}),
            "ds_list_add argument 1 incorrect type (undefined) expecting a ds_list");
  EXPECT_EQ(CallError("ds_list_size", {Val::Real(7)}),
            "ds_list_size argument 1 invalid reference to (ds_list) - requested 7 max is 3");
  EXPECT_EQ(CallError("ds_list_clear", {Val::ListId(1)}),
            "ds_list_clear argument 1 invalid reference to (ds_list) - requested 1 max is 3");
  EXPECT_EQ(CallError("ds_list_write", {Val::Real(-1)}),
            "ds_list_write argument 1 invalid reference to (ds_list) - requested -1 max is 3");
  Val array;
  MakeArray(array.v, 1);
  EXPECT_EQ(CallError("ds_list_size", {array}),
            "ds_list_size argument 1 incorrect type (array) expecting a Number (VQGI32)");
  EXPECT_EQ(CallError("ds_list_find_value", {first, array}),
            "ds_list_find_value argument 2 incorrect type (array) expecting a Number (VQGI32)");

  EXPECT_EQ(CallError("ds_list_size", {Val::Real(0.9)}), "");  // a number names a list, truncated
  EXPECT_EQ(Call("ds_list_size", {Val::Text("0")}).v.real, 0);
}

TEST_F(ListBuiltinsTest, ARejectedIdNeverFallsBackToListZero) {
  Val zero = NewList();
  Call("ds_list_add", {zero, Val::Real(1)});
  Val array;
  MakeArray(array.v, 1);
  {
    SuppressErrors suppressed;
    Call("ds_list_clear", {array});
    Call("ds_list_add", {Val::Text("abc"), Val::Real(2)});
    EXPECT_TRUE(suppressed.ErrorOccurred());
  }
  EXPECT_EQ(Numbers(zero), (std::vector<double>{1}));

  g_runtimeStarted = false;  // before start-up the report returns instead of throwing
  std::string output;
  SetDebugOutputCapture(&output);
  Call("ds_list_clear", {Val::Text("abc")});
  SetDebugOutputCapture(nullptr);
  EXPECT_EQ(Numbers(zero), (std::vector<double>{1}));
  size_t first = output.find("incorrect type (string)");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(output.find("ERROR!!!", output.find("ERROR!!!") + 1), std::string::npos);  // reported once
}

TEST_F(ListBuiltinsTest, ReadAndWriteGoThroughTheBuiltins) {
  Val list = NewList();
  Call("ds_list_add", {list, Val::Text("abc"), Val::Real(2.5)});
  Val text = Call("ds_list_write", {list});
  EXPECT_EQ(text.Str(), "2F010000020000000100000003000000616263000000000000000000000440");

  Val copy = NewList();
  Call("ds_list_read", {copy, text});
  EXPECT_EQ(Call("ds_list_write", {copy}).Str(), text.Str());
}

TEST_F(ListBuiltinsTest, InsertSetAndFindIndex) {
  Val list = NewList();
  Call("ds_list_insert", {list, Val::Real(0), Val::Real(2)});
  Call("ds_list_insert", {list, Val::Real(0), Val::Real(1)});
  Call("ds_list_insert", {list, Val::Real(2), Val::Real(3)});
  EXPECT_EQ(Numbers(list), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(CallError("ds_list_insert", {list, Val::Real(5), Val::Real(0)}),
            "ds_list_insert :: Trying to access an out-of-bounds index [| 5]");

  Call("ds_list_set", {list, Val::Real(1), Val::Real(20)});
  Call("ds_list_set", {list, Val::Real(5), Val::Real(50)});
  EXPECT_EQ(Numbers(list), (std::vector<double>{1, 20, 3, 0, 0, 50}));
  EXPECT_EQ(CallError("ds_list_set", {list, Val::Real(-2), Val::Real(0)}),
            "ds_list_set :: Trying to access an out-of-bounds index [| -2]");

  Call("ds_list_add", {list, Val::Text("20")});
  EXPECT_EQ(Call("ds_list_find_index", {list, Val::Real(50)}).v.real, 5);
  EXPECT_EQ(Call("ds_list_find_index", {list, Val::Text("20")}).v.real, 1);  // == compares "20" equal to 20
  EXPECT_EQ(Call("ds_list_find_index", {list, Val::Real(7)}).v.real, -1);
}

TEST_F(ListBuiltinsTest, CopyEmptySortAndShuffle) {
  Val list = NewList();
  EXPECT_EQ(Call("ds_list_empty", {list}).v.real, 1.0);
  Call("ds_list_add", {list, Val::Text("b"), Val::Real(3), Val::Text("a"), Val::Real(-1), Val(), Val::Real(2)});
  EXPECT_EQ(Call("ds_list_empty", {list}).v.real, 0.0);

  Val copy = NewList();
  Call("ds_list_add", {copy, Val::Text("gone")});
  Call("ds_list_copy", {copy, list});
  ASSERT_EQ(Size(copy), 6);
  Call("ds_list_copy", {copy, copy});
  EXPECT_EQ(Size(copy), 6);

  Call("ds_list_sort", {copy, Val::Real(1)});
  EXPECT_EQ(At(copy, 0).v.real, -1);
  EXPECT_EQ(At(copy, 1).v.real, 2);
  EXPECT_EQ(At(copy, 2).v.real, 3);
  EXPECT_EQ(At(copy, 3).Str(), "a");
  EXPECT_EQ(At(copy, 4).Str(), "b");
  EXPECT_EQ(At(copy, 5).Kind(), VALUE_UNDEFINED);
  Call("ds_list_sort", {copy, Val::Real(0)});
  EXPECT_EQ(At(copy, 0).Kind(), VALUE_UNDEFINED);
  EXPECT_EQ(At(copy, 1).Str(), "b");
  EXPECT_EQ(At(copy, 5).v.real, -1);
  EXPECT_EQ(At(list, 0).Str(), "b");  // the source is untouched

  Val many = NewList();
  for (int i = 0; i < 50; ++i) Call("ds_list_add", {many, Val::Real(i)});
  Call("ds_list_shuffle", {many});
  std::vector<double> shuffled = Numbers(many);
  std::sort(shuffled.begin(), shuffled.end());
  for (int i = 0; i < 50; ++i) EXPECT_EQ(shuffled[size_t(i)], i);
}

TEST_F(ListBuiltinsTest, MarksAreReportedClearedOnFindAndOwnNestedLists) {
  Val outer = NewList();
  Val inner = NewList();
  Val innermost = NewList();
  Val unrelated = NewList();
  Call("ds_list_add", {innermost, Val::Real(1)});
  Call("ds_list_add", {inner, innermost});
  Call("ds_list_mark_as_list", {inner, Val::Real(0)});
  Call("ds_list_add", {outer, inner, unrelated, Val::Real(5)});
  Call("ds_list_mark_as_list", {outer, Val::Real(0)});
  Call("ds_list_mark_as_map", {outer, Val::Real(2)});
  EXPECT_EQ(CallError("ds_list_mark_as_list", {outer, Val::Real(3)}),
            "ds_list_mark_as_list :: Trying to access an out-of-bounds index [| 3]");

  EXPECT_EQ(Call("ds_list_is_list", {outer, Val::Real(0)}).v.real, 1.0);
  EXPECT_EQ(Call("ds_list_is_list", {outer, Val::Real(1)}).v.real, 0.0);
  EXPECT_EQ(Call("ds_list_is_map", {outer, Val::Real(2)}).v.real, 1.0);
  EXPECT_EQ(Call("ds_list_is_map", {outer, Val::Real(9)}).v.real, 0.0);
  Val found = At(outer, 0);
  EXPECT_EQ(found.v.kind, uint32_t(VALUE_REF));                               // the copy carries no mark
  EXPECT_EQ(Call("ds_list_write", {outer}).Str().substr(16, 8), "0F000000");  // nor does the text

  Call("ds_list_delete", {outer, Val::Real(1)});  // deleting does not act on marks
  Call("ds_list_clear", {outer});
  EXPECT_EQ(FindList(ListIdOf(inner.v)), nullptr);
  EXPECT_EQ(FindList(ListIdOf(innermost.v)), nullptr);
  EXPECT_NE(FindList(ListIdOf(unrelated.v)), nullptr);
  EXPECT_NE(FindList(ListIdOf(outer.v)), nullptr);
}

TEST_F(ListBuiltinsTest, ClearingSurvivesCyclesAndLongChainsOfNestedLists) {
  Val self = NewList();
  Call("ds_list_add", {self, self});
  Call("ds_list_mark_as_list", {self, Val::Real(0)});
  Call("ds_list_clear", {self});
  ASSERT_NE(FindList(ListIdOf(self.v)), nullptr);  // a list never destroys itself
  EXPECT_EQ(Size(self), 0);

  Val a = NewList();
  Val b = NewList();
  Call("ds_list_add", {a, b});
  Call("ds_list_mark_as_list", {a, Val::Real(0)});
  Call("ds_list_add", {b, a});
  Call("ds_list_mark_as_list", {b, Val::Real(0)});
  Call("ds_list_read", {a, Val::Text("2F01000000000000")});  // reading clears as ds_list_clear does
  EXPECT_NE(FindList(ListIdOf(a.v)), nullptr);
  EXPECT_EQ(FindList(ListIdOf(b.v)), nullptr);

  Call("ds_list_add", {a, a});
  Call("ds_list_mark_as_list", {a, Val::Real(0)});
  Call("ds_list_destroy", {a});
  EXPECT_EQ(FindList(ListIdOf(a.v)), nullptr);

  Val head = NewList();
  Val previous = head;
  for (int i = 0; i < 30000; ++i) {
    Val next = NewList();
    Call("ds_list_add", {previous, next});
    Call("ds_list_mark_as_list", {previous, Val::Real(0)});
    previous = next;
  }
  // On a 256 KB stack, which destroying the chain recursively would overflow.
  static int32_t headId;
  headId = ListIdOf(head.v);
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
  EXPECT_EQ(FindList(ListIdOf(previous.v)), nullptr);
  EXPECT_EQ(ListIdOf(NewList().v), 1);  // the lowest id freed by the chain
}
