// Shared set-up of the runtime tests: errors throw (as after start-up), the
// built-in variables and a global object exist.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "runtime/builtin_variables.h"
#include "runtime/compiled.h"
#include "runtime/error.h"
#include "runtime/object.h"
#include "runtime/value.h"
#include "support/builtin_fixture.h"

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
};
