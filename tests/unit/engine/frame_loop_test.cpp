#include "engine/frame_loop.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/game_runner.h"
#include "engine/game_world.h"
#include "engine/rooms.h"
#include "runtime/function_table.h"
#include "test_game.h"

namespace fs = std::filesystem;

namespace {
InputEvent CloseEvent() { return {.type = InputEvent::Type::Close}; }
InputEvent ActivateEvent(bool active) { return {.type = InputEvent::Type::Activate, .active = active}; }

struct LoopParts {
  FakeClock clock;
  FakeWaiter waiter{clock};
  FakeEvents events;
  FakePresenter presenter;
};

void RunLoop(TestGame& game, LoopParts& parts) {
  RunFrameLoop(FrameLoopParts{
      parts.clock, parts.waiter, parts.events, parts.presenter, game.canvas, game.data.options.gameSpeed, {}});
}

TEST(FrameLoop, FramesArePacedAndALongFrameIsFollowedAtOnce) {
  TestGame game;
  game.data.options.gameSpeed = 10;  // 100 000 µs a frame
  LoopParts parts;
  int a = game.AddObject("A");
  std::vector<int64_t> frameStarts;
  game.On(a, kEventStep, kStepNormal, [&](KslFrame&) {
    frameStarts.push_back(parts.clock.now);
    if (frameStarts.size() == 3)
      parts.clock.now += 250000;  // this frame's work takes 2.5 periods
    else
      parts.clock.now += 1000;
  });
  game.Place(game.AddRoom("r"), a);
  ASSERT_TRUE(game.Start());
  parts.events.endAfter = 5;
  int64_t start = parts.clock.now;
  RunLoop(game, parts);
  EXPECT_EQ(parts.waiter.waits, (std::vector<int64_t>{99000, 99000, 99000})) << "no wait before frames 1 and 4";
  EXPECT_EQ(frameStarts, (std::vector<int64_t>{start, start + 100000, start + 200000, start + 450000, start + 550000}));
  EXPECT_EQ(CurrentFrameNumber(), 5);
  EXPECT_EQ(parts.presenter.frames, (std::vector<int64_t>{1, 2, 3, 4, 5}));
  EXPECT_FALSE(g_gameRunning);
}

TEST(FrameLoop, FpsCountsTheFramesOfThePreviousSecond) {
  TestGame game;
  game.data.options.gameSpeed = 4;
  LoopParts parts;
  int a = game.AddObject("A");
  std::vector<double> fps;
  game.On(a, kEventStep, kStepNormal, [&](KslFrame& f) { fps.push_back(ToReal(f.Get(g_varFps))); });
  game.Place(game.AddRoom("r"), a);
  ASSERT_TRUE(game.Start());
  parts.events.endAfter = 10;
  RunLoop(game, parts);
  EXPECT_EQ(fps, (std::vector<double>{0, 0, 0, 0, 4, 4, 4, 4, 4, 4}));
}

TEST(FrameLoop, AClosedWindowEndsTheLoopBeforeTheNextFrameAndInputArrivesBeforeItsFrame) {
  TestGame game;
  LoopParts parts;
  int a = game.AddObject("A");
  game.On(a, kEventKeyPress, 27);
  game.Place(game.AddRoom("r"), a);
  ASSERT_TRUE(game.Start());
  parts.events.byFrame[2] = {{.type = InputEvent::Type::KeyDown, .key = 27}};
  parts.events.byFrame[4] = {CloseEvent()};
  RunLoop(game, parts);
  EXPECT_EQ(game.TakeTrace(), (std::vector<std::string>{"A_KeyPress_27 1"}));
  EXPECT_EQ(CurrentFrameNumber(), 3);
  EXPECT_EQ(parts.presenter.frames, (std::vector<int64_t>{1, 2, 3})) << "the frame of the close never runs";
  EXPECT_NE(game.log.find("###game_end###254\n"), std::string::npos);
}

TEST(FrameLoop, AnInactiveWindowFreezesTheGameOnlyWhenItsOptionSaysSoAndTheWaitsDoNotSpin) {
  for (bool freeze : {true, false}) {
    SCOPED_TRACE(freeze ? "freezing" : "not freezing");
    TestGame game;
    game.data.options.gameSpeed = 10;  // 100 000 µs a frame
    if (freeze) game.data.options.flags |= kOptionFreezeWhenInactive;
    LoopParts parts;
    int a = game.AddObject("A");
    game.On(a, kEventStep, kStepNormal);
    game.Place(game.AddRoom("r"), a);
    ASSERT_TRUE(game.Start());
    parts.events.byFrame[2] = {ActivateEvent(false)};
    parts.events.byFrame[4] = {ActivateEvent(true)};
    parts.events.endAfter = 5;
    RunLoop(game, parts);
    using Frames = std::vector<int64_t>;
    if (freeze) {
      EXPECT_EQ(game.Calls("A_Step_0").size(), 3u) << "frames 2 and 3 do not step";
      EXPECT_EQ(parts.presenter.frames, (Frames{1, 4, 5}));
      EXPECT_EQ(parts.waiter.idles, (Frames{100000, 100000})) << "before frames 3 and 4";
      EXPECT_EQ(parts.waiter.waits, (Frames{100000, 100000})) << "before frames 2 and 5";
    } else {
      EXPECT_EQ(game.Calls("A_Step_0").size(), 5u);
      EXPECT_EQ(parts.presenter.frames, (Frames{1, 2, 3, 4, 5}));
      EXPECT_EQ(parts.waiter.idles, Frames{});
    }
  }
}

TEST(FrameLoop, ARoomChangeIsNotPresented) {
  TestGame game;
  LoopParts parts;
  int a = game.AddObject("A");
  game.On(a, kEventStep, kStepNormal, [](KslFrame& f) {
    if (ToReal(f.Call(g_fnRoomNext, 0.0)) == 1) f.Call(g_fnRoomGoto, 1.0);
  });
  game.Place(game.AddRoom("r"), a);
  game.AddRoom("s");
  ASSERT_TRUE(game.Start());
  parts.events.endAfter = 3;
  RunLoop(game, parts);
  EXPECT_EQ(parts.presenter.frames, (std::vector<int64_t>{2, 3}));
  EXPECT_EQ(CurrentRoom()->index, 1);
}

// RunGame from its arguments, with a game file on disk and the fake platform.
class RunGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(directory_ / "data.win") << "game bytes";
    executableDirectory = directory_.string();
    g_dataToLoad = &game.data;
  }
  void TearDown() override { g_dataToLoad = nullptr; }

  static bool LoadFromMemory(const uint8_t*, size_t, GameData& out, std::string&) {
    out = *g_dataToLoad;
    return true;
  }

  int Run(std::vector<std::string> extraArguments = {}) {
    GameLaunch launch;
    launch.arguments = {(directory_ / "kalvora").string()};
    launch.arguments.insert(launch.arguments.end(), extraArguments.begin(), extraArguments.end());
    launch.executableDirectory = executableDirectory;
    launch.installedDataDirectory = installedDataDirectory;
    launch.link = &game.BuildLink();
    if (functionRefs) launch.link->functionRefs = functionRefs;
    launch.hooks.registerBuiltins = [this] { ++registrations; };
    launch.hooks.loadGameData = LoadFromMemory;
    launch.hooks.createPlatform = [this](const WindowRequest& request, std::string&) {
      windowWidth = request.width;
      windowHeight = request.height;
      sleepMarginMs = request.options.sleepMarginMs;
      auto platform = MakeFakePlatform();
      static_cast<FakeEvents&>(*platform->events).endAfter = endAfter;
      return platform;
    };
    launch.hooks.initGraphics = [this](const GameStart& start) -> std::unique_ptr<FrameCanvas> {
      gamePath = start.gameFilePath;
      return std::make_unique<RecordingCanvas>();
    };
    return RunGame(launch);
  }

  static inline GameData* g_dataToLoad = nullptr;
  TestGame game;
  ScratchFolder scratch;
  const fs::path& directory_ = scratch.path;
  std::string executableDirectory, installedDataDirectory;
  int registrations = 0;
  int windowWidth = 0, windowHeight = 0;
  double sleepMarginMs = 0;
  int64_t endAfter = 0;
  SymbolEntry** functionRefs = nullptr;
  std::string gamePath;
};

RValue* RecordGlobalScript(CInstance* self, CInstance*, RValue* result) {
  g_testGame->trace.push_back("global script, object " + std::to_string(self->objectIndex));
  return result;
}

TEST_F(RunGameTest, AGameRunsFromItsFirstRoomToGameEnd) {
  int a = game.AddObject("A");
  game.On(a, kEventCreate, 0, [&](KslFrame& f) { f.Set(g_varAlarm, 2, 0); });
  game.On(a, kEventAlarm, 0, [](KslFrame& f) { f.Call(g_fnGameEnd, 3.0); });
  game.On(a, kEventOther, kOtherRoomEnd);
  game.On(a, kEventOther, kOtherGameEnd);
  game.AddGlobalScript("ksl_GlobalScript_Setup", RecordGlobalScript);
  int room = game.AddRoom("menu");
  game.Room(room).width = 320;
  game.Room(room).height = 200;
  game.Place(room, a);
  std::ofstream(directory_ / "options.ini") << "[Runtime]\nsleepmargin=4\n";

  EXPECT_EQ(Run({"MIN", "-headless"}), 3);
  EXPECT_EQ(std::tuple(windowWidth, windowHeight, sleepMarginMs), std::tuple(320, 200, 4.0));
  EXPECT_EQ(gamePath, (directory_ / "data.win").string());
  EXPECT_EQ(registrations, 1);
  EXPECT_EQ(game.TakeTrace(), (std::vector<std::string>{"global script, object 1", "A_Create_0 1", "A_Alarm_0 1",
                                                        "A_Other_5 1", "A_Other_3 1"}));
  // The start-up lines that the scenarios' logs do not list, in their order.
  size_t position = 0;
  for (const char* line :
       {"Process Messages\n", "Start Frame\n", "Part Create Textures\n", "Debug Init Remote Interface\n", "VM Init\n",
        "Create Load Form\n", "Do The Work\n", "###game_end###3\n"}) {
    position = game.log.find(line, position);
    ASSERT_NE(position, std::string::npos) << "missing or out of order: " << line;
  }
  EXPECT_FALSE(g_runtimeStarted);
  EXPECT_EQ(CurrentRoom(), nullptr);
}

TEST_F(RunGameTest, AFunctionTheProgramNeedsButNobodyRegisteredStopsTheStart) {
  game.AddRoom("r");
  SymbolEntry missing{"no_such_function", 0};
  SymbolEntry* functions[] = {&g_fnRoomGoto, &missing, nullptr};
  functionRefs = functions;
  EXPECT_EQ(Run(), 1);
  EXPECT_NE(game.log.find("Error on load\nUnable to find function no_such_function\n"), std::string::npos);
}

TEST_F(RunGameTest, AFatalErrorEndsTheRunWithExitCode1AndNoMoreEvents) {
  int a = game.AddObject("A");
  game.On(a, kEventStep, kStepNormal, [](KslFrame&) { ReportRuntimeError("broken"); });
  game.On(a, kEventOther, kOtherRoomEnd);
  game.Place(game.AddRoom("r"), a);
  SetFatalErrorHook(nullptr);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(game.TakeTrace(), (std::vector<std::string>{"A_Step_0 1"}));
  EXPECT_NE(game.log.find("of  Step Event0 for object A:\nbroken"), std::string::npos);
}

TEST_F(RunGameTest, GameEndBeforeTheFirstRoomRunsNoRoom) {
  int a = game.AddObject("A");
  game.On(a, kEventCreate, 0);
  game.AddGlobalScript("ksl_GlobalScript_Quit", [](CInstance* self, CInstance*, RValue* result) -> RValue* {
    KslFrame frame("ksl_GlobalScript_Quit", self, self);
    frame.Call(g_fnGameEnd);
    return result;
  });
  game.Place(game.AddRoom("r"), a);
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(game.TakeTrace().empty());
  EXPECT_NE(game.log.find("Game ended before loading first room\n"), std::string::npos);
}

// The installed layout: the program in bin/, its data.win in share/kalvora/.
// Finding the data there, and the message when it is in neither place, are
// pinned by the packaging test, which runs the installed program.
TEST_F(RunGameTest, AnInstalledProgramUnpacksFilesBesideItsDataAndNeverInBin) {
  game.AddRoom("r");
  endAfter = 1;
  fs::path bin = directory_ / "bin", data = directory_ / "share" / "kalvora";
  fs::create_directories(bin);
  fs::create_directories(data);
  fs::rename(directory_ / "data.win", data / "data.win");
  std::ofstream(bin / "other@tool") << "x";
  std::ofstream(data / "pack@inner.txt") << "y";
  executableDirectory = bin.string() + "/";
  installedDataDirectory = "../share/kalvora";
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(gamePath, (data / "data.win").string());
  EXPECT_TRUE(fs::exists(bin / "other@tool")) << "a shared bin/ is never rearranged";
  EXPECT_TRUE(fs::exists(data / "pack" / "inner.txt")) << "flat files unpack beside the game file";
}
}  // namespace
