#include "engine/event_names.h"

#include <cstdio>

#include "engine/dispatch.h"
#include "engine/event_types.h"
#include "engine/objects.h"
#include "engine/rooms.h"
#include "runtime/error.h"

namespace {
constexpr const char* kUnknownEvent = "<Unknown Event>";

struct NamedNumber {
  int32_t number;
  const char* name;
};

constexpr NamedNumber kMouseNames[] = {
    {0, "Left Button"},           {1, "Right Button"},         {2, "Middle Button"},       {3, "No Button"},
    {4, "Left Pressed"},          {5, "Right Pressed"},        {6, "Middle Pressed"},      {7, "Left Released"},
    {8, "Right Released"},        {9, "Middle Released"},      {10, "Mouse Enter"},        {11, "Mouse Leave"},
    {16, "Joystick 1 Left"},      {17, "Joystick 1 Right"},    {18, "Joystick 1 Up"},      {19, "Joystick 1 Down"},
    {31, "Joystick 2 Left"},      {32, "Joystick 2 Right"},    {33, "Joystick 2 Up"},      {34, "Joystick 2 Down"},
    {50, "Glob Left Button"},     {51, "Glob Right Button"},   {52, "Glob Middle Button"}, {53, "Glob Left Pressed"},
    {54, "Glob Right Pressed"},   {55, "Glob Middle Pressed"}, {56, "Glob Left Released"}, {57, "Glob Right Released"},
    {58, "Glob Middle Released"}, {60, "Mouse Wheel Up"},      {61, "Mouse Wheel Down"},
};

constexpr NamedNumber kOtherNames[] = {
    {0, "Outside Room"}, {1, "Intersect Boundary"}, {2, "Game Start"},    {3, "Game End"},
    {4, "Room Start"},   {5, "Room End"},           {6, "No More Lives"}, {7, "Animation End"},
    {8, "End Of Path"},  {9, "No More Health"},     {30, "Close Button"}, {58, "Animation Update"},
};

constexpr NamedNumber kKeyNames[] = {
    {0, "<no key>"},     {1, "<any key>"},      {8, "<Backspace>"},     {9, "<Tab>"},         {13, "<Enter>"},
    {16, "<Shift>"},     {17, "<Ctrl>"},        {18, "<Alt>"},          {19, "<Pause>"},      {27, "<Escape>"},
    {32, "<Space>"},     {33, "<Page Up>"},     {34, "<Page Down>"},    {35, "<End>"},        {36, "<Home>"},
    {37, "<Left>"},      {38, "<Up>"},          {39, "<Right>"},        {40, "<Down>"},       {45, "<Insert>"},
    {46, "<Delete>"},    {106, "Keypad *"},     {107, "Keypad +"},      {109, "Keypad -"},    {110, "Keypad ."},
    {111, "Keypad /"},   {160, "<Left Shift>"}, {161, "<Right Shift>"}, {162, "<Left Ctrl>"}, {163, "<Right Ctrl>"},
    {164, "<Left Alt>"}, {165, "<Right Alt>"},
};

template <size_t N>
const char* Lookup(const NamedNumber (&table)[N], int32_t number) {
  for (const NamedNumber& entry : table)
    if (entry.number == number) return entry.name;
  return nullptr;
}

std::string Format(const char* format, int32_t number) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, number);
  return buffer;
}

std::string JoystickButtonName(int32_t number) {
  if (number >= 21 && number <= 28) return Format("Joystick 1 Button %d", number - 20);
  if (number >= 36 && number <= 43) return Format("Joystick 2 Button %d", number - 35);
  return "";
}

std::string OtherEventName(int32_t number) {
  if (number >= 60) return Format("Async Event: %d", number);
  std::string name;
  if (const char* fixed = Lookup(kOtherNames, number))
    name = fixed;
  else if (number >= 10 && number <= 25)
    name = Format("User Defined %d", number - 10);
  else if (number >= 40 && number <= 47)
    name = Format("Outside View %d", number - 40);
  else if (number >= 50 && number <= 57)
    name = Format("Boundary View %d", number - 50);
  else
    name = "<Unknown>";
  return "Other Event: " + name;
}

std::string CollisionEventName(int32_t otherObject) {
  const CObjectDef* object = FindObject(otherObject);
  return std::string(" Step Event") + (object ? object->name : "<undefined>");
}

ErrorContext CurrentErrorContext() {
  ErrorContext context;
  const EventState& state = CurrentEventState();
  if (state.type == -2) {
    context.kind = ErrorContext::Kind::RoomCreationCode;
    if (const CRoom* room = CurrentRoom()) context.roomName = room->Name();
    return context;
  }
  const CObjectDef* object = FindObject(state.object);
  if (!object) return context;  // not inside a handler
  context.eventName = EventDisplayName(state.type, state.number);
  context.objectName = object->name;
  return context;
}
}  // namespace

const char* MouseEventName(int32_t number) {
  const char* name = Lookup(kMouseNames, number);
  return name ? name : "<Unknown>";
}

std::string KeyName(int32_t key) {
  if (const char* name = Lookup(kKeyNames, key)) return name;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= 96 && key <= 105) return Format("Keypad %d", key - 96);
  if (key >= 112 && key <= 135) return Format("F%d", key - 111);
  return Format("<Key %d>", key);
}

std::string EventDisplayName(int32_t type, int32_t number) {
  switch (type) {
    case kEventCreate: return "Create Event";
    case kEventDestroy: return "Destroy Event";
    case kEventAlarm: return Format("Alarm Event for alarm %d", number);
    case kEventStep: return Format(" Step Event%d", number);
    case kEventCollision: return CollisionEventName(number);
    case kEventKeyboard: return "Keyboard Event for " + KeyName(number) + " Key";
    case kEventMouse: {
      std::string joystick = JoystickButtonName(number);
      return "Mouse Event for " + (joystick.empty() ? std::string(MouseEventName(number)) : joystick);
    }
    case kEventOther: return OtherEventName(number);
    case kEventDraw: return "Draw Event";
    case kEventKeyPress: return "Key Press Event for " + KeyName(number) + " Key";
    case kEventKeyRelease: return "Key Release Event for " + KeyName(number) + " Key";
    case kEventPreCreate: return "PreCreate Event";
    default: return kUnknownEvent;
  }
}

void InstallErrorContextProvider() { SetErrorContextProvider(CurrentErrorContext); }
