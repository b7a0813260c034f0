#include <vector>

#include "engine/frame_step.h"
#include "engine/rooms.h"
#include "engine/sprites.h"
#include "test_game.h"

namespace {
TEST(Draw, InstancesAreDrawnFromTheGreatestDepthInRoomOrder) {
  TestGame game;
  int drawn = game.AddObject("Drawn"), plain = game.AddObject("Plain"), hidden = game.AddObject("Hidden");
  int sprite = game.AddSprite(8, 8);
  game.Object(plain).spriteIndex = sprite;
  game.Object(hidden).spriteIndex = sprite;
  game.Object(hidden).visible = false;
  game.On(drawn, kEventDraw, 0, [&](KslFrame& f) { game.canvas.defaultDrawn.push_back(-f.Self()->id); });
  game.On(hidden, kEventStep, kStepNormal);
  int noSprite = game.AddObject("NoSprite");
  int room = game.AddRoom("r");
  game.Room(room).backgroundColour = 0x123456;
  int p1 = game.Place(room, plain), d1 = game.Place(room, drawn), p2 = game.Place(room, plain);
  game.Place(room, hidden);
  game.Place(room, noSprite);
  game.Object(drawn).depth = 10;
  ASSERT_TRUE(game.Start());
  Instance(p2)->depth = 20;
  EXPECT_TRUE(game.Frame());
  EXPECT_EQ(game.canvas.framesBegun, 1);
  EXPECT_EQ(game.canvas.lastBackground, 0x123456u);
  EXPECT_EQ(game.canvas.defaultDrawn, (std::vector<int32_t>{p2, -d1, p1}))
      << "depth 20, then 10, then 0; the hidden one and the one without sprite draw nothing";
}

TEST(Draw, PreDrawComesBeforeTheBackgroundWhichOnlyARoomThatClearsPaints) {
  TestGame game;
  int a = game.AddObject("A");
  std::vector<bool> clearedWhenDrawing;
  for (int pass : {kDrawPre, kDrawBegin})
    game.On(a, kEventDraw, pass, [&](KslFrame&) { clearedWhenDrawing.push_back(game.canvas.backgroundCleared); });
  int clears = game.AddRoom("clears"), keeps = game.AddRoom("keeps");
  game.Room(keeps).clearDisplay = false;
  game.Place(clears, a);
  game.Place(keeps, a);
  ASSERT_TRUE(game.Start());
  game.Frame();
  EXPECT_EQ(clearedWhenDrawing, (std::vector<bool>{false, true}));
  SetPendingRoom(keeps);
  ActOnPendingRoom();
  clearedWhenDrawing.clear();
  game.Frame();
  EXPECT_EQ(clearedWhenDrawing, (std::vector<bool>{false, false}));
}

TEST(Draw, AnimationAdvancesWrapsAndRaisesAnimationEnd) {
  TestGame game;
  int a = game.AddObject("A");
  int sprite = game.AddSprite(4, 4);
  game.data.sprites[size_t(sprite)].frames.resize(3, Image(4, 4));
  game.Object(a).spriteIndex = sprite;
  game.On(a, kEventOther, kOtherAnimationEnd);
  int still = game.AddObject("Still");  // no sprite, so no animation to end
  game.On(still, kEventOther, kOtherAnimationEnd);
  int room = game.AddRoom("r");
  int a1 = game.Place(room, a, 5, 6), a2 = game.Place(room, a);
  game.Place(room, still);
  ASSERT_TRUE(game.Start());
  Instance(a1)->imageSpeed = 1.5f;
  Instance(a2)->imageSpeed = -1.0f;
  Instance(a1)->SetPosition(7, 8);
  game.Frame();
  EXPECT_FLOAT_EQ(Instance(a1)->imageIndex, 1.5f);
  EXPECT_FLOAT_EQ(Instance(a2)->imageIndex, 2.0f) << "below 0 wraps by adding the frame count";
  EXPECT_EQ(game.Calls("A_Other_7"), std::vector<int>{a2});
  EXPECT_TRUE(game.Calls("Still_Other_7").empty());
  EXPECT_EQ(Instance(a1)->xPrevious, 7.0f);
  game.TakeTrace();
  game.Frame();
  EXPECT_FLOAT_EQ(Instance(a1)->imageIndex, 0.0f);
  EXPECT_EQ(game.Calls("A_Other_7"), std::vector<int>{a1});

  game.data.sprites[size_t(sprite)].speedInFramesPerSecond = true;
  game.data.sprites[size_t(sprite)].playbackSpeed = 30;  // half a frame per step at speed 60
  Instance(a1)->imageSpeed = 1;
  game.Frame();
  EXPECT_FLOAT_EQ(Instance(a1)->imageIndex, 0.5f);
}
}  // namespace
