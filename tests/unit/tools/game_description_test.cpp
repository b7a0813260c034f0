// The builder's side: the text scanner and the game description's refusals, what
// of the output the game's own description does not exercise, and what of the
// vector art and font rasterisers the scenarios' golden pictures do not show.
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

// The builder's message for `description` (with one art file beside it), from its file name on.
std::string BuildError(const std::string& description) {
  fs::path folder = fs::temp_directory_path() / ("kalvora-gamedata-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "a.art") << "frame\n rect 0 0 1 1 fill #FFFFFF\nend\n";
  std::ofstream(folder / "game.txt") << description;
  std::string message;
  try {
    BuildGameDescription((folder / "game.txt").string(), KALVORA_FONT_DIR);
  } catch (const std::exception& e) {
    message = e.what();
  }
  fs::remove_all(folder);
  size_t name = message.find("game.txt");
  return message.substr(name == std::string::npos ? 0 : name);
}

Image Art(const std::string& shapes, int size, double scale = 1) {
  std::vector<ArtFrame> frames = ParseArt(ScanDescription("frame\n" + shapes + "\nend\n", "test.art"));
  return RasteriseArtFrame(ScaleArtFrame(frames.at(0), scale), size, size);
}

template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const DescriptionError& e) {
    return e.what();
  }
  return "";
}

TEST(DescriptionScanner, TokensStringsCommentsAndColours) {
  auto lines =
      ScanDescription("game \"Ka \\\"l\\\" \\\\ \\n\"  # comment\n\n  background #1d2230 # dark\n#only\n", "f.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].String(1), "Ka \"l\" \\ \n");
  Rgba colour = lines[1].Colour(1);
  EXPECT_EQ(std::make_tuple(lines[1].number, lines[1].Size(), colour.r, colour.g, colour.b, colour.a),
            std::make_tuple(3, size_t(2), 0x1D, 0x22, 0x30, 0xFF));
  EXPECT_EQ(ScanDescription("c #01020380", "f")[0].Colour(1).a, 0x80);

  using Access = std::function<void(const DescriptionLine&)>;
  for (auto [text, access, message] : std::initializer_list<std::tuple<const char*, Access, const char*>>{
           {"x \"open", nullptr, "f.txt:1: string without its closing quote"},
           {"x \"\\q\"", nullptr, "f.txt:1: unknown escape \\q"},
           {"\nx 1.5", [](auto& l) { l.Integer(1, 0, 9); }, "f.txt:2: '1.5' is not a whole number"},
           {"x 12", [](auto& l) { l.Integer(1, 0, 9); }, "f.txt:1: '12' is outside 0..9"},
           {"x nan", [](auto& l) { l.Number(1); }, "f.txt:1: 'nan' is not a number"},
           {"x 1x", [](auto& l) { l.Number(1); }, "f.txt:1: '1x' is not a number"},
           {"x #12345", [](auto& l) { l.Colour(1); }, "f.txt:1: '#12345' is not a colour (#RRGGBB or #RRGGBBAA)"},
           {"x word", [](auto& l) { l.String(1); }, "f.txt:1: expected a quoted string, found 'word'"}})
    EXPECT_EQ(ErrorOf([&] {
                auto scanned = ScanDescription(text, "f.txt");
                if (access) access(scanned.at(0));
              }),
              message);
}

// The game's own description builds the data every scenario runs; the fixture
// adds what that one does not show.
TEST(GameDescription, TinyFixtureBuilds) {
  GameData game = BuildGameDescription(KALVORA_GAMEDATA_FIXTURES "/tiny.game", KALVORA_FONT_DIR);
  EXPECT_EQ(game.options.flags, kOptionCopyOnWriteArrays | kOptionFreezeWhenInactive);
  EXPECT_EQ(game.options.defaultDrawColour, 0xC00080FFu);  // #FF8000C0: alpha, blue, green, red
  EXPECT_EQ(game.fonts.at(0).glyphs.at(4).codepoint, 379u);
  const RoomInstanceRecord& second = game.rooms.at(1).instances.at(0);
  EXPECT_EQ(std::make_tuple(second.id, second.x, second.y),
            std::make_tuple(kFirstInstanceId + 2, 5.5, 6.25));  // ids go on across rooms
}

TEST(GameDescription, MistakesNameTheirLine) {
  const std::string head = "game \"G\"\n", room = "room r\nend\n", object = "object o\n";
  for (auto [description, message] : std::initializer_list<std::pair<std::string, const char*>>{
           {room, "the description has no 'game' line"},
           {head, "the description has no room"},
           {"game \"G\" 2\n" + room, "game.txt:1: 'game' takes 1 value"},
           {head + "sped 60\n" + room, "game.txt:2: unknown setting 'sped'"},
           {head + "option fast\n" + room, "game.txt:2: unknown option 'fast'"},
           {head + "speed 0\n" + room, "game.txt:2: '0' is outside 1..1000"},
           {head + object + "  event Creat 0 -> 1\nend\n" + room, "game.txt:3: unknown event type 'Creat'"},
           {head + object + "  event Create 0 1\nend\n" + room, "game.txt:3: 'event' takes 4 values"},
           {head + object + "  event Create 0 => 1\nend\n" + room, "game.txt:3: expected '->' before the code index"},
           {head + object + "  event Draw 0 -> 1\n  event Draw 0 -> 2\nend\n" + room,
            "game.txt:4: this event is already bound"},
           {head + object + "  sprite s\nend\n" + room, "game.txt:3: no sprite named 's' defined before this line"},
           {head + object + "end\nobject o\nend\n" + room, "game.txt:4: object 'o' is defined twice"},
           {head + object + room, "game.txt:3: unknown object setting 'room'"},
           {head + "room r\n  instance x 0 0\nend\n", "game.txt:3: no object named 'x' defined before this line"},
           {head + object + "end\nroom r\n  instance o 0 0 frame 2\nend\n",
            "game.txt:5: expected 'image', found 'frame'"},
           {head + "room r\n  background #00000080\nend\n", "game.txt:3: this colour cannot be transparent"},
           {head + "room r\n", "game.txt:2: 'room' has no 'end'"},
           {head + "end\n" + room, "game.txt:2: 'end' without a block"},
           {head + "sprite s\n  size 4 4\n  bbox 0 0 4 3\n  art \"a.art\"\nend\n" + room,
            "game.txt:4: '4' is outside 0..3"},
           {head + "sprite s\n  art \"a.art\"\nend\n" + room, "game.txt:2: a sprite needs 'size' (first) and 'art'"},
           {head + "font f\n  size 9\nend\n" + room, "game.txt:2: a font needs 'file', 'size' and 'chars'"}})
    EXPECT_EQ(BuildError(description), message) << description;
  EXPECT_NE(
      BuildError(head + "sprite s\n  size 4 4\n  art \"missing.art\"\nend\n" + room).find("missing.art: cannot read"),
      std::string::npos);
  EXPECT_NE(BuildError(head + "font f\n  file \"NoSuchFont.ttf\"\n  size 9\n  chars 65 66\nend\n" + room)
                .find("cannot read the font file"),
            std::string::npos);
}

// The menu's golden pictures pin the shapes it draws; rings, rounded corners
// wider than the box and scaling are not among them.
TEST(VectorArt, RingsRoundedCornersAndScaling) {
  Image ring = Art("ring 8 8 5 2 fill #FFFFFF", 16);
  EXPECT_EQ(std::make_tuple(ring.At(13, 8) >> 24, ring.At(8, 2) >> 24, ring.At(7, 7) >> 24),
            std::make_tuple(255u, 255u, 0u));
  EXPECT_EQ(Art("rrect 0 0 12 12 99 fill #FFFFFF", 16).pixels, Art("circle 6 6 6 fill #FFFFFF", 16).pixels);

  const std::string small = "circle 8 8 6 fill #FF0000\nrect 2 10 14 15 gradient #000000 #FFFFFF";
  const std::string large = "circle 16 16 12 fill #FF0000\nrect 4 20 28 30 gradient #000000 #FFFFFF";
  EXPECT_EQ(Art(small, 32, 2).pixels, Art(large, 32).pixels);
  EXPECT_EQ(Art(large, 16, 0.5).pixels, Art(small, 16).pixels);
  Image shrunk = Art("rect 0 0 160 80 fill #00FF00", 16, 0.1);
  EXPECT_EQ(std::make_pair(shrunk.At(15, 7), shrunk.At(15, 8)), std::make_pair(0xFF00FF00u, 0u));
}

TEST(VectorArt, MistakesNameTheirLine) {
  for (auto [text, message] : std::initializer_list<std::pair<const char*, const char*>>{
           {"frame\n  rrec 0 0 1 1 2 fill #FFFFFF\nend\n", "test.art:2: unknown shape 'rrec'"},
           {"frame\n  circle 1 1 1\nend\n", "test.art:2: 'circle' needs a paint ('fill' or 'gradient')"},
           {"frame\n  circle 1 1 fill #FFFFFF\nend\n", "test.art:2: 'circle' takes 3 numbers before its paint"},
           {"frame\n  circle 1 1 0 fill #FFFFFF\nend\n", "test.art:2: the radius must be greater than 0"},
           {"frame\n  polygon 0 0 1 1 fill #FFFFFF\nend\n",
            "test.art:2: a polygon takes three or more x y pairs before its paint"},
           {"frame\n  rect 0 0 1 1 fill #FFFFFF #000000\nend\n", "test.art:2: 'rect' takes 6 values"},
           {"circle 1 1 1 fill #FFFFFF\n", "test.art:1: shape outside a frame"},
           {"frame\nframe\n", "test.art:2: 'frame' inside a frame (missing 'end')"},
           {"frame\n  rect 0 0 1 1 fill #FFFFFF\n", "test.art:2: the last frame has no 'end'"}})
    EXPECT_EQ(ErrorOf([&] { ParseArt(ScanDescription(text, "test.art")); }), message);
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
