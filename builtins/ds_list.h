// builtins/ds_list.h — CDS_List, the list behind the ds_list_* built-ins, and
// the table that hands out list ids.
//
// A list is a contiguous array of RValue: slots [0, count) hold values (each a
// copy with reference sharing), slots [count, capacity) are `undefined` and hold
// no reference. Storage grows to count + max(capacity / 8, 16) slots and never
// shrinks on delete or clear. The two top bits of a stored kind word are slot
// marks (bit 30: the slot names a nested list the list owns, bit 31: a nested
// map); values enter a list without marks.
//
// The collector sees arrays and structs held by lists through each list's proxy,
// a VQObjectBase created when the first such value enters the list and dropped by
// clear and destruction; a root provider marks the proxies of live lists.
//
// The table: entry i holds list id i, null when the id is free. A new list takes
// the lowest free id, else a new one at the end; the table grows by 16 entries.
// Creating, clearing and destroying lists take the "DsMutex" lock.
#pragma once

#include <cstdint>

#include "runtime/value.h"

class DS_GCProxy;
class GCMarker;

constexpr uint32_t kSlotMarkList = 1u << 30;
constexpr uint32_t kSlotMarkMap = 1u << 31;
constexpr uint32_t kSlotMarks = kSlotMarkList | kSlotMarkMap;

class CDS_List {
 public:
  CDS_List() = default;
  virtual ~CDS_List();
  CDS_List(const CDS_List&) = delete;
  CDS_List& operator=(const CDS_List&) = delete;

  int32_t Count() const { return count_; }
  int32_t Capacity() const { return capacity_; }
  bool InRange(int32_t position) const { return position >= 0 && position < count_; }
  // The stored value, marks included. Requires InRange(position).
  const RValue& At(int32_t position) const { return elements_[position]; }
  bool HasProxy() const { return proxy_ != nullptr; }

  void Add(const RValue& value);
  // Copies the value at `position` without its slot marks into `out` (released
  // first); `undefined` when out of range.
  void FindValue(int32_t position, RValue& out) const;
  // False, with the list unchanged, when `position` is out of range.
  bool Replace(int32_t position, const RValue& value);
  bool Delete(int32_t position);
  // Inserts before `position`; position == count appends. False when out of range.
  bool Insert(int32_t position, const RValue& value);
  // Stores at `position`, first growing the list with numbers 0 up to it. False
  // for a negative position.
  bool Set(int32_t position, const RValue& value);
  // The first position whose value equals `value` (==), or -1.
  int32_t FindIndex(const RValue& value) const;
  // Numbers (ascending by value) before strings (by bytes) before any other kind;
  // equal values keep their order.
  void Sort(bool ascending);
  void Shuffle();
  // Makes this list a copy of `source` (marks are not copied: the copy owns no
  // nested structure).
  void CopyFrom(const CDS_List& source);
  // Sets a slot mark; false when out of range.
  bool Mark(int32_t position, uint32_t mark);
  bool HasMark(int32_t position, uint32_t mark) const;

  // Releases every value and destroys the nested lists of slots marked as lists
  // (never the list being cleared, even through a cycle of marks).
  void Clear();

  // ds_list_read's sizing: releases nothing; the list must be empty. Storage
  // becomes exactly `capacity` slots.
  void ResizeStorage(int32_t capacity);
  // Appends a value whose reference the list takes over (no copy, no marks).
  void AdoptValue(RValue& value);

  // The collector: the root provider marks each live list's proxy, the proxy
  // marks the values.
  void MarkProxy(GCMarker& marker) const;
  void MarkValues(GCMarker& marker) const;

 private:
  // Grows the storage to hold at least `needed` slots (by the growth rule, or to
  // `needed` when that is more); false when it cannot.
  bool EnsureCapacity(int64_t needed);
  // Creates the proxy if `value` holds an array, struct or accessor.
  void NoteCollectable(const RValue& value);
  // A copy of `value` for a slot: references shared with the proxy as the object
  // written into, marks dropped. Made before any storage moves.
  RValue CopyForStore(const RValue& value);
  void DropProxy();

  int32_t count_ = 0;
  int32_t capacity_ = 0;
  RValue* elements_ = nullptr;
  DS_GCProxy* proxy_ = nullptr;
};

// --- The list table ---------------------------------------------------------
// Creates an empty list; returns its id (-1 when memory failed, after the report).
int32_t CreateList();
// The live list of `id`, or null.
CDS_List* FindList(int32_t id);
// Destroys the list (clear, then free); its id becomes free. False when `id`
// names no live list.
bool DestroyList(int32_t id);
// Destroys every list (end of the game, tests).
void DestroyAllLists();
// The number of table entries in use (ids below it have been handed out).
int32_t ListTableCount();
int32_t ListTableCapacity();
// The list id that a value names (a "ds_list" reference or a number), or -1.
int32_t ListIdOf(const RValue& value);
