// engine/code.h — CCode: a code index of the game data bound to compiled code.
//
// The program always carries its code compiled: the CCode of code index i is
// entry i of the link record's code table, with no lookup by name. An entry whose
// name begins with "ksl_Script" or "ksl_GlobalScript" is a script; any other is
// an event handler. The bindings live from start-up until the world is released.
#pragma once

#include <cstdint>

#include "runtime/link.h"

class CInstance;

class CCode {
 public:
  CCode(int32_t index, const CodeTableEntry& entry);

  int32_t Index() const { return index_; }
  const char* Name() const { return entry_->name; }
  bool IsScript() const { return isScript_; }

  // An event handler is called with (self, other); a script (creation code) with
  // no arguments, its result discarded.
  void Run(CInstance* self, CInstance* other) const;

 private:
  int32_t index_;
  const CodeTableEntry* entry_;
  bool isScript_;
  bool isGlobalScript_;
};

// Binds every entry of the link record's code table.
void BindCompiledCode(const LinkRecord& link);
void ReleaseCompiledCode();
// The code of `index`, or null when the code table has no such entry.
const CCode* CodeAt(int32_t index);
