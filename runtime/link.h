// runtime/link.h — the link record through which compiled application code hands
// its tables to the runtime, and their resolution at start-up.
//
// Compiled code never names a variable or built-in by text at run time: it reads
// the slot of a SymbolEntry, which ResolveSymbols fills once. The code table lists
// every compiled function in code-index order; the game data refers to code by
// that position. A name beginning with "ksl_Script" or "ksl_GlobalScript" marks a
// script, any other name an event handler.
#pragma once

#include <cstdint>

#include "runtime/frames.h"
#include "runtime/function_types.h"

struct SymbolEntry {
  const char* name;
  int32_t slot;  // variables: -1 until resolved; functions: 0 until resolved
};

struct FunctionRef {
  const char* name;
  int32_t id;  // 100000 + the entry's position in the code table
};

union CompiledFunction {
  EventFunction event;
  ScriptFunction script;
  GlobalScriptFunction globalScript;
};

struct CodeTableEntry {
  const char* name;
  CompiledFunction function;
  FunctionRef* functionRef;
};

struct LinkRecord {
  const void* embeddedGameData;
  uint32_t embeddedGameDataSize;
  uint32_t globalNameTableSize;
  uint32_t instanceNameTableSize;
  uint32_t codeTableCount;
  SymbolEntry** variableRefs;  // null-terminated
  SymbolEntry** functionRefs;  // null-terminated
  CodeTableEntry* codeTable;
  StackFrame** frameChainHead;
};

bool IsScriptName(const char* name);
bool IsGlobalScriptName(const char* name);

// Resolves variable and function entries and the code table's function
// references. Returns false when a function name resolves to nothing; `missing`
// then names it (compiled code must never call through such an entry).
bool ResolveSymbols(LinkRecord& link, const char** missing = nullptr);

// Runs every global-script function of the code table for `self`.
void RunGlobalScripts(const LinkRecord& link, CInstance* self);
