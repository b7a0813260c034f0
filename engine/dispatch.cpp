#include "engine/dispatch.h"

#include "engine/code.h"
#include "engine/event_lists.h"
#include "engine/game_world.h"
#include "engine/rooms.h"
#include "runtime/instance.h"

namespace {
EventState g_eventState;
int g_dispatchDepth = 0;
int64_t g_passCounter = 0;

void ThrowGameAbort(int exitCode) { throw GameAbort{exitCode}; }
FatalErrorHook g_fatalErrorHook = ThrowGameAbort;

class DepthGuard {
 public:
  DepthGuard() { ++g_dispatchDepth; }
  ~DepthGuard() { --g_dispatchDepth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;
};

// Events that still reach a persistent instance, or any instance of a persistent
// room, while a room change is pending.
bool PassesPendingChange(int32_t type) {
  return type == kEventCreate || type == kEventDestroy || type == kEventAlarm || type == kEventOther ||
         type == kEventPreCreate;
}

bool BlockedByPendingRoom(const CInstance& self, int32_t type) {
  if (!RoomChangePending() || type == kEventCleanUp) return false;
  bool persistentContext = self.HasFlag(kInstancePersistent) || CurrentRoom()->Persistent();
  return !(persistentContext && PassesPendingChange(type));
}
}  // namespace

const EventState& CurrentEventState() { return g_eventState; }

ScopedEventState::ScopedEventState(const EventState& state) : saved_(g_eventState) { g_eventState = state; }
ScopedEventState::~ScopedEventState() { g_eventState = saved_; }

void PerformEvent(CInstance* self, CInstance* other, int32_t type, int32_t number) {
  if (!self) return;
  RunGuarded([&] { PerformEventObject(self, other, self->objectIndex, type, number); });
}

void PerformEventObject(CInstance* self, CInstance* other, int32_t objectIndex, int32_t type, int32_t number) {
  if (!self || self->objectType != kObjectTypeInstance) {
    ReportRuntimeError("Attempt to dispatch event on non-instance object");
    return;
  }
  if (!CurrentRoom() || BlockedByPendingRoom(*self, type)) return;
  const CObjectDef* object = FindObject(objectIndex);
  const CEvent* event = object ? object->FindEvent(type, number) : nullptr;
  if (!event) return;

  DepthGuard depth;
  if (g_dispatchDepth > kMaxDispatchDepth) {
    ReportRuntimeError("PerformEvent recursion depth failure - check for infinite loops, check objects for parenting");
    return;
  }
  ScopedEventState state(EventState{type, number, event->owner});
  if (event->code) event->code->Run(self, other);
}

void DispatchToAll(int32_t type, int32_t number) {
  int64_t pass = BeginEventPass();
  ForEachPassTarget(EventObjectList(type, number), pass,
                    [&](CInstance& instance) { PerformEvent(&instance, &instance, type, number); });
}

int64_t BeginEventPass() { return ++g_passCounter; }
int64_t NextCreationPassValue() { return ++g_passCounter; }

bool ReachedByPass(const CInstance& instance, int64_t pass) {
  return !instance.HasFlag(kInstanceMarkedForDestruction | kInstanceDeactivated) && instance.createdInPass <= pass;
}

void HandleFatalError(const VQKSLException& exception) {
  int exitCode = HandleUnhandledException(exception);
  g_exitCode = exitCode;
  SetPendingRoom(kPendingAbortGame);
  g_fatalErrorHook(exitCode);
}

void SetFatalErrorHook(FatalErrorHook hook) { g_fatalErrorHook = hook ? hook : ThrowGameAbort; }

void ResetDispatchState() {
  g_eventState = EventState{};
  g_dispatchDepth = 0;
  g_passCounter = 0;
}
