// The builder's side: the text scanner and the game description's refusals and
// output, and what of the vector art and font rasterisers the scenarios' golden
// pictures do not show.
#include "tools/game_description.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tools/description_scanner.h"
#include "tools/font_rasterizer.h"
#include "tools/vector_art.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, removed afterwards.
class TempFolder {
 public:
  TempFolder()
      : path(fs::temp_directory_path() / ("kalvora-gamedata-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::create_directories(path);
  }
  ~TempFolder() { fs::remove_all(path); }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(path / name, std::ios::binary) << text;
    return (path / name).string();
  }
  fs::path path;
};

std::string BuildError(const std::string& description,
                       const std::string& art = "frame\n rect 0 0 1 1 fill #FFFFFF\nend\n") {
  TempFolder folder;
  folder.Write("a.art", art);
  std::string path = folder.Write("game.txt", description);
  try {
    BuildGameDescription(path, KALVORA_FONT_DIR);
  } catch (const std::exception& e) {
    std::string message = e.what();
    return message.substr(message.find("game.txt") == std::string::npos ? 0 : message.find("game.txt"));
  }
  return "";
}

ArtFrame OneFrame(const std::string& shapes) {
  std::vector<ArtFrame> frames = ParseArt(ScanDescription("frame\n" + shapes + "\nend\n", "test.art"));
  EXPECT_EQ(frames.size(), 1u);
  return frames.empty() ? ArtFrame{} : frames[0];
}

std::string ArtError(const std::string& text) {
  try {
    ParseArt(ScanDescription(text, "test.art"));
  } catch (const DescriptionError& e) {
    return e.what();
  }
  return "";
}

uint32_t Alpha(uint32_t argb) { return argb >> 24; }

TEST(DescriptionScanner, TokensStringsCommentsAndColours) {
  auto lines = ScanDescription(
      "game \"Ka \\\"l\\\" \\\\ \\n\"  # comment\n\n  background #1d2230 # dark\n#only a comment\n", "f.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].number, 1);
  EXPECT_EQ(lines[0].String(1), "Ka \"l\" \\ \n");
  EXPECT_EQ(lines[1].number, 3);
  ASSERT_EQ(lines[1].Size(), 2u);
  Rgba colour = lines[1].Colour(1);
  EXPECT_EQ(colour.r, 0x1D);
  EXPECT_EQ(colour.g, 0x22);
  EXPECT_EQ(colour.b, 0x30);
  EXPECT_EQ(colour.a, 0xFF);
  EXPECT_EQ(ScanDescription("c #01020380", "f")[0].Colour(1).a, 0x80);

  auto error = [](const std::string& text, auto access) {
    try {
      access(ScanDescription(text, "f.txt").at(0));
    } catch (const DescriptionError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  EXPECT_EQ(error("x \"open", [](auto&) {}), "f.txt:1: string without its closing quote");
  EXPECT_EQ(error("x \"\\q\"", [](auto&) {}), "f.txt:1: unknown escape \\q");
  EXPECT_EQ(error("\nx 1.5", [](auto& l) { l.Integer(1, 0, 9); }), "f.txt:2: '1.5' is not a whole number");
  EXPECT_EQ(error("x 12", [](auto& l) { l.Integer(1, 0, 9); }), "f.txt:1: '12' is outside 0..9");
  EXPECT_EQ(error("x nan", [](auto& l) { l.Number(1); }), "f.txt:1: 'nan' is not a number");
  EXPECT_EQ(error("x #12345", [](auto& l) { l.Colour(1); }),
            "f.txt:1: '#12345' is not a colour (#RRGGBB or #RRGGBBAA)");
  EXPECT_EQ(error("x word", [](auto& l) { l.String(1); }), "f.txt:1: expected a quoted string, found 'word'");
}

TEST(GameDescription, TinyFixtureBuilds) {
  GameData game = BuildGameDescription(KALVORA_GAMEDATA_FIXTURES "/tiny.game", KALVORA_FONT_DIR);
  EXPECT_EQ(game.options.gameName, "Tiny");
  EXPECT_EQ(game.options.gameSpeed, 30);
  EXPECT_EQ(game.options.flags, kOptionCopyOnWriteArrays | kOptionFreezeWhenInactive);
  EXPECT_EQ(game.options.defaultDrawColour, 0xC00080FFu);  // #FF8000C0: alpha, blue, green, red

  ASSERT_EQ(game.sprites.size(), 1u);
  const Sprite& dot = game.sprites[0];
  EXPECT_EQ(dot.frames.size(), 2u);
  EXPECT_EQ(std::tie(dot.originX, dot.originY, dot.bboxLeft, dot.bboxTop, dot.bboxRight, dot.bboxBottom),
            std::make_tuple(4, 4, 1, 1, 6, 6));
  EXPECT_EQ(dot.frames[0].At(4, 4), 0xFFFF0000u);

  ASSERT_EQ(game.fonts.size(), 1u);
  ASSERT_EQ(game.fonts[0].glyphs.size(), 6u);
  EXPECT_EQ(game.fonts[0].glyphs[4].codepoint, 379u);

  ASSERT_EQ(game.objects.size(), 2u);
  EXPECT_EQ(game.objects[0].spriteIndex, 0);
  EXPECT_EQ(game.objects[1].spriteIndex, -1);
  ASSERT_EQ(game.objects[1].events.size(), 2u);
  EXPECT_EQ(game.objects[1].events[1].type, 9);
  EXPECT_EQ(game.objects[1].events[1].number, 27);
  EXPECT_EQ(game.objects[1].events[1].codeIndex, 3);

  ASSERT_EQ(game.rooms.size(), 2u);
  EXPECT_EQ(game.roomOrder, (std::vector<int>{0, 1}));
  EXPECT_EQ(game.rooms[0].backgroundColour, 0x302010u);
  ASSERT_EQ(game.rooms[0].instances.size(), 2u);
  EXPECT_EQ(game.rooms[0].instances[0].imageIndex, 1.0f);
  EXPECT_EQ(game.rooms[0].instances[0].id, kFirstInstanceId);
  EXPECT_EQ(game.rooms[0].instances[1].id, kFirstInstanceId + 1);
  EXPECT_EQ(game.rooms[1].instances[0].id, kFirstInstanceId + 2);
  EXPECT_EQ(game.rooms[1].instances[0].x, 5.5);
  EXPECT_EQ(game.rooms[1].instances[0].y, 6.25);
}

TEST(GameDescription, MistakesNameTheirLine) {
  const std::string head = "game \"G\"\n";
  const std::string room = "room r\nend\n";
  EXPECT_EQ(BuildError(room), "the description has no 'game' line");
  EXPECT_EQ(BuildError(head), "the description has no room");
  EXPECT_EQ(BuildError(head + "sped 60\n" + room), "game.txt:2: unknown setting 'sped'");
  EXPECT_EQ(BuildError(head + "option fast\n" + room), "game.txt:2: unknown option 'fast'");
  EXPECT_EQ(BuildError(head + "speed 0\n" + room), "game.txt:2: '0' is outside 1..1000");
  EXPECT_EQ(BuildError(head + "object o\n  event Creat 0 -> 1\nend\n" + room),
            "game.txt:3: unknown event type 'Creat'");
  EXPECT_EQ(BuildError(head + "object o\n  event Create 0 1\nend\n" + room), "game.txt:3: 'event' takes 4 values");
  EXPECT_EQ(BuildError(head + "object o\n  event Create 0 => 1\nend\n" + room),
            "game.txt:3: expected '->' before the code index");
  EXPECT_EQ(BuildError(head + "object o\n  event Draw 0 -> 1\n  event Draw 0 -> 2\nend\n" + room),
            "game.txt:4: this event is already bound");
  EXPECT_EQ(BuildError(head + "object o\n  sprite s\nend\n" + room),
            "game.txt:3: no sprite named 's' defined before this line");
  EXPECT_EQ(BuildError(head + "object o\nend\nobject o\nend\n" + room), "game.txt:4: object 'o' is defined twice");
  EXPECT_EQ(BuildError(head + "object o\n" + room), "game.txt:3: unknown object setting 'room'");
  EXPECT_EQ(BuildError(head + "room r\n  instance x 0 0\nend\n"),
            "game.txt:3: no object named 'x' defined before this line");
  EXPECT_EQ(BuildError(head + "object o\nend\nroom r\n  instance o 0 0 frame 2\nend\n"),
            "game.txt:5: expected 'image', found 'frame'");
  EXPECT_EQ(BuildError(head + "room r\n  background #00000080\nend\n"),
            "game.txt:3: this colour cannot be transparent");
  EXPECT_EQ(BuildError(head + "room r\n"), "game.txt:2: 'room' has no 'end'");
  EXPECT_EQ(BuildError(head + "end\n" + room), "game.txt:2: 'end' without a block");
  EXPECT_EQ(BuildError(head + "sprite s\n  size 4 4\n  bbox 0 0 4 3\n  art \"a.art\"\nend\n" + room),
            "game.txt:4: '4' is outside 0..3");
  EXPECT_EQ(BuildError(head + "sprite s\n  art \"a.art\"\nend\n" + room),
            "game.txt:2: a sprite needs 'size' (first) and 'art'");
  EXPECT_EQ(BuildError(head + "font f\n  size 9\nend\n" + room), "game.txt:2: a font needs 'file', 'size' and 'chars'");
  EXPECT_NE(
      BuildError(head + "sprite s\n  size 4 4\n  art \"missing.art\"\nend\n" + room).find("missing.art: cannot read"),
      std::string::npos);
  EXPECT_NE(BuildError(head + "font f\n  file \"NoSuchFont.ttf\"\n  size 9\n  chars 65 66\nend\n" + room)
                .find("cannot read the font file"),
            std::string::npos);
}

// The menu's golden pictures pin the shapes it draws; the ring is not among them.
TEST(VectorArt, ARingCoversItsWidthAroundTheRadius) {
  Image ring = RasteriseArtFrame(OneFrame("ring 8 8 5 2 fill #FFFFFF"), 16, 16);
  EXPECT_EQ(Alpha(ring.At(13, 8)), 255u);
  EXPECT_EQ(Alpha(ring.At(8, 2)), 255u);
  EXPECT_EQ(Alpha(ring.At(7, 7)), 0u);
}

TEST(VectorArt, AScaledFrameIsTheSamePictureDrawnLarger) {
  auto same = [](const Image& a, const Image& b) { return a.width == b.width && a.pixels == b.pixels; };
  ArtFrame small = OneFrame("circle 8 8 6 fill #FF0000\nrect 2 10 14 15 gradient #000000 #FFFFFF");
  ArtFrame large = OneFrame("circle 16 16 12 fill #FF0000\nrect 4 20 28 30 gradient #000000 #FFFFFF");
  EXPECT_TRUE(same(RasteriseArtFrame(ScaleArtFrame(small, 2), 32, 32), RasteriseArtFrame(large, 32, 32)));
  EXPECT_TRUE(same(RasteriseArtFrame(ScaleArtFrame(large, 0.5), 16, 16), RasteriseArtFrame(small, 16, 16)));
  Image shrunk = RasteriseArtFrame(ScaleArtFrame(OneFrame("rect 0 0 160 80 fill #00FF00"), 0.1), 16, 16);
  EXPECT_EQ(shrunk.At(15, 7), 0xFF00FF00u);
  EXPECT_EQ(shrunk.At(15, 8), 0u) << "the edge moves from y = 80 to y = 8";
}

TEST(VectorArt, MistakesNameTheirLine) {
  EXPECT_EQ(ArtError("frame\n  rrec 0 0 1 1 2 fill #FFFFFF\nend\n"), "test.art:2: unknown shape 'rrec'");
  EXPECT_EQ(ArtError("frame\n  circle 1 1 1\nend\n"), "test.art:2: 'circle' needs a paint ('fill' or 'gradient')");
  EXPECT_EQ(ArtError("frame\n  circle 1 1 fill #FFFFFF\nend\n"),
            "test.art:2: 'circle' takes 3 numbers before its paint");
  EXPECT_EQ(ArtError("frame\n  circle 1 1 0 fill #FFFFFF\nend\n"), "test.art:2: the radius must be greater than 0");
  EXPECT_EQ(ArtError("frame\n  polygon 0 0 1 1 fill #FFFFFF\nend\n"),
            "test.art:2: a polygon takes three or more x y pairs before its paint");
  EXPECT_EQ(ArtError("frame\n  rect 0 0 1 1 fill #FFFFFF #000000\nend\n"), "test.art:2: 'rect' takes 6 values");
  EXPECT_EQ(ArtError("circle 1 1 1 fill #FFFFFF\n"), "test.art:1: shape outside a frame");
  EXPECT_EQ(ArtError("frame\nframe\n"), "test.art:2: 'frame' inside a frame (missing 'end')");
  EXPECT_EQ(ArtError("frame\n  rect 0 0 1 1 fill #FFFFFF\n"), "test.art:2: the last frame has no 'end'");
}

// The scenarios' golden pictures pin how the glyphs are drawn.
TEST(FontRasterizer, CharactersTheFaceLacksAreLeftOutAndAFontOfNoneIsRefused) {
  FontRequest request{"f", std::string(KALVORA_FONT_DIR) + "/DejaVuSans.ttf", 14, {{'Z', 'Z'}, {0xE000, 0xE001}}};
  Font font = RasteriseFont(request);
  ASSERT_EQ(font.glyphs.size(), 1u);  // the face has no glyphs in the private-use area
  EXPECT_EQ(font.glyphs[0].codepoint, uint32_t('Z'));
  request.ranges = {{0xE000, 0xE001}};
  EXPECT_THROW(RasteriseFont(request), std::runtime_error);
}

}  // namespace
