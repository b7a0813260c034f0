#include "runtime/link.h"

#include <cstring>

#include "runtime/function_table.h"
#include "runtime/value.h"
#include "runtime/variable_names.h"

bool IsScriptName(const char* name) { return std::strncmp(name, "ksl_Script", 10) == 0 || IsGlobalScriptName(name); }
bool IsGlobalScriptName(const char* name) { return std::strncmp(name, "ksl_GlobalScript", 16) == 0; }

bool ResolveSymbols(LinkRecord& link, const char** missing) {
  for (uint32_t i = 0; i < link.codeTableCount; ++i)
    if (IsScriptName(link.codeTable[i].name)) RegisterScriptName(link.codeTable[i].name, int(i));

  for (SymbolEntry** entry = link.variableRefs; entry && *entry; ++entry) (*entry)->slot = VariableSlot((*entry)->name);

  bool allFound = true;
  for (SymbolEntry** entry = link.functionRefs; entry && *entry; ++entry) {
    (*entry)->slot = FindFunctionIndex((*entry)->name);
    if ((*entry)->slot < 0 && allFound) {
      allFound = false;
      if (missing) *missing = (*entry)->name;
    }
  }

  for (uint32_t i = 0; i < link.codeTableCount; ++i) {
    FunctionRef* ref = link.codeTable[i].functionRef;
    if (!ref) continue;
    int index = FindFunctionIndex(link.codeTable[i].name);
    if (index > 0) ref->id = index;
  }
  return allFound;
}

void RunGlobalScripts(const LinkRecord& link, CInstance* self) {
  for (uint32_t i = 0; i < link.codeTableCount; ++i) {
    const CodeTableEntry& entry = link.codeTable[i];
    if (!IsGlobalScriptName(entry.name)) continue;
    RValue result;
    entry.function.globalScript(self, self, &result);
    ReleaseValue(result);
  }
}
