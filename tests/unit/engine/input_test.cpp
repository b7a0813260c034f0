#include <string>
#include <vector>

#include "engine/input_state.h"
#include "engine/platform.h"
#include "engine/rooms.h"
#include "engine/sprites.h"
#include "runtime/function_table.h"
#include "test_game.h"

namespace {
using Trace = std::vector<std::string>;
using Type = InputEvent::Type;

InputEvent Key(Type type, int key, bool repeat = false, bool extended = false) {
  return {.type = type, .key = key, .repeat = repeat, .extended = extended};
}
InputEvent Button(Type type, int x, int y, int button = 1) { return {.type = type, .button = button, .x = x, .y = y}; }
InputEvent Wheel(int delta) { return {.type = Type::Wheel, .wheelDelta = delta}; }
InputEvent MoveTo(int x, int y) { return {.type = Type::MouseMove, .x = x, .y = y}; }
std::vector<InputEvent> Click(int x, int y, int button = 1) {
  return {Button(Type::ButtonDown, x, y, button), Button(Type::ButtonUp, x, y, button)};
}

// One frame: the input that arrived before it and the handlers it runs.
struct Step {
  std::vector<InputEvent> input;
  Trace expected;
  bool windowVisible = true;
};

void Play(TestGame& game, const std::vector<Step>& steps) {
  for (size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i + 1));
    for (const InputEvent& event : steps[i].input) ApplyInputEvent(event);
    game.Frame(steps[i].windowVisible);
    EXPECT_EQ(game.TakeTrace(), steps[i].expected);
  }
}

TEST(Input, KeyEventsPressOnceHoldEveryFrameAndIgnoreCodesPastTheLists) {
  TestGame game;
  int a = game.AddObject("A"), b = game.AddObject("B");
  for (auto [type, key] : {std::pair{kEventKeyPress, 27},
                           {kEventKeyboard, 27},
                           {kEventKeyRelease, 27},
                           {kEventKeyPress, 200},
                           {kEventKeyboard, 129},
                           {kEventKeyPress, kAnyKey}})
    game.On(a, type, key);
  for (auto [type, key] : {std::pair{kEventKeyPress, 27}, {kEventKeyPress, kNoKey}, {kEventKeyboard, kAnyKey}})
    game.On(b, type, key);
  int room = game.AddRoom("r");
  game.Place(room, a);
  game.Place(room, b);
  ASSERT_TRUE(game.Start());
  Play(game, {{{Key(Type::KeyDown, 27)},
               {"A_Keyboard_27 1", "A_KeyPress_27 1", "B_KeyPress_27 2", "B_Keyboard_1 2", "A_KeyPress_1 1"}},
              {{Key(Type::KeyDown, 27, true), Key(Type::KeyDown, 27)},
               {"A_Keyboard_27 1", "B_Keyboard_1 2", "B_KeyPress_0 2"}},
              {{Key(Type::KeyUp, 27)}, {"A_KeyRelease_27 1", "B_KeyPress_0 2"}},
              {{Key(Type::KeyDown, 200), Key(Type::KeyDown, 129), Key(Type::KeyDown, 300), Key(Type::KeyDown, 229)},
               {"B_Keyboard_1 2", "A_KeyPress_1 1"}}});
  EXPECT_TRUE(CurrentInput().keys.down[200]);
  EXPECT_FALSE(CurrentInput().keys.down[229]);
}

TEST(Input, CurrentAndLastKeyAndSideSpecificModifiers) {
  TestGame game;
  game.AddRoom("r");
  ASSERT_TRUE(game.Start());
  const FrameInput& input = CurrentInput();
  auto frame = [](std::vector<InputEvent> events) {
    for (const InputEvent& event : events) ApplyInputEvent(event);
    UpdateInput();
  };
  frame({Key(Type::KeyDown, 'A'), Key(Type::KeyDown, 'B')});
  EXPECT_EQ(input.keyboardKey, 'B');
  frame({Key(Type::KeyUp, 'B')});
  EXPECT_EQ(std::pair(input.keyboardKey, input.keyboardLastKey), std::pair(int('A'), int('B')))
      << "back to the key still held";
  frame({Key(Type::KeyUp, 'A')});
  EXPECT_EQ(input.keyboardKey, 0);

  const KeyStates& keys = input.keys;
  frame({Key(Type::KeyDown, 18, false, true), Key(Type::KeyDown, 17), Key(Type::KeyDown, 16, false, true)});
  EXPECT_EQ((std::vector<bool>{keys.down[18], keys.down[165], keys.down[164], keys.pressed[165], keys.down[17],
                               keys.down[162], keys.down[163], keys.down[16], keys.down[161], keys.down[160],
                               keys.pressed[161]}),
            (std::vector<bool>{true, true, false, true, true, true, false, true, true, false, true}));
  frame({Key(Type::KeyUp, 18, false, true)});
  EXPECT_TRUE(keys.released[165] && !keys.down[165]);
  frame({Key(Type::KeyUp, 16, false, true), Key(Type::KeyDown, 16)});
  EXPECT_TRUE(keys.released[161] && keys.pressed[160] && keys.down[160] && !keys.down[161]);
}

TEST(Input, TypedCharactersAndActivation) {
  TestGame game;
  game.AddRoom("r");
  ASSERT_TRUE(game.Start());
  const FrameInput& input = CurrentInput();
  auto type = [](uint32_t c) { ApplyInputEvent({.type = Type::Character, .character = c}); };
  for (uint32_t c : {uint32_t('Z'), 0x105u, 0x17Cu, 0x1F600u, 13u, 8u}) type(c);
  UpdateInput();
  UpdateInput();
  EXPECT_EQ(input.keyboardString, "Z\xC4\x85\xC5\xBC")
      << "backspace took back the emoji, CR was not stored, the text stays from frame to frame";

  ClearAllInput();
  for (int i = 0; i < 1030; ++i) type(i < 10 ? 'a' : 'b');
  UpdateInput();
  EXPECT_EQ(input.keyboardString, std::string(3, 'a') + std::string(1020, 'b')) << "the oldest characters make room";

  ApplyInputEvent(Key(Type::KeyDown, 'K'));
  ApplyInputEvent(Button(Type::ButtonDown, 5, 5, 2));
  ApplyInputEvent({.type = Type::Activate});
  UpdateInput();
  EXPECT_TRUE(!input.keys.down['K'] && !input.keys.pressed['K'] && input.keyboardKey == 0);
  EXPECT_EQ(input.keyboardString, "");
  EXPECT_TRUE(input.mouse.down[1]) << "mouse buttons survive an activation";
  EXPECT_EQ(input.mouseButton, 2);
}

// A's 16 × 16 sprite at (10, 10) covers [10, 26) × [10, 26); B takes the global events.
TEST(Input, MouseEventsFollowTheButtonsTheWheelAndTheBox) {
  TestGame game;
  int a = game.AddObject("A"), b = game.AddObject("B");
  game.Object(a).spriteIndex = game.AddSprite(16, 16);
  for (int number : {kMouseLeftPressed, kMouseLeftReleased, kMouseLeftReleased + 1, kMouseLeftReleased + 2,
                     kMouseLeftButton, kMouseNoButton})
    game.On(a, kEventMouse, number);
  for (int number : {kMouseGlobalLeftReleased, kMouseGlobalLeftReleased + 1, kMouseGlobalLeftReleased + 2,
                     kMouseGlobalLeftPressed, kMouseAnyReleased, kMouseWheelUp, kMouseWheelDown})
    game.On(b, kEventMouse, number);
  int room = game.AddRoom("r");
  game.Place(room, a, 10, 10);
  game.Place(room, b);
  ASSERT_TRUE(game.Start());
  const Trace clickOnA = {"A_Mouse_3 1", "A_Mouse_7 1", "B_Mouse_13 2", "B_Mouse_56 2"};
  const Trace clickBeside = {"B_Mouse_13 2", "B_Mouse_56 2"};
  Play(game, {{Click(12, 12), clickOnA},  // a press and release between frames is a release only
              {{Button(Type::ButtonDown, 12, 12)}, {"A_Mouse_4 1", "B_Mouse_53 2", "A_Mouse_0 1"}},
              {{}, {"A_Mouse_0 1"}},
              {{Button(Type::ButtonUp, 40, 40)}, clickBeside},
              {Click(25, 25), clickOnA},
              {Click(10, 10), clickOnA},
              {Click(12, 12, 2), {"A_Mouse_3 1", "A_Mouse_8 1", "B_Mouse_13 2", "B_Mouse_57 2"}},
              {Click(12, 12, 3), {"A_Mouse_3 1", "A_Mouse_9 1", "B_Mouse_13 2", "B_Mouse_58 2"}},
              {Click(26, 15), clickBeside},  // the right and bottom edges are outside
              {Click(15, 26), clickBeside},
              {Click(9, 15), clickBeside},
              {{Wheel(120), Wheel(120), Wheel(0)}, {"B_Mouse_60 2"}},  // one event a frame
              {{Wheel(-1)}, {"B_Mouse_61 2"}},
              {{}, {}},
              {Click(12, 12), {}, false}});  // nothing while the window is hidden
}

TEST(Input, OverlappingInstancesReceiveTheLocalReleaseByObjectThenTheGlobalOne) {
  TestGame game;
  int a = game.AddObject("A"), b = game.AddObject("B");
  int sprite = game.AddSprite(10, 10);
  for (int object : {a, b}) {
    game.Object(object).spriteIndex = sprite;
    game.On(object, kEventMouse, kMouseLeftReleased);
    game.On(object, kEventMouse, kMouseGlobalLeftReleased);
  }
  int room = game.AddRoom("r");
  game.Place(room, b, 0, 0);
  game.Place(room, a, 5, 5);
  game.Place(room, a, 50, 50);
  ASSERT_TRUE(game.Start());
  Play(game, {{Click(7, 7), {"A_Mouse_7 2", "B_Mouse_7 1", "A_Mouse_56 2", "A_Mouse_56 3", "B_Mouse_56 1"}}});
}

TEST(Input, ADialogThatClearsTheInputStopsTheClickFromRaisingMore) {
  TestGame game;
  int a = game.AddObject("A"), b = game.AddObject("B");
  game.Object(a).spriteIndex = game.AddSprite(10, 10);
  game.On(a, kEventMouse, kMouseLeftReleased, [](KslFrame&) { ClearAllInput(); });
  game.On(b, kEventMouse, kMouseGlobalLeftReleased);
  game.On(b, kEventKeyPress, 27);
  int room = game.AddRoom("r");
  game.Place(room, a);
  game.Place(room, b);
  ASSERT_TRUE(game.Start());
  std::vector<InputEvent> input = Click(1, 1);
  input.insert(input.end(), {Key(Type::KeyDown, 27), Key(Type::KeyUp, 27)});
  Play(game, {{input, {"B_KeyPress_27 2", "A_Mouse_7 1"}}});
}

TEST(Input, MouseEnterAndLeave) {
  TestGame game;
  int a = game.AddObject("A");
  game.Object(a).spriteIndex = game.AddSprite(10, 10);
  game.On(a, kEventMouse, kMouseEnter);
  game.On(a, kEventMouse, kMouseLeave);
  game.Place(game.AddRoom("r"), a, 20, 20);
  ASSERT_TRUE(game.Start());
  Play(game, {{{MoveTo(5, 5)}, {}},
              {{MoveTo(25, 25)}, {"A_Mouse_10 1"}},
              {{MoveTo(26, 26)}, {}},
              {{MoveTo(40, 40)}, {"A_Mouse_11 1"}},
              {{MoveTo(41, 41)}, {}}});
}

TEST(Input, MouseRoomPositionScalesTheClientAreaToTheRoom) {
  TestGame game;
  int room = game.AddRoom("r");
  game.Room(room).width = 400;
  game.Room(room).height = 300;
  std::vector<double> seen;
  int a = game.AddObject("A");
  game.On(a, kEventStep, kStepNormal, [&](KslFrame& f) {
    seen.push_back(ToReal(f.Get(g_varMouseX)));
    seen.push_back(ToReal(f.Get(g_varMouseY)));
  });
  game.Place(room, a);
  ASSERT_TRUE(game.Start());
  SetWindowClientSize(800, 600);
  ApplyInputEvent(MoveTo(101, 51));
  game.Frame();
  SetWindowClientSize(400, 300);
  game.Frame();
  EXPECT_EQ(seen, (std::vector<double>{50, 25, 101, 51}));
}

TEST(Input, KeyMapBuiltins) {
  TestGame game;
  int a = game.AddObject("A");
  game.On(a, kEventKeyPress, 'B');
  game.Place(game.AddRoom("r"), a);
  ASSERT_TRUE(game.Start());
  auto call = [](const char* name, const auto&... args) {
    SymbolEntry function{name, FindFunctionIndex(name)};
    KslFrame frame("test", Instance(1), nullptr);
    frame.Call(function, args...);
  };
  call("keyboard_set_map", double('A'), double('B'));
  Play(game, {{{Key(Type::KeyDown, 'A')}, {"A_KeyPress_66 1"}}});
  ApplyInputEvent(Key(Type::KeyUp, 'A'));
  call("keyboard_unset_map");
  Play(game, {{{Key(Type::KeyDown, 'A')}, {}}});
}

// The hit test on its own: a 20 × 10 sprite with its origin at (10, 5), at (50, 50).
struct HitTest : ::testing::Test {
  Sprite sprite;
  CInstance instance{1, 0, 50, 50};
  std::vector<Sprite> sprites;
  void SetUp() override {
    sprite.width = 20;
    sprite.height = 10;
    sprite.originX = 10;
    sprite.originY = 5;
    sprite.bboxRight = 19;
    sprite.bboxBottom = 9;
    sprite.frames.emplace_back(20, 10);
    instance.spriteIndex = 0;
  }
  void TearDown() override { SetGameSprites(nullptr); }
  bool Hit(double x, double y) {
    sprites = {sprite};
    SetGameSprites(&sprites);
    return InstanceHit(instance, x, y);
  }
};

TEST_F(HitTest, ScaleOriginAndRotationPlaceTheShape) {
  struct Case {
    float xScale, angle;
    CollisionKind kind;
    double x, y;
    bool hit;
  };
  constexpr CollisionKind kBox = CollisionKind::BoundingBox, kTurned = CollisionKind::RotatedRect;
  for (const Case& c : std::vector<Case>{{1, 0, kBox, 40, 45, true},
                                         {1, 0, kBox, 60, 50, false},
                                         {1, 0, kBox, 59, 54, true},
                                         {2, 0, kBox, 30, 50, true},
                                         {2, 0, kBox, 70, 50, false},
                                         {2, 0, kBox, 29, 50, false},
                                         {-1, 0, kBox, 40, 50, true},
                                         {-1, 0, kBox, 60, 50, false},
                                         {0, 0, kBox, 50, 50, false},
                                         {1, 45, kBox, 55, 55, true},
                                         {1, 45, kTurned, 50, 50, true},
                                         {1, 45, kTurned, 55, 45, true},
                                         {1, 45, kTurned, 55, 55, false},
                                         {1, 90, kTurned, 50, 58, true},
                                         {1, 90, kTurned, 58, 50, false}}) {
    SCOPED_TRACE(::testing::Message() << "scale " << c.xScale << ", angle " << c.angle << " at " << c.x << "," << c.y);
    instance.imageXScale = c.xScale;
    instance.imageAngle = c.angle;
    sprite.collision = c.kind;
    EXPECT_EQ(Hit(c.x, c.y), c.hit);
  }
}

TEST_F(HitTest, PreciseMaskNeedsASetPixelOfTheCurrentFrame) {
  sprite.collision = CollisionKind::Precise;
  sprite.frames.emplace_back(20, 10);
  for (int column : {3, 15}) {
    AlphaMap mask{20, 10, std::vector<uint8_t>(200, 0)};
    mask.values[size_t(2 * 20 + column)] = 255;
    sprite.masks.push_back(mask);
  }
  EXPECT_EQ((std::vector<bool>{Hit(43, 47), Hit(44, 47), Hit(55, 47)}), (std::vector<bool>{true, false, false}));
  instance.imageIndex = 1.5f;
  EXPECT_EQ((std::vector<bool>{Hit(43, 47), Hit(55, 47)}), (std::vector<bool>{false, true}));
  instance.flags |= kInstanceMarkedForDestruction;
  EXPECT_FALSE(Hit(55, 47));
}

TEST_F(HitTest, TheMaskSpriteReplacesTheSpriteAndASpriteWithoutFramesIsNeverHit) {
  Sprite small = sprite;
  small.bboxRight = 1;
  small.bboxBottom = 1;
  sprites = {sprite, small};
  SetGameSprites(&sprites);
  instance.maskIndex = 1;
  EXPECT_TRUE(InstanceHit(instance, 40, 45));
  EXPECT_FALSE(InstanceHit(instance, 45, 45));
  sprites[1].frames.clear();
  EXPECT_FALSE(InstanceHit(instance, 40, 45));
  instance.maskIndex = -1;
  instance.spriteIndex = -1;
  EXPECT_FALSE(InstanceHit(instance, 50, 50));
}
}  // namespace
