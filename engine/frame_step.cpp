#include "engine/frame_step.h"

#include <cmath>

#include "engine/dispatch.h"
#include "engine/draw_stage.h"
#include "engine/event_lists.h"
#include "engine/event_types.h"
#include "engine/game_world.h"
#include "engine/input_events.h"
#include "engine/input_state.h"
#include "engine/rooms.h"
#include "engine/sprites.h"
#include "runtime/gc.h"
#include "runtime/instance.h"

namespace {
double FramesPerStep(const Sprite& sprite, int gameSpeed) {
  if (!sprite.speedInFramesPerSecond) return sprite.playbackSpeed;
  return gameSpeed > 0 ? sprite.playbackSpeed / gameSpeed : 0.0;
}

// Advances image_index; true when it wrapped past either end.
bool Animate(CInstance& instance, int gameSpeed) {
  const Sprite* sprite = FindSprite(instance.spriteIndex);
  if (!sprite || sprite->frames.empty()) return false;
  float frameCount = float(sprite->frames.size());
  instance.imageIndex += instance.imageSpeed * float(FramesPerStep(*sprite, gameSpeed));
  bool wrapped = false;
  if (instance.imageIndex >= frameCount) {
    instance.imageIndex -= frameCount;
    wrapped = true;
  } else if (instance.imageIndex < 0) {
    instance.imageIndex += frameCount;
    wrapped = true;
  }
  return wrapped;
}

void AdvanceInstances(int gameSpeed) {
  CRoom* room = CurrentRoom();
  for (CInstance* instance = room->instances.First(); instance;) {
    CInstance* next = RoomInstanceList::Next(instance);
    instance->xPrevious = instance->x;
    instance->yPrevious = instance->y;
    if (Animate(*instance, gameSpeed) && !instance->HasFlag(kInstanceMarkedForDestruction))
      PerformEvent(instance, instance, kEventOther, kOtherAnimationEnd);
    instance = next;
  }
}

void BeginStep() { DispatchToAll(kEventStep, kStepBegin); }
void Step() { DispatchToAll(kEventStep, kStepNormal); }
void EndStep() { DispatchToAll(kEventStep, kStepEnd); }

// Runs one stage; false when a room change is pending after it.
bool Stage(void (*run)()) {
  run();
  return !RoomChangePending();
}

bool RunStages(const FrameStepSettings& settings) {
  AdvanceInstances(settings.gameSpeed);
  return Stage(BeginStep) && Stage(RunAlarms) && Stage(RaiseKeyboardEvents) &&
         (!settings.windowVisible || Stage(RaiseMouseEvents)) && Stage(Step) && Stage(EndStep);
}
}  // namespace

void RunAlarms() {
  int64_t pass = BeginEventPass();
  for (int32_t alarm = 0; alarm < kAlarmCount; ++alarm) {
    ForEachPassTarget(EventObjectList(kEventAlarm, alarm), pass, [&](CInstance& instance) {
      int32_t& counter = instance.alarms[alarm];
      if (counter < 0) return;
      if (--counter == 0) PerformEvent(&instance, &instance, kEventAlarm, alarm);
    });
  }
}

bool FramesFrozen() { return g_freezeWhenInactive && !WindowActive(); }

bool RunFrameStep(FrameCanvas& canvas, const FrameStepSettings& settings) {
  UpdateInput();
  if (FramesFrozen()) return false;
  bool drawn = false;
  if (CurrentRoom() && RunStages(settings)) {
    RemoveMarkedInstances();
    DrawFrame(canvas);
    drawn = !RoomChangePending();
  }
  if (!RoomChangePending()) GCStep();
  return drawn;
}
