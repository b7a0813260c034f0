// runtime/value.h — RValue, the 16-byte dynamically typed value of all script code.
//
// Layout (pinned below):
//   bytes 0-7   payload: double (number, bool), int32 in the low half (int32),
//               int64 (int64, ref: type id << 32 | index), or a pointer
//               (string body, array body, object, raw pointer)
//   bytes 8-11  flags: bit 3 = a ptr payload is an object the value owns
//   bytes 12-15 kind word: low 24 bits the kind, high 8 bits marks of the holder
//               (lists use bits 30 and 31); every kind test masks with 0xFFFFFF.
//
// Ownership: a value owns one reference to its string or array body. Copying
// shares the body and adds a reference; overwriting releases first. Kinds 1, 2
// and 6 (the bits of kReleaseMask) must be released before they are overwritten.
// String bodies die with their last reference; array bodies die with their
// collector-tracked carrier; structs (kind 6) live until the collector finds
// them unreachable.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum ValueKind : uint32_t {
  VALUE_REAL = 0,
  VALUE_STRING = 1,
  VALUE_ARRAY = 2,
  VALUE_PTR = 3,
  VALUE_VEC3 = 4,
  VALUE_UNDEFINED = 5,
  VALUE_OBJECT = 6,
  VALUE_INT32 = 7,
  VALUE_VEC4 = 8,
  VALUE_VEC44 = 9,
  VALUE_INT64 = 10,
  VALUE_ACCESSOR = 11,
  VALUE_NULL = 12,
  VALUE_BOOL = 13,
  VALUE_ITERATOR = 14,
  VALUE_REF = 15,
  VALUE_UNSET = 0x00FFFFFF,
};

constexpr uint32_t kKindMask = 0x00FFFFFF;
constexpr uint32_t kReleaseMask = 70;  // bits 1, 2 and 6: string, array, struct
constexpr uint32_t kFlagOwnedObject = 0x8;

// Reference type ids of kind-15 values (upper 32 bits of the payload).
constexpr uint32_t kRefTypeInstance = 0x4000001;
constexpr uint32_t kRefTypeDsList = 0x2000001;
constexpr uint32_t kRefTypeRoom = 0x1000003;

struct StringBody {
  char* text;  // NUL-terminated UTF-8; null counts as ""
  int32_t refCount;
  uint32_t lengthWord;  // low 31 bits: byte length; bit 31: constant text, never freed
  uint32_t Length() const { return lengthWord & 0x7FFFFFFFu; }
  bool IsConstant() const { return (lengthWord & 0x80000000u) != 0; }
};

class GCArrayThing;
class VQObjectBase;
struct RValue;

struct ArrayBody {
  GCArrayThing* carrier;  // the collectable object that owns this body
  RValue* elements;
  intptr_t owner;    // the instance that created it or took a private copy (copy-on-write)
  int32_t refCount;  // values holding it (kept in copy-on-write mode)
  uint32_t flags;    // bit 0: immutable
  int32_t length;
};

struct RValue {
  union {
    double real;
    int32_t v32;
    int64_t v64;
    void* ptr;
    StringBody* str;
    ArrayBody* arr;
    VQObjectBase* obj;
  };
  uint32_t flags;
  uint32_t kind;

  RValue() : v64(0), flags(0), kind(VALUE_UNSET) {}
};

static_assert(sizeof(RValue) == 16, "RValue is a 16-byte value");
static_assert(offsetof(RValue, flags) == 8 && offsetof(RValue, kind) == 12, "RValue field layout");
static_assert(sizeof(StringBody) == 16, "StringBody layout");

inline uint32_t KindOf(const RValue& v) { return v.kind & kKindMask; }
inline bool NeedsRelease(const RValue& v) { return ((1u << (v.kind & 31)) & kReleaseMask) != 0; }
inline bool IsUnset(const RValue& v) { return KindOf(v) == VALUE_UNSET; }
inline bool IsNumberLike(const RValue& v) { return KindOf(v) == VALUE_REAL || KindOf(v) == VALUE_BOOL; }
// The text of a string value ("" for a null body or text).
inline const char* StringText(const RValue& v) { return (v.str && v.str->text) ? v.str->text : ""; }
// The bytes of a string value, zero bytes included (none for a null body).
inline std::string_view StringBytes(const RValue& v) { return {StringText(v), v.str ? v.str->Length() : 0}; }

// Copy-on-write mode for arrays (a game option, on until the game data says otherwise).
extern bool g_copyOnWriteArrays;
// The epsilon of ==, <, > in compiled code.
extern double g_comparisonEpsilon;

// --- Release, copy, assign -------------------------------------------------
void FreeValue(RValue& value);
// CopyValue of an array or a struct (they tell the collector about the copy).
void CopyCollectableValue(RValue& destination, const RValue& source);
// Inline: compiled code copies a value for every argument of every call.
inline void CopyValue(RValue& destination, const RValue& source) {
  switch (KindOf(source)) {
    case VALUE_ARRAY:
    case VALUE_OBJECT: CopyCollectableValue(destination, source); return;
    case VALUE_STRING:
      if (source.str) ++source.str->refCount;
      break;
    default: break;
  }
  destination.v64 = source.v64;
  destination.flags = source.flags;
  destination.kind = source.kind;
}
void AssignValue(RValue& destination, const RValue& source);
// Releases when needed and leaves the value `undefined`.
inline void ReleaseValue(RValue& value) {
  if (NeedsRelease(value)) FreeValue(value);
  value.v64 = 0;
  value.flags = 0;
  value.kind = VALUE_UNDEFINED;
}

// --- Making values ---------------------------------------------------------
// Inline, as the value operations above: compiled code makes a number of every
// constant it passes.
inline void SetReal(RValue& value, double number) {
  if (NeedsRelease(value)) FreeValue(value);
  value.real = number;
  value.flags = 0;
  value.kind = VALUE_REAL;
}
void SetBool(RValue& value, bool flag);
void SetUndefined(RValue& value);
void SetInt32(RValue& value, int32_t number);
void SetInt64(RValue& value, int64_t number);
void SetReference(RValue& value, uint32_t typeId, int32_t index);
void SetStringConst(RValue& value, const char* text);
void SetStringCopy(RValue& value, const char* text);
// The bytes of `text`, zero bytes included.
void SetStringCopy(RValue& value, std::string_view text);
// lhs := lhs + rhs, both strings (unchanged when the allocation fails).
void ConcatStrings(RValue& lhs, const RValue& rhs);
// destination, which holds no reference, := lhs + rhs, both strings: what a copy
// of lhs followed by ConcatStrings gives.
void ConcatStringsInto(RValue& destination, const RValue& lhs, const RValue& rhs);

// --- Names -----------------------------------------------------------------
const char* KindName(const RValue& value);
const char* KindNameOf(uint32_t kind, const VQObjectBase* object = nullptr);
const char* ReferenceTypeName(uint32_t typeId);

// --- Conversions (errors go through the runtime error report) --------------
// ToReal of every kind but a number or bool.
double ConvertToReal(const RValue& value);
inline double ToReal(const RValue& value) { return IsNumberLike(value) ? value.real : ConvertToReal(value); }
// A number truncated toward zero; INT32_MIN when the result does not fit (NaN too).
inline int32_t DoubleToInt32(double number) {
  const double truncated = std::trunc(number);
  if (!(truncated >= -2147483648.0 && truncated <= 2147483647.0)) return INT32_MIN;
  return int32_t(truncated);
}
// ToInt32 of every kind but a number or bool.
int32_t ConvertToInt32(const RValue& value);
inline int32_t ToInt32(const RValue& value) {
  return IsNumberLike(value) ? DoubleToInt32(value.real) : ConvertToInt32(value);
}
int64_t ToInt64(const RValue& value);
bool ToBool(const RValue& value);
int64_t ToPtr(const RValue& value);
// Reads the longest number at the start of `text` (after blanks; "0b" binary;
// "ref " prefix). Returns false when nothing was consumed.
bool ParseNumber(const char* text, double& result);
// Integer parse of ToInt32/ToInt64: "0b" binary, "0x" hexadecimal, else decimal.
bool ParseInteger(const char* text, int64_t& result);

// --- Text form ---------------------------------------------------------------
// Appends the text form of `value` (numbers as integers when integral, otherwise
// with two decimals; strings quoted inside arrays).
void AppendValueText(std::string& buffer, const RValue& value);
std::string ValueText(const RValue& value);

// --- Comparison and arithmetic ----------------------------------------------
// The order of two numbers: 0 when they differ by at most `epsilon` (and for two
// infinities), otherwise -1 or +1; a NaN difference counts as far apart.
template <typename Real>
inline int CompareReals(Real lhs, Real rhs, Real epsilon) {
  Real d = lhs - rhs;
  if (std::isnan(d)) {
    if (std::isinf(lhs) && std::isinf(rhs)) return 0;
    d = 2 * epsilon;
  }
  if (std::fabs(d) <= epsilon) return 0;
  return d < 0 ? -1 : 1;
}
// -1, 0, +1, or -2 for "not comparable"; `report` makes illegal comparisons errors.
int CompareValues(const RValue& lhs, const RValue& rhs, double epsilon, bool report);
bool ValuesEqual(const RValue& lhs, const RValue& rhs);     // ==
bool ValuesNotEqual(const RValue& lhs, const RValue& rhs);  // !=
bool ValueLess(const RValue& lhs, const RValue& rhs);       // <
bool ValueGreater(const RValue& lhs, const RValue& rhs);    // >

void AddAssign(RValue& lhs, const RValue& rhs);
void AddAssign(RValue& lhs, int32_t rhs);
void SubAssign(RValue& lhs, const RValue& rhs);
void MulAssign(RValue& lhs, const RValue& rhs);
void Increment(RValue& value);
void AssignInt(RValue& lhs, int32_t constant);
