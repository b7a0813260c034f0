#include "runtime/function_table.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/error.h"
#include "runtime/value.h"

const FunctionEntry* g_currentFunction = nullptr;

namespace {
// Makes `entry` the running built-in for the scope's lifetime, restoring the
// previous one on every exit, so that errors name the built-in.
class RunningBuiltin {
 public:
  explicit RunningBuiltin(const FunctionEntry* entry) : saved_(g_currentFunction) { g_currentFunction = entry; }
  ~RunningBuiltin() { g_currentFunction = saved_; }
  RunningBuiltin(const RunningBuiltin&) = delete;
  RunningBuiltin& operator=(const RunningBuiltin&) = delete;

 private:
  const FunctionEntry* saved_;
};

constexpr size_t kGrowthStep = 500;
constexpr int kInlineArguments = 16;

// Constant-initialised (an empty vector needs no constructor run), so that it is
// usable from any static initialiser and costs no guard on every call.
constinit std::vector<FunctionEntry> g_table;

std::unordered_map<std::string, int>& ScriptIndices() {
  static std::unordered_map<std::string, int> scripts;
  return scripts;
}
}  // namespace

void RegisterBuiltin(const char* name, BuiltinFunction function, int argumentCount, bool) {
  auto& table = g_table;
  // A second entry of a name would never be found (the first match wins): a
  // registration that runs twice is a fault of the program, stopped at once.
  for (const FunctionEntry& entry : table) {
    if (std::strcmp(entry.name, name) != 0) continue;
    std::fprintf(stderr, "The built-in %s is registered twice\n", name);
    std::abort();
  }
  if (table.size() == table.capacity()) table.reserve(table.size() + kGrowthStep);
  table.push_back(FunctionEntry{name, function, argumentCount});
}

void RegisterScriptName(const char* name, int scriptIndex) { ScriptIndices()[name] = scriptIndex; }

int FindFunctionIndex(const char* name) {
  if (!name || !*name) return -1;
  auto script = ScriptIndices().find(name);
  if (script != ScriptIndices().end()) return kScriptIndexBase + script->second;
  const auto& table = g_table;
  for (size_t i = 0; i < table.size(); ++i)
    if (std::strcmp(table[i].name, name) == 0) return int(i);
  return -1;
}

const FunctionEntry* FunctionAt(int index) {
  const auto& table = g_table;
  if (index < 0 || size_t(index) >= table.size()) return nullptr;
  return &table[size_t(index)];
}

int FunctionCount() { return int(g_table.size()); }

const char* CurrentFunctionName() { return g_currentFunction ? g_currentFunction->name : "Unknown Function"; }

namespace {
// The call itself, with `room` for argc argument copies: every argument is
// overwritten by its copy, so the room may come unset.
inline RValue* CallWithArgumentsIn(RValue* room, CInstance* self, CInstance* other, RValue* result, int argc, int index,
                                   RValue** args) {
  for (int i = 0; i < argc; ++i) std::memcpy(static_cast<void*>(&room[i]), args[i], sizeof(RValue));
  ReleaseValue(*result);

  const FunctionEntry* entry = FunctionAt(index);
  if (!entry) {
    ReportRuntimeError("Unable to find function with index %d", index);
    return result;
  }
  RunningBuiltin running(entry);
  entry->function(*result, self, other, argc, room);
  return result;
}

[[gnu::noinline]] RValue* CallWithManyArguments(CInstance* self, CInstance* other, RValue* result, int argc, int index,
                                                RValue** args) {
  std::vector<RValue> room(static_cast<size_t>(argc));
  return CallWithArgumentsIn(room.data(), self, other, result, argc, index, args);
}
}  // namespace

RValue* CallBuiltinByIndex(CInstance* self, CInstance* other, RValue* result, int argc, int index, RValue** args) {
  if (argc > kInlineArguments) return CallWithManyArguments(self, other, result, argc, index, args);
  alignas(RValue) unsigned char room[kInlineArguments * sizeof(RValue)];
  return CallWithArgumentsIn(reinterpret_cast<RValue*>(room), self, other, result, argc, index, args);
}

void ClearFunctionTable() {
  g_table.clear();
  ScriptIndices().clear();
  g_currentFunction = nullptr;
}
