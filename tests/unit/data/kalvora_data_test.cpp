// What the end-to-end scenarios cannot see in the data.win of the build: font 0
// holds every Polish letter (not all appear on the screens they compare), the
// built-in font compiled into the core is complete and monospaced, and the
// committed fuzzing seeds still load (or the fuzzer starts from noise).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/game_data_loader.h"
#include "tools/game_description.h"

namespace {

bool Load(const std::string& path, GameData& game, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return !bytes.empty() && LoadGameData(bytes.data(), bytes.size(), game, error);
}

// The glyph of `codepoint` when it has ink (a space needs none).
const Glyph* InkedGlyph(const Font& font, uint32_t codepoint) {
  auto found =
      std::find_if(font.glyphs.begin(), font.glyphs.end(), [&](const Glyph& g) { return g.codepoint == codepoint; });
  if (found == font.glyphs.end()) return nullptr;
  for (int y = found->y; y < found->y + found->h; ++y)
    for (int x = found->x; x < found->x + found->w; ++x)
      if (font.page.At(x, y) > 0) return &*found;
  return codepoint == ' ' ? &*found : nullptr;
}

TEST(KalvoraData, FontZeroIsPolishTheBuiltinFontMonospacedAndTheFuzzSeedsLoad) {
  GameData game;
  std::string error;
  ASSERT_TRUE(Load(KALVORA_DATA_WIN, game, error)) << error;
  for (char32_t c : std::u32string(U"ĄĆĘŁŃÓŚŹŻąćęłńóśźż"))
    EXPECT_NE(InkedGlyph(game.fonts.at(0), c), nullptr) << uint32_t(c);

  const Font& builtin = BuiltinFont();
  ASSERT_EQ(builtin.page.values.size(), size_t(builtin.page.width) * size_t(builtin.page.height));
  for (uint32_t c = 32; c <= 126; ++c) {
    const Glyph* glyph = InkedGlyph(builtin, c);
    ASSERT_NE(glyph, nullptr) << c;
    EXPECT_EQ(std::make_pair(int(glyph->advance), int(glyph->h)),
              std::make_pair(int(InkedGlyph(builtin, 'M')->advance), int(builtin.lineHeight)))
        << c;
  }

  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KALVORA_FUZZ_CORPUS "/game_data")) {
    ++seeds;
    EXPECT_TRUE(Load(entry.path().string(), game, error)) << entry.path() << ": " << error;
  }
  EXPECT_GT(seeds, 0);
}

}  // namespace
