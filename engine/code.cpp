#include "engine/code.h"

#include <vector>

#include "runtime/value.h"

namespace {
std::vector<CCode> g_codes;
}  // namespace

CCode::CCode(int32_t index, const CodeTableEntry& entry)
    : index_(index),
      entry_(&entry),
      isScript_(IsScriptName(entry.name)),
      isGlobalScript_(IsGlobalScriptName(entry.name)) {}

void CCode::Run(CInstance* self, CInstance* other) const {
  if (!isScript_) {
    entry_->function.event(self, other);
    return;
  }
  RValue result;
  result.kind = VALUE_UNDEFINED;
  if (isGlobalScript_)
    entry_->function.globalScript(self, other, &result);
  else
    entry_->function.script(self, other, &result, 0, nullptr);
  ReleaseValue(result);
}

void BindCompiledCode(const LinkRecord& link) {
  g_codes.clear();
  g_codes.reserve(link.codeTableCount);
  for (uint32_t i = 0; i < link.codeTableCount; ++i) g_codes.emplace_back(int32_t(i), link.codeTable[i]);
}

void ReleaseCompiledCode() { g_codes.clear(); }

const CCode* CodeAt(int32_t index) {
  if (index < 0 || size_t(index) >= g_codes.size()) return nullptr;
  return &g_codes[size_t(index)];
}
