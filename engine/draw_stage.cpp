#include "engine/draw_stage.h"

#include <algorithm>
#include <vector>

#include "engine/dispatch.h"
#include "engine/event_lists.h"
#include "engine/event_types.h"
#include "engine/frame_canvas.h"
#include "engine/objects.h"
#include "engine/rooms.h"
#include "engine/sprites.h"
#include "runtime/instance.h"

namespace {
constexpr int32_t kPassesAfterBackground[] = {kDrawBegin,    kDrawNormal, kDrawEnd,   kDrawPost,
                                              kDrawGuiBegin, kDrawGui,    kDrawGuiEnd};

bool Drawable(const CInstance& instance) {
  return instance.HasFlag(kInstanceVisible) && !instance.HasFlag(kInstanceMarkedForDestruction | kInstanceDeactivated);
}

// Re-sorted for every pass: a handler may change depths.
std::vector<CInstance*> InDepthOrder(const CRoom& room) {
  std::vector<CInstance*> order;
  for (CInstance* instance = room.instances.First(); instance; instance = RoomInstanceList::Next(instance))
    order.push_back(instance);
  std::stable_sort(order.begin(), order.end(),
                   [](const CInstance* a, const CInstance* b) { return a->depth > b->depth; });
  return order;
}

void DrawInstance(FrameCanvas& canvas, CInstance& instance, int32_t number) {
  const CObjectDef* object = FindObject(instance.objectIndex);
  if (object && object->FindEvent(kEventDraw, number)) {
    PerformEvent(&instance, &instance, kEventDraw, number);
  } else if (number == kDrawNormal && FindSprite(instance.spriteIndex)) {
    canvas.DrawDefault(instance);
  }
}

// One pass of Draw event `number`; false when a room change is pending.
bool DrawPass(FrameCanvas& canvas, const CRoom& room, int32_t number) {
  if (number != kDrawNormal && EventObjectList(kEventDraw, number).empty()) return true;
  for (CInstance* instance : InDepthOrder(room)) {
    if (RoomChangePending()) return false;
    if (Drawable(*instance)) DrawInstance(canvas, *instance, number);
  }
  return !RoomChangePending();
}
}  // namespace

void DrawFrame(FrameCanvas& canvas) {
  const CRoom* room = CurrentRoom();
  if (!room) return;
  const RoomRecord& definition = *room->definition;
  canvas.BeginFrame(definition.width, definition.height);
  if (!DrawPass(canvas, *room, kDrawPre)) return;
  if (definition.clearDisplay) canvas.ClearBackground(definition.backgroundColour);
  for (int32_t number : kPassesAfterBackground)
    if (!DrawPass(canvas, *room, number)) return;
}
