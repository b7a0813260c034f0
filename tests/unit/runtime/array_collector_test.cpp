#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/instance.h"
#include "runtime/variable_names.h"
#include "runtime_fixture.h"

namespace {
using ArrayTest = RuntimeTest;

TEST_F(ArrayTest, WritingBeyondTheEndGrowsWithZerosAndReadsOutsideFail) {
  TempValue array, read;
  SetReal(*ArrayElementForWrite(array, 2), 9);
  ASSERT_EQ(KindOf(array), uint32_t(VALUE_ARRAY));
  EXPECT_EQ(ValueText(array), "[ 0,0,9 ]");
  EXPECT_EQ(ArrayElementForWrite(array, -1), nullptr);
  EXPECT_TRUE(ReadArrayElement(array, 2, read));
  EXPECT_EQ(read.real, 9);
  EXPECT_FALSE(ReadArrayElement(array, 3, read));
  EXPECT_EQ(
      std::vector<double>({read.real, double(g_lastArrayIndexFailure.index), double(g_lastArrayIndexFailure.length)}),
      std::vector<double>({0, 3, 3}));
  EXPECT_RUNTIME_ERROR(ReadArrayElement(TempValue(1), 0, read), "trying to index a variable which is not an array");
  array.arr->flags |= 1;
  EXPECT_RUNTIME_ERROR(ArrayElementForWrite(array, 0), "Unable to write to immutable array");
}

// The owner writes in place; another instance writing a shared array gets its own copy.
TEST_F(ArrayTest, WritingASharedArrayFromAnotherOwnerCopiesIt) {
  CInstance owner(1, 0, 0, 0), other(2, 0, 0, 0);
  TempValue mine, theirs;
  ArrayBody* original;
  {
    ScopedFrame frame("owner", &owner);
    SetReal(*ArrayElementForWrite(mine, 0), 1);
    AssignValue(theirs, mine);
    original = mine.arr;
    SetReal(*ArrayElementForWrite(mine, 0), 2);
  }
  EXPECT_EQ(mine.arr, original);
  {
    ScopedFrame frame("other", &other);
    SetReal(*ArrayElementForWrite(theirs, 0), 3);
  }
  EXPECT_NE(theirs.arr, original);
  EXPECT_EQ(ValueText(mine) + ValueText(theirs), "[ 2 ][ 3 ]");
  EXPECT_EQ(theirs.arr->owner, reinterpret_cast<intptr_t>(&other));
}

class CollectorTest : public RuntimeTest {
 protected:
  CInstance* instance_ = nullptr;
  static CollectorTest* current_;

  void SetUp() override {
    RuntimeTest::SetUp();
    GCCollect();
    instance_ = new CInstance(100001, 0, 0, 0);
    current_ = this;
    GCAddRootProvider(MarkInstance);
  }
  void TearDown() override {
    GCRemoveRootProvider(MarkInstance);
    delete instance_;
    GCCollect();
    RuntimeTest::TearDown();
  }
  static void MarkInstance(GCMarker& marker) { current_->instance_->Mark(marker); }
};
CollectorTest* CollectorTest::current_ = nullptr;

TEST_F(CollectorTest, FreesWhatNoRootReachesAndKeepsTheRest) {
  size_t baseline = GCObjectCount();
  int globalSlot = VariableSlot("gcGlobalArray");
  int instanceSlot = VariableSlot("gcInstanceMethod");
  MakeArray(*g_globalObject->GetVarRefForWrite(globalSlot), 2);
  RValue& method = *instance_->GetVarRefForWrite(instanceSlot);
  method.obj = new CScriptRef(nullptr, instance_);
  method.kind = VALUE_OBJECT;
  auto* onContextStack = new VQObjectBase();
  PushContextStack(onContextStack);
  {
    TempValue garbageArray;
    MakeArray(garbageArray, 3);
    MakeArray(garbageArray.arr->elements[0], 1);  // nested garbage
  }
  new CScriptRef(nullptr, instance_);  // a method value nobody holds
  EXPECT_EQ(GCObjectCount(), baseline + 6);

  GCCollect();
  EXPECT_EQ(GCObjectCount(), baseline + 3);  // global array, instance method, context object
  EXPECT_EQ(KindOf(*g_globalObject->GetVarRef(globalSlot)), uint32_t(VALUE_ARRAY));
  EXPECT_EQ(g_globalObject->GetVarRef(globalSlot)->arr->length, 2);

  PopContextStack();
  SetReal(*g_globalObject->GetVarRef(globalSlot), 0);
  SetReal(*instance_->GetVarRef(instanceSlot), 0);
  GCStep();
  EXPECT_EQ(GCObjectCount(), baseline);
}

TEST_F(CollectorTest, AStepFreesWhatBecameGarbageSinceTheLastOne) {
  TempValue kept;
  MakeArray(kept, 1);
  SetVariableValue(instance_, VariableSlot("gcKept"), kNoArrayIndex, kept);
  GCStep();
  size_t count = GCObjectCount();
  new VQObjectBase();  // created after the last collection: the next step frees it
  GCStep();
  EXPECT_EQ(GCObjectCount(), count);
}
}  // namespace
