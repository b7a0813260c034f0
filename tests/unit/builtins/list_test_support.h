// Helpers of the list tests on the shared fixture: hand-made little-endian hex
// texts (written independently of CStream) and a one-line picture of a list's
// values, so that a whole list is compared in one expectation.
#pragma once

#include <cstdio>
#include <string>

#include "builtins/ds_list.h"
#include "runtime/array.h"
#include "support/builtin_fixture.h"

inline std::string HexBytes(const void* data, size_t size) {
  std::string text;
  char pair[3];
  for (size_t i = 0; i < size; ++i) {
    std::snprintf(pair, sizeof pair, "%02X", static_cast<const unsigned char*>(data)[i]);
    text += pair;
  }
  return text;
}
inline std::string Hex32(int32_t number) { return HexBytes(&number, 4); }
inline std::string HexReal(double number) { return HexBytes(&number, 8); }
inline std::string HexString(const std::string& text) {
  return Hex32(int32_t(text.size())) + HexBytes(text.data(), text.size());
}
inline std::string Header(int32_t version, int32_t count) { return Hex32(version) + Hex32(count); }

// Numbers bare, strings quoted, "u" undefined, arrays in brackets, other kinds
// as a letter and their payload: 1 "a" u [2,b1] i-7 l5 r<bits> p<bits> k<kind>.
inline std::string Picture(const RValue& value) {
  char number[32];
  switch (KindOf(value)) {
    case VALUE_REAL: std::snprintf(number, sizeof number, "%.17g", value.real); return number;
    case VALUE_BOOL: return "b" + std::to_string(int(value.real));
    case VALUE_STRING: return "\"" + std::string(StringText(value)) + "\"";
    case VALUE_UNDEFINED: return "u";
    case VALUE_INT32: return "i" + std::to_string(value.v32);
    case VALUE_INT64: return "l" + std::to_string(value.v64);
    case VALUE_REF: return "r" + std::to_string(value.v64);
    case VALUE_PTR: return "p" + std::to_string(value.v64);
    case VALUE_ARRAY: {
      std::string text = "[";
      for (int32_t i = 0; value.arr && i < value.arr->length; ++i)
        text += (i ? "," : "") + Picture(value.arr->elements[i]);
      return text + "]";
    }
    default: return "k" + std::to_string(KindOf(value));
  }
}

class ListTest : public BuiltinTest {
 protected:
  // A new list's id value, holding `values`.
  TempValue NewList(std::initializer_list<TempValue> values = {}) {
    TempValue id = Call("ds_list_create", {});
    for (const TempValue& value : values) Call("ds_list_add", {id, value});
    return id;
  }
  static CDS_List& ListOf(const RValue& id) { return *FindList(ListIdOf(id)); }
  static int Size(const TempValue& id) { return int(Call("ds_list_size", {id}).real); }
  static TempValue At(const TempValue& id, double position) {
    return Call("ds_list_find_value", {id, TempValue(position)});
  }
  // The pictures of the list's values, separated by spaces.
  static std::string Contents(const TempValue& id) {
    std::string text;
    for (int i = 0; i < Size(id); ++i) text += (i ? " " : "") + Picture(At(id, i));
    return text;
  }
  std::string Write(const TempValue& id) { return Text(Call("ds_list_write", {id})); }
  TempValue Read(const std::string& text) {
    TempValue id = NewList();
    Call("ds_list_read", {id, Str(text)});
    return id;
  }
};
