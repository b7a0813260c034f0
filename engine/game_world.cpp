#include "engine/game_world.h"

#include <string>

#include "engine/code.h"
#include "engine/dispatch.h"
#include "engine/event_lists.h"
#include "engine/event_names.h"
#include "engine/frame_loop.h"
#include "engine/input_state.h"
#include "engine/instances.h"
#include "engine/objects.h"
#include "engine/rooms.h"
#include "engine/sprites.h"
#include "runtime/debug_output.h"
#include "runtime/gc.h"
#include "runtime/instance.h"
#include "runtime/object.h"
#include "runtime/value.h"

bool g_gameRunning = false;
int g_exitCode = 0;
bool g_freezeWhenInactive = false;

namespace {
bool CodeExists(int32_t index) { return index < 0 || CodeAt(index) != nullptr; }

// Every code index of the rooms must name compiled code.
bool RoomCodeExists(const std::vector<RoomRecord>& rooms, std::string& error) {
  for (const RoomRecord& room : rooms) {
    bool exists = CodeExists(room.creationCodeIndex);
    for (const RoomInstanceRecord& record : room.instances)
      exists = exists && CodeExists(record.creationCodeIndex) && CodeExists(record.preCreationCodeIndex);
    if (!exists) {
      error = "room " + room.name + " names code that the program does not have";
      return false;
    }
  }
  return true;
}

bool Fail(const char* message, const std::string& reason) {
  DebugOutput("%s\n", message);
  if (!reason.empty()) DebugOutput("%s\n", reason.c_str());
  ReleaseWorld();
  return false;
}

bool PrepareGame(const GameData& data) {
  DebugOutput("PrepareGame()\n");
  DebugOutput("Game_Prepare()\n");
  DebugOutput("Script_Prepare() \n");
  DebugOutput("TimeLine_Prepare() \n");
  DebugOutput("Object_Prepare() \n");
  std::string error;
  if (!LoadObjects(data.objects, error)) return Fail("Failed to compile the actions in the objects.", error);
  DebugOutput("Room_Prepare() \n");
  if (!RoomCodeExists(data.rooms, error)) return Fail("Failed to prepare the rooms.", error);
  LoadRooms(data.rooms, data.roomOrder);
  DebugOutput("Finished PrepareGame() \n");
  return true;
}
}  // namespace

void ResetEngineState() {
  ReleaseWorld();
  ResetDispatchState();
  ResetInput();
  ResetFrameCounters();
  ResetInstanceIds();
  g_gameRunning = false;
  g_exitCode = 0;
  g_freezeWhenInactive = false;
}

bool LoadGame(const GameData& data, LinkRecord& link) {
  DebugOutput("LoadGameData()\n");
  const char* missing = nullptr;
  if (!ResolveSymbols(link, &missing)) {
    DebugOutput("Error on load\nUnable to find function %s\n", missing ? missing : "");
    return false;
  }
  BindCompiledCode(link);
  SetGameSprites(&data.sprites);
  g_copyOnWriteArrays = (data.options.flags & kOptionCopyOnWriteArrays) != 0;
  g_freezeWhenInactive = (data.options.flags & kOptionFreezeWhenInactive) != 0;
  InstallInstanceFinder();
  InstallErrorContextProvider();
  DebugOutput("Variable_Global_Init()\n");
  CreateGlobalObject();
  return PrepareGame(data);
}

void RunGlobalScriptFunctions(const LinkRecord& link) {
  const CObjectDef* internal = FindObject(InternalObjectIndex());
  if (!internal) return;
  CInstance* temporary = MakeInstance(0, *internal, 0, 0);
  RunGuarded([&] { RunGlobalScripts(link, temporary); });
  temporary->Free();
}

bool StartGame() {
  DebugOutput("Run_Start\n");
  BuildEventObjectLists();
  DebugOutput("Done ObjectLists\n");
  int32_t requested = PendingRoom();
  int32_t first = RoomExists(requested) ? requested : FirstRoom();
  if (requested == kPendingEndGame || requested == kPendingAbortGame || first < 0) {
    DebugOutput("Game ended before loading first room\n");
    return false;
  }
  g_gameRunning = true;
  StartRoom(first, true);
  if (RoomChangePending()) ActOnPendingRoom();
  return true;
}

void ReleaseWorld() {
  UnloadRooms();
  ClearEventObjectLists();
  FreeObjects();
  ReleaseCompiledCode();
  SetGameSprites(nullptr);
  ResetInstanceIds();
  DestroyGlobalObject();
  GCCollect();  // what the game's instances and globals referred to
}
