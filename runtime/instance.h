// runtime/instance.h — CInstance: an instance of an object in a room.
//
// An instance is a VQObjectBase (its variables live in the inherited store, its
// prototype is the shared "[[Instance]]" object) plus the built-in fields that
// scripts reach through built-in variables (x, y, image_index, image_speed,
// alarm, ...) and the fields the engine keeps for dispatch and drawing. Instances
// are not freed by the collector: the room that holds them frees them.
#pragma once

#include <cstdint>

#include "runtime/object.h"

class CInstance;

constexpr int kAlarmCount = 12;

// Bits of CInstance::flags.
constexpr uint32_t kInstanceMarkedForDestruction = 1u << 0;
constexpr uint32_t kInstanceDeactivated = 1u << 1;
constexpr uint32_t kInstanceVisible = 1u << 2;
constexpr uint32_t kInstancePersistent = 1u << 3;
constexpr uint32_t kInstanceDestroyRaised = 1u << 4;
constexpr uint32_t kInstanceCreateRaised = 1u << 5;
constexpr uint32_t kInstanceCarried = 1u << 6;
constexpr uint32_t kInstanceSolid = 1u << 7;
constexpr uint32_t kInstanceMouseOver = 1u << 8;  // the pointer was over it at the last mouse stage

// An instance's place in one of the engine's doubly linked lists (its object's
// instances, its room's instances). `linked` tells whether it is in the list.
struct InstanceLink {
  CInstance* previous = nullptr;
  CInstance* next = nullptr;
  bool linked = false;
};

class CInstance : public VQObjectBase {
 public:
  CInstance(int32_t id, int32_t objectIndex, double x, double y);
  void Free() override;

  void SetPosition(float newX, float newY);
  bool HasFlag(uint32_t flag) const { return (flags & flag) != 0; }

  int32_t id;
  int32_t objectIndex;
  uint32_t flags = kInstanceVisible;
  // The event pass counter when the instance was created; the counter moves on
  // at every creation, so this also orders instances by creation.
  int64_t createdInPass = 0;

  float x, y;
  float xPrevious, yPrevious;
  float imageIndex = 0.0f;
  float imageSpeed = 1.0f;
  float imageXScale = 1.0f, imageYScale = 1.0f;
  float imageAngle = 0.0f;
  float imageAlpha = 1.0f;
  uint32_t imageBlend = 0xFFFFFF;
  int32_t spriteIndex = -1;
  int32_t maskIndex = -1;
  int32_t depth = 0;
  int32_t alarms[kAlarmCount];
  bool boundingBoxDirty = true;

  InstanceLink objectLink;  // in its object definition's instance list
  InstanceLink roomLink;    // in its room's active list
};
