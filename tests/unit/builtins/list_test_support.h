// tests/unit/lists/list_test_support.h — helpers of the list tests: an owned
// value, calls of the registered built-ins by name, an independent little-endian
// hex writer for hand-made texts, and a fixture that starts the runtime (errors
// throw) and afterwards destroys every list and collects what the test made.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "builtins/builtins.h"
#include "builtins/ds_list.h"
#include "runtime/error.h"
#include "runtime/function_table.h"
#include "runtime/gc.h"
#include "runtime/value.h"

// An RValue that releases its reference when it goes.
struct Val {
  Val() { SetUndefined(v); }
  Val(const Val& other) { CopyValue(v, other.v); }
  Val& operator=(const Val& other) {
    AssignValue(v, other.v);
    return *this;
  }
  ~Val() { ReleaseValue(v); }

  static Val Real(double number) {
    Val value;
    SetReal(value.v, number);
    return value;
  }
  static Val Text(const std::string& text) {
    Val value;
    SetStringCopy(value.v, text);
    return value;
  }
  static Val ListId(int32_t id) {
    Val value;
    SetReference(value.v, kRefTypeDsList, id);
    return value;
  }

  uint32_t Kind() const { return KindOf(v); }
  std::string Str() const {
    return KindOf(v) == VALUE_STRING ? std::string(StringText(v), v.str->Length()) : "<not a string>";
  }

  RValue v;
};

// Calls the registered built-in `name` with copies of `args`.
inline Val Call(const char* name, std::initializer_list<Val> args) {
  std::vector<Val> values(args);
  std::vector<RValue*> pointers;
  for (Val& value : values) pointers.push_back(&value.v);
  int index = FindFunctionIndex(name);
  EXPECT_GE(index, 0) << name;
  Val result;
  CallBuiltinByIndex(nullptr, nullptr, &result.v, int(pointers.size()), index, pointers.data());
  return result;
}

// The message of the runtime error that calling `name` reports, or "" when none.
inline std::string CallError(const char* name, std::initializer_list<Val> args) {
  try {
    Call(name, args);
  } catch (const VQKSLException& error) {
    return error.Message();
  }
  return "";
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

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearFunctionTable();
    RegisterListBuiltins();
    g_runtimeStarted = true;
  }
  void TearDown() override {
    DestroyAllLists();
    GCCollect();  // frees the arrays and structs the test made
    g_runtimeStarted = false;
  }

  // A new list's id value and the list itself.
  Val NewList() { return Call("ds_list_create", {}); }
  static CDS_List& ListOf(const Val& id) { return *FindList(ListIdOf(id.v)); }
};
