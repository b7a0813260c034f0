// What the end-to-end scenarios cannot see in the data.win of the build: font 0
// holds every Polish letter (not all appear on the screens they compare), the
// built-in font compiled into the core is complete and monospaced, and the
// committed fuzzing seeds still load.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/game_data_loader.h"
#include "tools/game_description.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file.is_open()) << path;
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool Load(const std::string& path, GameData& game, std::string& error) {
  std::vector<uint8_t> bytes = ReadFile(path);
  return LoadGameData(bytes.data(), bytes.size(), game, error) && bytes.size() > 0;
}

// The glyph of `codepoint` when it has ink.
const Glyph* InkedGlyph(const Font& font, uint32_t codepoint) {
  auto found = std::lower_bound(font.glyphs.begin(), font.glyphs.end(), codepoint,
                                [](const Glyph& g, uint32_t c) { return g.codepoint < c; });
  if (found == font.glyphs.end() || found->codepoint != codepoint) return nullptr;
  for (int y = found->y; y < found->y + found->h; ++y)
    for (int x = found->x; x < found->x + found->w; ++x)
      if (font.page.At(x, y) > 0) return &*found;
  return codepoint == ' ' ? &*found : nullptr;
}

TEST(KalvoraData, FontZeroHasEveryPolishLetter) {
  GameData game;
  std::string error;
  ASSERT_TRUE(Load(KALVORA_DATA_WIN, game, error)) << error;
  ASSERT_FALSE(game.fonts.empty());
  for (char32_t c : std::u32string(U"ĄĆĘŁŃÓŚŹŻąćęłńóśźż"))
    EXPECT_NE(InkedGlyph(game.fonts[0], c), nullptr) << uint32_t(c);
}

TEST(KalvoraData, BuiltinFontIsCompiledInAndMonospaced) {
  const Font& font = BuiltinFont();
  ASSERT_EQ(font.page.values.size(), size_t(font.page.width) * size_t(font.page.height));
  for (uint32_t c = 32; c <= 126; ++c) {
    const Glyph* glyph = InkedGlyph(font, c);
    ASSERT_NE(glyph, nullptr) << c;
    EXPECT_EQ(glyph->advance, InkedGlyph(font, 'M')->advance) << c;
    EXPECT_EQ(glyph->h, font.lineHeight) << c;
  }
}

// The committed fuzzing seeds must stay loadable as the format evolves, or the
// fuzzer starts from noise.
TEST(KalvoraData, FuzzSeedsLoad) {
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KALVORA_FUZZ_CORPUS "/game_data")) {
    GameData game;
    std::string error;
    EXPECT_TRUE(Load(entry.path().string(), game, error)) << entry.path() << ": " << error;
    ++seeds;
  }
  EXPECT_GT(seeds, 0);
}

}  // namespace
