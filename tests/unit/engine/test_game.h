// A small game of the tests' own, built in memory: objects with compiled test
// handlers, rooms with instance records, sprites. Every handler records
// "<object>_<Event>_<number> <self id>" in the trace and then runs the behaviour
// the test gave it (a lambda over the handler's KslFrame). Handlers are real
// compiled functions in a link record, so symbols, frames and the error report
// work exactly as for the application. Beside it: a platform for the frame
// loop and the runner (a clock that only moves when told, a waiter that jumps
// the clock to each deadline, input given per frame, a presenter that records)
// and a scratch folder for the tests that touch files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/dispatch.h"
#include "engine/event_types.h"
#include "engine/frame_canvas.h"
#include "engine/game_data.h"
#include "engine/platform.h"
#include "graphics/image.h"
#include "runtime/compiled.h"
#include "runtime/instance.h"
#include "runtime/link.h"

using Behaviour = std::function<void(KslFrame&)>;

// Built-ins and variables the test handlers use, resolved by each Start().
extern SymbolEntry g_fnRoomGoto, g_fnRoomRestart, g_fnRoomGotoNext, g_fnGameEnd, g_fnGameRestart, g_fnEventInherited,
    g_fnEventPerform, g_fnEventUser, g_fnParameterCount, g_fnParameterString, g_fnRoomNext, g_fnRoomPrevious,
    g_fnRoomGotoPrevious;
extern SymbolEntry g_varAlarm, g_varCount, g_varMouseX, g_varMouseY, g_varEventObject, g_varFps;

class RecordingCanvas : public FrameCanvas {
 public:
  void BeginFrame(int width, int height) override {
    ++framesBegun;
    backgroundCleared = false;
    picture = Image(width > 0 ? 4 : 0, height > 0 ? 4 : 0);
  }
  void ClearBackground(uint32_t backgroundColour) override {
    backgroundCleared = true;
    lastBackground = backgroundColour;
    picture = Image(picture.width, picture.height, backgroundColour);
  }
  void DrawDefault(const CInstance& instance) override { defaultDrawn.push_back(instance.id); }
  const Image& FinishFrame() override { return picture; }

  int framesBegun = 0;
  uint32_t lastBackground = 0;
  bool backgroundCleared = false;  // in the frame begun last
  std::vector<int32_t> defaultDrawn;
  Image picture;
};

class TestGame {
 public:
  TestGame();
  ~TestGame();
  TestGame(const TestGame&) = delete;
  TestGame& operator=(const TestGame&) = delete;

  int AddObject(const std::string& name, int parent = -1);
  ObjectRecord& Object(int index) { return data.objects[size_t(index)]; }
  // A handler for (type, number) written in `object`.
  void On(int object, int type, int number, Behaviour behaviour = {});
  // An event entry without code.
  void OnWithoutCode(int object, int type, int number);
  // A code-table entry that no object names (creation code); returns its index.
  int AddCode(const std::string& name, Behaviour behaviour = {});
  // A global-script entry running `function`.
  int AddGlobalScript(const std::string& name, GlobalScriptFunction function);

  int AddRoom(const std::string& name, bool persistent = false);
  RoomRecord& Room(int index) { return data.rooms[size_t(index)]; }
  // An instance record; returns its id (1, 2, 3, ... in order of placing).
  int Place(int room, int object, double x = 0, double y = 0);
  // A sprite of `width` × `height` with a full bounding box and one frame.
  int AddSprite(int width, int height, int originX = 0, int originY = 0);

  // The link record of the handlers added so far (for RunGame).
  LinkRecord& BuildLink();
  // Builds the world and enters the first room; false when loading failed.
  bool Start();
  // One frame step followed by acting on the pending room, as the frame loop does.
  bool Frame(bool windowVisible = true);
  void Frames(int count);

  // The trace since the last call, emptied.
  std::vector<std::string> TakeTrace();
  // The trace entries for one handler name ("A_Step_0"), as self ids.
  std::vector<int> Calls(const std::string& handler) const;

  GameData data;
  RecordingCanvas canvas;
  std::vector<std::string> trace;
  std::string log;                  // the debug output while the game lives
  std::vector<int> fatalExitCodes;  // every fatal error's exit code

 private:
  struct Code {
    std::string name;
    Behaviour behaviour;
    GlobalScriptFunction globalScript = nullptr;
  };
  template <int I>
  friend void TestHandler(CInstance* self, CInstance* other);

  std::deque<Code> codes_;
  std::vector<CodeTableEntry> codeTable_;
  std::deque<FunctionRef> functionRefs_;
  LinkRecord link_{};
  int nextInstanceId_ = 1;
};

// The game whose handlers are running (one at a time).
extern TestGame* g_testGame;

// The instance of a record id, or null.
CInstance* Instance(int id);

// A folder of the running test's own, made empty and removed afterwards.
struct ScratchFolder {
  ScratchFolder();
  ~ScratchFolder();
  std::filesystem::path path;
};

class FakeClock : public PlatformClock {
 public:
  int64_t MonotonicMicros() override { return now; }
  int64_t WallClockSeconds() override { return 1715592600; }
  int64_t now = 5000000;
};

class FakeWaiter : public FrameWaiter {
 public:
  explicit FakeWaiter(FakeClock& clock) : clock_(clock) {}
  void WaitUntil(int64_t deadline, const std::function<void()>& pump) override {
    waits.push_back(deadline - clock_.now);
    pump();
    if (deadline > clock_.now) clock_.now = deadline;
  }
  void IdleUntil(int64_t deadline) override {
    idles.push_back(deadline - clock_.now);
    if (deadline > clock_.now) clock_.now = deadline;
  }
  std::vector<int64_t> waits;  // how long each wait was asked to last
  std::vector<int64_t> idles;  // the same for the waits without pumping

 private:
  FakeClock& clock_;
};

class FakeEvents : public EventSource {
 public:
  void Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver) override {
    pumped = std::max(pumped, frame);
    auto found = byFrame.find(frame);
    if (found == byFrame.end()) return;
    std::vector<InputEvent> events;
    events.swap(found->second);
    for (const InputEvent& event : events) deliver(event);
  }
  bool Exhausted() const override { return endAfter > 0 && pumped >= endAfter; }

  std::map<int64_t, std::vector<InputEvent>> byFrame;
  int64_t endAfter = 0;  // exhausted once this frame has had its input (0: never)
  int64_t pumped = 0;
};

class FakePresenter : public FramePresenter {
 public:
  void Present(int64_t frame, const Image&, bool) override { frames.push_back(frame); }
  void SetCaption(const std::string&) override {}
  bool Visible() const override { return true; }
  std::vector<int64_t> frames;
};

inline std::unique_ptr<Platform> MakeFakePlatform() {
  auto platform = std::make_unique<Platform>();
  auto clock = std::make_unique<FakeClock>();
  platform->waiter = std::make_unique<FakeWaiter>(*clock);
  platform->clock = std::move(clock);
  platform->events = std::make_unique<FakeEvents>();
  platform->presenter = std::make_unique<FakePresenter>();
  platform->headless = true;
  return platform;
}
