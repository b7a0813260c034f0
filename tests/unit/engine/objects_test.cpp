#include "engine/objects.h"

#include <map>
#include <random>
#include <vector>

#include "engine/event_lists.h"
#include "engine/event_map.h"
#include "engine/game_world.h"
#include "test_game.h"

namespace {
TEST(EventMap, AKeyWhoseHashWouldBeTheEmptyMarkerIsStoredAndFound) {
  constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C55ull;
  // A key whose product has 0x7FFFFFFF in bits 32-62 would hash to the empty
  // marker; it must still be stored and found.
  uint64_t inverse = kMultiplier;  // Newton's iteration for the inverse modulo 2^64
  for (int i = 0; i < 6; ++i) inverse *= 2 - kMultiplier * inverse;
  uint64_t unlucky = (uint64_t(0x7FFFFFFF) << 32 | 12345) * inverse;
  ASSERT_EQ(unlucky * kMultiplier >> 32, 0x7FFFFFFFu);
  EXPECT_NE(EventMap::HashOf(unlucky), 0u);
  EventMap map;
  CEvent event;
  map.Insert(unlucky, &event);
  EXPECT_EQ(map.Find(unlucky), &event);
  EXPECT_EQ(map.Count(), 1u);
}

TEST(EventMap, FindsEveryKeyThroughGrowthAndReplacesInPlace) {
  EventMap map;
  std::vector<CEvent> events(300);
  std::map<uint64_t, CEvent*> reference;
  std::mt19937_64 random(7);
  for (size_t i = 0; i < events.size(); ++i) {
    uint64_t key = EventKey(int32_t(random() % 15), int32_t(random() % 130));
    map.Insert(key, &events[i]);
    reference[key] = &events[i];
    EXPECT_LE(double(map.Count()), 0.6 * double(map.Capacity()));
  }
  EXPECT_EQ(map.Count(), reference.size());
  for (auto [key, event] : reference) EXPECT_EQ(map.Find(key), event);
  EXPECT_EQ(map.Find(EventKey(99, 0)), nullptr);
  size_t visited = 0;
  map.ForEach([&](uint64_t key, CEvent* event) {
    EXPECT_EQ(reference.at(key), event);
    ++visited;
  });
  EXPECT_EQ(visited, reference.size());

  EventMap small;
  EXPECT_EQ(small.Capacity(), 8u);
  for (int n = 0; n < 5; ++n) small.Insert(EventKey(kEventAlarm, n), &events[size_t(n)]);
  EXPECT_EQ(small.Capacity(), 16u) << "the fifth entry exceeds 0.6 × 8";
  small.Insert(EventKey(kEventAlarm, 2), &events[9]);
  EXPECT_EQ(small.Count(), 5u);
  EXPECT_EQ(small.Find(EventKey(kEventAlarm, 2)), &events[9]);
}

TEST(Objects, DefinitionsInheritTheNearestHandlerAndListOnlyHandlersWithCode) {
  TestGame game;
  int grand = game.AddObject("Grand");
  int parent = game.AddObject("Parent", grand);
  int child = game.AddObject("Child", parent);
  int orphan = game.AddObject("Orphan", 100000);
  game.On(grand, kEventStep, kStepNormal);
  game.On(grand, kEventDraw, 0);
  game.On(parent, kEventStep, kStepNormal);
  game.On(child, kEventCreate, 0);
  game.OnWithoutCode(child, kEventDraw, 0);
  game.OnWithoutCode(orphan, kEventAlarm, 3);
  game.AddRoom("r");
  ASSERT_TRUE(game.Start());

  const CObjectDef* childDef = FindObject(child);
  EXPECT_EQ(childDef->parent, FindObject(parent));
  EXPECT_EQ(FindObject(parent)->children, std::vector<CObjectDef*>{FindObject(child)});
  EXPECT_EQ(FindObject(orphan)->parent, nullptr) << "100000 and above mean no parent";
  EXPECT_EQ(childDef->FindEvent(kEventStep, 0)->owner, parent);
  EXPECT_EQ(childDef->FindEvent(kEventStep, 0), FindObject(parent)->FindEvent(kEventStep, 0)) << "shared, not copied";
  EXPECT_EQ(childDef->FindEvent(kEventDraw, 0)->owner, child) << "its own entry wins, even without code";
  EXPECT_EQ(childDef->FindEvent(kEventDraw, 0)->code, nullptr);

  EXPECT_EQ(EventObjectList(kEventStep, 0), (std::vector<int32_t>{grand, parent, child}));
  EXPECT_EQ(EventObjectList(kEventDraw, 0), (std::vector<int32_t>{grand, parent}));
  EXPECT_EQ(EventObjectList(kEventAlarm, 3), (std::vector<int32_t>{orphan})) << "alarms are listed without code";
  EXPECT_TRUE(EventObjectList(kEventCreate, 1).empty());
  EXPECT_TRUE(EventObjectList(kEventCollision, 0).empty());
  EXPECT_TRUE(EventObjectList(kEventKeyPress, 200).empty());

  EXPECT_EQ(ObjectCount(), 5);
  EXPECT_EQ(InternalObjectIndex(), 4);
  EXPECT_EQ(FindObject(4)->name, "__internal_object_4");
  EXPECT_NE(game.log.find("Preparing 4 objects:\n"), std::string::npos);
}

TEST(Objects, AParentCycleInTheDataIsBrokenInsteadOfLooping) {
  TestGame game;
  int a = game.AddObject("A", 1);
  int b = game.AddObject("B", 0);
  int c = game.AddObject("C", 2);
  game.On(b, kEventStep, kStepNormal);
  game.AddRoom("r");
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(FindObject(a)->parent, FindObject(b));
  EXPECT_EQ(FindObject(b)->parent, nullptr);
  EXPECT_EQ(FindObject(c)->parent, nullptr);
  ASSERT_NE(FindObject(a)->FindEvent(kEventStep, 0), nullptr) << "A still inherits from B";
  EXPECT_EQ(FindObject(a)->FindEvent(kEventStep, 0)->owner, b);
  EXPECT_EQ(FindObject(c)->FindEvent(kEventStep, 0), nullptr);
}

TEST(Objects, CodeThatTheProgramDoesNotHaveStopsThePreparation) {
  TestGame game;
  int a = game.AddObject("A");
  game.Object(a).events.push_back(EventBinding{kEventCreate, 0, 40});
  game.AddRoom("r");
  EXPECT_FALSE(LoadGame(game.data, game.BuildLink()));
  EXPECT_NE(game.log.find("Failed to compile the actions in the objects.\n"), std::string::npos);
  EXPECT_EQ(ObjectCount(), 0);

  TestGame rooms;
  rooms.Room(rooms.AddRoom("r")).creationCodeIndex = 3;
  EXPECT_FALSE(LoadGame(rooms.data, rooms.BuildLink()));
  EXPECT_NE(rooms.log.find("Failed to prepare the rooms.\n"), std::string::npos);
}
}  // namespace
