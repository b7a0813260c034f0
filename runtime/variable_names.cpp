#include "runtime/variable_names.h"

#include <deque>
#include <unordered_map>

namespace {
std::unordered_map<std::string, int>& BuiltinPositions() {
  static std::unordered_map<std::string, int> positions;
  return positions;
}
std::unordered_map<std::string, int>& ApplicationSlots() {
  static std::unordered_map<std::string, int> slots;
  return slots;
}
std::deque<std::string>& NamesBySlot() {
  static std::deque<std::string> names;  // index = slot for built-ins, slot - first for the rest
  return names;
}
std::deque<std::string>& ApplicationNames() {
  static std::deque<std::string> names;
  return names;
}
}  // namespace

void RegisterBuiltinVariableName(const std::string& name, int position) {
  BuiltinPositions()[name] = position;
  auto& names = NamesBySlot();
  if (size_t(position) >= names.size()) names.resize(size_t(position) + 1);
  names[size_t(position)] = name;
}

int FindBuiltinVariable(const std::string& name) {
  auto found = BuiltinPositions().find(name);
  return found == BuiltinPositions().end() ? -1 : found->second;
}

int VariableSlot(const std::string& name) {
  int builtin = FindBuiltinVariable(name);
  if (builtin >= 0) return builtin;
  auto [entry, inserted] = ApplicationSlots().try_emplace(name, kFirstApplicationSlot + int(ApplicationNames().size()));
  if (inserted) ApplicationNames().push_back(name);
  return entry->second;
}

const char* VariableName(int slot) {
  if (slot >= kFirstApplicationSlot) {
    size_t index = size_t(slot - kFirstApplicationSlot);
    if (index < ApplicationNames().size()) return ApplicationNames()[index].c_str();
  } else if (slot >= 0 && size_t(slot) < NamesBySlot().size() && !NamesBySlot()[size_t(slot)].empty()) {
    return NamesBySlot()[size_t(slot)].c_str();
  }
  return "<unknown variable>";
}
