// The collector sees arrays and structs that only lists hold.
#include "list_test_support.h"
#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/object.h"

namespace {
// A struct that records its own end.
class Probe : public VQObjectBase {
 public:
  explicit Probe(bool* freed) : freed_(freed) {}
  ~Probe() override { *freed_ = true; }

 private:
  bool* freed_;
};

// An array holding one Probe, held by nothing else yet.
TempValue ArrayWithProbe(bool* freed) {
  TempValue array;
  ArrayBody* body = MakeArray(array, 1);
  body->elements[0].obj = new Probe(freed);
  body->elements[0].flags = 0;
  body->elements[0].kind = VALUE_OBJECT;
  return array;
}
}  // namespace

class ListCollectorTest : public ListTest {};

TEST_F(ListCollectorTest, KeepsAnArrayOnlyAListHoldsAndFreesItAfterClear) {
  bool freed = false;
  TempValue list = NewList();
  Call("ds_list_add", {list, TempValue(1)});
  EXPECT_FALSE(ListOf(list).HasProxy());  // numbers and strings need no proxy
  Call("ds_list_add", {list, ArrayWithProbe(&freed)});
  EXPECT_TRUE(ListOf(list).HasProxy());

  GCCollect();
  EXPECT_FALSE(freed);
  TempValue array = Call("ds_list_find_value", {list, TempValue(1)});
  ASSERT_EQ(KindOf(array), VALUE_ARRAY);
  EXPECT_EQ(KindOf(array.arr->elements[0]), VALUE_OBJECT);
  array = Undefined();

  Call("ds_list_clear", {list});
  EXPECT_FALSE(ListOf(list).HasProxy());
  GCCollect();
  EXPECT_TRUE(freed);
}

TEST_F(ListCollectorTest, StructsAndArraysReadOrReplacedIntoListsAreKept) {
  bool replacedFreed = false;
  bool structFreed = false;
  TempValue list = NewList();
  Call("ds_list_add", {list, TempValue(0), TempValue(0)});
  Call("ds_list_replace", {list, TempValue(0), ArrayWithProbe(&replacedFreed)});
  TempValue structValue;
  structValue.obj = new Probe(&structFreed);
  structValue.flags = 0;
  structValue.kind = VALUE_OBJECT;
  Call("ds_list_replace", {list, TempValue(1), structValue});
  structValue = Undefined();
  GCCollect();
  EXPECT_FALSE(replacedFreed);
  EXPECT_FALSE(structFreed);

  Call("ds_list_replace", {list, TempValue(0), TempValue(0)});  // the array's last holder lets go
  GCCollect();
  EXPECT_TRUE(replacedFreed);
  EXPECT_FALSE(structFreed);

  TempValue read = NewList();
  Call("ds_list_read",
       {read, Str(Hex32(303) + Hex32(1) + Hex32(VALUE_ARRAY) + Hex32(1) + Hex32(VALUE_REAL) + HexReal(1))});
  size_t objects = GCObjectCount();
  GCCollect();
  EXPECT_EQ(GCObjectCount(), objects);  // the array read into the list stays
  EXPECT_EQ(Call("ds_list_find_value", {read, TempValue(0)}).arr->elements[0].real, 1.0);

  Call("ds_list_destroy", {list});
  Call("ds_list_destroy", {read});
  GCCollect();
  EXPECT_TRUE(structFreed);
  EXPECT_EQ(GCObjectCount(), objects - 4);  // the struct, the read array and the two proxies
}

TEST_F(ListCollectorTest, NestedArraysReadFromATextAreFreedTogetherAfterClear) {
  // Arrays within arrays, the inner ones created before the outer ones that hold them.
  std::string text = Hex32(303) + Hex32(2);
  for (int i = 0; i < 2; ++i)
    text += Hex32(VALUE_ARRAY) + Hex32(2) + Hex32(VALUE_ARRAY) + Hex32(1) + Hex32(VALUE_ARRAY) + Hex32(0) +
            Hex32(VALUE_STRING) + HexString("tekst");
  TempValue list = NewList();
  Call("ds_list_read", {list, Str(text)});
  GCCollect();
  size_t objects = GCObjectCount();
  Call("ds_list_clear", {list});
  GCCollect();
  EXPECT_EQ(GCObjectCount(), objects - 7);  // six arrays and the proxy
}
