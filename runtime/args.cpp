#include "runtime/args.h"

#include <cctype>
#include <cmath>
#include <deque>
#include <string>

#include "runtime/error.h"
#include "runtime/frames.h"
#include "runtime/function_table.h"
#include "runtime/named_locks.h"
#include "runtime/object.h"

namespace {
std::deque<std::string> g_scratch;  // the nursery: texts of converted string arguments

void ReportType(int index, const RValue& value, const char* expectation) {
  ReportRuntimeError("%s argument %d incorrect type (%s) expecting a %s", CurrentFunctionName(), index + 1,
                     KindName(value), expectation);
}

bool StartsWithDigit(const RValue& value) {
  const char* text = StringText(value);
  return std::isdigit(static_cast<unsigned char>(text[0])) != 0;
}

bool StartsWithSignedDigit(const RValue& value) {
  const char* text = StringText(value);
  return std::isdigit(static_cast<unsigned char>(text[0])) ||
         (text[0] == '-' && std::isdigit(static_cast<unsigned char>(text[1])));
}

int32_t Low32(const RValue& value) { return int32_t(uint32_t(uint64_t(value.v64))); }

bool IsNumericCarrier(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_REAL:
    case VALUE_BOOL:
    case VALUE_INT32:
    case VALUE_INT64:
    case VALUE_REF:
    case VALUE_OBJECT: return true;
    default: return false;
  }
}

// Real numbers of every numeric kind and of digit-led strings.
bool RealOf(const RValue& value, bool allowSign, double& number) {
  if (IsNumericCarrier(value) ||
      (KindOf(value) == VALUE_STRING && (allowSign ? StartsWithSignedDigit(value) : StartsWithDigit(value)))) {
    number = IsNumberLike(value) ? value.real : ToReal(value);
    return true;
  }
  return false;
}
}  // namespace

double ConvertArgReal(const RValue* args, int index) {
  double number;
  if (RealOf(args[index], false, number)) return number;
  ReportType(index, args[index], "Number (VQGR)");
  return 0.0;
}

float ArgFloat(const RValue* args, int index) {
  double number;
  if (RealOf(args[index], true, number)) return float(number);
  ReportType(index, args[index], "Number (VQGF)");
  return 0.0f;
}

int32_t ConvertArgInt32(const RValue* args, int index) {
  const RValue& value = args[index];
  switch (KindOf(value)) {
    case VALUE_REAL:
    case VALUE_BOOL:
    case VALUE_INT32:
    case VALUE_INT64:
    case VALUE_REF:
    case VALUE_OBJECT: return ToInt32(value);
    case VALUE_STRING:
      if (StartsWithDigit(value)) return ToInt32(value);
      break;
    default: break;
  }
  ReportType(index, value, "Number (VQGI32)");
  return 0;
}

int64_t ArgInt64(const RValue* args, int index) {
  const RValue& value = args[index];
  switch (KindOf(value)) {
    case VALUE_REAL:
    case VALUE_BOOL:
    case VALUE_INT64:
    case VALUE_OBJECT: return ToInt64(value);
    case VALUE_INT32:
    case VALUE_REF: return Low32(value);
    case VALUE_STRING:
      if (StartsWithDigit(value)) return ToInt64(value);
      break;
    default: break;
  }
  ReportType(index, value, "Number");
  return 0;
}

uint32_t ArgUInt32(const RValue* args, int index) {
  const RValue& value = args[index];
  if (IsNumberLike(value) && value.real < 0) return uint32_t(uint64_t(int64_t(std::trunc(value.real))));
  switch (KindOf(value)) {
    case VALUE_REAL:
    case VALUE_BOOL:
    case VALUE_INT32:
    case VALUE_INT64:
    case VALUE_REF:
    case VALUE_OBJECT: return uint32_t(ToInt32(value));
    case VALUE_STRING:
      if (StartsWithDigit(value)) return uint32_t(ToInt32(value));
      break;
    default: break;
  }
  ReportType(index, value, "Number (VQGU32)");
  return 0;
}

bool ArgBool(const RValue* args, int index) {
  const RValue& value = args[index];
  switch (KindOf(value)) {
    case VALUE_REAL: return value.real > 0.5;
    case VALUE_BOOL: return value.real != 0.0;
    case VALUE_PTR:
    case VALUE_OBJECT: return value.ptr != nullptr;
    case VALUE_UNDEFINED: return false;
    case VALUE_INT32:
    case VALUE_REF: return Low32(value) > 0;
    case VALUE_INT64: return value.v64 > 0;
    default: ReportType(index, value, "Boolean (VQGB)"); return false;
  }
}

const char* ArgString(const RValue* args, int index) {
  const RValue& value = args[index];
  switch (KindOf(value)) {
    case VALUE_STRING: return StringText(value);
    case VALUE_REAL:
    case VALUE_ARRAY:
    case VALUE_PTR:
    case VALUE_UNDEFINED:
    case VALUE_OBJECT:
    case VALUE_INT32:
    case VALUE_INT64:
    case VALUE_BOOL:
    case VALUE_REF: {
      std::string text = ValueText(value);
      NamedLock lock(NurseryMutex().mutex);
      g_scratch.push_back(std::move(text));
      return g_scratch.back().c_str();
    }
    default: ReportType(index, value, "String (VQGS)"); return "";
  }
}

void* ArgPointer(const RValue* args, int index) {
  if (KindOf(args[index]) == VALUE_PTR) return args[index].ptr;
  ReportType(index, args[index], "Pointer");
  return nullptr;
}

int64_t ArgNumberOrPointer(const RValue* args, int index) {
  const RValue& value = args[index];
  switch (KindOf(value)) {
    case VALUE_REAL: return int64_t(std::trunc(value.real));
    case VALUE_PTR:
    case VALUE_INT64: return value.v64;
    case VALUE_INT32:
    case VALUE_REF: return Low32(value);
    default: ReportType(index, value, "Number or Pointer"); return -1;
  }
}

VQObjectBase* ArgStruct(const RValue* args, int index) {
  const RValue& value = args[index];
  if (KindOf(value) == VALUE_OBJECT && value.obj && value.obj->objectType != kObjectTypeInstance) return value.obj;
  ReportRuntimeError("%s argument %d incorrect type (%s) needs to be a struct", CurrentFunctionName(), index + 1,
                     KindName(value));
  return nullptr;
}

ArrayBody* ArgArray(const RValue* args, int index, bool writable) {
  const RValue& value = args[index];
  if (IsUnset(value)) {
    ReportRuntimeError("ARRAY argument is unset");
    return nullptr;
  }
  if (KindOf(value) != VALUE_ARRAY) {
    ReportRuntimeError("%s :: argument %d is not an array", CurrentFunctionName(), index + 1);
    return nullptr;
  }
  if (writable && value.arr && (value.arr->flags & 1u)) {
    ReportRuntimeError("%s :: argument %d cannot be an immutable array", CurrentFunctionName(), index + 1);
    return nullptr;
  }
  return value.arr;
}

int32_t ArgReferenceIndex(const RValue* args, int index, uint32_t typeId) {
  const RValue& value = args[index];
  switch (KindOf(value)) {
    case VALUE_REF: {
      uint32_t valueType = uint32_t(uint64_t(value.v64) >> 32);
      if (valueType == typeId) return Low32(value);
      ReportRuntimeError("%s argument %d incorrect type (%s) expecting a %s", CurrentFunctionName(), index + 1,
                         ReferenceTypeName(valueType), ReferenceTypeName(typeId));
      return -1;
    }
    case VALUE_UNDEFINED:
    case VALUE_OBJECT:
      ReportRuntimeError("%s argument %d incorrect type (%s) expecting a %s", CurrentFunctionName(), index + 1,
                         KindName(value), ReferenceTypeName(typeId));
      return -1;
    default: return ArgInt32(args, index);
  }
}

void ReportInvalidReference(int argumentIndex, uint32_t typeId, int32_t requested, int32_t count) {
  ReportRuntimeError("%s argument %d invalid reference to (%s) - requested %d max is %d", CurrentFunctionName(),
                     argumentIndex + 1, ReferenceTypeName(typeId), requested, count);
}

void ReportRejectedReference(int argumentIndex, uint32_t typeId, int32_t requested) {
  ReportRuntimeError("%s argument %d invalid reference to (%s) - requested %d", CurrentFunctionName(),
                     argumentIndex + 1, ReferenceTypeName(typeId), requested);
}

bool RequireInstanceContext() {
  if (g_currentSelf) return true;
  ReportRuntimeError("%s() must be called in an instance context", CurrentFunctionName());
  return false;
}

void ReclaimArgumentScratch() {
  NamedLock lock(NurseryMutex().mutex);
  g_scratch.clear();
}
