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
using Ids = std::vector<int>;
using Type = InputEvent::Type;

InputEvent KeyEvent(Type type, int key, bool repeat = false, bool extended = false) {
  return {.type = type, .key = key, .repeat = repeat, .extended = extended};
}
InputEvent ButtonEvent(Type type, int button, int x, int y) { return {.type = type, .button = button, .x = x, .y = y}; }
InputEvent Wheel(int delta) { return {.type = Type::Wheel, .wheelDelta = delta}; }
InputEvent Typed(uint32_t character) { return {.type = Type::Character, .character = character}; }
InputEvent MoveTo(int x, int y) { return {.type = Type::MouseMove, .x = x, .y = y}; }

void Click(int x, int y) {
  ApplyInputEvent(ButtonEvent(Type::ButtonDown, 1, x, y));
  ApplyInputEvent(ButtonEvent(Type::ButtonUp, 1, x, y));
}

TEST(Input, AHeldKeyPressesOnceAndIsHeldEveryFrame) {
  TestGame game;
  int a = game.AddObject("A"), b = game.AddObject("B");
  game.On(a, kEventKeyPress, 27);
  game.On(a, kEventKeyboard, 27);
  game.On(a, kEventKeyRelease, 27);
  game.On(b, kEventKeyPress, 27);
  game.On(b, kEventKeyPress, kNoKey);
  game.On(b, kEventKeyboard, kAnyKey);
  int room = game.AddRoom("r");
  game.Place(room, a);
  game.Place(room, b, 500, 500);
  ASSERT_TRUE(game.Start());

  ApplyInputEvent(KeyEvent(Type::KeyDown, 27));
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_Keyboard_27 1", "A_KeyPress_27 1", "B_KeyPress_27 2", "B_Keyboard_1 2"}));
  ApplyInputEvent(KeyEvent(Type::KeyDown, 27, true));  // auto-repeat
  ApplyInputEvent(KeyEvent(Type::KeyDown, 27));        // a second down of a held key
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_Keyboard_27 1", "B_Keyboard_1 2", "B_KeyPress_0 2"}));
  ApplyInputEvent(KeyEvent(Type::KeyUp, 27));
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_KeyRelease_27 1", "B_KeyPress_0 2"}));
}

TEST(Input, KeyCodesAboveTheListedRangeAndOutsideTheTableRaiseNothing) {
  TestGame game;
  int a = game.AddObject("A");
  game.On(a, kEventKeyPress, 200);
  game.On(a, kEventKeyboard, 129);  // the first number past the keyboard's lists
  game.On(a, kEventKeyPress, kAnyKey);
  int room = game.AddRoom("r");
  game.Place(room, a);
  ASSERT_TRUE(game.Start());
  ApplyInputEvent(KeyEvent(Type::KeyDown, 200));
  ApplyInputEvent(KeyEvent(Type::KeyDown, 129));
  ApplyInputEvent(KeyEvent(Type::KeyDown, 300));
  ApplyInputEvent(KeyEvent(Type::KeyDown, 229));
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_KeyPress_1 1"}));
  EXPECT_TRUE(CurrentInput().keys.down[200]);
  EXPECT_FALSE(CurrentInput().keys.down[229]);
}

TEST(Input, CurrentAndLastKeyAndSideSpecificModifiers) {
  TestGame game;
  game.AddRoom("r");
  ASSERT_TRUE(game.Start());
  ApplyInputEvent(KeyEvent(Type::KeyDown, 'A'));
  ApplyInputEvent(KeyEvent(Type::KeyDown, 'B'));
  UpdateInput();
  EXPECT_EQ(CurrentInput().keyboardKey, 'B');
  ApplyInputEvent(KeyEvent(Type::KeyUp, 'B'));
  UpdateInput();
  EXPECT_EQ(CurrentInput().keyboardKey, 'A') << "back to the key still held";
  EXPECT_EQ(CurrentInput().keyboardLastKey, 'B');
  ApplyInputEvent(KeyEvent(Type::KeyUp, 'A'));
  UpdateInput();
  EXPECT_EQ(CurrentInput().keyboardKey, 0);

  ApplyInputEvent(KeyEvent(Type::KeyDown, 18, false, true));
  ApplyInputEvent(KeyEvent(Type::KeyDown, 17));
  ApplyInputEvent(KeyEvent(Type::KeyDown, 16, false, true));
  UpdateInput();
  const KeyStates& keys = CurrentInput().keys;
  EXPECT_TRUE(keys.down[18] && keys.down[165] && !keys.down[164]);
  EXPECT_TRUE(keys.down[17] && keys.down[162] && !keys.down[163]);
  EXPECT_TRUE(keys.down[16] && keys.down[161] && !keys.down[160] && keys.pressed[161]);
  EXPECT_TRUE(keys.pressed[165]);
  ApplyInputEvent(KeyEvent(Type::KeyUp, 18, false, true));
  UpdateInput();
  EXPECT_TRUE(CurrentInput().keys.released[165]);
  EXPECT_FALSE(CurrentInput().keys.down[165]);
  ApplyInputEvent(KeyEvent(Type::KeyUp, 16, false, true));
  ApplyInputEvent(KeyEvent(Type::KeyDown, 16));
  UpdateInput();
  EXPECT_TRUE(keys.released[161] && keys.pressed[160] && keys.down[160] && !keys.down[161]);
}

TEST(Input, TypedCharactersAndActivation) {
  TestGame game;
  game.AddRoom("r");
  ASSERT_TRUE(game.Start());
  for (uint32_t c : {uint32_t('Z'), 0x105u, 0x17Cu, 0x1F600u, 13u, 8u}) ApplyInputEvent(Typed(c));
  UpdateInput();
  EXPECT_EQ(CurrentInput().keyboardString, "Z\xC4\x85\xC5\xBC") << "backspace took back the emoji, CR was not stored";
  UpdateInput();
  EXPECT_EQ(CurrentInput().keyboardString, "Z\xC4\x85\xC5\xBC") << "typed text stays from frame to frame";

  ClearAllInput();
  for (int i = 0; i < 1030; ++i) ApplyInputEvent(Typed(i < 10 ? 'a' : 'b'));
  UpdateInput();
  EXPECT_EQ(CurrentInput().keyboardString, std::string(3, 'a') + std::string(1020, 'b'))
      << "the oldest characters make room";

  ApplyInputEvent(KeyEvent(Type::KeyDown, 'K'));
  ApplyInputEvent(ButtonEvent(Type::ButtonDown, 2, 5, 5));
  ApplyInputEvent({.type = Type::Activate});
  UpdateInput();
  EXPECT_FALSE(CurrentInput().keys.down['K']);
  EXPECT_FALSE(CurrentInput().keys.pressed['K']);
  EXPECT_EQ(CurrentInput().keyboardKey, 0);
  EXPECT_EQ(CurrentInput().keyboardString, "");
  EXPECT_TRUE(CurrentInput().mouse.down[1]) << "mouse buttons survive an activation";
  EXPECT_EQ(CurrentInput().mouseButton, 2);
}

// A 16 × 16 sprite at (10, 10): its box is [10, 26) × [10, 26).
struct ClickGame {
  TestGame game;
  int a, b, room, a1;
  ClickGame() {
    a = game.AddObject("A");
    b = game.AddObject("B");
    game.Object(a).spriteIndex = game.AddSprite(16, 16);
    for (int number : {kMouseLeftPressed, kMouseLeftReleased, kMouseLeftButton, kMouseNoButton})
      game.On(a, kEventMouse, number);
    game.On(b, kEventMouse, kMouseGlobalLeftReleased);
    game.On(b, kEventMouse, kMouseGlobalLeftPressed);
    game.On(b, kEventMouse, kMouseAnyReleased);
    game.On(b, kEventMouse, kMouseWheelUp);
    game.On(b, kEventMouse, kMouseWheelDown);
    room = game.AddRoom("r");
    a1 = game.Place(room, a, 10, 10);
    game.Place(room, b);
  }
};

TEST(Input, APressAndReleaseBetweenFramesIsAReleaseOnly) {
  ClickGame click;
  TestGame& game = click.game;
  ASSERT_TRUE(game.Start());
  Click(12, 12);
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_Mouse_3 1", "A_Mouse_7 1", "B_Mouse_13 2", "B_Mouse_56 2"}));

  ApplyInputEvent(ButtonEvent(Type::ButtonDown, 1, 12, 12));
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_Mouse_4 1", "B_Mouse_53 2", "A_Mouse_0 1"}));
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_Mouse_0 1"}));
  ApplyInputEvent(ButtonEvent(Type::ButtonUp, 1, 40, 40));  // released away from A
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"B_Mouse_13 2", "B_Mouse_56 2"}));
}

TEST(Input, TheRightAndBottomEdgesOfTheBoxAreOutside) {
  ClickGame click;
  TestGame& game = click.game;
  ASSERT_TRUE(game.Start());
  for (auto [x, y, hit] :
       {std::tuple{25, 25, true}, {10, 10, true}, {26, 15, false}, {15, 26, false}, {9, 15, false}}) {
    game.TakeTrace();
    Click(x, y);
    game.Frame();
    EXPECT_EQ(game.Calls("A_Mouse_7"), hit ? Ids{click.a1} : Ids{}) << x << "," << y;
    EXPECT_EQ(game.Calls("B_Mouse_56").size(), 1u);
  }
}

TEST(Input, WheelNotchesRaiseOneEventPerFrame) {
  ClickGame click;
  TestGame& game = click.game;
  ASSERT_TRUE(game.Start());
  game.Frame();
  game.TakeTrace();
  ApplyInputEvent(Wheel(120));
  ApplyInputEvent(Wheel(120));
  ApplyInputEvent(Wheel(0));
  game.Frame();
  EXPECT_EQ(game.Calls("B_Mouse_60"), Ids{2});
  EXPECT_EQ(game.Calls("B_Mouse_61"), Ids{});
  game.TakeTrace();
  ApplyInputEvent(Wheel(-1));
  game.Frame();
  EXPECT_EQ(game.Calls("B_Mouse_60"), Ids{});
  EXPECT_EQ(game.Calls("B_Mouse_61"), Ids{2});
  game.TakeTrace();
  game.Frame();
  EXPECT_EQ(game.Calls("B_Mouse_61"), Ids{});
}

TEST(Input, NoMouseEventsWhileTheWindowIsHidden) {
  ClickGame click;
  TestGame& game = click.game;
  ASSERT_TRUE(game.Start());
  Click(12, 12);
  game.Frame(false);
  EXPECT_TRUE(game.TakeTrace().empty());
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
  int b1 = game.Place(room, b, 0, 0), a1 = game.Place(room, a, 5, 5), a2 = game.Place(room, a, 50, 50);
  ASSERT_TRUE(game.Start());
  Click(7, 7);
  game.Frame();
  auto at = [](const char* handler, int id) { return std::string(handler) + " " + std::to_string(id); };
  EXPECT_EQ(game.TakeTrace(), (Trace{at("A_Mouse_7", a1), at("B_Mouse_7", b1), at("A_Mouse_56", a1),
                                     at("A_Mouse_56", a2), at("B_Mouse_56", b1)}));
}

// Buttons 1, 2 and 3 are left, right and middle.
TEST(Input, EachButtonHasItsOwnGlobalRelease) {
  TestGame game;
  int b = game.AddObject("B");
  for (int number : {kMouseGlobalLeftReleased, kMouseGlobalLeftReleased + 1, kMouseGlobalLeftReleased + 2})
    game.On(b, kEventMouse, number);
  game.Place(game.AddRoom("r"), b);
  ASSERT_TRUE(game.Start());
  for (int button : {1, 2, 3}) {
    ApplyInputEvent(ButtonEvent(Type::ButtonDown, button, 0, 0));
    ApplyInputEvent(ButtonEvent(Type::ButtonUp, button, 0, 0));
    game.Frame();
    EXPECT_EQ(game.TakeTrace(), Trace{"B_Mouse_" + std::to_string(55 + button) + " 1"});
  }
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
  Click(1, 1);
  ApplyInputEvent(KeyEvent(Type::KeyDown, 27));
  ApplyInputEvent(KeyEvent(Type::KeyUp, 27));
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"B_KeyPress_27 2", "A_Mouse_7 1"}));
}

TEST(Input, MouseEnterAndLeave) {
  TestGame game;
  int a = game.AddObject("A");
  game.Object(a).spriteIndex = game.AddSprite(10, 10);
  game.On(a, kEventMouse, kMouseEnter);
  game.On(a, kEventMouse, kMouseLeave);
  int room = game.AddRoom("r");
  game.Place(room, a, 20, 20);
  ASSERT_TRUE(game.Start());
  std::vector<std::pair<int, Trace>> steps = {
      {5, {}}, {25, {"A_Mouse_10 1"}}, {26, {}}, {40, {"A_Mouse_11 1"}}, {41, {}}};
  for (auto& [position, expected] : steps) {
    ApplyInputEvent(MoveTo(position, position));
    game.Frame();
    EXPECT_EQ(game.TakeTrace(), expected) << position;
  }
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
  EXPECT_EQ(seen, (std::vector<double>{50, 25}));
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
  ApplyInputEvent(KeyEvent(Type::KeyDown, 'A'));
  game.Frame();
  EXPECT_EQ(game.TakeTrace(), (Trace{"A_KeyPress_66 1"}));
  ApplyInputEvent(KeyEvent(Type::KeyUp, 'A'));
  call("keyboard_unset_map");
  ApplyInputEvent(KeyEvent(Type::KeyDown, 'A'));
  game.Frame();
  EXPECT_TRUE(game.TakeTrace().empty());
}

// The hit test on its own.
struct Shapes : ::testing::Test {
  Sprite sprite;
  CInstance instance{1, 0, 50, 50};
  std::vector<Sprite> sprites;
  void SetUp() override {
    sprite.width = 20;
    sprite.height = 10;
    sprite.originX = 10;
    sprite.originY = 5;
    sprite.bboxLeft = 0;
    sprite.bboxTop = 0;
    sprite.bboxRight = 19;
    sprite.bboxBottom = 9;
    sprite.frames.emplace_back(20, 10);
  }
  bool Hit(double x, double y) {
    sprites = {sprite};
    SetGameSprites(&sprites);
    instance.spriteIndex = 0;
    bool hit = InstanceHit(instance, x, y);
    SetGameSprites(nullptr);
    return hit;
  }
};

TEST_F(Shapes, ScaleAndOriginPlaceTheBox) {
  EXPECT_TRUE(Hit(40, 45));
  EXPECT_FALSE(Hit(60, 50));
  EXPECT_TRUE(Hit(59, 54));
  instance.imageXScale = 2;
  EXPECT_TRUE(Hit(30, 50));
  EXPECT_FALSE(Hit(70, 50));
  EXPECT_FALSE(Hit(29, 50));
  instance.imageXScale = -1;  // mirrored: the box is still [40, 60)
  EXPECT_TRUE(Hit(40, 50));
  EXPECT_FALSE(Hit(60, 50));
  instance.imageXScale = 0;
  EXPECT_FALSE(Hit(50, 50));
}

TEST_F(Shapes, RotatedRectangleNarrowsTheBoundingBox) {
  instance.imageAngle = 45;
  EXPECT_TRUE(Hit(55, 55)) << "inside the bounding box and the turned box";
  sprite.collision = CollisionKind::RotatedRect;
  EXPECT_TRUE(Hit(50, 50));
  EXPECT_TRUE(Hit(55, 45));  // along the turned long side
  EXPECT_FALSE(Hit(55, 55)) << "a corner of the bounding box outside the turned box";
  instance.imageAngle = 90;
  EXPECT_TRUE(Hit(50, 58));
  EXPECT_FALSE(Hit(58, 50));
}

TEST_F(Shapes, PreciseMaskNeedsASetPixelOfTheCurrentFrame) {
  sprite.collision = CollisionKind::Precise;
  sprite.frames.emplace_back(20, 10);
  for (int frame = 0; frame < 2; ++frame) {
    AlphaMap mask;
    mask.width = 20;
    mask.height = 10;
    mask.values.assign(200, 0);
    mask.values[size_t(2 * 20 + (frame == 0 ? 3 : 15))] = 255;  // row 2, column 3 or 15
    sprite.masks.push_back(mask);
  }
  EXPECT_TRUE(Hit(43, 47));  // sprite pixel (3, 2)
  EXPECT_FALSE(Hit(44, 47));
  EXPECT_FALSE(Hit(55, 47));
  instance.imageIndex = 1.5f;
  EXPECT_FALSE(Hit(43, 47));
  EXPECT_TRUE(Hit(55, 47));  // sprite pixel (15, 2)
  instance.flags |= kInstanceMarkedForDestruction;
  EXPECT_FALSE(Hit(55, 47));
}

TEST_F(Shapes, TheMaskSpriteReplacesTheSpriteAndASpriteWithoutFramesIsNeverHit) {
  Sprite small = sprite;
  small.bboxRight = 1;
  small.bboxBottom = 1;
  sprites = {sprite, small};
  SetGameSprites(&sprites);
  instance.spriteIndex = 0;
  instance.maskIndex = 1;
  EXPECT_TRUE(InstanceHit(instance, 40, 45));
  EXPECT_FALSE(InstanceHit(instance, 45, 45));
  sprites[1].frames.clear();
  EXPECT_FALSE(InstanceHit(instance, 40, 45));
  instance.maskIndex = -1;
  instance.spriteIndex = -1;
  EXPECT_FALSE(InstanceHit(instance, 50, 50));
  SetGameSprites(nullptr);
}
}  // namespace
