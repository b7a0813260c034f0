// Set-up of the application's unit tests: the whole built-in library is
// registered, the string constants exist and the application's symbols are
// resolved, as at start-up; one instance stands for the caller of the scripts.
#pragma once

#include "app/app_symbols.h"
#include "support/date_fixture.h"
#include "engine/engine_builtins.h"
#include "runtime/instance.h"

class AppTest : public DateTest {
 protected:
  void SetUp() override {
    DateTest::SetUp();
    RegisterEngineBuiltins();
    RegisterRuntimeBuiltinVariables();
    const char* missing = nullptr;
    ASSERT_TRUE(ResolveSymbols(*KalvoraLinkRecord(), &missing)) << missing;
    CreateStringConstants();
  }
  void TearDown() override {
    ReleaseStringConstants();
    DateTest::TearDown();
  }

  // Calls a compiled script for `caller_` with the given arguments.
  template <typename... Args>
  TempValue RunScript(ScriptFunction script, const Args&... args) {
    KslFrame k("app_test", &caller_, &caller_);
    return k.Script(script, args...);
  }

  const RValue& CallerVariable(const SymbolEntry& variable) { return *caller_.GetVarRef(variable.slot); }

  CInstance caller_{100001, 5, 0, 0};
};
