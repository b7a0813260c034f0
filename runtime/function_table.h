// runtime/function_table.h — the table of built-in functions and the call of a
// built-in by its index.
//
// Built-ins are registered by name at start-up, before the application's symbols
// are resolved, each name once (a second registration stops the program);
// afterwards the table does not change, so an index stays valid for the whole run. While a built-in runs,
// g_currentFunction points to its entry (its name appears in argument errors).
#pragma once

#include <cstdint>

#include "runtime/function_types.h"

struct RValue;

struct FunctionEntry {
  const char* name;
  BuiltinFunction function;
  int32_t argumentCount;  // -1: any number
};

constexpr int kScriptIndexBase = 100000;
constexpr int kSecondTableIndexBase = 500000;

void RegisterBuiltin(const char* name, BuiltinFunction function, int argumentCount, bool flag = false);
// Scripts are found by name too: index kScriptIndexBase + scriptIndex.
void RegisterScriptName(const char* name, int scriptIndex);

// The index of a function by exact name: a script, else a built-in; -1 when none.
int FindFunctionIndex(const char* name);
const FunctionEntry* FunctionAt(int index);
int FunctionCount();

extern const FunctionEntry* g_currentFunction;
// The running built-in's name, or "Unknown Function".
const char* CurrentFunctionName();

// Calls built-in `index` with the values `args` point to (borrowed: copied bit for
// bit, their references stay with the caller). `result` is released and set to
// `undefined` first. Returns `result`.
RValue* CallBuiltinByIndex(CInstance* self, CInstance* other, RValue* result, int argc, int index, RValue** args);

// Forgets every registration: before a run registers its built-ins, and in tests.
void ClearFunctionTable();
