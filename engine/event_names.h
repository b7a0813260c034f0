// engine/event_names.h — the display names of events and keys that runtime error
// reports use, and the error context the engine gives the runtime's report.
#pragma once

#include <cstdint>
#include <string>

// "Create Event", "Alarm Event for alarm 3", "Key Press Event for <Escape> Key", ...
std::string EventDisplayName(int32_t type, int32_t number);
// The name of a virtual-key code within key event names ("A", "<Escape>", "F5").
std::string KeyName(int32_t key);
// The name of a mouse event number ("Left Released"), or "<Unknown>".
const char* MouseEventName(int32_t number);

// Makes the runtime's error report name the running event and its object, or the
// room whose creation code runs.
void InstallErrorContextProvider();
