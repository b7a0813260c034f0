// Conversions of values to numbers, booleans and pointers, with the messages
// that script code sees when a value cannot be converted. A reported conversion
// yields 0, 0.0 or false.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "runtime/error.h"
#include "runtime/object.h"
#include "runtime/value.h"

namespace {
int32_t Low32(const RValue& value) { return int32_t(uint32_t(uint64_t(value.v64) & 0xFFFFFFFFu)); }

int64_t DoubleToInt64(double number) {
  if (std::isnan(number)) return 0;
  if (number >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
  if (number <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return int64_t(number);
}

// Structs have no primitive value of their own in this runtime: they convert as
// `undefined` does.
RValue StructPrimitive() {
  RValue undefined;
  undefined.kind = VALUE_UNDEFINED;
  return undefined;
}

bool EqualsIgnoringCase(const char* text, const char* word) {
  for (; *text && *word; ++text, ++word)
    if (std::tolower(static_cast<unsigned char>(*text)) != *word) return false;
  return *text == '\0' && *word == '\0';
}

// The names an integer-like target uses in its messages.
struct ConversionTarget {
  const char* name;       // "I32", "I64", "bool", "PTR"
  const char* arrayName;  // the name in "... argument is array"
};
constexpr ConversionTarget kToInt32{"I32", "I32"};
constexpr ConversionTarget kToInt64{"I64", "INT64"};
constexpr ConversionTarget kToBool{"bool", "bool"};
constexpr ConversionTarget kToPtr{"PTR", "PTR"};

// Reports why `value` does not convert to `target`; the caller then yields 0 or false.
void ReportNotConvertible(const ConversionTarget& target, const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_ARRAY: ReportRuntimeError("%s argument is array", target.arrayName); break;
    case VALUE_UNDEFINED: ReportRuntimeError("%s argument is undefined", target.name); break;
    case VALUE_UNSET: ReportRuntimeError("%s argument is unset", target.name); break;
    default: ReportRuntimeError("%s argument incorrect type %d", target.name, int(KindOf(value))); break;
  }
}

// The integer a string stands for; reported as `typeName` when it stands for none.
int64_t StringToInteger(const RValue& value, const char* typeName) {
  if (!value.str || !value.str->text) return 0;
  int64_t number;
  if (ParseInteger(value.str->text, number)) return number;
  ReportRuntimeError("unable to convert string \"%s\" to %s", value.str->text, typeName);
  return 0;
}
}  // namespace

bool ParseNumber(const char* text, double& result) {
  result = 0.0;
  if (!text) return false;
  if (text[0] == '0' && text[1] == 'b') {
    char* end = nullptr;
    long long number = std::strtoll(text + 2, &end, 2);
    if (end != text + 2) {
      result = double(number);
      return true;
    }
    // No binary digits follow: the number at the start is the 0 itself, as in
    // the text "0b/" that a date piece beginning with "b" gives.
  }
  char* end = nullptr;
  double number = std::strtod(text, &end);
  if (end != text) {
    result = number;
    return true;
  }
  if (std::strncmp(text, "ref ", 4) == 0) {
    number = std::strtod(text + 4, &end);
    if (end != text + 4) {
      result = number;
      return true;
    }
  }
  return false;
}

bool ParseInteger(const char* text, int64_t& result) {
  result = 0;
  if (!text) return false;
  int base = 10;
  const char* digits = text;
  if (text[0] == '0' && text[1] == 'b') {
    base = 2;
    digits = text + 2;
  } else if (text[0] == '0' && text[1] == 'x') {
    base = 16;
    digits = text + 2;
  }
  char* end = nullptr;
  long long number = std::strtoll(digits, &end, base);
  if (end == digits) return false;
  result = number;
  return true;
}

double ConvertToReal(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_REAL:
    case VALUE_BOOL: return value.real;
    case VALUE_STRING: {
      if (!value.str || !value.str->text) return 0.0;
      double number;
      if (ParseNumber(value.str->text, number)) return number;
      ReportRuntimeError("unable to convert string \"%s\" to number", value.str->text);
      return 0.0;
    }
    case VALUE_OBJECT: return ToReal(StructPrimitive());
    case VALUE_INT32:
    case VALUE_REF: return double(Low32(value));
    case VALUE_INT64: return double(value.v64);
    case VALUE_UNSET: ReportRuntimeError("REAL argument is unset"); return 0.0;
    default: ReportRuntimeError("REAL argument incorrect type %s", KindName(value)); return 0.0;
  }
}

int32_t ConvertToInt32(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_REAL:
    case VALUE_BOOL: return DoubleToInt32(value.real);
    case VALUE_STRING: return int32_t(uint32_t(uint64_t(StringToInteger(value, "integer"))));
    case VALUE_PTR:
    case VALUE_INT32:
    case VALUE_INT64:
    case VALUE_REF: return Low32(value);
    case VALUE_OBJECT: return ToInt32(StructPrimitive());
    default: ReportNotConvertible(kToInt32, value); return 0;
  }
}

int64_t ToInt64(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_REAL:
    case VALUE_BOOL: return DoubleToInt64(value.real);
    case VALUE_STRING: return StringToInteger(value, "int64");
    case VALUE_PTR:
    case VALUE_INT64: return value.v64;
    case VALUE_INT32:
    case VALUE_REF: return Low32(value);
    case VALUE_OBJECT: return ToInt64(StructPrimitive());
    default: ReportNotConvertible(kToInt64, value); return 0;
  }
}

bool ToBool(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_REAL:
    case VALUE_BOOL: return value.real > 0.5;
    case VALUE_STRING: {
      if (!value.str || !value.str->text) return false;
      double number;
      if (ParseNumber(value.str->text, number)) return number > 0.5;
      if (EqualsIgnoringCase(value.str->text, "true")) return true;
      if (EqualsIgnoringCase(value.str->text, "false")) return false;
      ReportRuntimeError("unable to convert string \"%s\" to bool", value.str->text);
      return false;
    }
    case VALUE_PTR:
    case VALUE_OBJECT: return value.ptr != nullptr;
    case VALUE_UNDEFINED: return false;
    case VALUE_INT32:
    case VALUE_REF: return Low32(value) > 0;
    case VALUE_INT64: return value.v64 > 0;
    default: ReportNotConvertible(kToBool, value); return false;
  }
}

int64_t ToPtr(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_REAL:
    case VALUE_BOOL: return DoubleToInt64(value.real);
    case VALUE_STRING:
      if (!value.str || !value.str->text) return 0;
      return int64_t(std::strtoull(value.str->text, nullptr, 16));
    case VALUE_ARRAY:
    case VALUE_PTR:
    case VALUE_OBJECT:
    case VALUE_INT64: return value.v64;
    case VALUE_INT32:
    case VALUE_REF: return Low32(value);
    default: ReportNotConvertible(kToPtr, value); return 0;
  }
}
