// The data.win of the build holds Kalvora's world: its options, the six objects
// with their handlers' code indices, the seven rooms, the menu buttons' sprite
// and font 0 with every Polish letter; and the built-in font compiled into the
// core holds its characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "engine/game_data_loader.h"
#include "tools/game_description.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file.is_open()) << path;
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

GameData LoadKalvora() {
  std::vector<uint8_t> bytes = ReadFile(KALVORA_DATA_WIN);
  GameData game;
  std::string error;
  EXPECT_TRUE(LoadGameData(bytes.data(), bytes.size(), game, error)) << error;
  return game;
}

const Glyph* FindGlyph(const Font& font, uint32_t codepoint) {
  auto found = std::lower_bound(font.glyphs.begin(), font.glyphs.end(), codepoint,
                                [](const Glyph& g, uint32_t c) { return g.codepoint < c; });
  return found != font.glyphs.end() && found->codepoint == codepoint ? &*found : nullptr;
}

int Ink(const Font& font, const Glyph& glyph) {
  int sum = 0;
  for (int y = glyph.y; y < glyph.y + glyph.h; ++y)
    for (int x = glyph.x; x < glyph.x + glyph.w; ++x) sum += font.page.At(x, y);
  return sum;
}

struct Handler {
  int type, number, codeIndex;
};

// Code indices of the rows of the compiled function table.
std::vector<Handler> EditorHandlers(int first) {
  return {{0, 0, first},      {2, 1, first + 1},  {2, 2, first + 2}, {2, 3, first + 3}, {6, 60, first + 4},
          {6, 61, first + 5}, {6, 56, first + 6}, {8, 0, first + 7}, {9, 27, first + 8}};
}

TEST(KalvoraData, OptionsAndObjects) {
  GameData game = LoadKalvora();
  EXPECT_EQ(game.options.gameName, "Kalvora");
  EXPECT_EQ(game.options.gameSpeed, 60);
  EXPECT_EQ(game.options.flags, kOptionCopyOnWriteArrays);
  EXPECT_EQ(game.options.defaultDrawColour, 0xFFFFFFFFu);

  const std::vector<std::pair<std::string, std::vector<Handler>>> expected = {
      {"MenuIcon", {{0, 0, 6}, {2, 0, 7}, {6, 7, 8}, {8, 0, 9}, {14, 0, 10}}},
      {"oCars", EditorHandlers(11)},
      {"oClose",
       {{0, 0, 20},
        {2, 1, 21},
        {2, 2, 22},
        {2, 3, 23},
        {2, 4, 24},
        {2, 5, 25},
        {6, 60, 26},
        {6, 61, 27},
        {6, 56, 28},
        {8, 0, 29},
        {9, 27, 30}}},
      {"oCovid", EditorHandlers(31)},
      {"oLicense", EditorHandlers(40)},
      {"oPers", EditorHandlers(49)},
  };
  ASSERT_EQ(game.objects.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const ObjectRecord& object = game.objects[i];
    SCOPED_TRACE(object.name);
    EXPECT_EQ(object.name, expected[i].first);
    EXPECT_EQ(object.parentIndex, -1);
    EXPECT_EQ(object.spriteIndex, i == 0 ? 0 : -1);
    EXPECT_TRUE(object.visible);
    ASSERT_EQ(object.events.size(), expected[i].second.size());
    for (size_t e = 0; e < object.events.size(); ++e) {
      EXPECT_EQ(object.events[e].type, expected[i].second[e].type);
      EXPECT_EQ(object.events[e].number, expected[i].second[e].number);
      EXPECT_EQ(object.events[e].codeIndex, expected[i].second[e].codeIndex);
    }
  }
}

TEST(KalvoraData, RoomsAndInstances) {
  GameData game = LoadKalvora();
  ASSERT_EQ(game.rooms.size(), 7u);
  EXPECT_EQ(game.roomOrder, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  std::set<int> ids;
  for (const RoomRecord& room : game.rooms) {
    SCOPED_TRACE(room.name);
    EXPECT_EQ(room.width, 800);
    EXPECT_EQ(room.height, 600);
    EXPECT_EQ(room.speed, 60);
    EXPECT_FALSE(room.persistent);
    uint32_t c = room.backgroundColour;
    EXPECT_LT((c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF), 3u * 64) << "background not dark";
    for (const RoomInstanceRecord& instance : room.instances) EXPECT_TRUE(ids.insert(instance.id).second);
  }

  const RoomRecord& menu = game.rooms[0];
  ASSERT_EQ(menu.instances.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    const RoomInstanceRecord& button = menu.instances[size_t(i)];
    EXPECT_EQ(button.objectIndex, 0);
    EXPECT_EQ(button.imageIndex, float(i));
    EXPECT_EQ(button.x, 100 + 200 * (i % 4));
    EXPECT_EQ(button.y, 250 + 250 * (i / 4));
  }
  const std::pair<size_t, const char*> screens[] = {
      {1, "oPers"}, {2, "oCars"}, {3, "oClose"}, {5, "oCovid"}, {6, "oLicense"}};
  for (auto [room, object] : screens) {
    ASSERT_EQ(game.rooms[room].instances.size(), 1u);
    const RoomInstanceRecord& screen = game.rooms[room].instances[0];
    EXPECT_EQ(game.objects[size_t(screen.objectIndex)].name, object);
    EXPECT_EQ(screen.x, 0);
    EXPECT_EQ(screen.y, 0);
  }
  EXPECT_TRUE(game.rooms[4].instances.empty());
}

TEST(KalvoraData, MenuButtonSprite) {
  GameData game = LoadKalvora();
  ASSERT_EQ(game.sprites.size(), 1u);
  const Sprite& sprite = game.sprites[0];
  EXPECT_EQ(sprite.width, 160);
  EXPECT_EQ(sprite.height, 160);
  EXPECT_EQ(sprite.originX, 80);
  EXPECT_EQ(sprite.originY, 80);
  EXPECT_EQ(sprite.collision, CollisionKind::BoundingBox);
  ASSERT_EQ(sprite.frames.size(), 8u);
  std::set<uint32_t> tileColours;
  for (const Image& frame : sprite.frames) {
    // The bounding box covers the opaque face: its corners are inside the rounded
    // tile's bounds, its inner margin is opaque, and outside it there is at most shadow.
    EXPECT_EQ(frame.At(sprite.bboxLeft + 20, sprite.bboxTop + 20) >> 24, 0xFFu);
    EXPECT_EQ(frame.At(sprite.bboxRight - 20, sprite.bboxBottom - 20) >> 24, 0xFFu);
    EXPECT_EQ(frame.At(sprite.bboxLeft - 2, 80) >> 24, 0u);
    EXPECT_LT(frame.At(80, sprite.bboxBottom + 3) >> 24, 0x80u);
    // Each face carries a white pictogram.
    EXPECT_GT(std::count(frame.pixels.begin(), frame.pixels.end(), 0xFFFFFFFFu), 1500);
    tileColours.insert(frame.At(sprite.bboxLeft + 20, 80));
  }
  EXPECT_EQ(tileColours.size(), 8u) << "every button has its own colour";
}

TEST(KalvoraData, FontZeroHasEveryPolishLetter) {
  GameData game = LoadKalvora();
  ASSERT_FALSE(game.fonts.empty());
  const Font& font = game.fonts[0];
  EXPECT_EQ(font.face, "DejaVu Sans");
  EXPECT_EQ(font.size, 14);
  for (uint32_t c = 32; c <= 126; ++c) EXPECT_NE(FindGlyph(font, c), nullptr) << c;
  const std::u32string polish = U"ĄĆĘŁŃÓŚŹŻąćęłńóśźż";
  for (char32_t c : polish) {
    const Glyph* glyph = FindGlyph(font, c);
    ASSERT_NE(glyph, nullptr) << uint32_t(c);
    EXPECT_GT(Ink(font, *glyph), 0) << uint32_t(c);
    EXPECT_GT(glyph->advance, 0);
  }
  const Glyph* m = FindGlyph(font, 'M');
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->h, font.lineHeight);
  EXPECT_GE(font.lineHeight, 14);
  EXPECT_LE(font.lineHeight, 22);
}

TEST(KalvoraData, BuiltinFontIsCompiledIn) {
  const Font& font = BuiltinFont();
  EXPECT_EQ(font.name, "builtin");
  EXPECT_EQ(font.face, "DejaVu Sans Mono");
  EXPECT_EQ(font.size, 11);
  ASSERT_EQ(font.page.values.size(), size_t(font.page.width) * size_t(font.page.height));
  for (uint32_t c = 32; c <= 126; ++c) {
    const Glyph* glyph = FindGlyph(font, c);
    ASSERT_NE(glyph, nullptr) << c;
    EXPECT_EQ(glyph->advance, FindGlyph(font, 'M')->advance) << "monospaced";
    EXPECT_EQ(glyph->h, font.lineHeight);
    if (c != ' ') {
      EXPECT_GT(Ink(font, *glyph), 0) << c;
    }
  }
  EXPECT_EQ(FindGlyph(font, 0x104), nullptr);  // no characters beyond 127
}

// The committed fuzzing seeds must stay loadable as the format evolves, or the
// fuzzer starts from noise.
TEST(KalvoraData, FuzzSeedsLoad) {
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KALVORA_FUZZ_CORPUS "/game_data")) {
    std::vector<uint8_t> bytes = ReadFile(entry.path().string());
    GameData game;
    std::string error;
    EXPECT_TRUE(LoadGameData(bytes.data(), bytes.size(), game, error)) << entry.path() << ": " << error;
    EXPECT_LT(bytes.size(), 20u * 1024);
    ++seeds;
  }
  EXPECT_GT(seeds, 0);
}

}  // namespace
