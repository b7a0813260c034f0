#include <string>
#include <vector>

#include "engine/event_names.h"
#include "engine/frame_step.h"
#include "engine/instances.h"
#include "engine/rooms.h"
#include "runtime/error.h"
#include "runtime/frames.h"
#include "test_game.h"

namespace {
using Trace = std::vector<std::string>;

TEST(Dispatch, EventsReachObjectsByIndexThenInstancesInCreationOrder) {
  TestGame game;
  int a = game.AddObject("A"), b = game.AddObject("B");
  game.On(b, kEventStep, kStepNormal);
  game.On(a, kEventStep, kStepNormal);
  int room = game.AddRoom("r");
  int b1 = game.Place(room, b), a1 = game.Place(room, a), b2 = game.Place(room, b), a2 = game.Place(room, a);
  ASSERT_TRUE(game.Start());
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_Step_0 " + std::to_string(a1), "A_Step_0 " + std::to_string(a2),
                                     "B_Step_0 " + std::to_string(b1), "B_Step_0 " + std::to_string(b2)}));
}

TEST(Dispatch, InstancesCreatedDuringAPassWaitForTheNextPass) {
  TestGame game;
  int a = game.AddObject("A"), b = game.AddObject("B");
  int made = 0;
  game.On(a, kEventStep, kStepNormal, [&](KslFrame&) {
    if (made++ == 0) {
      CreateInstance(a, 0, 0);  // the same object's list: reached later in this pass unless skipped
      CreateInstance(b, 0, 0);  // an object after A in the list
    }
  });
  game.On(b, kEventStep, kStepNormal);
  game.On(b, kEventCreate, 0);
  int room = game.AddRoom("r");
  game.Place(room, a);
  ASSERT_TRUE(game.Start());
  game.Frame();
  Trace first = game.TakeTrace();
  EXPECT_EQ(first, (Trace{"A_Step_0 1", "B_Create_0 100001"})) << "the new instances got this frame's Step";
  game.Frame();
  EXPECT_EQ(game.Calls("A_Step_0"), (std::vector<int>{1, 100000}));
  EXPECT_EQ(game.Calls("B_Step_0"), (std::vector<int>{100001}));
}

TEST(Dispatch, AlarmsCountDownAndFireAtZero) {
  TestGame game;
  int a = game.AddObject("A");
  game.On(a, kEventCreate, 0, [](KslFrame& f) {
    f.Set(g_varAlarm, 1, 0);
    f.Set(g_varAlarm, 3, 1);
    f.Set(g_varAlarm, 0, 2);
    f.Set(g_varAlarm, 2, 4);
  });
  game.OnWithoutCode(a, kEventAlarm, 4);  // counts down all the same
  game.On(a, kEventAlarm, 0);
  game.On(a, kEventAlarm, 1);
  game.On(a, kEventAlarm, 2);
  int b = game.AddObject("B");  // has alarm 0 set but no handler for it: never counts down
  game.On(b, kEventCreate, 0, [](KslFrame& f) { f.Set(g_varAlarm, 2, 0); });
  int room = game.AddRoom("r");
  game.Place(room, a);
  int bId = game.Place(room, b);
  ASSERT_TRUE(game.Start());
  game.TakeTrace();

  CInstance* instance = Instance(1);
  auto alarms = [&] {
    return std::vector<int>{instance->alarms[0], instance->alarms[1], instance->alarms[2], instance->alarms[4]};
  };
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_Alarm_0 1"}));
  EXPECT_EQ(alarms(), (std::vector<int>{0, 2, -1, 1})) << "a counter at 0 goes to -1 without firing";
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), Trace{});
  EXPECT_EQ(alarms()[0], -1);
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_Alarm_1 1"}));
  game.Frames(3);
  EXPECT_EQ(game.TakeTrace(), Trace{});
  EXPECT_EQ(Instance(bId)->alarms[0], 2);
}

TEST(Dispatch, InheritedHandlersRunWithTheirOwnerAsEventObjectAndUserEventsRaiseOnSelf) {
  TestGame game;
  int parent = game.AddObject("Parent");
  int child = game.AddObject("Child", parent);
  std::vector<double> eventObjects;
  auto record = [&](KslFrame& f) { eventObjects.push_back(ToReal(f.Get(g_varEventObject))); };
  game.On(parent, kEventCreate, 0, [&](KslFrame& f) {
    record(f);
    f.Call(g_fnEventInherited);  // the parent has no parent: nothing
    f.Call(g_fnEventUser, 3);
    f.Call(g_fnEventPerform, double(kEventStep), 2.0);
  });
  game.On(parent, kEventPreCreate, 0, record);
  game.On(child, kEventPreCreate, 0, [&](KslFrame& f) {
    f.Call(g_fnEventInherited);
    record(f);
  });
  game.On(parent, kEventOther, kOtherUser0 + 3);
  game.On(parent, kEventStep, kStepEnd);
  game.Place(game.AddRoom("r"), child);
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(game.TakeTrace(), (Trace{"Child_PreCreate_0 1", "Parent_PreCreate_0 1", "Parent_Create_0 1",
                                     "Parent_Other_13 1", "Parent_Step_2 1"}));
  EXPECT_EQ(eventObjects, (std::vector<double>{0, 1, 0})) << "inside event_inherited the parent is the event object";
  EXPECT_EQ(std::pair(CurrentEventState().object, CurrentEventState().type), std::pair(-1, 0));
}

TEST(Dispatch, RecursionDeeperThan32IsReportedAndTheHandlerNotRun) {
  TestGame game;
  int a = game.AddObject("A");
  int depthReached = 0;
  game.On(a, kEventOther, kOtherUser0, [&](KslFrame& f) {
    ++depthReached;
    f.Call(g_fnEventUser, 0.0);
  });
  game.On(a, kEventStep, kStepNormal, [](KslFrame& f) { f.Call(g_fnEventUser, 0.0); });
  int room = game.AddRoom("r");
  game.Place(room, a);
  ASSERT_TRUE(game.Start());
  game.Frame();
  EXPECT_EQ(depthReached, 31) << "the Step is depth 1, the 31 user events fill the rest";
  EXPECT_EQ(game.fatalExitCodes, (std::vector<int>{1}));
  EXPECT_NE(
      game.log.find("PerformEvent recursion depth failure - check for infinite loops, check objects for parenting"),
      std::string::npos);
  EXPECT_NE(game.log.find("of Other Event: User Defined 0 for object A:"), std::string::npos);
  EXPECT_EQ(g_frameChainHead, nullptr);
  EXPECT_EQ(g_currentSelf, nullptr);
}

TEST(Dispatch, AnErrorInAHandlerIsReportedWithItsEventAndStackAndUnwindsCleanly) {
  TestGame game;
  int a = game.AddObject("A");
  game.On(a, kEventStep, kStepNormal, [](KslFrame& f) {
    f.Line(7);
    ReportRuntimeError("Test failure %d", 42);
    ADD_FAILURE() << "the report must unwind the handler";
  });
  game.On(a, kEventStep, kStepEnd);
  int room = game.AddRoom("r");
  game.Place(room, a);
  ASSERT_TRUE(game.Start());
  CInstance sentinel(999, 0, 0, 0);
  StackFrame* outerChain;
  {
    ScopedFrame outer("outer", &sentinel);
    outerChain = g_frameChainHead;
    PerformEvent(Instance(1), Instance(1), kEventStep, kStepNormal);
    EXPECT_EQ(g_frameChainHead, outerChain);
    EXPECT_EQ(g_currentSelf, &sentinel);
  }
  std::string expected = std::string(92, '#') +
                         "\nERROR in action number 1\nof  Step Event0 for object A:\nTest failure 42\n" +
                         std::string(92, '#') + "\nksl_Object_A_Step_0 (line 7)\nouter (line 0)\n";
  EXPECT_NE(game.log.find(expected), std::string::npos) << game.log;
  EXPECT_EQ(game.fatalExitCodes, (std::vector<int>{1}));
  EXPECT_EQ(PendingRoom(), kPendingAbortGame) << "the game ends after a fatal error";
  EXPECT_EQ(CurrentEventState().object, -1);
}

TEST(Dispatch, DispatchOnANonInstanceIsAnError) {
  TestGame game;
  int a = game.AddObject("A");
  game.On(a, kEventStep, kStepNormal);
  int room = game.AddRoom("r");
  game.Place(room, a);
  ASSERT_TRUE(game.Start());
  VQObjectBase structure;
  try {
    PerformEventObject(reinterpret_cast<CInstance*>(&structure), nullptr, a, kEventStep, kStepNormal);
    ADD_FAILURE() << "no error";
  } catch (const VQKSLException& error) {
    EXPECT_EQ(error.Message(), "Attempt to dispatch event on non-instance object");
  }
  PerformEvent(nullptr, nullptr, kEventStep, kStepNormal);                    // nothing, no error
  PerformEventObject(Instance(1), Instance(1), 57, kEventStep, kStepNormal);  // no such object: nothing
  EXPECT_TRUE(game.TakeTrace().empty());
}

TEST(Dispatch, AfterARoomChangeOnlyPersistentContextsReceiveLifeCycleEvents) {
  TestGame game;
  int a = game.AddObject("A"), keeper = game.AddObject("Keeper");
  game.Object(keeper).persistent = true;
  game.On(a, kEventStep, kStepNormal, [](KslFrame& f) { f.Call(g_fnRoomGoto, 1.0); });
  game.On(a, kEventAlarm, 0);
  game.On(a, kEventCleanUp, 0);
  game.On(keeper, kEventStep, kStepNormal);
  game.On(keeper, kEventAlarm, 0);
  int room = game.AddRoom("r");
  game.AddRoom("s");
  int first = game.Place(room, a), second = game.Place(room, a), kept = game.Place(room, keeper);
  ASSERT_TRUE(game.Start());
  EXPECT_FALSE(RunFrameStep(game.canvas, FrameStepSettings{}));  // the room change is still pending
  EXPECT_EQ(game.Calls("A_Step_0"), (std::vector<int>{first})) << "the second A gets no Step after the room_goto";
  EXPECT_TRUE(game.Calls("Keeper_Step_0").empty()) << "Step does not pass, even for a persistent instance";
  game.TakeTrace();
  PerformEvent(Instance(second), Instance(second), kEventAlarm, 0);
  PerformEvent(Instance(kept), Instance(kept), kEventAlarm, 0);
  PerformEvent(Instance(second), Instance(second), kEventCleanUp, 0);
  EXPECT_EQ(game.TakeTrace(),
            (Trace{"Keeper_Alarm_0 " + std::to_string(kept), "A_CleanUp_0 " + std::to_string(second)}));
  EXPECT_EQ(game.canvas.framesBegun, 0) << "nothing is drawn in that frame";
}

TEST(Dispatch, EventDisplayNames) {
  TestGame game;
  game.AddObject("Wall");
  game.AddRoom("r");
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(EventDisplayName(kEventCreate, 0), "Create Event");
  EXPECT_EQ(EventDisplayName(kEventAlarm, 3), "Alarm Event for alarm 3");
  EXPECT_EQ(EventDisplayName(kEventStep, 2), " Step Event2");
  EXPECT_EQ(EventDisplayName(kEventCollision, 0), " Step EventWall");
  EXPECT_EQ(EventDisplayName(kEventKeyPress, 27), "Key Press Event for <Escape> Key");
  EXPECT_EQ(EventDisplayName(kEventKeyboard, 'Q'), "Keyboard Event for Q Key");
  EXPECT_EQ(EventDisplayName(kEventKeyRelease, 113), "Key Release Event for F2 Key");
  EXPECT_EQ(EventDisplayName(kEventMouse, 56), "Mouse Event for Glob Left Released");
  EXPECT_EQ(EventDisplayName(kEventMouse, 23), "Mouse Event for Joystick 1 Button 3");
  EXPECT_EQ(EventDisplayName(kEventOther, 13), "Other Event: User Defined 3");
  EXPECT_EQ(EventDisplayName(kEventOther, 5), "Other Event: Room End");
  EXPECT_EQ(EventDisplayName(kEventOther, 7), "Other Event: Animation End");
  EXPECT_EQ(EventDisplayName(kEventOther, 62), "Async Event: 62");
  EXPECT_EQ(EventDisplayName(kEventDraw, 64), "Draw Event");
  EXPECT_EQ(EventDisplayName(kEventPreCreate, 0), "PreCreate Event");
  EXPECT_EQ(EventDisplayName(kEventCleanUp, 0), "<Unknown Event>");
  EXPECT_EQ(EventDisplayName(15, 0), "<Unknown Event>");
}
}  // namespace
