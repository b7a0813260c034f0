// The built-ins that raise events from script code.
#include "engine/dispatch.h"
#include "engine/engine_builtins.h"
#include "engine/event_types.h"
#include "runtime/args.h"
#include "runtime/function_table.h"

namespace {
void event_perform(RValue&, CInstance* self, CInstance* other, int, RValue* args) {
  int32_t type = ArgInt32(args, 0), number = ArgInt32(args, 1);
  PerformEvent(self, other, type, number);
}

void event_perform_object(RValue&, CInstance* self, CInstance* other, int, RValue* args) {
  int32_t object = ArgInt32(args, 0), type = ArgInt32(args, 1), number = ArgInt32(args, 2);
  PerformEventObject(self, other, object, type, number);
}

void event_user(RValue&, CInstance* self, CInstance* other, int, RValue* args) {
  PerformEvent(self, other, kEventOther, kOtherUser0 + ArgInt32(args, 0));
}

void event_inherited(RValue&, CInstance* self, CInstance* other, int, RValue*) { EventInherited(self, other); }
}  // namespace

void EventInherited(CInstance* self, CInstance* other) {
  const EventState& state = CurrentEventState();
  const CObjectDef* owner = FindObject(state.object);
  if (!owner || !owner->parent) return;
  PerformEventObject(self, other, owner->parent->objectIndex, state.type, state.number);
}

void RegisterEventBuiltins() {
  RegisterBuiltin("event_perform", event_perform, 2);
  RegisterBuiltin("event_perform_object", event_perform_object, 3);
  RegisterBuiltin("event_user", event_user, 1);
  RegisterBuiltin("event_inherited", event_inherited, 0);
}
