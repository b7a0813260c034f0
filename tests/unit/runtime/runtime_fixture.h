// Shared set-up of the runtime tests: errors throw (as after start-up), the
// built-in variables and a global object exist, and helpers make values.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "runtime/builtin_variables.h"
#include "runtime/compiled.h"
#include "runtime/error.h"
#include "runtime/object.h"
#include "runtime/value.h"

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_runtimeStarted = true;
    g_copyOnWriteArrays = true;
    RegisterRuntimeBuiltinVariables();
    CreateGlobalObject();
  }
  void TearDown() override {
    DestroyGlobalObject();
    g_runtimeStarted = false;
  }

  static TempValue Str(const char* text) {
    TempValue value;
    SetStringCopy(value, text);
    return value;
  }
  static TempValue Undefined() {
    TempValue value;
    value.kind = VALUE_UNDEFINED;
    return value;
  }
  static TempValue Bool(bool flag) {
    TempValue value;
    SetBool(value, flag);
    return value;
  }
};

// The message of the runtime error that `statement` reports.
#define EXPECT_RUNTIME_ERROR(statement, expected)        \
  do {                                                   \
    try {                                                \
      statement;                                         \
      ADD_FAILURE() << "no runtime error was reported";  \
    } catch (const VQKSLException& error) {              \
      EXPECT_EQ(error.Message(), expected);              \
    }                                                    \
  } while (0)
