#include "runtime/var_store.h"

#include <cstring>
#include <mutex>
#include <new>
#include <utility>

#include "runtime/memory.h"

namespace {
// Cells are carved from 1 MiB blocks and chained through their first word while free.
constexpr size_t kPoolBlockBytes = 0x100000;
constexpr int kCellsPerBlock = 65535;
static_assert(kCellsPerBlock * sizeof(RValue) <= kPoolBlockBytes, "cells fit in a block");

struct PooledCell {
  PooledCell* next;
};

std::mutex g_poolMutex;
PooledCell* g_freeCells = nullptr;

// Chains the cells of a new block into the free list (the pool lock is held).
void ChainBlock(unsigned char* block) {
  std::memset(block, 0x78, kPoolBlockBytes);
  for (int i = kCellsPerBlock - 1; i >= 0; --i) {
    auto* cell = reinterpret_cast<PooledCell*>(block + size_t(i) * sizeof(RValue));
    cell->next = g_freeCells;
    g_freeCells = cell;
  }
}

RValue* TakeFreeCell() {
  PooledCell* cell = g_freeCells;
  g_freeCells = cell->next;
  return new (cell) RValue();
}
}  // namespace

RValue* VarStore::AllocateCell() {
  {
    std::lock_guard<std::mutex> lock(g_poolMutex);
    if (g_freeCells) return TakeFreeCell();
  }
  // A new block is allocated outside the lock: a failed allocation is reported,
  // and the report may need cells itself.
  auto* block = static_cast<unsigned char*>(MemAlloc(kPoolBlockBytes, __FILE__, __LINE__, false));
  if (!block) return nullptr;
  std::lock_guard<std::mutex> lock(g_poolMutex);
  ChainBlock(block);
  return TakeFreeCell();
}

void VarStore::FreeCell(RValue* cell) {
  std::lock_guard<std::mutex> lock(g_poolMutex);
  auto* freeCell = reinterpret_cast<PooledCell*>(cell);
  freeCell->next = g_freeCells;
  g_freeCells = freeCell;
}

VarStore::VarStore() { SetCapacity(8); }

VarStore::~VarStore() {
  ReleaseAll();
  MemFree(elements_);
}

void VarStore::SetCapacity(int32_t capacity) {
  capacity_ = capacity;
  mask_ = capacity - 1;
  growThreshold_ = int32_t(float(capacity) * 0.6f);
  elements_ = static_cast<Element*>(KV_ALLOC(sizeof(Element) * size_t(capacity)));
}

RValue* VarStore::FindAwayFromHome(int32_t slot) const {
  uint32_t hash = HashOf(slot);
  int32_t index = int32_t(hash & uint32_t(mask_));
  for (int32_t distance = 0;; ++distance) {
    const Element& element = elements_[index];
    if (element.hash == 0) return nullptr;
    if (element.hash == hash && element.key == slot) return element.value;
    if (distance > DistanceOf(element.hash, index)) return nullptr;
    index = (index + 1) & mask_;
  }
}

void VarStore::InsertElement(Element element) {
  int32_t index = int32_t(element.hash & uint32_t(mask_));
  for (int32_t distance = 0;; ++distance) {
    Element& here = elements_[index];
    if (here.hash == 0) {
      here = element;
      ++count_;
      return;
    }
    if (here.hash == element.hash && here.key == element.key) {
      if (here.value != element.value) {
        ReleaseValue(*here.value);
        FreeCell(here.value);
      }
      here.value = element.value;
      return;
    }
    int32_t existingDistance = DistanceOf(here.hash, index);
    if (existingDistance < distance) {
      std::swap(here, element);
      distance = existingDistance;
    }
    index = (index + 1) & mask_;
  }
}

void VarStore::Grow() {
  Element* old = elements_;
  int32_t oldCapacity = capacity_;
  SetCapacity(oldCapacity * 2);
  count_ = 0;
  for (int32_t i = 0; i < oldCapacity; ++i)
    if (old[i].hash != 0) InsertElement(old[i]);
  MemFree(old);
}

RValue* VarStore::Insert(int32_t slot, RValue* cell) {
  if (count_ > growThreshold_) Grow();
  InsertElement(Element{cell, slot, HashOf(slot)});
  return cell;
}

RValue* VarStore::FindOrCreate(int32_t slot, uint32_t defaultKind) {
  if (RValue* found = Find(slot)) return found;
  RValue* cell = AllocateCell();
  if (!cell) return nullptr;
  cell->kind = defaultKind;
  cell->v64 = 0;
  return Insert(slot, cell);
}

void VarStore::ReleaseAll() {
  for (int32_t i = 0; i < capacity_; ++i) {
    Element& element = elements_[i];
    if (element.hash == 0) continue;
    ReleaseValue(*element.value);
    FreeCell(element.value);
    element = Element{nullptr, 0, 0};
  }
  count_ = 0;
}
