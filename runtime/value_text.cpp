// The text form of values: what `string` returns, what string concatenation of
// mixed values appends, and what error messages show.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "runtime/array.h"
#include "runtime/debug_output.h"
#include "runtime/error.h"
#include "runtime/object.h"
#include "runtime/value.h"
#include "runtime/variable_names.h"

namespace {
int g_textDepth = 0;
std::vector<const void*> g_beingPrinted;  // sorted by address

// Marks a container as being printed for as long as it lives; tells whether it already was.
class RecursionGuard {
 public:
  explicit RecursionGuard(const void* container) : container_(container) {
    auto place = std::lower_bound(g_beingPrinted.begin(), g_beingPrinted.end(), container);
    recursive_ = place != g_beingPrinted.end() && *place == container;
    if (!recursive_) g_beingPrinted.insert(place, container);
    ++g_textDepth;
  }
  ~RecursionGuard() {
    --g_textDepth;
    if (recursive_) return;
    auto place = std::lower_bound(g_beingPrinted.begin(), g_beingPrinted.end(), container_);
    if (place == g_beingPrinted.end() || *place != container_) {
      DebugOutput("This should not happen\n");
      return;
    }
    g_beingPrinted.erase(place);
  }
  bool Recursive() const { return recursive_; }

 private:
  const void* container_;
  bool recursive_;
};

void AppendFormatted(std::string& buffer, size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void AppendFormatted(std::string& buffer, size_t capacity, const char* format, ...) {
  std::vector<char> text(capacity);
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(text.data(), capacity, format, args);
  va_end(args);
  if (written > 0) buffer.append(text.data(), std::min(size_t(written), capacity - 1));
}

// Whether the number equals its truncation to a 64-bit integer: whole, and within
// [-2^63, 2^63), where the conversion is defined.
bool IntegralWithin64Bits(double number) {
  return number >= -0x1p63 && number < 0x1p63 && number == std::trunc(number);
}

void AppendNumber(std::string& buffer, double number) {
  if (std::isnan(number)) {
    buffer += "NaN";
  } else if (std::isinf(number)) {
    buffer += number < 0 ? "-inf" : "inf";
  } else if (IntegralWithin64Bits(number)) {
    AppendFormatted(buffer, 256, "%lld", (long long)int64_t(number));
  } else {
    AppendFormatted(buffer, 512, "%.2f", number);
  }
}

void AppendArray(std::string& buffer, const ArrayBody* body) {
  RecursionGuard guard(body);
  if (guard.Recursive()) {
    buffer += "\"Warning: recursive array found\"";
    return;
  }
  buffer += "[ ";
  int32_t length = body ? body->length : 0;
  for (int32_t i = 0; i < length; ++i) {
    if (i) buffer += ",";
    AppendValueText(buffer, body->elements[i]);
  }
  buffer += " ]";
}

// A struct prints as the string its "toString" method returns; one without such
// a method prints as its kind's name.
void AppendStruct(std::string& buffer, VQObjectBase* object) {
  RecursionGuard guard(object);
  if (guard.Recursive()) {
    buffer += "\"Warning: recursive struct found\"";
    return;
  }
  const RValue* member = object->FindVariable(VariableSlot("toString"));
  if (member && KindOf(*member) == VALUE_OBJECT && member->obj && member->obj->objectType == kObjectTypeMethod) {
    auto* method = static_cast<CScriptRef*>(member->obj);
    RValue result;
    result.kind = VALUE_UNDEFINED;
    // Script functions take their bound object as self; CInstance is a
    // VQObjectBase at offset 0, so the pointer passes unchanged.
    method->function(reinterpret_cast<CInstance*>(method->boundSelf), nullptr, &result, 0, nullptr);
    bool returnedText = KindOf(result) == VALUE_STRING;
    if (returnedText) buffer += StringText(result);
    ReleaseValue(result);
    if (returnedText) return;
  }
  buffer += KindNameOf(VALUE_OBJECT, object);
}
}  // namespace

void AppendValueText(std::string& buffer, const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_REAL: AppendNumber(buffer, value.real); break;
    case VALUE_STRING:
      if (!value.str || !value.str->text) break;
      if (g_textDepth > 0) buffer += '"';
      buffer.append(value.str->text, value.str->Length());
      if (g_textDepth > 0) buffer += '"';
      break;
    case VALUE_ARRAY: AppendArray(buffer, value.arr); break;
    case VALUE_PTR:
      if (value.ptr)
        AppendFormatted(buffer, 64, "%p", value.ptr);
      else
        buffer += "null";
      break;
    case VALUE_UNDEFINED: buffer += "undefined"; break;
    case VALUE_OBJECT:
      if (value.obj) AppendStruct(buffer, value.obj);
      break;
    case VALUE_INT32: AppendFormatted(buffer, 32, "%d", value.v32); break;
    case VALUE_INT64: AppendFormatted(buffer, 32, "%lld", (long long)value.v64); break;
    case VALUE_BOOL: buffer += value.real == 0.0 ? "0" : "1"; break;
    case VALUE_REF:
      AppendFormatted(buffer, 128, "ref %s %d", ReferenceTypeName(uint32_t(uint64_t(value.v64) >> 32)),
                      int32_t(uint32_t(uint64_t(value.v64))));
      break;
    case VALUE_UNSET: ReportRuntimeError("STRING argument is unset"); break;
    default: break;
  }
}

std::string ValueText(const RValue& value) {
  std::string text;
  text.reserve(32);
  AppendValueText(text, value);
  return text;
}
