#include "runtime/value.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "runtime/frames.h"
#include "runtime/gc.h"
#include "runtime/memory.h"
#include "runtime/named_locks.h"
#include "runtime/object.h"

bool g_copyOnWriteArrays = true;
double g_comparisonEpsilon = 1e-5;

namespace {

StringBody* NewStringBody(char* text, uint32_t lengthWord) {
  auto* body = static_cast<StringBody*>(MemAlloc(sizeof(StringBody), __FILE__, __LINE__, false));
  if (!body) return nullptr;
  body->text = text;
  body->refCount = 1;
  body->lengthWord = lengthWord;
  return body;
}

// Allocates a body owning `left` followed by `right` (plus the NUL), the text in
// the same block right after the body: one allocation per string.
StringBody* NewOwnedString(std::string_view left, std::string_view right = {}) {
  constexpr size_t kLongest = 0x7FFFFFFFu;
  const size_t leftLength = std::min(left.size(), kLongest);
  const size_t rightLength = std::min(right.size(), kLongest - leftLength);
  const size_t length = leftLength + rightLength;
  auto* body = static_cast<StringBody*>(MemAlloc(sizeof(StringBody) + length + 1, __FILE__, __LINE__, false));
  if (!body) return nullptr;
  char* text = reinterpret_cast<char*>(body + 1);
  left.copy(text, leftLength);
  right.copy(text + leftLength, rightLength);
  text[length] = '\0';
  body->text = text;
  body->refCount = 1;
  body->lengthWord = uint32_t(length);
  return body;
}

// A body's text is constant, absent, or in the body's own block.
void ReleaseStringBody(StringBody* body) {
  NamedLock lock(MemoryManagerMutex().mutex);
  if (--body->refCount > 0) return;
  body->text = nullptr;
  body->lengthWord = 0;
  MemFree(body);
}

void ReleaseArrayReference(ArrayBody* body) {
  if (!g_copyOnWriteArrays) return;
  --body->refCount;
  if (body->owner == 0) body->owner = reinterpret_cast<intptr_t>(g_currentSelf);
}

void SetKind(RValue& value, uint32_t kind) {
  value.flags = 0;
  value.kind = kind;
}

struct ReferenceTypeRow {
  const char* name;
  uint32_t id;
};

constexpr ReferenceTypeRow kReferenceTypes[] = {
    {"instance", 0x4000001},
    {"ds_list", 0x2000001},
    {"ds_map", 0x2000002},
    {"ds_grid", 0x2000004},
    {"ds_queue", 0x2000008},
    {"ds_stack", 0x2000010},
    {"ds_priority", 0x2000020},
    {"object", 0x1000000},
    {"sprite", 0x1000001},
    {"sound", 0x1000002},
    {"room", 0x1000003},
    {"path", 0x1000004},
    {"script", 0x1000005},
    {"font", 0x1000006},
    {"timeline", 0x1000007},
    {"shader", 0x1000008},
    {"sequence", 0x1000009},
    {"animcurve", 0x100000a},
    {"particle_system_resource", 0x100000b},
    {"dbgref", 0x4000002},
    {"particle_system_instance", 0x4000004},
    {"particle_emitter", 0x4000008},
    {"particle_type", 0x4000010},
    {"buffer", 0x8000001},
    {"vertex_buffer", 0x8000002},
    {"vertex_format", 0x8000003},
    {"surface", 0x8000004},
    {"time_source", 0x8000005},
    {"layer", 0x8000006},
    {"tilemap", 0x100000c},
    {"tileset", 0x100000d},
};
static_assert(sizeof(kReferenceTypes) / sizeof(kReferenceTypes[0]) == 31, "31 reference types");
}  // namespace

void FreeValue(RValue& value) {
  switch (KindOf(value)) {
    case VALUE_STRING:
      if (value.str) ReleaseStringBody(value.str);
      value.str = nullptr;
      break;
    case VALUE_ARRAY:
      if (value.arr) ReleaseArrayReference(value.arr);
      GCNoteReleasedReference();
      break;
    case VALUE_PTR:
      if ((value.flags & kFlagOwnedObject) && value.ptr) delete static_cast<VQObjectBase*>(value.ptr);
      break;
    case VALUE_OBJECT: GCNoteReleasedReference(); break;
    default: break;
  }
}

void CopyCollectableValue(RValue& destination, const RValue& source) {
  destination.flags = source.flags;
  destination.kind = source.kind;
  switch (KindOf(source)) {
    case VALUE_ARRAY:
      destination.arr = source.arr;
      if (source.arr) {
        if (g_copyOnWriteArrays) {
          ++source.arr->refCount;
          if (source.arr->owner == 0) source.arr->owner = reinterpret_cast<intptr_t>(g_currentSelf);
        }
        GCWriteNotify(reinterpret_cast<VQObjectBase*>(source.arr->carrier));
      }
      break;
    case VALUE_OBJECT:
      destination.obj = source.obj;
      if (source.obj) GCWriteNotify(source.obj);
      break;
    default:  // CopyValue copies every other kind itself
      destination.v64 = source.v64;
      break;
  }
}

void AssignValue(RValue& destination, const RValue& source) {
  if (&destination == &source) return;
  RValue temporary;
  temporary.v64 = source.v64;
  temporary.flags = source.flags;
  temporary.kind = source.kind;
  // Keeps an array alive while the destination (which may hold it) is released.
  ArrayBody* pinned = (KindOf(temporary) == VALUE_ARRAY) ? temporary.arr : nullptr;
  if (pinned) ++pinned->refCount;
  if (NeedsRelease(destination)) FreeValue(destination);
  CopyValue(destination, temporary);
  if (pinned) --pinned->refCount;
}

void SetBool(RValue& value, bool flag) {
  if (NeedsRelease(value)) FreeValue(value);
  value.real = flag ? 1.0 : 0.0;
  SetKind(value, VALUE_BOOL);
}

void SetUndefined(RValue& value) { ReleaseValue(value); }

void SetInt32(RValue& value, int32_t number) {
  if (NeedsRelease(value)) FreeValue(value);
  value.v64 = 0;
  value.v32 = number;
  SetKind(value, VALUE_INT32);
}

void SetInt64(RValue& value, int64_t number) {
  if (NeedsRelease(value)) FreeValue(value);
  value.v64 = number;
  SetKind(value, VALUE_INT64);
}

void SetReference(RValue& value, uint32_t typeId, int32_t index) {
  if (NeedsRelease(value)) FreeValue(value);
  value.v64 = int64_t((uint64_t(typeId) << 32) | uint32_t(index));
  SetKind(value, VALUE_REF);
}

void SetStringConst(RValue& value, const char* text) {
  if (NeedsRelease(value)) FreeValue(value);
  uint32_t length = text ? uint32_t(std::strlen(text)) : 0;
  value.str = NewStringBody(const_cast<char*>(text), text ? (length | 0x80000000u) : 0);
  SetKind(value, VALUE_STRING);
}

void SetStringCopy(RValue& value, const char* text) {
  if (NeedsRelease(value)) FreeValue(value);
  value.str = text ? NewOwnedString(text) : NewStringBody(nullptr, 0);
  SetKind(value, VALUE_STRING);
}

void SetStringCopy(RValue& value, std::string_view text) {
  if (NeedsRelease(value)) FreeValue(value);
  value.str = NewOwnedString(text);
  SetKind(value, VALUE_STRING);
}

namespace {
// A new body holding the text of `left` followed by that of `right`; null when
// the allocation failed.
StringBody* JoinedBody(const StringBody* left, const StringBody* right) {
  auto text = [](const StringBody* body) {
    return (body && body->text) ? std::string_view(body->text, body->Length()) : std::string_view();
  };
  return NewOwnedString(text(left), text(right));
}
}  // namespace

void ConcatStrings(RValue& lhs, const RValue& rhs) {
  StringBody* joined = JoinedBody(lhs.str, rhs.str);
  if (!joined) return;
  StringBody* old = lhs.str;
  lhs.str = joined;
  SetKind(lhs, VALUE_STRING);
  if (old) ReleaseStringBody(old);
}

void ConcatStringsInto(RValue& destination, const RValue& lhs, const RValue& rhs) {
  StringBody* joined = JoinedBody(lhs.str, rhs.str);
  if (!joined) return CopyValue(destination, lhs);
  destination.str = joined;
  SetKind(destination, VALUE_STRING);
}

const char* ReferenceTypeName(uint32_t typeId) {
  for (const auto& row : kReferenceTypes)
    if (row.id == typeId) return row.name;
  return "unknown";
}

const char* KindNameOf(uint32_t kind, const VQObjectBase* object) {
  switch (kind & kKindMask) {
    case VALUE_REAL: return "number";
    case VALUE_STRING: return "string";
    case VALUE_ARRAY: return "array";
    case VALUE_PTR: return "ptr";
    case VALUE_VEC3: return "vec3";
    case VALUE_UNDEFINED: return "undefined";
    case VALUE_OBJECT: return (object && object->objectType == kObjectTypeMethod) ? "method" : "struct";
    case VALUE_INT32: return "int32";
    case VALUE_VEC4: return "vec4";
    case VALUE_VEC44: return "vec44";
    case VALUE_INT64: return "int64";
    case VALUE_ACCESSOR: return "accessor";
    case VALUE_NULL: return "null";
    case VALUE_BOOL: return "bool";
    case VALUE_ITERATOR: return "iterator";
    case VALUE_REF: return "ref";
    default: return "unknown";
  }
}

const char* KindName(const RValue& value) {
  return KindNameOf(value.kind, KindOf(value) == VALUE_OBJECT ? value.obj : nullptr);
}
