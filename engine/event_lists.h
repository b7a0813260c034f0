// engine/event_lists.h — for every (type, number) the ascending list of object
// indices whose event map holds that key, built once at game start.
//
// Numbers covered: 0-12 for Alarm, 0-16 for Step, 0-77 for Draw, 0-128 for
// Keyboard, Mouse, Other, KeyPress, KeyRelease and Gesture, 0 for Create, Destroy
// and PreCreate; no other pair has a list. An object is listed only when its
// handler has code, except for alarms: an Alarm entry without code is listed so
// that its counter still runs down.
#pragma once

#include <cstdint>
#include <vector>

void BuildEventObjectLists();
void ClearEventObjectLists();
// The list of (type, number); empty when the pair has none.
const std::vector<int32_t>& EventObjectList(int32_t type, int32_t number);
