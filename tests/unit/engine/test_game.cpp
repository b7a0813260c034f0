#include "test_game.h"

#include <unistd.h>

#include <array>
#include <utility>

#include "engine/engine_builtins.h"
#include "engine/frame_step.h"
#include "engine/game_world.h"
#include "engine/instances.h"
#include "engine/rooms.h"
#include "runtime/debug_output.h"
#include "runtime/error.h"
#include "runtime/frames.h"
#include "runtime/function_table.h"

SymbolEntry g_fnRoomGoto{"room_goto", 0}, g_fnRoomRestart{"room_restart", 0}, g_fnRoomGotoNext{"room_goto_next", 0},
    g_fnGameEnd{"game_end", 0}, g_fnGameRestart{"game_restart", 0}, g_fnEventInherited{"event_inherited", 0},
    g_fnEventPerform{"event_perform", 0}, g_fnEventUser{"event_user", 0}, g_fnParameterCount{"parameter_count", 0},
    g_fnParameterString{"parameter_string", 0}, g_fnRoomNext{"room_next", 0}, g_fnRoomPrevious{"room_previous", 0},
    g_fnRoomGotoPrevious{"room_goto_previous", 0};
SymbolEntry g_varAlarm{"alarm", -1}, g_varCount{"count", -1}, g_varMouseX{"mouse_x", -1}, g_varMouseY{"mouse_y", -1},
    g_varEventObject{"event_object", -1}, g_varFps{"fps", -1};

namespace {
SymbolEntry* g_functionSymbols[] = {&g_fnRoomGoto,         &g_fnRoomRestart, &g_fnRoomGotoNext,
                                    &g_fnGameEnd,          &g_fnGameRestart, &g_fnEventInherited,
                                    &g_fnEventPerform,     &g_fnEventUser,   &g_fnParameterCount,
                                    &g_fnParameterString,  &g_fnRoomNext,    &g_fnRoomPrevious,
                                    &g_fnRoomGotoPrevious, nullptr};
SymbolEntry* g_variableSymbols[] = {&g_varAlarm,       &g_varCount, &g_varMouseX, &g_varMouseY,
                                    &g_varEventObject, &g_varFps,   nullptr};

constexpr int kMaxCodes = 64;
const char* const kEventNames[] = {"Create",     "Destroy", "Alarm",   "Step",    "Collision",
                                   "Keyboard",   "Mouse",   "Other",   "Draw",    "KeyPress",
                                   "KeyRelease", "Unused",  "CleanUp", "Gesture", "PreCreate"};

void RecordFatal(int exitCode) { g_testGame->fatalExitCodes.push_back(exitCode); }
}  // namespace

TestGame* g_testGame = nullptr;

template <int I>
void TestHandler(CInstance* self, CInstance* other) {
  TestGame::Code& code = g_testGame->codes_[I];
  KslFrame frame(code.name.c_str(), self, other);
  frame.Line(1);
  const std::string prefix = "ksl_Object_";
  std::string shown = code.name.compare(0, prefix.size(), prefix) == 0 ? code.name.substr(prefix.size()) : code.name;
  g_testGame->trace.push_back(shown + " " + std::to_string(self->id));
  if (code.behaviour) code.behaviour(frame);
}

template <size_t... I>
constexpr std::array<EventFunction, sizeof...(I)> MakeHandlers(std::index_sequence<I...>) {
  return {TestHandler<int(I)>...};
}
const std::array<EventFunction, kMaxCodes> kHandlers = MakeHandlers(std::make_index_sequence<kMaxCodes>());

TestGame::TestGame() {
  g_testGame = this;
  SetDebugOutputCapture(&log);
  SetFatalErrorHook(RecordFatal);
  ResetEngineState();
  ClearFunctionTable();
  RegisterEngineBuiltins();
  RegisterEngineVariables();
}

TestGame::~TestGame() {
  ReleaseWorld();
  ResetEngineState();
  g_runtimeStarted = false;
  SetFatalErrorHook(nullptr);
  SetDebugOutputCapture(nullptr);
  g_testGame = nullptr;
}

int TestGame::AddObject(const std::string& name, int parent) {
  ObjectRecord record;
  record.name = name;
  record.parentIndex = parent;
  data.objects.push_back(record);
  return int(data.objects.size()) - 1;
}

void TestGame::On(int object, int type, int number, Behaviour behaviour) {
  std::string name =
      "ksl_Object_" + data.objects[size_t(object)].name + "_" + kEventNames[type] + "_" + std::to_string(number);
  int code = AddCode(name, std::move(behaviour));
  data.objects[size_t(object)].events.push_back(EventBinding{type, number, code});
}

int TestGame::AddCode(const std::string& name, Behaviour behaviour) {
  EXPECT_LT(codes_.size(), size_t(kMaxCodes));
  codes_.push_back(Code{name, std::move(behaviour)});
  return int(codes_.size()) - 1;
}

void TestGame::OnWithoutCode(int object, int type, int number) {
  data.objects[size_t(object)].events.push_back(EventBinding{type, number, -1});
}

int TestGame::AddRoom(const std::string& name, bool persistent) {
  RoomRecord room;
  room.name = name;
  room.persistent = persistent;
  data.rooms.push_back(room);
  data.roomOrder.push_back(int(data.rooms.size()) - 1);
  return int(data.rooms.size()) - 1;
}

int TestGame::Place(int room, int object, double x, double y) {
  RoomInstanceRecord record;
  record.x = x;
  record.y = y;
  record.objectIndex = object;
  record.id = nextInstanceId_++;
  data.rooms[size_t(room)].instances.push_back(record);
  return record.id;
}

int TestGame::AddSprite(int width, int height, int originX, int originY) {
  Sprite sprite;
  sprite.width = width;
  sprite.height = height;
  sprite.originX = originX;
  sprite.originY = originY;
  sprite.bboxLeft = 0;
  sprite.bboxTop = 0;
  sprite.bboxRight = width - 1;
  sprite.bboxBottom = height - 1;
  sprite.frames.emplace_back(width, height);
  data.sprites.push_back(sprite);
  return int(data.sprites.size()) - 1;
}

int TestGame::AddGlobalScript(const std::string& name, GlobalScriptFunction function) {
  int code = AddCode(name);
  codes_[size_t(code)].globalScript = function;
  return code;
}

LinkRecord& TestGame::BuildLink() {
  codeTable_.clear();
  functionRefs_.clear();
  for (size_t i = 0; i < codes_.size(); ++i) {
    functionRefs_.push_back(FunctionRef{codes_[i].name.c_str(), 0});
    CompiledFunction function;
    if (codes_[i].globalScript)
      function.globalScript = codes_[i].globalScript;
    else
      function.event = kHandlers[i];
    codeTable_.push_back(CodeTableEntry{codes_[i].name.c_str(), function, &functionRefs_.back()});
  }
  link_ = LinkRecord{
      nullptr,          0, 47, 47, uint32_t(codeTable_.size()), g_variableSymbols, g_functionSymbols, codeTable_.data(),
      &g_frameChainHead};
  return link_;
}

bool TestGame::Start() {
  BuildLink();
  if (!LoadGame(data, link_)) return false;
  g_runtimeStarted = true;
  return StartGame();
}

bool TestGame::Frame(bool windowVisible) {
  bool drawn = RunFrameStep(canvas, FrameStepSettings{windowVisible, data.options.gameSpeed});
  ActOnPendingRoom();
  return drawn;
}

void TestGame::Frames(int count) {
  for (int i = 0; i < count; ++i) Frame();
}

std::vector<std::string> TestGame::TakeTrace() {
  std::vector<std::string> taken;
  taken.swap(trace);
  return taken;
}

std::vector<int> TestGame::Calls(const std::string& handler) const {
  std::vector<int> ids;
  for (const std::string& entry : trace)
    if (entry.compare(0, handler.size() + 1, handler + " ") == 0)
      ids.push_back(std::stoi(entry.substr(handler.size() + 1)));
  return ids;
}

CInstance* Instance(int id) { return FindInstanceById(id); }

ScratchFolder::ScratchFolder()
    : path(std::filesystem::temp_directory_path() / ("kalvora_engine_" + std::to_string(::getpid()) + "_" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
}

ScratchFolder::~ScratchFolder() { std::filesystem::remove_all(path); }
