// engine/dispatch.h — dispatch of events: to one instance (PerformEvent,
// PerformEventObject) and to every instance that has the event (DispatchToAll),
// with the event state, the dispatch depth and the event pass counter.
//
// Invariants:
//   - the event state is (type, number, owner) of the running handler, (0, 0, -1)
//     outside handlers and (-2, -1, -1) while room creation code runs; it and the
//     dispatch depth are restored on every exit, an unwinding error included;
//   - the pass counter only grows; a pass takes the next value P, an instance
//     created takes the next value too, so an instance created during pass P has
//     a creation value above P and does not receive that pass;
//   - while a room change is pending, only Clean-up reaches instances, plus
//     Create, Destroy, Alarm, Other and PreCreate when the instance or the current
//     room is persistent.
// An error escaping a handler as VQKSLException is the fatal error: the runtime's
// unhandled-error report runs and the fatal-error hook receives the exit code.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/instance_list.h"
#include "engine/objects.h"
#include "runtime/error.h"

struct EventState {
  int32_t type = 0;
  int32_t number = 0;
  int32_t object = -1;  // the owner of the running handler
};

const EventState& CurrentEventState();

// Sets the event state for a scope and restores it on exit.
class ScopedEventState {
 public:
  explicit ScopedEventState(const EventState& state);
  ~ScopedEventState();
  ScopedEventState(const ScopedEventState&) = delete;
  ScopedEventState& operator=(const ScopedEventState&) = delete;

 private:
  EventState saved_;
};

constexpr int kMaxDispatchDepth = 32;

// Dispatch to self's own object; does nothing for a null self. Handles an error
// that escapes the handler as the fatal error.
void PerformEvent(CInstance* self, CInstance* other, int32_t type, int32_t number);
// Dispatch through the event map of `objectIndex`; errors propagate.
void PerformEventObject(CInstance* self, CInstance* other, int32_t objectIndex, int32_t type, int32_t number);
// PerformEvent for every eligible instance of every object listed for (type, number).
void DispatchToAll(int32_t type, int32_t number);

// A new event pass: increases the counter and returns its value.
int64_t BeginEventPass();
// The creation value of a new instance (also increases the counter).
int64_t NextCreationPassValue();

// Whether a pass P reaches the instance: not marked for destruction, not
// deactivated, not created after the pass began.
bool ReachedByPass(const CInstance& instance, int64_t pass);

// Calls act(instance) for each instance that pass P reaches, object by object in
// the list's order, each object's instances in creation order. The next instance
// is read before acting, so an action may destroy its own instance.
template <typename Act>
void ForEachPassTarget(const std::vector<int32_t>& objectIndices, int64_t pass, Act act) {
  for (int32_t objectIndex : objectIndices) {
    CObjectDef* object = FindObject(objectIndex);
    if (!object) continue;
    for (CInstance* instance = object->instances.First(); instance;) {
      CInstance* next = ObjectInstanceList::Next(instance);
      if (ReachedByPass(*instance, pass)) act(*instance);
      instance = next;
    }
  }
}

// The fatal error: the unhandled-error report, then the hook with its exit code.
void HandleFatalError(const VQKSLException& exception);

// Runs `body` and treats a VQKSLException escaping it as the fatal error.
template <typename Body>
void RunGuarded(Body body) {
  try {
    body();
  } catch (const VQKSLException& exception) {
    HandleFatalError(exception);
  }
}

// What ends the game after a fatal error. The default throws GameAbort, which
// RunGame catches to end the run with that exit code; tests may install a hook
// that records the code and returns.
using FatalErrorHook = void (*)(int exitCode);
void SetFatalErrorHook(FatalErrorHook hook);
struct GameAbort {
  int exitCode;
};

// Dispatch depth and pass counter back to their start values (a new run).
void ResetDispatchState();
