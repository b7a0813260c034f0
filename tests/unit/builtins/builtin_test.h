// Shared set-up of the built-in tests: the date and string families are
// registered, errors throw as after start-up, and built-ins are called by name
// through the function table the way compiled code calls them by index.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "builtins/builtins.h"
#include "runtime/args.h"
#include "runtime/compiled.h"
#include "runtime/error.h"
#include "runtime/function_table.h"
#include "runtime/gc.h"
#include "runtime/value.h"
#include "support/values.h"

class BuiltinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearFunctionTable();
    RegisterDateBuiltins();
    RegisterStringBuiltins();
    g_runtimeStarted = true;
  }
  void TearDown() override {
    g_runtimeStarted = false;
    GCCollect();  // frees what the error reports made, as the frame loop's collector step does
    ReclaimArgumentScratch();
    ClearFunctionTable();
  }

 public:
  // Calls the built-in `name` with temporaries holding `args`.
  template <typename... Args>
  static TempValue Call(const char* name, const Args&... args) {
    SymbolEntry function{name, FindFunctionIndex(name)};
    EXPECT_GE(function.slot, 0) << name << " is not registered";
    KslFrame frame("builtin_test", nullptr, nullptr);
    return frame.Call(function, args...);
  }

  static std::string Text(const RValue& value) {
    EXPECT_EQ(KindOf(value), uint32_t(VALUE_STRING));
    return StringText(value);
  }
};
