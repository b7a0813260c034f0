#include "builtins/ds_list.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string_view>
#include <vector>

#include "runtime/gc.h"
#include "runtime/memory.h"
#include "runtime/named_locks.h"
#include "runtime/object.h"

// The collector's view of one list: marking it marks every value the list holds.
// The list owns it, so it is never collectable itself.
class DS_GCProxy : public VQObjectBase {
 public:
  explicit DS_GCProxy(const CDS_List* list) : VQObjectBase(kObjectTypeStruct, false), list_(list) {}
  void MarkChildren(GCMarker& marker) override {
    VQObjectBase::MarkChildren(marker);
    list_->MarkValues(marker);
  }

 private:
  const CDS_List* list_;
};

namespace {
constexpr int32_t kMinimumGrowth = 16;
constexpr int32_t kTableGrowth = 16;

// Entry i holds list id i, null when free. Grown by kTableGrowth entries with
// realloc, which extends large blocks in place.
struct ListTable {
  CDS_List** entries = nullptr;
  int32_t count = 0;
  int32_t capacity = 0;
  int32_t lowestFreeCandidate = 0;  // no entry below it is free
};
ListTable g_table;

// Nested lists found by the clears in progress, destroyed by the outermost one so
// that deep nesting never deepens the native stack.
std::vector<int32_t> g_nestedListsToDestroy;
const CDS_List* g_outermostClear = nullptr;

RValue VacantSlot() {
  RValue vacant;
  vacant.kind = VALUE_UNDEFINED;
  return vacant;
}

bool HoldsCollectable(const RValue& value) {
  uint32_t kind = KindOf(value);
  return kind == VALUE_ARRAY || kind == VALUE_OBJECT || kind == VALUE_ACCESSOR;
}

void MarkLiveLists(GCMarker& marker) {
  for (int32_t id = 0; id < g_table.count; ++id)
    if (CDS_List* list = g_table.entries[id]) list->MarkProxy(marker);
}

// Numbers before strings before everything else; NaN after every other number.
int SortGroup(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_REAL:
    case VALUE_BOOL:
    case VALUE_INT32:
    case VALUE_INT64: return 0;
    case VALUE_STRING: return 1;
    default: return 2;
  }
}

double SortNumber(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_INT32: return value.v32;
    case VALUE_INT64: return double(value.v64);
    default: return value.real;
  }
}

std::string_view SortText(const RValue& value) {
  return (value.str && value.str->text) ? std::string_view(value.str->text, value.str->Length()) : std::string_view();
}

bool SortsBefore(const RValue& lhs, const RValue& rhs) {
  int lhsGroup = SortGroup(lhs), rhsGroup = SortGroup(rhs);
  if (lhsGroup != rhsGroup) return lhsGroup < rhsGroup;
  if (lhsGroup == 0) {
    double a = SortNumber(lhs), b = SortNumber(rhs);
    if (std::isnan(a) || std::isnan(b)) return !std::isnan(a) && std::isnan(b);
    return a < b;
  }
  if (lhsGroup == 1) return SortText(lhs) < SortText(rhs);
  return false;
}
}  // namespace

// --- CDS_List ---------------------------------------------------------------

CDS_List::~CDS_List() {
  Clear();
  MemFree(elements_);
}

void CDS_List::MarkValues(GCMarker& marker) const {
  for (int32_t i = 0; i < count_; ++i) marker.MarkValue(elements_[i]);
}

void CDS_List::MarkProxy(GCMarker& marker) const {
  if (proxy_) marker.MarkObject(proxy_);
}

bool CDS_List::EnsureCapacity(int64_t needed) {
  if (needed <= capacity_) return true;
  if (needed > INT32_MAX) return false;
  int64_t grown = std::max<int64_t>(needed, int64_t(count_) + std::max(capacity_ / 8, kMinimumGrowth));
  grown = std::min<int64_t>(grown, INT32_MAX);
  auto* storage = static_cast<RValue*>(KV_REALLOC(elements_, sizeof(RValue) * size_t(grown)));
  if (!storage) return false;
  std::fill(storage + capacity_, storage + grown, VacantSlot());
  elements_ = storage;
  capacity_ = int32_t(grown);
  return true;
}

void CDS_List::ResizeStorage(int32_t capacity) {
  if (capacity <= 0) {
    MemFree(elements_);
    elements_ = nullptr;
    capacity_ = 0;
    return;
  }
  auto* storage = static_cast<RValue*>(KV_REALLOC(elements_, sizeof(RValue) * size_t(capacity)));
  if (!storage) return;
  std::fill(storage, storage + capacity, VacantSlot());
  elements_ = storage;
  capacity_ = capacity;
}

void CDS_List::NoteCollectable(const RValue& value) {
  if (!proxy_ && HoldsCollectable(value)) proxy_ = new DS_GCProxy(this);
}

RValue CDS_List::CopyForStore(const RValue& value) {
  NoteCollectable(value);
  RValue copy;
  if (proxy_) PushContextStack(proxy_);
  CopyValue(copy, value);
  if (proxy_) PopContextStack();
  copy.kind &= ~kSlotMarks;
  return copy;
}

void CDS_List::DropProxy() {
  delete proxy_;
  proxy_ = nullptr;
}

void CDS_List::Add(const RValue& value) {
  RValue copy = CopyForStore(value);  // before growing: `value` may live in this list
  if (!EnsureCapacity(int64_t(count_) + 1)) {
    ReleaseValue(copy);
    return;
  }
  elements_[count_++] = copy;
}

void CDS_List::AdoptValue(RValue& value) {
  value.kind &= ~kSlotMarks;
  if (!EnsureCapacity(int64_t(count_) + 1)) {
    ReleaseValue(value);
    return;
  }
  NoteCollectable(value);
  elements_[count_++] = value;
  value = RValue();
}

void CDS_List::FindValue(int32_t position, RValue& out) const {
  if (!InRange(position)) {
    ReleaseValue(out);
    return;
  }
  RValue copy;
  CopyValue(copy, elements_[position]);
  copy.kind &= ~kSlotMarks;
  ReleaseValue(out);
  out = copy;
}

bool CDS_List::Replace(int32_t position, const RValue& value) {
  if (!InRange(position)) return false;
  RValue copy = CopyForStore(value);
  ReleaseValue(elements_[position]);
  elements_[position] = copy;
  return true;
}

bool CDS_List::Delete(int32_t position) {
  if (!InRange(position)) return false;
  ReleaseValue(elements_[position]);
  std::memmove(static_cast<void*>(elements_ + position), elements_ + position + 1,
               sizeof(RValue) * size_t(count_ - position - 1));
  --count_;
  elements_[count_] = VacantSlot();  // its bits moved down with their reference: overwrite, never release
  return true;
}

bool CDS_List::Insert(int32_t position, const RValue& value) {
  if (position < 0 || position > count_) return false;
  RValue copy = CopyForStore(value);
  if (!EnsureCapacity(int64_t(count_) + 1)) {
    ReleaseValue(copy);
    return false;
  }
  std::memmove(static_cast<void*>(elements_ + position + 1), elements_ + position,
               sizeof(RValue) * size_t(count_ - position));
  elements_[position] = copy;
  ++count_;
  return true;
}

bool CDS_List::Set(int32_t position, const RValue& value) {
  if (position < 0) return false;
  RValue copy = CopyForStore(value);
  if (!EnsureCapacity(int64_t(position) + 1)) {
    ReleaseValue(copy);
    return false;
  }
  for (; count_ <= position; ++count_) SetReal(elements_[count_], 0.0);
  ReleaseValue(elements_[position]);
  elements_[position] = copy;
  return true;
}

int32_t CDS_List::FindIndex(const RValue& value) const {
  for (int32_t i = 0; i < count_; ++i)
    if (ValuesEqual(elements_[i], value)) return i;
  return -1;
}

void CDS_List::Sort(bool ascending) {
  auto order = [ascending](const RValue& lhs, const RValue& rhs) {
    return ascending ? SortsBefore(lhs, rhs) : SortsBefore(rhs, lhs);
  };
  std::stable_sort(elements_, elements_ + count_, order);
}

void CDS_List::Shuffle() {
  static std::mt19937 generator{std::random_device{}()};
  std::shuffle(elements_, elements_ + count_, generator);
}

void CDS_List::CopyFrom(const CDS_List& source) {
  if (&source == this) return;
  // Copied first: clearing this list may destroy `source` when a marked slot names it.
  std::vector<RValue> copies;
  copies.reserve(size_t(source.count_));
  for (int32_t i = 0; i < source.count_; ++i) copies.push_back(CopyForStore(source.elements_[i]));
  Clear();
  for (RValue& copy : copies) AdoptValue(copy);
}

bool CDS_List::Mark(int32_t position, uint32_t mark) {
  if (!InRange(position)) return false;
  elements_[position].kind |= mark;
  return true;
}

bool CDS_List::HasMark(int32_t position, uint32_t mark) const {
  return InRange(position) && (elements_[position].kind & mark) != 0;
}

void CDS_List::Clear() {
  NamedLock lock(DsMutex().mutex);
  for (int32_t i = 0; i < count_; ++i) {
    RValue& slot = elements_[i];
    // This runtime has no maps, so a slot marked as a map names nothing to destroy.
    if (slot.kind & kSlotMarkList) {
      int32_t nested = ListIdOf(slot);
      if (nested >= 0) g_nestedListsToDestroy.push_back(nested);
    }
    ReleaseValue(slot);
  }
  count_ = 0;
  DropProxy();
  if (g_outermostClear) return;

  g_outermostClear = this;
  while (!g_nestedListsToDestroy.empty()) {
    int32_t nested = g_nestedListsToDestroy.back();
    g_nestedListsToDestroy.pop_back();
    if (FindList(nested) != this) DestroyList(nested);
  }
  g_outermostClear = nullptr;
}

// --- The list table -----------------------------------------------------------

int32_t CreateList() {
  NamedLock lock(DsMutex().mutex);
  GCAddRootProvider(MarkLiveLists);
  int32_t id = g_table.lowestFreeCandidate;
  while (id < g_table.count && g_table.entries[id]) ++id;
  if (id == g_table.count) {
    if (g_table.count == g_table.capacity) {
      int32_t grown = g_table.capacity + kTableGrowth;
      auto* entries = static_cast<CDS_List**>(KV_REALLOC(g_table.entries, sizeof(CDS_List*) * size_t(grown)));
      if (!entries) return -1;
      g_table.entries = entries;
      g_table.capacity = grown;
    }
    ++g_table.count;
  }
  g_table.entries[id] = new CDS_List();
  g_table.lowestFreeCandidate = id + 1;
  return id;
}

CDS_List* FindList(int32_t id) {
  if (id < 0 || id >= g_table.count) return nullptr;
  return g_table.entries[id];
}

bool DestroyList(int32_t id) {
  NamedLock lock(DsMutex().mutex);
  CDS_List* doomed = FindList(id);
  if (!doomed) return false;
  g_table.entries[id] = nullptr;  // the id is free before the clear runs
  g_table.lowestFreeCandidate = std::min(g_table.lowestFreeCandidate, id);
  delete doomed;
  return true;
}

void DestroyAllLists() {
  NamedLock lock(DsMutex().mutex);
  for (int32_t id = 0; id < g_table.count; ++id) DestroyList(id);
  MemFree(g_table.entries);
  g_table = ListTable();
}

int32_t ListTableCount() { return g_table.count; }
int32_t ListTableCapacity() { return g_table.capacity; }

int32_t ListIdOf(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_REF:
      if (uint32_t(uint64_t(value.v64) >> 32) != kRefTypeDsList) return -1;
      return std::max(int32_t(uint32_t(uint64_t(value.v64))), -1);
    case VALUE_REAL:
    case VALUE_BOOL: return (value.real >= 0 && value.real < 2147483648.0) ? int32_t(value.real) : -1;
    case VALUE_INT32: return std::max(value.v32, -1);
    case VALUE_INT64: return (value.v64 >= 0 && value.v64 <= INT32_MAX) ? int32_t(value.v64) : -1;
    default: return -1;
  }
}
