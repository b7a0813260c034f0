#include "builtins/strings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "builtins/builtins.h"
#include "runtime/args.h"
#include "runtime/function_table.h"
#include "runtime/value.h"

namespace {
constexpr size_t kInitialTextBytes = 256;

size_t CharacterBytes(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xF8) == 0xF0) return 4;
  return (lead & 0x20) == 0 ? 2 : 3;
}

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Steps over up to `count` characters; stops at the end of the text.
const char* SkipCharacters(const char* text, int64_t count) {
  for (; count > 0 && *text; --count) text = NextCharacter(text);
  return text;
}

// The character number (from 1) of the first occurrence of `needle`; 0 for none.
int64_t FindCharacterPosition(const char* needle, const char* text) {
  size_t needleBytes = std::strlen(needle), textBytes = std::strlen(text);
  if (textBytes < needleBytes) return 0;
  size_t lastStart = textBytes - needleBytes;
  int64_t position = 1;
  for (const char* at = text; size_t(at - text) <= lastStart; at = NextCharacter(at), ++position)
    if (std::memcmp(at, needle, needleBytes) == 0) return position;
  return 0;
}

// How many character starts of `text` begin an occurrence of `needle`.
int64_t CountOccurrences(const char* needle, const char* text) {
  size_t needleBytes = std::strlen(needle), textBytes = std::strlen(text);
  int64_t count = 0;
  for (const char* at = text; *at; at = NextCharacter(at))
    if (size_t(at - text) + needleBytes <= textBytes && std::memcmp(at, needle, needleBytes) == 0) ++count;
  return count;
}

// `count` characters from character `index` (from 1; 0 and below start at the first).
std::string CopyCharacters(const char* text, int64_t index, int64_t count) {
  const char* first = SkipCharacters(text, std::max<int64_t>(index - 1, 0));
  const char* last = SkipCharacters(first, std::max<int64_t>(count, 0));
  return std::string(first, last);
}

// `text` without `count` characters from character `index`. A negative index
// counts from the end (-1 is the last character); a negative count deletes
// backwards, ending with the character at the index.
std::string DeleteCharacters(const char* text, int64_t index, int64_t count) {
  int64_t start = index > 0 ? index - 1 : index;
  int64_t length = int64_t(CharacterLength(text, std::strlen(text)));
  start = start >= 0 ? std::min(start, length) : std::max(start + length, int64_t(0));
  int64_t deleted;
  if (count >= 0) {
    deleted = std::min(count, length - start);
  } else {
    deleted = std::min(-count, start + 1);
    start = start - deleted + 1;
  }
  const char* mark = SkipCharacters(text, start);
  const char* rest = SkipCharacters(mark, deleted);
  return std::string(text, mark) + rest;
}

void string_pos(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const char* needle = ArgString(args, 0);
  SetReal(result, double(FindCharacterPosition(needle, ArgString(args, 1))));
}

void string_count(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const char* needle = ArgString(args, 0);
  SetReal(result, double(CountOccurrences(needle, ArgString(args, 1))));
}

void string_copy(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const char* text = ArgString(args, 0);
  int32_t index = ArgInt32(args, 1);
  SetStringCopy(result, CopyCharacters(text, index, ArgInt32(args, 2)));
}

void string_delete(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const char* text = ArgString(args, 0);
  int32_t index = ArgInt32(args, 1);
  SetStringCopy(result, DeleteCharacters(text, index, ArgInt32(args, 2)));
}

void string(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  std::string text;
  text.reserve(kInitialTextBytes);
  AppendValueText(text, args[0]);
  SetStringCopy(result, text);
}

void real(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  SetReal(result, KindOf(args[0]) == VALUE_REAL ? args[0].real : ToReal(args[0]));
}

// Only a plain `undefined` counts: the whole kind word, holder marks included.
void is_undefined(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  SetBool(result, args[0].kind == VALUE_UNDEFINED);
}
}  // namespace

const char* NextCharacter(const char* text) {
  size_t bytes = CharacterBytes(static_cast<unsigned char>(*text));
  for (size_t i = 1; i < bytes; ++i)
    if (text[i] == '\0') return text + i;
  return text + bytes;
}

size_t CharacterLength(const char* text, size_t byteLength) {
  size_t characters = 0;
  for (size_t i = 0; i < byteLength; ++i) characters += !IsContinuationByte(text[i]);
  return characters;
}

void RegisterStringBuiltins() {
  RegisterBuiltin("string_pos", string_pos, 2);
  RegisterBuiltin("string_count", string_count, 2);
  RegisterBuiltin("string_copy", string_copy, 3);
  RegisterBuiltin("string_delete", string_delete, 3);
  RegisterBuiltin("string", string, 1);
  RegisterBuiltin("real", real, 1);
  RegisterBuiltin("is_undefined", is_undefined, 1);
}
