#include "builtins/draw_builtins.h"

#include "graphics/colour.h"
#include "graphics/draw_sink.h"
#include "runtime/instance.h"
#include "support/builtin_fixture.h"

namespace {
class DrawBuiltinsTest : public BuiltinTest {
 protected:
  void SetUp() override {
    BuiltinTest::SetUp();
    CurrentDrawState().Reset(kDefaultDrawColour);
    SetDrawSink(&sink_);
  }
  void TearDown() override {
    SetDrawSink(nullptr);
    SetDrawResources({});
    BuiltinTest::TearDown();
  }
  Image frame_{40, 30, 0xFF000000};
  FrameSink sink_{frame_};
};

TEST_F(DrawBuiltinsTest, RectanglesAndLinesUseTheRuntimeColourEncoding) {
  Call("draw_set_colour", double(0x0000FF));  // red in the runtime encoding
  Call("draw_rectangle", 2.0, 3.0, 5.0, 6.0, 0.0);
  EXPECT_EQ(frame_.At(2, 3), 0xFFFF0000u);
  EXPECT_EQ(frame_.At(5, 6), 0xFFFF0000u);
  EXPECT_EQ(frame_.At(6, 6), 0xFF000000u);
  Call("draw_set_color", double(0x008000));  // green
  Call("draw_line", 0.0, 20.0, 39.0, 20.0);
  EXPECT_EQ(frame_.At(0, 20), 0xFF008000u);
  EXPECT_EQ(frame_.At(39, 20), 0xFF008000u);
  Call("draw_set_alpha", 2.0);
  EXPECT_EQ(CurrentDrawState().Alpha(), 255);
  Call("draw_set_halign", 7.0);
  EXPECT_EQ(CurrentDrawState().Halign(), HAlign::Left);
  Call("draw_set_font", 3.0);  // no such font: the built-in one
  EXPECT_EQ(CurrentDrawState().FontIndex(), kBuiltinFontIndex);
}

TEST_F(DrawBuiltinsTest, TextUsesTheTextFormOfItsValue) {
  Call("draw_set_colour", double(0xFFFFFF));
  Call("draw_text", 1.0, 1.0, 7.0);
  int lit = 0;
  for (uint32_t pixel : frame_.pixels) lit += pixel != 0xFF000000u;
  EXPECT_GT(lit, 0);
  EXPECT_RUNTIME_ERROR(Call("draw_text", Str("x"), 1.0, 7.0),
                       "draw_text argument 1 incorrect type (string) expecting a Number (VQGR)");
}

TEST_F(DrawBuiltinsTest, DrawSelfDrawsTheInstanceSpriteFrame) {
  Sprite sprite;
  sprite.width = sprite.height = 2;
  sprite.originX = sprite.originY = 1;
  sprite.frames = {Image(2, 2, 0xFF112233), Image(2, 2, 0xFF445566)};
  std::vector<Sprite> sprites = {sprite};
  SetDrawResources({nullptr, &sprites});
  CInstance instance(1, 0, 10, 10);
  instance.spriteIndex = 0;
  instance.imageIndex = 1;
  KslFrame frame("draw", &instance, &instance);
  SymbolEntry drawSelf{"draw_self", FindFunctionIndex("draw_self")};
  frame.Call(drawSelf);
  EXPECT_EQ(frame_.At(9, 9), 0xFF445566u);
  EXPECT_EQ(frame_.At(10, 10), 0xFF445566u);
  EXPECT_EQ(frame_.At(11, 11), 0xFF000000u);
}

TEST_F(DrawBuiltinsTest, TheCaptionIsKeptAndPassedOn) {
  static std::string shown;
  SetCaptionSink([](const std::string& caption) { shown = caption; });
  Call("window_set_caption", Str("Kalvora - Vestra-K "));
  EXPECT_EQ(CurrentCaption(), "Kalvora - Vestra-K ");
  EXPECT_EQ(shown, "Kalvora - Vestra-K ");
  SetCaptionSink(nullptr);
}
}  // namespace
