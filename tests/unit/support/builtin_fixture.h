// The one fixture for calling built-ins: every family of the library registered
// in a fresh function table, errors throwing as after start-up, built-ins called
// by name through the table the way compiled code calls them by index, and
// afterwards every list destroyed and what the test made collected. With it the
// values and expectations the runtime's and the library's tests share.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "builtins/builtins.h"
#include "builtins/ds_list.h"
#include "runtime/args.h"
#include "runtime/compiled.h"
#include "runtime/error.h"
#include "runtime/function_table.h"
#include "runtime/gc.h"

inline TempValue Str(const std::string& text) {
  TempValue value;
  SetStringCopy(value, text);
  return value;
}

inline TempValue Undefined() {
  TempValue value;
  value.kind = VALUE_UNDEFINED;
  return value;
}

inline TempValue Bool(bool flag) {
  TempValue value;
  SetBool(value, flag);
  return value;
}

// The message of the runtime error that `statement` reports.
#define EXPECT_RUNTIME_ERROR(statement, expected)       \
  do {                                                  \
    try {                                               \
      statement;                                        \
      ADD_FAILURE() << "no runtime error was reported"; \
    } catch (const VQKSLException& error) {             \
      EXPECT_EQ(error.Message(), expected);             \
    }                                                   \
  } while (0)

class BuiltinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearFunctionTable();
    RegisterAllBuiltins();
    g_runtimeStarted = true;
  }
  void TearDown() override {
    DestroyAllLists();
    g_runtimeStarted = false;
    GCCollect();  // frees what the test and the error reports made, as the frame loop's collector step does
    ReclaimArgumentScratch();
    ClearFunctionTable();
  }

 public:
  // Calls the built-in `name` with temporaries holding `args`: Call("f", 1.0, Str("a")).
  template <typename... Args>
  static TempValue Call(const char* name, const Args&... args) {
    SymbolEntry function{name, FindFunctionIndex(name)};
    EXPECT_GE(function.slot, 0) << name << " is not registered";
    KslFrame frame("builtin_test", nullptr, nullptr);
    return frame.Call(function, args...);
  }
  // The same with the arguments as a list: Call("f", {}), Call("f", {Str("a"), 1.0}).
  static TempValue Call(const char* name, const std::vector<TempValue>& args) {
    int index = FindFunctionIndex(name);
    EXPECT_GE(index, 0) << name << " is not registered";
    std::vector<TempValue> values(args);
    std::vector<RValue*> pointers;
    for (TempValue& value : values) pointers.push_back(&value);
    TempValue result;
    CallBuiltinByIndex(nullptr, nullptr, &result, int(values.size()), index, pointers.data());
    return result;
  }
  static TempValue Call(const char* name, std::initializer_list<TempValue> args) {
    return Call(name, std::vector<TempValue>(args));
  }
  // The message of the runtime error the call reports ("" when none).
  static std::string CallError(const char* name, const std::vector<TempValue>& args) {
    try {
      Call(name, args);
    } catch (const VQKSLException& error) {
      return error.Message();
    }
    return "";
  }

  static std::string Text(const RValue& value) {
    EXPECT_EQ(KindOf(value), uint32_t(VALUE_STRING));
    return StringText(value);
  }
};
