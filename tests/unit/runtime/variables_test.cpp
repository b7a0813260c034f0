#include "runtime/instance.h"
#include "runtime/var_store.h"
#include "runtime/variable_names.h"
#include "runtime_fixture.h"

namespace {
using VariablesTest = RuntimeTest;

// Eight cells, doubled at the sixth variable; thousands stay findable in place.
TEST(VarStore, GrowsKeepingEveryValueFindable) {
  VarStore store;
  EXPECT_EQ(std::vector<int>({store.Capacity(), store.GrowThreshold()}), std::vector<int>({8, 4}));
  for (int slot = 0; slot < 5; ++slot) SetReal(*store.FindOrCreate(100000 + slot * 8, VALUE_UNSET), slot);
  EXPECT_EQ(store.Capacity(), 8);
  SetReal(*store.FindOrCreate(100040, VALUE_UNSET), 5);
  EXPECT_EQ(store.Capacity(), 16);
  for (int slot = 6; slot < 5000; ++slot) SetReal(*store.FindOrCreate(100000 + slot * 8, VALUE_UNSET), slot);
  for (int slot = 0; slot < 5000; ++slot) ASSERT_EQ(store.Find(100000 + slot * 8)->real, slot);
  RValue* cell = store.Find(100008);
  EXPECT_EQ(store.FindOrCreate(100008, VALUE_UNSET), cell);
  EXPECT_EQ(store.Count(), 5000);
  EXPECT_EQ(store.Find(12345), nullptr);
}

TEST_F(VariablesTest, BuiltinVariablesFollowTheirOwnRules) {
  int first = VariableSlot("termin");
  EXPECT_GE(first, kFirstApplicationSlot);
  EXPECT_EQ(VariableSlot("termin"), first);
  EXPECT_LT(VariableSlot("x"), kMaxBuiltinVariables);
  EXPECT_STREQ(VariableName(first), "termin");

  CInstance instance(1, 0, 10, 20);
  KslFrame frame("test", &instance, &instance);
  SymbolEntry x{"x", VariableSlot("x")}, alarm{"alarm", VariableSlot("alarm")};
  frame.Set(x, 0.1);  // stored in single precision
  EXPECT_EQ(frame.Get(x).real, double(0.1f));
  EXPECT_EQ(instance.y, 20.0f);

  EXPECT_EQ(frame.Get(alarm, 11).real, -1);
  frame.Set(alarm, 2.9, 3);
  EXPECT_EQ(instance.alarms[3], 2);
  frame.Set(alarm, 7, -1);  // indices outside the twelve mean alarm 0
  EXPECT_EQ(instance.alarms[0], 7);
  frame.Set(alarm, 8, 12);
  EXPECT_EQ(std::vector<double>({frame.Get(alarm, 40).real, frame.Get(alarm).real}), std::vector<double>({8, 8}));

  SetMousePositionSource([](double& mouseX, double& mouseY) { mouseX = 123, mouseY = 45; });
  SymbolEntry mouseX{"mouse_x", VariableSlot("mouse_x")};
  EXPECT_EQ(frame.Get(mouseX).real, 123);
  EXPECT_RUNTIME_ERROR(frame.Set(mouseX, 1), "unable to set built in variable mouse_x\n");
  SetMousePositionSource(nullptr);
}

TEST_F(VariablesTest, InstancesHaveSeparateStoresAndBadReadsAreReported) {
  CInstance first(1, 0, 0, 0), second(2, 4, 0, 0);
  SymbolEntry lp{"lp", VariableSlot("lp")}, opi{"opi", VariableSlot("opi")};
  KslFrame("first", &first, &first).SetVar(lp, 5);
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
  frame.Set(opi, Str("ID : "), 0);
  frame.Set(opi, Str("Osoba : "), 1);
  EXPECT_EQ(ValueText(frame.Get(opi, 1)), "Osoba : ");
  const std::string slot = std::to_string(opi.slot);
  EXPECT_RUNTIME_ERROR(frame.Get(opi, 2), "Variable Index [2] out of range [2] - 4." + slot + "(" + slot + ",2)");
}
}  // namespace
