// The collector sees arrays and structs that only lists hold.
#include "list_test_support.h"
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

TempValue ProbeValue(bool* freed) {
  TempValue value;
  value.obj = new Probe(freed);
  value.flags = 0;
  value.kind = VALUE_OBJECT;
  return value;
}

// An array holding one Probe, held by nothing else yet.
TempValue ArrayWithProbe(bool* freed) {
  TempValue array;
  CopyValue(MakeArray(array, 1)->elements[0], ProbeValue(freed));
  return array;
}

using ListCollectorTest = ListTest;

TEST_F(ListCollectorTest, ArraysAndStructsOnlyAListHoldsLiveUntilTheListLetsGo) {
  bool addedFreed = false, replacedFreed = false, structFreed = false;
  TempValue list = NewList({TempValue(1)});
  EXPECT_FALSE(ListOf(list).HasProxy());  // numbers and strings need no proxy
  Call("ds_list_add", {list, ArrayWithProbe(&addedFreed), TempValue(0), TempValue(0)});
  EXPECT_TRUE(ListOf(list).HasProxy());
  Call("ds_list_replace", {list, TempValue(2), ArrayWithProbe(&replacedFreed)});
  Call("ds_list_replace", {list, TempValue(3), ProbeValue(&structFreed)});
  GCCollect();
  EXPECT_EQ(Picture(At(list, 1)), "[k" + std::to_string(VALUE_OBJECT) + "]");
  EXPECT_FALSE(addedFreed || replacedFreed || structFreed);

  Call("ds_list_replace", {list, TempValue(2), TempValue(0)});  // the array's last holder lets go
  GCCollect();
  EXPECT_TRUE(replacedFreed);
  EXPECT_FALSE(addedFreed || structFreed);
  Call("ds_list_clear", {list});
  EXPECT_FALSE(ListOf(list).HasProxy());
  GCCollect();
  EXPECT_TRUE(addedFreed && structFreed);
}

TEST_F(ListCollectorTest, NestedArraysReadFromATextLiveWithTheListAndAreFreedTogether) {
  // Arrays within arrays, the inner ones created before the outer ones that hold them.
  std::string text = Header(303, 2);
  for (int i = 0; i < 2; ++i)
    text += Hex32(VALUE_ARRAY) + Hex32(2) + Hex32(VALUE_ARRAY) + Hex32(1) + Hex32(VALUE_ARRAY) + Hex32(0) +
            Hex32(VALUE_STRING) + HexString("tekst");
  TempValue list = Read(text);
  size_t objects = GCObjectCount();
  GCCollect();
  EXPECT_EQ(GCObjectCount(), objects);
  EXPECT_EQ(Contents(list), "[[[]],\"tekst\"] [[[]],\"tekst\"]");
  Call("ds_list_destroy", {list});
  GCCollect();
  EXPECT_EQ(GCObjectCount(), objects - 7);  // six arrays and the proxy
}
}  // namespace
