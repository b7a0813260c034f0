// The arithmetic operations that compiled code calls on values: +=, -=, *=, ++
// and the assignment of an integer constant.
#include <cstdint>

#include "runtime/error.h"
#include "runtime/value.h"

namespace {
void MakeNumber(RValue& value, double number) {
  if (NeedsRelease(value)) FreeValue(value);
  value.real = number;
  value.flags = 0;
  value.kind = VALUE_REAL;
}

void MakeInt64(RValue& value, int64_t number) {
  value.v64 = number;
  value.flags = 0;
  value.kind = VALUE_INT64;
}

void SetInt32Payload(RValue& value, int32_t number) {
  value.v64 = 0;
  value.v32 = number;
}

// The text of a value for an error message; an unset value shows as nothing.
std::string MessageText(const RValue& value) {
  SuppressErrors quiet;
  return ValueText(value);
}

void ReportInvalidType(const char* operation, const RValue& lhs, const RValue& rhs) {
  ReportRuntimeError("invalid type for %s lhs=%s (type=%d), rhs=%s (type=%d)", operation, MessageText(lhs).c_str(),
                     int(KindOf(lhs)), MessageText(rhs).c_str(), int(KindOf(rhs)));
}

int32_t Wrap32(int64_t number) { return int32_t(uint32_t(uint64_t(number))); }

RValue NumberValue(double number) {
  RValue value;
  value.real = number;
  value.kind = VALUE_REAL;
  return value;
}

// lhs (an int32 or int64) combined with rhs by `sign` × rhs, following the
// integer rules of += and -=.
void AddToInteger(RValue& lhs, const RValue& rhs, int sign) {
  if (KindOf(lhs) == VALUE_INT32) {
    if (KindOf(rhs) == VALUE_REAL) return MakeNumber(lhs, double(lhs.v32) + sign * rhs.real);
    if (KindOf(rhs) == VALUE_INT64) return MakeInt64(lhs, int64_t(lhs.v32) + sign * rhs.v64);
    return SetInt32Payload(lhs, Wrap32(int64_t(lhs.v32) + sign * int64_t(ToInt32(rhs))));
  }
  if (KindOf(rhs) == VALUE_REAL) return MakeNumber(lhs, double(lhs.v64) + sign * rhs.real);
  lhs.v64 = int64_t(uint64_t(lhs.v64) + uint64_t(sign * ToInt64(rhs)));
}
}  // namespace

void AddAssign(RValue& lhs, const RValue& rhs) {
  switch (KindOf(lhs)) {
    case VALUE_BOOL: lhs.kind = VALUE_REAL; [[fallthrough]];
    case VALUE_REAL: lhs.real += (KindOf(rhs) == VALUE_REAL) ? rhs.real : ToReal(rhs); break;
    case VALUE_STRING:
      if (KindOf(rhs) == VALUE_STRING)
        ConcatStrings(lhs, rhs);
      else
        ReportRuntimeError("unable to add a number to string");
      break;
    case VALUE_INT32:
    case VALUE_INT64: AddToInteger(lhs, rhs, 1); break;
    default: ReportInvalidType("+=", lhs, rhs); break;
  }
}

void AddAssign(RValue& lhs, int32_t rhs) {
  switch (KindOf(lhs)) {
    case VALUE_BOOL: lhs.kind = VALUE_REAL; [[fallthrough]];
    case VALUE_REAL: lhs.real += double(rhs); break;
    case VALUE_STRING: ReportRuntimeError("unable to add a number to string"); break;
    case VALUE_INT32: SetInt32Payload(lhs, Wrap32(int64_t(lhs.v32) + rhs)); break;
    case VALUE_INT64: lhs.v64 = int64_t(uint64_t(lhs.v64) + uint64_t(int64_t(rhs))); break;
    default: ReportInvalidType("+=", lhs, NumberValue(rhs)); break;
  }
}

void SubAssign(RValue& lhs, const RValue& rhs) {
  switch (KindOf(lhs)) {
    case VALUE_BOOL: lhs.kind = VALUE_REAL; [[fallthrough]];
    case VALUE_REAL: lhs.real -= (KindOf(rhs) == VALUE_REAL) ? rhs.real : ToReal(rhs); break;
    case VALUE_STRING: {
      double difference = ToReal(lhs) - ToReal(rhs);
      MakeNumber(lhs, difference);
      break;
    }
    case VALUE_INT32:
    case VALUE_INT64: AddToInteger(lhs, rhs, -1); break;
    default: ReportInvalidType("-=", lhs, rhs); break;
  }
}

void MulAssign(RValue& lhs, const RValue& rhs) {
  uint32_t kindWord = lhs.kind;
  bool repeatable =
      kindWord == VALUE_REAL || kindWord == VALUE_INT32 || kindWord == VALUE_INT64 || kindWord == VALUE_BOOL;
  if (repeatable && KindOf(rhs) == VALUE_STRING) {
    int32_t count = ToInt32(lhs);
    std::string repeated;
    const char* text = StringText(rhs);
    for (int32_t i = 0; i < count; ++i) repeated += text;
    SetStringCopy(lhs, repeated);
    return;
  }
  switch (KindOf(lhs)) {
    case VALUE_BOOL: lhs.kind = VALUE_REAL; [[fallthrough]];
    case VALUE_REAL: lhs.real *= (KindOf(rhs) == VALUE_REAL) ? rhs.real : ToReal(rhs); break;
    case VALUE_INT32:
    case VALUE_INT64: MakeNumber(lhs, ToReal(lhs) * ToReal(rhs)); break;
    default: ReportInvalidType("*=", lhs, rhs); break;
  }
}

void Increment(RValue& value) {
  switch (KindOf(value)) {
    case VALUE_BOOL: value.kind = VALUE_REAL; [[fallthrough]];
    case VALUE_REAL: value.real += 1.0; break;
    case VALUE_STRING: {
      double number = ToReal(value) + 1.0;
      MakeNumber(value, number);
      break;
    }
    case VALUE_INT32: SetInt32Payload(value, Wrap32(int64_t(value.v32) + 1)); break;
    case VALUE_INT64: value.v64 = int64_t(uint64_t(value.v64) + 1); break;
    default: ReportInvalidType("++", value, value); break;
  }
}

void AssignInt(RValue& lhs, int32_t constant) { MakeNumber(lhs, double(constant)); }
