#include "runtime/instance.h"

CInstance::CInstance(int32_t instanceId, int32_t object, double startX, double startY)
    : VQObjectBase(kObjectTypeInstance, false),
      id(instanceId),
      objectIndex(object),
      x(float(startX)),
      y(float(startY)),
      xPrevious(float(startX)),
      yPrevious(float(startY)) {
  prototype = InstancePrototype();
  for (int32_t& alarm : alarms) alarm = -1;
}

void CInstance::Free() {
  ReleaseContents();
  delete this;
}

void CInstance::SetPosition(float newX, float newY) {
  x = newX;
  y = newY;
  boundingBoxDirty = true;
}
