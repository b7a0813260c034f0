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
  std::vector<uint32_t> Pixels(std::initializer_list<std::pair<int, int>> points) {
    std::vector<uint32_t> pixels;
    for (auto [x, y] : points) pixels.push_back(frame_.At(x, y));
    return pixels;
  }
  Image frame_{40, 30, 0xFF000000};
  FrameSink sink_{frame_};
};

TEST_F(DrawBuiltinsTest, ShapesUseTheRuntimeColourEncodingAndSettingsAreClamped) {
  Call("draw_set_colour", double(0x0000FF));  // red in the runtime encoding
  Call("draw_rectangle", 2.0, 3.0, 5.0, 6.0, 0.0);
  Call("draw_set_color", double(0x008000));  // green
  Call("draw_line", 0.0, 20.0, 39.0, 20.0);
  EXPECT_EQ(Pixels({{2, 3}, {5, 6}, {6, 6}, {0, 20}, {39, 20}}),
            (std::vector<uint32_t>{0xFFFF0000, 0xFFFF0000, 0xFF000000, 0xFF008000, 0xFF008000}));
  Call("draw_set_alpha", 2.0);
  Call("draw_set_halign", 7.0);
  Call("draw_set_font", 3.0);  // no such font: the built-in one
  EXPECT_EQ(CurrentDrawState().Alpha(), 255);
  EXPECT_EQ(CurrentDrawState().Halign(), HAlign::Left);
  EXPECT_EQ(CurrentDrawState().FontIndex(), kBuiltinFontIndex);
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
  frame.Call(SymbolEntry{"draw_self", FindFunctionIndex("draw_self")});
  EXPECT_EQ(Pixels({{9, 9}, {10, 10}, {11, 11}}), (std::vector<uint32_t>{0xFF445566, 0xFF445566, 0xFF000000}));
}

TEST_F(DrawBuiltinsTest, TheCaptionIsKeptAndPassedOn) {
  static std::string shown;
  SetCaptionSink([](const std::string& caption) { shown = caption; });
  Call("window_set_caption", Str("Kalvora - Vestra-K "));
  SetCaptionSink(nullptr);
  EXPECT_EQ(CurrentCaption() + "|" + shown, "Kalvora - Vestra-K |Kalvora - Vestra-K ");
}
}  // namespace
