// runtime/var_store.h — the variable store of a collectable object: an
// open-addressing hash table with Robin Hood probing, keyed by variable slot.
//
// Capacity is a power of two (8 at first); the table doubles when an insert finds
// the count already above the grow threshold (capacity × 0.6, truncated). An
// element's hash is (slot + 1) & 0x7FFFFFFF; hash 0 marks an empty element. Values
// live in 16-byte cells from a pooled allocator, so a cell's address stays put
// while the table grows: a pointer returned by Find or Insert stays valid for the
// store's lifetime.
#pragma once

#include <cstdint>

#include "runtime/value.h"

class VarStore {
 public:
  struct Element {
    RValue* value;
    int32_t key;
    uint32_t hash;
  };

  VarStore();
  ~VarStore();
  VarStore(const VarStore&) = delete;
  VarStore& operator=(const VarStore&) = delete;

  // The value of `slot`, or null. Inline for the common case of a slot at its
  // home element (an element's key decides its hash, so a matching key in a
  // used element is a hit); anything else probes further.
  RValue* Find(int32_t slot) const {
    const Element& home = elements_[HashOf(slot) & uint32_t(mask_)];
    if (home.key == slot && home.hash != 0) return home.value;
    return FindAwayFromHome(slot);
  }
  // Inserts `slot` with `cell` as its value (a cell from AllocateCell) and
  // returns it; an existing element with the same key takes the cell instead.
  RValue* Insert(int32_t slot, RValue* cell);
  // Finds `slot` or creates it holding a value of kind `defaultKind`.
  RValue* FindOrCreate(int32_t slot, uint32_t defaultKind);

  int32_t Capacity() const { return capacity_; }
  int32_t Count() const { return count_; }
  int32_t GrowThreshold() const { return growThreshold_; }

  template <typename Visit>
  void ForEach(Visit visit) const {
    for (int32_t i = 0; i < capacity_; ++i)
      if (elements_[i].hash != 0) visit(elements_[i].key, *elements_[i].value);
  }

  // Releases every value (strings and arrays) and returns the cells to the pool.
  void ReleaseAll();

  static RValue* AllocateCell();
  static void FreeCell(RValue* cell);

 private:
  static uint32_t HashOf(int32_t slot) { return uint32_t(slot + 1) & 0x7FFFFFFFu; }
  int32_t DistanceOf(uint32_t hash, int32_t index) const { return (capacity_ - int32_t(mask_ & hash) + index) & mask_; }
  RValue* FindAwayFromHome(int32_t slot) const;
  void Grow();
  void InsertElement(Element element);
  void SetCapacity(int32_t capacity);

  int32_t capacity_ = 0;
  int32_t count_ = 0;
  int32_t mask_ = 0;
  int32_t growThreshold_ = 0;
  Element* elements_ = nullptr;
};
