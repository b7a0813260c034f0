// engine/instance_list.h — an intrusive doubly linked list of instances, in
// insertion order, threaded through one InstanceLink member of CInstance.
//
// An instance is in at most one list per link member; `linked` says whether it
// is. Walkers that may see the current instance destroyed read Next() before
// acting on it (destruction is deferred, so the instance stays linked until the
// removal pass, which never runs inside a walk).
#pragma once

#include <cassert>

#include "runtime/instance.h"

template <InstanceLink CInstance::*Link>
class InstanceList {
 public:
  CInstance* First() const { return head_; }
  CInstance* Last() const { return tail_; }
  static CInstance* Next(const CInstance* instance) { return (instance->*Link).next; }
  static CInstance* Previous(const CInstance* instance) { return (instance->*Link).previous; }
  int Count() const { return count_; }
  bool Empty() const { return count_ == 0; }

  void PushBack(CInstance* instance) { InsertBefore(nullptr, instance); }
  void PushFront(CInstance* instance) { InsertBefore(head_, instance); }

  // Puts the instance in front of `position`, a member of this list; at the end
  // when `position` is null.
  void InsertBefore(CInstance* position, CInstance* instance) {
    InstanceLink& link = instance->*Link;
    assert(!link.linked);
    CInstance* previous = position ? (position->*Link).previous : tail_;
    link = InstanceLink{previous, position, true};
    if (previous)
      (previous->*Link).next = instance;
    else
      head_ = instance;
    if (position)
      (position->*Link).previous = instance;
    else
      tail_ = instance;
    ++count_;
  }

  // Takes the instance out; does nothing when it is not linked.
  void Remove(CInstance* instance) {
    InstanceLink& link = instance->*Link;
    if (!link.linked) return;
    if (link.previous)
      (link.previous->*Link).next = link.next;
    else
      head_ = link.next;
    if (link.next)
      (link.next->*Link).previous = link.previous;
    else
      tail_ = link.previous;
    link = InstanceLink{};
    --count_;
  }

 private:
  CInstance* head_ = nullptr;
  CInstance* tail_ = nullptr;
  int count_ = 0;
};

using ObjectInstanceList = InstanceList<&CInstance::objectLink>;
using RoomInstanceList = InstanceList<&CInstance::roomLink>;
