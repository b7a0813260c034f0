// The three-way comparison behind ==, !=, < and > of compiled code.
#include <cmath>
#include <cstring>

#include "runtime/error.h"
#include "runtime/value.h"

namespace {
enum class Group { Number, Bool, String, Undefined, Array, Ptr, Struct, Int32, Int64, Ref, Unset, Other };

Group GroupOf(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_REAL: return Group::Number;
    case VALUE_BOOL: return Group::Bool;
    case VALUE_STRING: return Group::String;
    case VALUE_UNDEFINED: return Group::Undefined;
    case VALUE_ARRAY: return Group::Array;
    case VALUE_PTR: return Group::Ptr;
    case VALUE_OBJECT: return Group::Struct;
    case VALUE_INT32: return Group::Int32;
    case VALUE_INT64: return Group::Int64;
    case VALUE_REF: return Group::Ref;
    case VALUE_UNSET: return Group::Unset;
    default: return Group::Other;
  }
}

bool IsNumeric(Group g) { return g == Group::Number || g == Group::Bool; }
bool IsIntegral(Group g) { return g == Group::Int32 || g == Group::Int64; }
// Kinds that `undefined` and arrays refuse to be compared with.
bool IsScalarOrStruct(Group g) { return IsNumeric(g) || IsIntegral(g) || g == Group::Ref || g == Group::Struct; }

int CompareIntegers(int64_t lhs, int64_t rhs) { return lhs < rhs ? -1 : (lhs > rhs ? 1 : 0); }

int64_t IntegerOf(const RValue& value) { return KindOf(value) == VALUE_INT32 ? value.v32 : value.v64; }

// The number a string stands for, reporting a failure when asked to.
bool StringNumber(const RValue& value, bool report, double& number) {
  const char* text = (value.str && value.str->text) ? value.str->text : "";
  if (ParseNumber(text, number)) return true;
  if (report) ReportRuntimeError("unable to convert string \"%s\" to float", text);
  return false;
}

int CompareStrings(const RValue& lhs, const RValue& rhs) {
  int result = std::strcmp(StringText(lhs), StringText(rhs));  // strcmp compares as unsigned char
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int ComparePointers(const void* lhs, const void* rhs) {
  if (lhs == rhs) return 0;
  return lhs < rhs ? 1 : -1;
}

int CompareNumberWithString(const RValue& number, const RValue& text, bool numberOnLeft, double epsilon, bool report) {
  double parsed;
  if (!StringNumber(text, report, parsed)) return 1;
  return numberOnLeft ? CompareReals(number.real, parsed, epsilon) : CompareReals(parsed, number.real, epsilon);
}

int CompareIntegerWithString(const RValue& integer, const RValue& text, bool integerOnLeft, bool report) {
  double parsed;
  if (!StringNumber(text, report, parsed)) return 1;
  int64_t truncated = int64_t(std::trunc(parsed));
  return integerOnLeft ? CompareIntegers(IntegerOf(integer), truncated)
                       : CompareIntegers(truncated, IntegerOf(integer));
}

// An array against anything but an array (in either order).
int CompareArrayWith(const RValue& array, Group other, bool report) {
  if (other == Group::Undefined) return array.arr == nullptr ? 0 : 1;
  if (IsScalarOrStruct(other) && report) ReportRuntimeError("Illegal array use");
  return 1;
}

// Mixed numeric kinds: reals, booleans, 32- and 64-bit integers.
int CompareMixedNumbers(const RValue& lhs, Group l, const RValue& rhs, Group r, double epsilon) {
  if (IsIntegral(l) && IsIntegral(r)) return CompareIntegers(IntegerOf(lhs), IntegerOf(rhs));
  if (l == Group::Bool && IsIntegral(r)) return CompareIntegers(int64_t(lhs.real), IntegerOf(rhs));
  if (IsIntegral(l) && r == Group::Bool) return CompareIntegers(IntegerOf(lhs), int64_t(rhs.real));
  if (l == Group::Int32 && r == Group::Number) return CompareReals(float(lhs.v32), float(rhs.real), float(epsilon));
  if (l == Group::Number && r == Group::Int32) return CompareReals(float(lhs.real), float(rhs.v32), float(epsilon));
  double left = IsIntegral(l) ? double(IntegerOf(lhs)) : lhs.real;
  double right = IsIntegral(r) ? double(IntegerOf(rhs)) : rhs.real;
  return CompareReals(left, right, epsilon);
}
}  // namespace

int CompareValues(const RValue& lhs, const RValue& rhs, double epsilon, bool report) {
  Group l = GroupOf(lhs);
  Group r = GroupOf(rhs);
  if (l == Group::Unset || r == Group::Unset) {
    ReportRuntimeError("Cannot compare unset variables");
    return 0;
  }
  if ((IsNumeric(l) || IsIntegral(l)) && (IsNumeric(r) || IsIntegral(r)))
    return CompareMixedNumbers(lhs, l, rhs, r, epsilon);
  // Only a number is compared with a string as a number: a boolean against a
  // string falls to the rule for unrelated kinds.
  if (l == Group::Number && r == Group::String) return CompareNumberWithString(lhs, rhs, true, epsilon, report);
  if (l == Group::String && r == Group::Number) return CompareNumberWithString(rhs, lhs, false, epsilon, report);
  if (l == Group::Int32 && r == Group::String) return CompareIntegerWithString(lhs, rhs, true, report);
  if (l == Group::String && r == Group::Int32) return CompareIntegerWithString(rhs, lhs, false, report);
  if (l == Group::String && r == Group::String) return CompareStrings(lhs, rhs);
  if (l == Group::Undefined && r == Group::Undefined) return 0;
  if (l == Group::Undefined || r == Group::Undefined) {
    Group other = (l == Group::Undefined) ? r : l;
    if (other == Group::String || other == Group::Ptr) return 1;
    if (IsScalarOrStruct(other)) return -2;
  }
  if (l == Group::Array && r == Group::Array) return (lhs.arr != nullptr && lhs.arr == rhs.arr) ? 0 : 1;
  if (l == Group::Array) return CompareArrayWith(lhs, r, report);
  if (r == Group::Array) return CompareArrayWith(rhs, l, report);
  if ((l == Group::Ptr && r == Group::Ptr) || (l == Group::Struct && r == Group::Struct))
    return ComparePointers(lhs.ptr, rhs.ptr);
  return KindOf(lhs) != VALUE_REAL ? 1 : -1;
}

bool ValuesEqual(const RValue& lhs, const RValue& rhs) {
  return CompareValues(lhs, rhs, g_comparisonEpsilon, false) == 0;
}
bool ValuesNotEqual(const RValue& lhs, const RValue& rhs) { return !ValuesEqual(lhs, rhs); }

bool ValueLess(const RValue& lhs, const RValue& rhs) {
  int result = CompareValues(lhs, rhs, g_comparisonEpsilon, true);
  return result != -2 && result < 0;
}

bool ValueGreater(const RValue& lhs, const RValue& rhs) {
  int result = CompareValues(lhs, rhs, g_comparisonEpsilon, true);
  return result != -2 && result > 0;
}
