// Helpers of the list tests on the shared fixture: a list id value, the list
// behind one, and an independent little-endian hex writer for hand-made texts.
#pragma once

#include <cstdio>
#include <string>

#include "builtins/ds_list.h"
#include "support/builtin_fixture.h"

inline TempValue ListIdValue(int32_t id) {
  TempValue value;
  SetReference(value, kRefTypeDsList, id);
  return value;
}

// Hand-made texts, written independently of CStream.
inline std::string HexBytes(const void* data, size_t size) {
  std::string text;
  const auto* bytes = static_cast<const unsigned char*>(data);
  char pair[3];
  for (size_t i = 0; i < size; ++i) {
    std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
    text += pair;
  }
  return text;
}
inline std::string Hex32(int32_t number) { return HexBytes(&number, 4); }
inline std::string Hex64(int64_t number) { return HexBytes(&number, 8); }
inline std::string HexReal(double number) { return HexBytes(&number, 8); }
inline std::string HexString(const std::string& text) {
  return Hex32(int32_t(text.size())) + HexBytes(text.data(), text.size());
}

class ListTest : public BuiltinTest {
 protected:
  // A new list's id value and the list itself.
  TempValue NewList() { return Call("ds_list_create", {}); }
  static CDS_List& ListOf(const RValue& id) { return *FindList(ListIdOf(id)); }
};
