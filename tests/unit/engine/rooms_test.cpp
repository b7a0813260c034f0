#include "engine/rooms.h"

#include <string>
#include <vector>

#include "engine/game_world.h"
#include "engine/instances.h"
#include "engine/objects.h"
#include "runtime/array.h"
#include "runtime/gc.h"
#include "test_game.h"

namespace {
using Trace = std::vector<std::string>;
using Ids = std::vector<int>;

std::string At(const std::string& handler, int id) { return handler + " " + std::to_string(id); }

void GoTo(int room) {
  SetPendingRoom(room);
  ActOnPendingRoom();
}

// Objects A and B with life-cycle handlers, Keeper persistent; rooms r (0) and s (1).
struct TwoRooms {
  TestGame game;
  int a = game.AddObject("A"), b = game.AddObject("B"), keeper = game.AddObject("Keeper");
  int r, s;
  explicit TwoRooms(bool firstPersistent = false) {
    for (int object : {a, b, keeper}) {
      game.On(object, kEventPreCreate, 0);
      game.On(object, kEventCreate, 0);
      game.On(object, kEventOther, kOtherRoomStart);
      game.On(object, kEventOther, kOtherRoomEnd);
    }
    game.Object(keeper).persistent = true;
    r = game.AddRoom("r", firstPersistent);
    s = game.AddRoom("s");
  }
};

TEST(Rooms, EnteringARoomCreatesItsInstancesInRecordOrderPreCreateFirst) {
  TestGame game;
  int a = game.AddObject("A"), b = game.AddObject("B");
  bool allExisted = false;
  game.On(a, kEventPreCreate, 0, [&](KslFrame&) { allExisted = allExisted || (Instance(3) && Instance(2)); });
  game.On(a, kEventCreate, 0);
  game.On(b, kEventPreCreate, 0);
  game.On(b, kEventCreate, 0);
  game.On(a, kEventOther, kOtherGameStart);
  game.On(b, kEventOther, kOtherRoomStart);
  int room = game.AddRoom("r");
  game.Place(room, a, 10, 20);
  game.Place(room, b);
  game.Place(room, a);
  game.Room(room).instances[1].preCreationCodeIndex = game.AddCode("ksl_PreCreationCode_b");
  game.Room(room).instances[1].creationCodeIndex = game.AddCode("ksl_CreationCode_b");
  ASSERT_TRUE(game.Start());
  EXPECT_TRUE(allExisted) << "every instance of the room exists before the first PreCreate";
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_PreCreate_0 1", "A_Create_0 1", "B_PreCreate_0 2", "ksl_PreCreationCode_b 2",
                                     "B_Create_0 2", "ksl_CreationCode_b 2", "A_PreCreate_0 3", "A_Create_0 3",
                                     "A_Other_2 1", "A_Other_2 3", "B_Other_4 2"}));
  EXPECT_EQ(std::pair(Instance(1)->x, Instance(1)->y), std::pair(10.0f, 20.0f));
  EXPECT_TRUE(Instance(1)->HasFlag(kInstanceCreateRaised));
  EXPECT_EQ(FindObject(a)->instances.Count(), 2);
}

TEST(Rooms, TheLastRoomGotoOfAFrameSwitchesAfterTheFrameWithoutDrawing) {
  TwoRooms rooms;
  TestGame& game = rooms.game;
  int t = game.AddRoom("t");
  game.On(rooms.a, kEventStep, kStepBegin, [&](KslFrame& f) {
    f.Call(g_fnRoomGoto, double(t));
    f.Call(g_fnRoomGoto, 1.0);
    f.SetVar(g_varCount, 1);  // the handler runs to its end
  });
  game.On(rooms.a, kEventStep, kStepNormal);
  game.On(rooms.b, kEventStep, kStepBegin);
  int a1 = game.Place(rooms.r, rooms.a), b1 = game.Place(rooms.r, rooms.b), b2 = game.Place(rooms.s, rooms.b);
  ASSERT_TRUE(game.Start());
  game.TakeTrace();
  EXPECT_FALSE(game.Frame());
  EXPECT_EQ(game.canvas.framesBegun, 0);
  EXPECT_EQ(game.TakeTrace(), (Trace{At("A_Step_1", a1), At("A_Other_5", a1), At("B_Other_5", b1),
                                     At("B_PreCreate_0", b2), At("B_Create_0", b2), At("B_Other_4", b2)}));
  EXPECT_EQ(CurrentRoom()->index, rooms.s);
  EXPECT_EQ(Instance(a1), nullptr) << "a non-persistent room is released";
  EXPECT_NE(game.log.find("Room switch from r to s\n"), std::string::npos);
  EXPECT_TRUE(game.Frame());
}

TEST(Rooms, GoingToTheCurrentRoomRebuildsIt) {
  TwoRooms rooms;
  TestGame& game = rooms.game;
  game.On(rooms.a, kEventStep, kStepNormal, [](KslFrame& f) {
    if (!IsUnset(f.Var(g_varCount))) return;
    f.SetVar(g_varCount, 5);
    f.Call(g_fnRoomRestart);
  });
  int a1 = game.Place(rooms.r, rooms.a);
  ASSERT_TRUE(game.Start());
  game.TakeTrace();
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{At("A_Step_0", a1), At("A_Other_5", a1), At("A_PreCreate_0", a1),
                                     At("A_Create_0", a1), At("A_Other_4", a1)}));
  EXPECT_TRUE(IsUnset(*Instance(a1)->GetVarRef(g_varCount.slot))) << "its variables start afresh";
}

TEST(Rooms, APersistentRoomKeepsItsInstancesAndRunsRoomStartButNoCreateAgain) {
  TwoRooms rooms(true);
  TestGame& game = rooms.game;
  game.On(rooms.a, kEventStep, kStepNormal, [](KslFrame& f) { f.SetVar(g_varCount, 7); });
  game.On(rooms.a, kEventAlarm, 0);
  int a1 = game.Place(rooms.r, rooms.a);
  ASSERT_TRUE(game.Start());
  CInstance* stored = Instance(a1);
  stored->alarms[0] = 2;
  game.Frame();  // Step sets count; the alarm counts to 1
  GoTo(rooms.s);
  EXPECT_EQ(Instance(a1), nullptr) << "out of the world while its room is stored";
  EXPECT_EQ(FindObject(rooms.a)->instances.Count(), 0);
  game.Frames(3);  // nothing runs for the stored instance
  game.TakeTrace();
  GoTo(rooms.r);
  EXPECT_EQ(Instance(a1), stored);
  EXPECT_EQ(game.TakeTrace(), Trace{At("A_Other_4", a1)});
  EXPECT_EQ(ToReal(*stored->GetVarRef(g_varCount.slot)), 7);
  game.Frame();
  EXPECT_EQ(game.Calls("A_Alarm_0"), Ids{a1});
}

TEST(Rooms, PersistentInstancesAreCarriedWithoutANewCreate) {
  TwoRooms rooms;
  TestGame& game = rooms.game;
  int k = game.Place(rooms.r, rooms.keeper), b2 = game.Place(rooms.s, rooms.b), k2 = game.Place(rooms.s, rooms.keeper);
  ASSERT_TRUE(game.Start());
  CInstance* carried = Instance(k);
  game.TakeTrace();
  GoTo(rooms.s);
  EXPECT_EQ(CurrentRoom()->instances.First(), carried) << "carried instances go in front";
  EXPECT_EQ(FindObject(rooms.keeper)->instances.First(), carried) << "an object's instances are in creation order";
  EXPECT_EQ(game.TakeTrace(),
            (Trace{At("Keeper_Other_5", k), At("B_PreCreate_0", b2), At("B_Create_0", b2), At("Keeper_PreCreate_0", k2),
                   At("Keeper_Create_0", k2), At("B_Other_4", b2), At("Keeper_Other_4", k), At("Keeper_Other_4", k2)}));
  GoTo(rooms.r);
  EXPECT_EQ(Instance(k), carried) << "its own room record is skipped when it comes back";
  EXPECT_EQ(FindObject(rooms.keeper)->instances.Count(), 2);
}

TEST(Rooms, ACreateThatChangesRoomInTheFirstRoomSwitchesAtOnce) {
  TwoRooms rooms;
  TestGame& game = rooms.game;
  int leaver = game.AddObject("Leaver");
  game.On(leaver, kEventCreate, 0, [](KslFrame& f) { f.Call(g_fnRoomGoto, 1.0); });
  game.Place(rooms.r, leaver);
  int a1 = game.Place(rooms.r, rooms.a), b2 = game.Place(rooms.s, rooms.b);
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(game.Calls("A_Create_0"), Ids{}) << "the remaining non-persistent instances get no Create";
  EXPECT_EQ(game.Calls("A_Other_5"), Ids{a1}) << "Room End is delivered";
  EXPECT_EQ(game.Calls("B_Create_0"), Ids{b2});
  EXPECT_EQ(CurrentRoom()->index, rooms.s);
}

TEST(Rooms, AnUnexistingRoomIsReportedAndAbortsTheGame) {
  TwoRooms rooms;
  TestGame& game = rooms.game;
  game.On(rooms.a, kEventStep, kStepNormal, [](KslFrame& f) {
    f.Call(g_fnRoomGoto, 99.0);
    ADD_FAILURE() << "the report unwinds the handler";
  });
  game.Place(rooms.r, rooms.a);
  ASSERT_TRUE(game.Start());
  game.Frame();
  EXPECT_NE(game.log.find("of  Step Event0 for object A:\nUnexisting room number: 99"), std::string::npos) << game.log;
  EXPECT_EQ(game.fatalExitCodes, Ids{1});
  EXPECT_EQ(std::pair(g_gameRunning, g_exitCode), std::pair(false, 1));
}

TEST(Rooms, GameEndRunsRoomEndAndGameEndAndRefusesFurtherRoomChanges) {
  TwoRooms rooms;
  TestGame& game = rooms.game;
  game.On(rooms.keeper, kEventCleanUp, 0);
  game.On(rooms.a, kEventOther, kOtherGameEnd);
  game.On(rooms.a, kEventCleanUp, 0);
  game.On(rooms.a, kEventStep, kStepNormal, [](KslFrame& f) {
    f.Call(g_fnGameEnd, 5.0);
    f.Call(g_fnRoomGoto, 1.0);
  });
  int a1 = game.Place(rooms.r, rooms.a), k = game.Place(rooms.r, rooms.keeper);
  ASSERT_TRUE(game.Start());
  game.TakeTrace();
  game.Frame();
  EXPECT_EQ(std::pair(g_gameRunning, g_exitCode), std::pair(false, 5));
  EXPECT_NE(game.log.find("###game_end###5\nUnable to change room when exiting the game\n"), std::string::npos);
  EXPECT_EQ(game.TakeTrace(), Trace{At("A_Step_0", a1)});
  EndGameRooms();
  EXPECT_EQ(game.TakeTrace(), (Trace{At("A_Other_5", a1), At("Keeper_Other_5", k), At("A_Other_3", a1),
                                     At("Keeper_CleanUp_0", k), At("A_CleanUp_0", a1)}));
  EXPECT_EQ(CurrentRoom(), nullptr);
  EXPECT_EQ(Instance(k), nullptr);
}

TEST(Rooms, RoomStepsFollowTheRoomOrderAndGameRestartStartsAgainFromTheFirstRoom) {
  TwoRooms rooms;
  TestGame& game = rooms.game;
  game.AddRoom("t");
  std::vector<double> neighbours;
  int bSteps = 0;
  game.On(rooms.a, kEventOther, kOtherGameStart);
  game.On(rooms.b, kEventStep, kStepNormal,
          [&](KslFrame& f) { f.Call(++bSteps == 1 ? g_fnRoomGotoPrevious : g_fnGameRestart); });
  game.On(rooms.a, kEventStep, kStepNormal, [&](KslFrame& f) {
    for (double room : {0.0, 2.0}) neighbours.push_back(ToReal(f.Call(g_fnRoomNext, room)));
    for (double room : {1.0, 0.0}) neighbours.push_back(ToReal(f.Call(g_fnRoomPrevious, room)));
    f.Call(g_fnRoomGotoNext);
  });
  int a1 = game.Place(rooms.r, rooms.a);
  game.Place(rooms.s, rooms.b);
  ASSERT_TRUE(game.Start());
  std::vector<int> visited;
  for (int frame = 0; frame < 4; ++frame) {
    game.Frame();
    visited.push_back(CurrentRoom()->index);
  }
  EXPECT_EQ(visited, (std::vector<int>{1, 0, 1, 0}));
  EXPECT_EQ(std::vector<double>(neighbours.begin(), neighbours.begin() + 4), (std::vector<double>{1, -1, 0, -1}));
  EXPECT_EQ(game.Calls("A_Other_2"), (Ids{a1, a1})) << "Game Start again after the restart only";
  EXPECT_TRUE(g_gameRunning);
}

TEST(Rooms, AnInstanceDestroyedInItsStepFinishesItAndReceivesNothingMore) {
  TestGame game;
  int a = game.AddObject("A");
  bool finished = false;
  game.On(a, kEventStep, kStepNormal, [&](KslFrame& f) {
    DestroyInstance(f.Self());
    DestroyInstance(f.Self());  // once only
    finished = true;
  });
  for (auto [type, number] : {std::pair{kEventDestroy, 0}, {kEventCleanUp, 0}, {kEventStep, kStepEnd}, {kEventDraw, 0}})
    game.On(a, type, number);
  int room = game.AddRoom("r");
  game.Place(room, a);
  game.Place(room, a);
  ASSERT_TRUE(game.Start());
  game.Frame();
  EXPECT_TRUE(finished);
  EXPECT_EQ(game.TakeTrace(),
            (Trace{"A_Step_0 1", "A_Destroy_0 1", "A_CleanUp_0 1", "A_Step_0 2", "A_Destroy_0 2", "A_CleanUp_0 2"}));
  EXPECT_EQ(Instance(1), nullptr);
  EXPECT_EQ(CurrentRoom()->instances.Count(), 0);
}

TEST(Rooms, RoomCreationCodeRunsOnceWithItsOwnEventStateAndErrorContext) {
  TestGame game;
  int a = game.AddObject("A");
  game.On(a, kEventCreate, 0);
  std::vector<double> state;
  int code = game.AddCode("ksl_RoomCreation_r", [&](KslFrame& f) {
    state = {double(CurrentEventState().type), double(CurrentEventState().number)};
    ReportRuntimeError("bad start");
  });
  int room = game.AddRoom("r");
  game.Room(room).creationCodeIndex = code;
  game.Place(room, a);
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(state, (std::vector<double>{-2, -1}));
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_Create_0 1", "ksl_RoomCreation_r 0"}));
  EXPECT_NE(game.log.find("FATAL ERROR in Room Creation Code for room r\n\n\nbad start\n"), std::string::npos);
  EXPECT_EQ(CurrentEventState().type, 0);
}

TEST(Rooms, LiveInstancesKeepWhatTheyReferToThroughCollections) {
  GCCollect();  // garbage of earlier tests
  TwoRooms rooms(true);
  TestGame& game = rooms.game;
  auto makeArray = [](KslFrame& f) {
    SetReal(MakeArray(*f.Self()->GetVarRefForWrite(g_varCount.slot), 3)->elements[2], 42);
  };
  game.On(rooms.keeper, kEventStep, kStepNormal, makeArray);
  game.On(rooms.a, kEventStep, kStepNormal, makeArray);
  int a1 = game.Place(rooms.r, rooms.a), k = game.Place(rooms.r, rooms.keeper);
  ASSERT_TRUE(game.Start());
  game.Frame();
  CInstance* stored = Instance(a1);
  GoTo(rooms.s);  // a1 is stored with room r, k is carried
  size_t live = GCObjectCount();
  GCCollect();
  EXPECT_EQ(GCObjectCount(), live);
  for (CInstance* holder : {stored, Instance(k)}) {
    RValue* value = holder->GetVarRef(g_varCount.slot);
    ASSERT_EQ(KindOf(*value), uint32_t(VALUE_ARRAY));
    EXPECT_EQ(value->arr->elements[2].real, 42);
  }
  GoTo(rooms.r);
  game.Room(rooms.r).persistent = false;
  GoTo(rooms.s);  // room r is released now, and a1 with it
  live = GCObjectCount();
  GCCollect();
  EXPECT_EQ(GCObjectCount(), live - 1) << "the freed instance's array is collected, the carried one's kept";
}

TEST(Rooms, DuplicateRecordIdsGetFreshIds) {
  TestGame game;
  int a = game.AddObject("A");
  game.On(a, kEventCreate, 0);
  int room = game.AddRoom("r");
  game.Place(room, a);
  game.Place(room, a);
  game.Room(room).instances[1].id = 1;
  ASSERT_TRUE(game.Start());
  std::vector<int> created = game.Calls("A_Create_0");
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(created[0], 1) << "the first record keeps its id";
  EXPECT_NE(created[1], 1);
}
}  // namespace
