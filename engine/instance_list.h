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
  static CInstance* Next(const CInstance* instance) { return (instance->*Link).next; }
  int Count() const { return count_; }
  bool Empty() const { return count_ == 0; }

  void PushBack(CInstance* instance) {
    InstanceLink& link = instance->*Link;
    assert(!link.linked);
    link = InstanceLink{tail_, nullptr, true};
    if (tail_)
      (tail_->*Link).next = instance;
    else
      head_ = instance;
    tail_ = instance;
    ++count_;
  }

  void PushFront(CInstance* instance) {
    InstanceLink& link = instance->*Link;
    assert(!link.linked);
    link = InstanceLink{nullptr, head_, true};
    if (head_)
      (head_->*Link).previous = instance;
    else
      tail_ = instance;
    head_ = instance;
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
