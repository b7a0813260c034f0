// tools/databuild_main.cpp — kalvora-databuild, the game-data builder.
//
//   kalvora-databuild game DESCRIPTION OUTPUT --fonts DIR [--preview DIR]
//       builds data.win from the game description; with --preview it also writes
//       every sprite frame and font page as PNG into DIR, for looking at the art.
//   kalvora-databuild builtin-font FONTFILE PIXELS FIRST LAST OUTPUT
//       writes the C++ source of the built-in font (characters FIRST to LAST).
//   kalvora-databuild icon ART FRAME ARTSIZE SIZE OUTPUT
//       writes frame FRAME (from 0) of the art file, whose canvas is ARTSIZE
//       pixels square, as a SIZE × SIZE PNG picture: the program's icon.
//
// Outputs are written to a temporary file and renamed into place, so a failed
// build never leaves a half-written file behind. Exit code 0 on success, 1 on
// any error (printed as one line on standard error).
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/game_data_loader.h"
#include "graphics/png.h"
#include "tools/builtin_font_source.h"
#include "tools/font_rasterizer.h"
#include "tools/game_data_writer.h"
#include "tools/game_description.h"
#include "tools/vector_art.h"

namespace {

constexpr const char* kUsage =
    "usage: kalvora-databuild game DESCRIPTION OUTPUT --fonts DIR [--preview DIR]\n"
    "       kalvora-databuild builtin-font FONTFILE PIXELS FIRST LAST OUTPUT\n"
    "       kalvora-databuild icon ART FRAME ARTSIZE SIZE OUTPUT\n";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void WriteFileAtomically(const std::string& path, const void* data, size_t size) {
  std::string temporary = path + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), std::streamsize(size));
    if (!file.flush()) throw std::runtime_error(temporary + ": cannot write the file");
  }
  std::filesystem::rename(temporary, path);
}

// A font page as white pixels whose alpha is the glyph coverage.
Image PagePicture(const AlphaMap& page) {
  Image picture(page.width, page.height);
  for (size_t i = 0; i < page.values.size(); ++i) picture.pixels[i] = uint32_t(page.values[i]) << 24 | 0xFFFFFF;
  return picture;
}

void WritePreview(const GameData& game, const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  std::string error;
  auto write = [&](const std::string& name, const Image& image) {
    if (!WritePng((dir / name).string(), image, &error)) throw std::runtime_error(name + ": " + error);
  };
  for (const Sprite& sprite : game.sprites)
    for (size_t f = 0; f < sprite.frames.size(); ++f)
      write(sprite.name + "_" + std::to_string(f) + ".png", sprite.frames[f]);
  for (const Font& font : game.fonts)
    if (font.page.width > 0 && font.page.height > 0) write(font.name + ".png", PagePicture(font.page));
}

int BuildGame(const std::vector<std::string>& args) {
  if (args.size() < 3) throw UsageError("missing arguments");
  std::string fontDir, previewDir;
  for (size_t i = 3; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) throw UsageError(args[i] + " needs a value");
    if (args[i] == "--fonts")
      fontDir = args[i + 1];
    else if (args[i] == "--preview")
      previewDir = args[i + 1];
    else
      throw UsageError("unknown option " + args[i]);
  }
  if (fontDir.empty()) throw UsageError("--fonts is required");
  GameData game = BuildGameDescription(args[1], fontDir);
  std::vector<uint8_t> bytes = WriteGameData(game);
  GameData check;
  std::string error;
  if (!LoadGameData(bytes.data(), bytes.size(), check, error))
    throw std::runtime_error("the written game data does not load back: " + error);
  WriteFileAtomically(args[2], bytes.data(), bytes.size());
  if (!previewDir.empty()) WritePreview(game, previewDir);
  return 0;
}

// A whole number from 0 to 0x10FFFF given on the command line.
int ArgumentNumber(const std::string& text) {
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 0 || value > 0x10FFFF) throw UsageError("'" + text + "' is not a number");
  return int(value);
}

int BuildBuiltinFont(const std::vector<std::string>& args) {
  if (args.size() != 6) throw UsageError("builtin-font takes five arguments");
  FontRequest request{"builtin",
                      args[1],
                      ArgumentNumber(args[2]),
                      {{uint32_t(ArgumentNumber(args[3])), uint32_t(ArgumentNumber(args[4]))}}};
  std::string source = BuiltinFontSource(RasteriseFont(request));
  WriteFileAtomically(args[5], source.data(), source.size());
  return 0;
}

int BuildIcon(const std::vector<std::string>& args) {
  if (args.size() != 6) throw UsageError("icon takes five arguments");
  std::vector<ArtFrame> frames = ParseArt(ReadDescriptionFile(args[1]));
  size_t frame = size_t(ArgumentNumber(args[2]));
  int artSize = ArgumentNumber(args[3]), size = ArgumentNumber(args[4]);
  if (frame >= frames.size()) throw std::runtime_error(args[1] + " has no frame " + args[2]);
  if (artSize < 1 || size < 1 || size > 8192) throw UsageError("sizes are 1 to 8192 pixels");
  Image icon = RasteriseArtFrame(ScaleArtFrame(frames[frame], double(size) / artSize), size, size);
  std::string error;
  std::string temporary = args[5] + ".tmp";
  if (!WritePng(temporary, icon, &error)) throw std::runtime_error(args[5] + ": " + error);
  std::filesystem::rename(temporary, args[5]);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (!args.empty() && args[0] == "game") return BuildGame(args);
    if (!args.empty() && args[0] == "builtin-font") return BuildBuiltinFont(args);
    if (!args.empty() && args[0] == "icon") return BuildIcon(args);
    throw UsageError("unknown command");
  } catch (const UsageError& e) {
    std::fprintf(stderr, "kalvora-databuild: %s\n%s", e.what(), kUsage);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kalvora-databuild: %s\n", e.what());
  }
  return 1;
}
