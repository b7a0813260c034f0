// runtime/array.h — script arrays: the collectable carrier GCArrayThing, element
// reads, and element writes with copy-on-write and growth.
//
// A body is owned by exactly one carrier and freed with it by the collector; the
// body's reference count only decides, in copy-on-write mode, when a write must
// first take a private copy (the writer is not the owner and others hold it).
// Elements beyond the old length read as the number 0 after growth.
#pragma once

#include <cstdint>

#include "runtime/object.h"

class GCArrayThing : public VQObjectBase {
 public:
  explicit GCArrayThing(int32_t length);
  ~GCArrayThing() override;
  void MarkChildren(GCMarker& marker) override;
  // Also releases every element and leaves it `undefined`.
  void ReleaseContents() override;

  ArrayBody* body;
};

// Makes `value` (released first) a new array of `length` zero elements, owned by
// the current self, and returns its body.
ArrayBody* MakeArray(RValue& value, int32_t length = 0);

// The element `index` of the array held by `variable`, ready to be overwritten:
// a non-array becomes a new empty array; a shared array not owned by the current
// self is copied first; the array grows to index + 1. Null for a negative index
// or an immutable array (reported).
RValue* ArrayElementForWrite(RValue& variable, int32_t index);

// Copies element `index` of `arrayValue` into `out` (released first). An index
// outside the array gives the number 0 and returns false, recording the index and
// length for the caller's message; a non-array is reported as an error.
bool ReadArrayElement(const RValue& arrayValue, int32_t index, RValue& out);

struct ArrayIndexFailure {
  int32_t index = 0;
  int32_t length = 0;
  bool recorded = false;
};
extern ArrayIndexFailure g_lastArrayIndexFailure;
