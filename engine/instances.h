// engine/instances.h — the life of one instance: making it from its object
// definition, its presence in the world (its object's list and the instance id
// map), creation at run time, destruction and freeing.
//
// Invariant: an instance is in the id map exactly when it is in its object's
// instance list; both hold the instances of the current room and the carried
// persistent ones, never those of a stored persistent room. Destruction is
// deferred: DestroyInstance raises Destroy and Clean-up and marks the instance;
// the removal pass of its room frees it later.
#pragma once

#include <cstdint>

class CInstance;
class CObjectDef;

// A new instance of `object`, flags, sprite and depth taken from the definition,
// alarms off, in no list yet.
CInstance* MakeInstance(int32_t id, const CObjectDef& object, double x, double y);
// A fresh instance id (above every id seen so far).
int32_t NewInstanceId();
// Records an id given by the game data so that fresh ids never repeat it.
void NoteInstanceId(int32_t id);

// Puts the instance into its object's list (in creation order) and the id map, or takes it out.
void EnterWorld(CInstance* instance);
void LeaveWorld(CInstance* instance);
CInstance* FindInstanceById(int32_t id);

// Takes the instance out of the world and frees it; no event is raised.
void FreeInstance(CInstance* instance);

// Creates an instance in the current room at run time and raises PreCreate and
// Create on it. Null when no room is current or the object does not exist.
CInstance* CreateInstance(int32_t objectIndex, double x, double y);

// Raises Destroy and Clean-up and marks the instance for destruction, once.
void DestroyInstance(CInstance* instance);

// Connects the runtime's instance lookup (variables read through an id or object
// index) to the id map and the object definitions.
void InstallInstanceFinder();
void ResetInstanceIds();
