#include "runtime/instance.h"
#include "runtime/var_store.h"
#include "runtime/variable_names.h"
#include "runtime_fixture.h"

namespace {
using VariablesTest = RuntimeTest;

TEST(VarStore, GrowsFromEightToSixteenAtTheSixthVariableKeepingValues) {
  VarStore store;
  EXPECT_EQ(store.Capacity(), 8);
  EXPECT_EQ(store.GrowThreshold(), 4);
  for (int slot = 0; slot < 5; ++slot) SetReal(*store.FindOrCreate(100000 + slot * 8, VALUE_UNSET), slot);
  EXPECT_EQ(store.Capacity(), 8);
  SetReal(*store.FindOrCreate(100040, VALUE_UNSET), 5);
  EXPECT_EQ(store.Capacity(), 16);
  for (int slot = 0; slot < 6; ++slot) {
    RValue* value = store.Find(100000 + slot * 8);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->real, slot);
  }
  EXPECT_EQ(store.Find(12345), nullptr);
}

TEST(VarStore, ThousandsOfVariablesStayFindable) {
  VarStore store;
  for (int slot = 0; slot < 5000; ++slot) SetReal(*store.FindOrCreate(slot * 7, VALUE_UNSET), slot);
  EXPECT_EQ(store.Count(), 5000);
  for (int slot = 0; slot < 5000; ++slot) ASSERT_EQ(store.Find(slot * 7)->real, slot);
  RValue* cell = store.Find(7);
  SetReal(*store.FindOrCreate(7, VALUE_UNSET), -1);
  EXPECT_EQ(store.Find(7), cell);
  EXPECT_EQ(store.Count(), 5000);
}

TEST_F(VariablesTest, ApplicationNamesGetTheirOwnSlots) {
  int first = VariableSlot("termin");
  EXPECT_GE(first, kFirstApplicationSlot);
  EXPECT_EQ(VariableSlot("termin"), first);
  EXPECT_NE(VariableSlot("dni"), first);
  EXPECT_LT(VariableSlot("x"), kMaxBuiltinVariables);
  EXPECT_STREQ(VariableName(first), "termin");
  EXPECT_STREQ(VariableName(VariableSlot("mouse_y")), "mouse_y");
}

TEST_F(VariablesTest, BuiltinPositionIsStoredAsSinglePrecision) {
  CInstance instance(1, 0, 10, 20);
  KslFrame frame("test", &instance, &instance);
  SymbolEntry x{"x", VariableSlot("x")};
  frame.Set(x, 0.1);
  EXPECT_EQ(frame.Get(x).real, double(0.1f));
  EXPECT_NE(frame.Get(x).real, 0.1);
  EXPECT_EQ(instance.y, 20.0f);
}

TEST_F(VariablesTest, AlarmIndicesOutsideTheTwelveMeanAlarmZero) {
  CInstance instance(1, 0, 0, 0);
  KslFrame frame("test", &instance, &instance);
  SymbolEntry alarm{"alarm", VariableSlot("alarm")};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(frame.Get(alarm, i).real, -1);
  frame.Set(alarm, 2.9, 3);
  EXPECT_EQ(instance.alarms[3], 2);
  frame.Set(alarm, 7, -1);
  EXPECT_EQ(instance.alarms[0], 7);
  frame.Set(alarm, 8, 12);
  EXPECT_EQ(instance.alarms[0], 8);
  EXPECT_EQ(frame.Get(alarm, 40).real, 8);
  EXPECT_EQ(frame.Get(alarm).real, 8);
}

TEST_F(VariablesTest, MousePositionIsReadOnly) {
  CInstance instance(1, 0, 0, 0);
  SetMousePositionSource([](double& x, double& y) {
    x = 123;
    y = 45;
  });
  KslFrame frame("test", &instance, &instance);
  SymbolEntry mouseX{"mouse_x", VariableSlot("mouse_x")};
  EXPECT_EQ(frame.Get(mouseX).real, 123);
  EXPECT_RUNTIME_ERROR(frame.Set(mouseX, 1), "unable to set built in variable mouse_x\n");
  SetMousePositionSource(nullptr);
}

TEST_F(VariablesTest, InstancesHaveSeparateStoresAndUnsetReadsAreReported) {
  CInstance first(1, 0, 0, 0), second(2, 0, 0, 0);
  SymbolEntry lp{"lp", VariableSlot("lp")};
  {
    KslFrame frame("first", &first, &first);
    frame.SetVar(lp, 5);
    EXPECT_EQ(frame.Var(lp).real, 5);
  }
  KslFrame frame("second", &second, &second);
  EXPECT_TRUE(IsUnset(frame.Var(lp)));  // created unset on first read
  EXPECT_RUNTIME_ERROR(Less(frame.Var(lp), 3), "Cannot compare unset variables");

  SymbolEntry missing{"neverAssigned", VariableSlot("neverAssigned")};
  try {
    frame.Get(missing);
    ADD_FAILURE() << "no error";
  } catch (const VQKSLException& error) {
    EXPECT_EQ(error.Message().rfind("Unable to get variable neverAssigned from object ", 0), 0u);
  }
}

TEST_F(VariablesTest, IndexedReadsOutsideTheArrayNameIndexAndLength) {
  CInstance instance(1, 4, 0, 0);
  KslFrame frame("test", &instance, &instance);
  SymbolEntry opi{"opi", VariableSlot("opi")};
  frame.Set(opi, Str("ID : "), 0);
  frame.Set(opi, Str("Osoba : "), 1);
  EXPECT_EQ(ValueText(frame.Get(opi, 1)), "Osoba : ");
  std::string expected =
      "Variable Index [2] out of range [2] - 4." + std::to_string(opi.slot) + "(" + std::to_string(opi.slot) + ",2)";
  EXPECT_RUNTIME_ERROR(frame.Get(opi, 2), expected);
}
}  // namespace
