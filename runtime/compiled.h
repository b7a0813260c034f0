// runtime/compiled.h — helpers that let compiled application code follow the
// runtime's conventions while reading close to the behaviour it implements.
//
//   TempValue   a temporary RValue that releases itself on every exit
//   KslFrame    the stack-trace frame of a compiled function (sets the current
//               self, restores chain and self on every exit, unwinding included)
//               plus the calls compiled code makes: built-ins by index, variables
//               of self and of the global object by slot, built-in variables
//   ScriptArgs  a script's own copies of its arguments
//
// Every helper goes through the same runtime operations the conventions name:
// GetVarRef / GetVarRefForWrite with the context stack around assignments,
// CallBuiltinByIndex with temporaries, the set and get value operations for
// built-in variables, and the comparison and arithmetic of values. Var reads a
// variable held in self's own store directly, which is what GetVarRef returns
// first; every other read goes through GetVarRef.
#pragma once

#include <initializer_list>
#include <utility>

#include "runtime/builtin_variables.h"
#include "runtime/frames.h"
#include "runtime/function_table.h"
#include "runtime/link.h"
#include "runtime/value.h"

class CInstance;

class TempValue : public RValue {
 public:
  TempValue() = default;
  TempValue(double number) { SetReal(*this, number); }         // NOLINT: numbers convert implicitly
  TempValue(const RValue& value) { CopyValue(*this, value); }  // NOLINT: shares the body
  TempValue(const TempValue& other) : RValue() { CopyValue(*this, other); }
  TempValue(TempValue&& other) noexcept : RValue(other) { other.kind = VALUE_UNDEFINED; }
  ~TempValue() {
    if (NeedsRelease(*this)) FreeValue(*this);
  }
  TempValue& operator=(const RValue& value) {
    AssignValue(*this, value);
    return *this;
  }
  TempValue& operator=(const TempValue& value) {
    AssignValue(*this, value);
    return *this;
  }
  TempValue& operator=(double number) {
    SetReal(*this, number);
    return *this;
  }
};

// The value operators of compiled code, on temporaries. Two numbers are
// combined inline (what the general operation does for them, the left value's
// flags and kind word kept); everything else goes through the general operation.
TempValue AddValues(const RValue& lhs, const RValue& rhs);
TempValue SubtractValues(const RValue& lhs, const RValue& rhs);
TempValue MultiplyValues(const RValue& lhs, const RValue& rhs);

inline TempValue NumberLike(const RValue& lhs, double number) {
  TempValue result;
  result.real = number;
  result.flags = lhs.flags;
  result.kind = lhs.kind;
  return result;
}
inline bool BothNumbers(const RValue& lhs, const RValue& rhs) {
  return KindOf(lhs) == VALUE_REAL && KindOf(rhs) == VALUE_REAL;
}
inline TempValue Add(const RValue& lhs, const RValue& rhs) {
  return BothNumbers(lhs, rhs) ? NumberLike(lhs, lhs.real + rhs.real) : AddValues(lhs, rhs);
}
inline TempValue Subtract(const RValue& lhs, const RValue& rhs) {
  return BothNumbers(lhs, rhs) ? NumberLike(lhs, lhs.real - rhs.real) : SubtractValues(lhs, rhs);
}
inline TempValue Multiply(const RValue& lhs, const RValue& rhs) {
  return BothNumbers(lhs, rhs) ? NumberLike(lhs, lhs.real * rhs.real) : MultiplyValues(lhs, rhs);
}
inline TempValue Add(const RValue& lhs, double rhs) { return Add(lhs, TempValue(rhs)); }
inline TempValue Subtract(const RValue& lhs, double rhs) { return Subtract(lhs, TempValue(rhs)); }
inline TempValue Multiply(const RValue& lhs, double rhs) { return Multiply(lhs, TempValue(rhs)); }
// Two numbers are compared inline, as CompareValues compares them.
inline int CompareNumbers(const RValue& lhs, const RValue& rhs) {
  return CompareReals(lhs.real, rhs.real, g_comparisonEpsilon);
}
inline bool Equal(const RValue& lhs, const RValue& rhs) {
  return BothNumbers(lhs, rhs) ? CompareNumbers(lhs, rhs) == 0 : ValuesEqual(lhs, rhs);
}
inline bool Less(const RValue& lhs, const RValue& rhs) {
  return BothNumbers(lhs, rhs) ? CompareNumbers(lhs, rhs) < 0 : ValueLess(lhs, rhs);
}
inline bool Greater(const RValue& lhs, const RValue& rhs) {
  return BothNumbers(lhs, rhs) ? CompareNumbers(lhs, rhs) > 0 : ValueGreater(lhs, rhs);
}
inline bool Equal(const RValue& lhs, double rhs) { return Equal(lhs, TempValue(rhs)); }
inline bool NotEqual(const RValue& lhs, const RValue& rhs) { return !Equal(lhs, rhs); }
inline bool NotEqual(const RValue& lhs, double rhs) { return !Equal(lhs, TempValue(rhs)); }
inline bool Less(const RValue& lhs, double rhs) { return Less(lhs, TempValue(rhs)); }
inline bool Greater(const RValue& lhs, double rhs) { return Greater(lhs, TempValue(rhs)); }

class KslFrame {
 public:
  KslFrame(const char* name, CInstance* self, CInstance* other, int initialLine = 0)
      : frame_(name, self, initialLine), self_(self), other_(other) {}

  // Records the source line of the statement about to run.
  void Line(int line) { frame_.Line(line); }
  CInstance* Self() const { return self_; }
  CInstance* Other() const { return other_; }

  // Calls the built-in that `function` names with temporaries holding `args`
  // (an argument that is itself a temporary becomes one of them).
  template <typename... Args>
  TempValue Call(const SymbolEntry& function, Args&&... args) {
    TempValue temporaries[sizeof...(Args) + 1] = {TempValue(std::forward<Args>(args))...};
    RValue* pointers[sizeof...(Args) + 1] = {};
    for (size_t i = 0; i < sizeof...(Args); ++i) pointers[i] = &temporaries[i];
    TempValue result;
    CallBuiltinByIndex(self_, other_, &result, int(sizeof...(Args)), function.slot, pointers);
    return result;
  }

  // Calls a compiled script directly.
  template <typename... Args>
  TempValue Script(ScriptFunction script, const Args&... args) {
    TempValue temporaries[sizeof...(Args) + 1] = {TempValue(args)...};
    RValue* pointers[sizeof...(Args) + 1] = {};
    for (size_t i = 0; i < sizeof...(Args); ++i) pointers[i] = &temporaries[i];
    TempValue result;
    result.kind = VALUE_UNDEFINED;
    script(self_, other_, &result, int(sizeof...(Args)), pointers);
    return result;
  }

  // Variables of self and of the global object.
  RValue& Var(const SymbolEntry& variable);
  void SetVar(const SymbolEntry& variable, const RValue& value);
  void SetVar(const SymbolEntry& variable, double value) { SetVar(variable, TempValue(value)); }
  RValue& Global(const SymbolEntry& variable);
  void SetGlobal(const SymbolEntry& variable, const RValue& value);
  void SetGlobal(const SymbolEntry& variable, double value) { SetGlobal(variable, TempValue(value)); }
  // The get and set value operations on self: built-in variables (x, y,
  // alarm[...], mouse_x, ...) and array elements of self's variables.
  TempValue Get(const SymbolEntry& variable, int32_t index = kNoArrayIndex);
  void Set(const SymbolEntry& variable, const RValue& value, int32_t index = kNoArrayIndex);
  void Set(const SymbolEntry& variable, double value, int32_t index = kNoArrayIndex) {
    Set(variable, TempValue(value), index);
  }

 private:
  ScopedFrame frame_;
  CInstance* self_;
  CInstance* other_;
};

// A script's copies of its arguments, shared with the caller's values and
// released on exit. An argument the caller did not pass reads as `undefined`.
class ScriptArgs {
 public:
  ScriptArgs(int argc, RValue** argv);
  const RValue& operator[](int index) const;

 private:
  static constexpr int kMaxArguments = 16;
  TempValue values_[kMaxArguments];
  TempValue undefined_;
  int count_;
};

// The body of a global-script function: `result` becomes `undefined` and the
// variable `name` of self a method value binding `script` to self.
RValue* BindScriptMethod(CInstance* self, const SymbolEntry& name, ScriptFunction script, RValue* result);
