// The loader against files made by the writer: the round trip, damaged files
// (truncated at every length, every byte altered), unknown chunks and the
// checks that reject a file whose indices point nowhere.
#include "engine/game_data_loader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>

#include "engine/game_data_format.h"
#include "runtime/debug_output.h"
#include "tools/game_data_writer.h"

namespace {

Image Filled(int width, int height, uint32_t first) {
  Image image(width, height);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = first + uint32_t(i) * 0x01020304u;
  return image;
}

// A small game that sets every field to something other than its default.
GameData SampleGame() {
  GameData game;
  game.options = GameOptions{"Sample", kOptionFreezeWhenInactive | kOptionCopyOnWriteArrays, 30, 0x80FF0010};

  Sprite box;
  box.name = "sBox";
  box.width = 3;
  box.height = 2;
  box.originX = -1;
  box.originY = 7;
  box.bboxLeft = 1;
  box.bboxTop = 0;
  box.bboxRight = 2;
  box.bboxBottom = 1;
  box.playbackSpeed = 0.5f;
  box.speedInFramesPerSecond = true;
  box.frames = {Filled(3, 2, 0xFF000000), Filled(3, 2, 0x11223344)};
  Sprite precise = box;
  precise.name = "sPrecise";
  precise.collision = CollisionKind::Precise;
  precise.frames = {Filled(3, 2, 0xFFFFFFFF)};
  precise.masks = {AlphaMap{3, 2, {0, 1, 1, 0, 1, 0}}};
  game.sprites = {box, precise};

  Font font;
  font.name = "fTest";
  font.face = "Test Face";
  font.size = 12;
  font.lineHeight = 3;
  font.shadow = true;
  font.shadowOffsetX = 2;
  font.shadowOffsetY = -1;
  font.shadowColour = 0x7F000080;
  font.glyphs = {Glyph{65, 0, 0, 2, 3, 1, 4}, Glyph{0x17B, 2, 0, 2, 3, -1, 5}};
  font.page = AlphaMap{4, 3, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110}};
  game.fonts = {font};

  ObjectRecord parent{"oParent", -1, 0, 1, -5, false, true, true, {{0, 0, 4}, {2, 11, -1}}};
  ObjectRecord child{"oChild", 0, -1, -1, 3, true, false, false, {{6, 7, 2}, {9, 27, 3}, {14, 0, 0}}};
  game.objects = {parent, child};

  RoomRecord first{"rFirst", 640, 480, 30, true, 0x302010, false, 5, {}};
  first.instances.push_back(RoomInstanceRecord{10.25, -4.5, 1, 100001, 6, 7, 2.0f, 0.5f, 0x00FF00, 3.0f, 45.0f, 128});
  first.instances.push_back(RoomInstanceRecord{0, 0, -1, 100002, -1, -1, 1, 1, 0xFFFFFF, 0, 0, 255});
  RoomRecord second{"rSecond", 16, 16, 1, false, 0, true, -1, {}};  // the lowest room speed
  second.instances.push_back(RoomInstanceRecord{1, 2, 0, 100003, -1, -1, 1, 1, 0xFFFFFF, 1, 0, 255});
  game.rooms = {first, second};
  game.roomOrder = {1, 0};
  return game;
}

bool Load(const std::vector<uint8_t>& bytes, GameData& game, std::string& error) {
  return LoadGameData(bytes.data(), bytes.size(), game, error);
}

std::string LoadError(const std::vector<uint8_t>& bytes) {
  GameData game;
  std::string error;
  return Load(bytes, game, error) ? "" : error;
}

std::string LoadError(const GameData& game) { return LoadError(WriteGameData(game)); }

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t at) {
  return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
         uint32_t(bytes[at + 3]) << 24;
}

// Where each chunk starts (its tag), in file order.
std::vector<size_t> ChunkOffsets(const std::vector<uint8_t>& bytes) {
  std::vector<size_t> offsets;
  for (size_t at = kChunkHeaderSize; at + kChunkHeaderSize <= bytes.size();
       at += kChunkHeaderSize + GetU32(bytes, at + 4))
    offsets.push_back(at);
  return offsets;
}

size_t ChunkOffset(const std::vector<uint8_t>& bytes, const char* tag) {
  for (size_t at : ChunkOffsets(bytes))
    if (std::memcmp(&bytes[at], tag, kTagSize) == 0) return at;
  ADD_FAILURE() << "no chunk " << tag;
  return 0;
}

void FixFormSize(std::vector<uint8_t>& bytes) { PutU32(bytes, 4, uint32_t(bytes.size() - kChunkHeaderSize)); }

std::vector<uint8_t> InsertChunk(std::vector<uint8_t> bytes, size_t at, const std::string& tag, size_t payloadSize) {
  std::vector<uint8_t> chunk(tag.begin(), tag.end());
  chunk.resize(kChunkHeaderSize + payloadSize, 0xAB);
  PutU32(chunk, kTagSize, uint32_t(payloadSize));
  bytes.insert(bytes.begin() + std::ptrdiff_t(at), chunk.begin(), chunk.end());
  FixFormSize(bytes);
  return bytes;
}

void ExpectSameImages(const std::vector<Image>& a, const std::vector<Image>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].width, b[i].width);
    EXPECT_EQ(a[i].height, b[i].height);
    EXPECT_EQ(a[i].pixels, b[i].pixels);
  }
}

void ExpectSameSprite(const Sprite& a, const Sprite& b) {
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(std::tie(a.width, a.height, a.originX, a.originY, a.bboxLeft, a.bboxTop, a.bboxRight, a.bboxBottom),
            std::tie(b.width, b.height, b.originX, b.originY, b.bboxLeft, b.bboxTop, b.bboxRight, b.bboxBottom));
  EXPECT_EQ(a.collision, b.collision);
  EXPECT_EQ(a.playbackSpeed, b.playbackSpeed);
  EXPECT_EQ(a.speedInFramesPerSecond, b.speedInFramesPerSecond);
  ExpectSameImages(a.frames, b.frames);
  ASSERT_EQ(a.masks.size(), b.masks.size());
  for (size_t i = 0; i < a.masks.size(); ++i) EXPECT_EQ(a.masks[i].values, b.masks[i].values);
}

void ExpectSameFont(const Font& a, const Font& b) {
  EXPECT_EQ(std::tie(a.name, a.face, a.size, a.lineHeight, a.shadow, a.shadowOffsetX, a.shadowOffsetY, a.shadowColour),
            std::tie(b.name, b.face, b.size, b.lineHeight, b.shadow, b.shadowOffsetX, b.shadowOffsetY, b.shadowColour));
  ASSERT_EQ(a.glyphs.size(), b.glyphs.size());
  for (size_t i = 0; i < a.glyphs.size(); ++i) {
    const Glyph& g = a.glyphs[i];
    const Glyph& h = b.glyphs[i];
    EXPECT_EQ(std::tie(g.codepoint, g.x, g.y, g.w, g.h, g.offset, g.advance),
              std::tie(h.codepoint, h.x, h.y, h.w, h.h, h.offset, h.advance));
  }
  EXPECT_EQ(std::tie(a.page.width, a.page.height, a.page.values), std::tie(b.page.width, b.page.height, b.page.values));
}

void ExpectSameObject(const ObjectRecord& a, const ObjectRecord& b) {
  EXPECT_EQ(std::tie(a.name, a.parentIndex, a.spriteIndex, a.maskIndex, a.depth, a.visible, a.solid, a.persistent),
            std::tie(b.name, b.parentIndex, b.spriteIndex, b.maskIndex, b.depth, b.visible, b.solid, b.persistent));
  ASSERT_EQ(a.events.size(), b.events.size());
  for (size_t i = 0; i < a.events.size(); ++i)
    EXPECT_EQ(std::tie(a.events[i].type, a.events[i].number, a.events[i].codeIndex),
              std::tie(b.events[i].type, b.events[i].number, b.events[i].codeIndex));
}

void ExpectSameRoom(const RoomRecord& a, const RoomRecord& b) {
  EXPECT_EQ(std::tie(a.name, a.width, a.height, a.speed, a.persistent, a.backgroundColour, a.clearDisplay,
                     a.creationCodeIndex),
            std::tie(b.name, b.width, b.height, b.speed, b.persistent, b.backgroundColour, b.clearDisplay,
                     b.creationCodeIndex));
  ASSERT_EQ(a.instances.size(), b.instances.size());
  for (size_t i = 0; i < a.instances.size(); ++i) {
    const RoomInstanceRecord& p = a.instances[i];
    const RoomInstanceRecord& q = b.instances[i];
    EXPECT_EQ(std::tie(p.x, p.y, p.objectIndex, p.id, p.creationCodeIndex, p.preCreationCodeIndex, p.scaleX, p.scaleY,
                       p.blend, p.imageIndex, p.angle, p.alpha),
              std::tie(q.x, q.y, q.objectIndex, q.id, q.creationCodeIndex, q.preCreationCodeIndex, q.scaleX, q.scaleY,
                       q.blend, q.imageIndex, q.angle, q.alpha));
  }
}

// What the runtime relies on in any GameData that LoadGameData accepted.
void ExpectUsable(const GameData& game) {
  auto isIndexOrNone = [](int index, size_t count) { return index == -1 || (index >= 0 && size_t(index) < count); };
  ASSERT_FALSE(game.roomOrder.empty());
  for (int room : game.roomOrder) ASSERT_TRUE(room >= 0 && size_t(room) < game.rooms.size());
  for (const Sprite& sprite : game.sprites) {
    ASSERT_FALSE(sprite.frames.empty());
    for (const Image& frame : sprite.frames)
      ASSERT_EQ(frame.pixels.size(), size_t(sprite.width) * size_t(sprite.height));
  }
  for (const Font& font : game.fonts) {
    ASSERT_EQ(font.page.values.size(), size_t(font.page.width) * size_t(font.page.height));
    for (const Glyph& g : font.glyphs) ASSERT_TRUE(g.x + g.w <= font.page.width && g.y + g.h <= font.page.height);
  }
  for (const ObjectRecord& object : game.objects) {
    ASSERT_TRUE(isIndexOrNone(object.parentIndex, game.objects.size()));
    ASSERT_TRUE(isIndexOrNone(object.spriteIndex, game.sprites.size()));
  }
  std::set<int> ids;
  for (const RoomRecord& room : game.rooms)
    for (const RoomInstanceRecord& instance : room.instances) {
      ASSERT_TRUE(isIndexOrNone(instance.objectIndex, game.objects.size()));
      ASSERT_TRUE(ids.insert(instance.id).second);
      ASSERT_TRUE(std::isfinite(instance.x) && std::isfinite(instance.y));
    }
}

class CaptureDebugOutput {
 public:
  CaptureDebugOutput() { SetDebugOutputCapture(&text); }
  ~CaptureDebugOutput() { SetDebugOutputCapture(nullptr); }
  std::string text;
};

// Every field of the sample differs from its default. The field-by-field check
// catches a field the writer drops (the file written back would drop it too);
// the bytes written back catch one the loader drops or misreads.
TEST(GameDataLoader, RoundTripKeepsEveryField) {
  const GameData sample = SampleGame();
  const std::vector<uint8_t> written = WriteGameData(sample);
  GameData read;
  std::string error;
  ASSERT_TRUE(Load(written, read, error)) << error;
  EXPECT_EQ(read.options.gameName, sample.options.gameName);
  EXPECT_EQ(read.options.flags, sample.options.flags);
  EXPECT_EQ(read.options.gameSpeed, sample.options.gameSpeed);
  EXPECT_EQ(read.options.defaultDrawColour, sample.options.defaultDrawColour);
  ASSERT_EQ(read.sprites.size(), sample.sprites.size());
  for (size_t i = 0; i < read.sprites.size(); ++i) ExpectSameSprite(read.sprites[i], sample.sprites[i]);
  ASSERT_EQ(read.fonts.size(), 1u);
  ExpectSameFont(read.fonts[0], sample.fonts[0]);
  ASSERT_EQ(read.objects.size(), sample.objects.size());
  for (size_t i = 0; i < read.objects.size(); ++i) ExpectSameObject(read.objects[i], sample.objects[i]);
  ASSERT_EQ(read.rooms.size(), sample.rooms.size());
  for (size_t i = 0; i < read.rooms.size(); ++i) ExpectSameRoom(read.rooms[i], sample.rooms[i]);
  EXPECT_EQ(read.roomOrder, sample.roomOrder);
  EXPECT_EQ(WriteGameData(read), written);
}

TEST(GameDataLoader, EveryTruncationFailsCleanly) {
  const std::vector<uint8_t> whole = WriteGameData(SampleGame());
  for (size_t length = 0; length < whole.size(); ++length) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + std::ptrdiff_t(length));
    EXPECT_NE(LoadError(cut), "") << "cut at " << length;
  }
  // The same cuts with the FORM size and the size of the chunk that was cut made
  // to agree with the new length, so the cut reaches the record readers.
  for (size_t length = kChunkHeaderSize; length < whole.size(); ++length) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + std::ptrdiff_t(length));
    FixFormSize(cut);
    bool insidePayload = false;
    for (size_t at : ChunkOffsets(whole)) {
      size_t end = at + kChunkHeaderSize + GetU32(whole, at + 4);
      if (at + kChunkHeaderSize <= length && length < end) {
        PutU32(cut, at + 4, uint32_t(length - at - kChunkHeaderSize));
        insidePayload = true;
      }
    }
    GameData game;
    std::string error;
    bool loaded = Load(cut, game, error);
    if (insidePayload) {
      EXPECT_FALSE(loaded) << "cut at " << length << " was accepted";
    }
    if (loaded) ExpectUsable(game);
  }
}

TEST(GameDataLoader, AlteredBytesAreRejectedOrGiveUsableData) {
  const std::vector<uint8_t> whole = WriteGameData(SampleGame());
  CaptureDebugOutput quiet;
  int accepted = 0;
  for (size_t at = 0; at < whole.size(); ++at) {
    for (uint8_t value :
         {uint8_t(0x00), uint8_t(0x01), uint8_t(0x7F), uint8_t(0x80), uint8_t(0xFF), uint8_t(~whole[at])}) {
      std::vector<uint8_t> altered = whole;
      altered[at] = value;
      GameData game;
      std::string error;
      if (Load(altered, game, error)) {
        ++accepted;
        ExpectUsable(game);
      } else {
        EXPECT_FALSE(error.empty());
      }
    }
  }
  // Pixel and glyph-page bytes carry no structure, so some changes must load.
  EXPECT_GT(accepted, 0);
}

TEST(GameDataLoader, UnknownChunksAreLoggedAndSkipped) {
  const std::vector<uint8_t> whole = WriteGameData(SampleGame());
  size_t afterGeneral = ChunkOffsets(whole)[1];
  // A tag of non-printable bytes and a format directive must print safely.
  std::vector<uint8_t> withUnknown = InsertChunk(whole, afterGeneral, std::string("%s\n\xff", 4), 5);
  withUnknown = InsertChunk(withUnknown, withUnknown.size(), "ZZZZ", 0);
  std::vector<uint8_t> withKnown = InsertChunk(whole, afterGeneral, "TXTR", 12);

  CaptureDebugOutput log;
  GameData game;
  std::string error;
  ASSERT_TRUE(Load(withUnknown, game, error)) << error;
  EXPECT_EQ(log.text, "unknown Chunk %s??:5\nunknown Chunk ZZZZ:0\n");
  EXPECT_EQ(WriteGameData(game), whole);

  log.text.clear();
  ASSERT_TRUE(Load(withKnown, game, error)) << error;
  EXPECT_EQ(log.text, "");  // a chunk the runtime knows but this game does not use
}

TEST(GameDataLoader, RejectsStructuralDamageWithAReason) {
  const std::vector<uint8_t> whole = WriteGameData(SampleGame());

  EXPECT_NE(LoadError(std::vector<uint8_t>{}).find("no FORM header"), std::string::npos);
  std::vector<uint8_t> notForm = whole;
  notForm[0] = 'G';
  EXPECT_NE(LoadError(notForm).find("no FORM header"), std::string::npos);
  EXPECT_NE(LoadError(std::vector<uint8_t>{'F', 'O', 'R', 'M', 0, 0, 0, 0}).find("no GEN8"), std::string::npos);

  std::vector<uint8_t> padded = whole;
  padded.push_back(0);
  EXPECT_NE(LoadError(padded).find("FORM size"), std::string::npos);

  std::vector<uint8_t> version = whole;
  PutU32(version, ChunkOffset(version, kTagGeneral) + kChunkHeaderSize, kGameDataFormatVersion + 1);
  EXPECT_NE(LoadError(version).find("format version 2, expected 1"), std::string::npos);

  std::vector<uint8_t> notFirst = InsertChunk(whole, kChunkHeaderSize, "ZZZZ", 0);
  EXPECT_NE(LoadError(notFirst).find("first chunk is not GEN8"), std::string::npos);

  size_t options = ChunkOffset(whole, kTagOptions);
  std::vector<uint8_t> optionsChunk(whole.begin() + std::ptrdiff_t(options),
                                    whole.begin() + std::ptrdiff_t(options + kChunkHeaderSize + 8));
  std::vector<uint8_t> twice = whole;
  twice.insert(twice.end(), optionsChunk.begin(), optionsChunk.end());
  FixFormSize(twice);
  EXPECT_NE(LoadError(twice).find("OPTN appears twice"), std::string::npos);

  // A chunk longer than its records: the leftover bytes are reported.
  std::vector<uint8_t> longer = whole;
  longer.insert(longer.begin() + std::ptrdiff_t(options + kChunkHeaderSize + 8), 3, 0);
  PutU32(longer, options + 4, 8 + 3);
  FixFormSize(longer);
  EXPECT_NE(LoadError(longer).find("OPTN: 3 bytes left unread"), std::string::npos);

  // A count far beyond what the chunk holds is refused before anything is reserved.
  std::vector<uint8_t> hugeCount = whole;
  PutU32(hugeCount, ChunkOffset(whole, kTagObjects) + kChunkHeaderSize, 0xFFFFFFFF);
  EXPECT_NE(LoadError(hugeCount).find("OBJT: count 4294967295 does not fit"), std::string::npos);

  std::vector<uint8_t> badString = whole;
  PutU32(badString, ChunkOffset(whole, kTagRooms) + kChunkHeaderSize + 4, 0x7FFFFFF0);
  EXPECT_NE(LoadError(badString).find("ROOM: room 0: record runs past the end"), std::string::npos);

  GameData untouched;
  untouched.options.gameName = "Before";
  std::string error;
  EXPECT_FALSE(Load(badString, untouched, error));
  EXPECT_EQ(untouched.options.gameName, "Before") << "a failed load leaves the result as it was";
  EXPECT_FALSE(LoadGameData(nullptr, 16, untouched, error));
}

TEST(GameDataLoader, RejectsValuesTheRuntimeCannotUse) {
  auto rejected = [](void (*damage)(GameData&), const std::string& reason) {
    GameData game = SampleGame();
    damage(game);
    std::string error = LoadError(game);
    EXPECT_NE(error.find(reason), std::string::npos) << "expected '" << reason << "', got '" << error << "'";
  };
  rejected([](GameData& g) { g.options.gameName = ".."; }, "game name is not a plain folder name");
  rejected([](GameData& g) { g.options.gameName = "a/b"; }, "game name is not a plain folder name");
  rejected([](GameData& g) { g.options.gameName = std::string("a\0b", 3); }, "NUL byte");
  rejected([](GameData& g) { g.options.gameSpeed = 0; }, "game speed out of range");
  rejected([](GameData& g) { g.roomOrder.clear(); }, "room order is empty");
  rejected([](GameData& g) { g.roomOrder = {2}; }, "room order names no room");
  rejected([](GameData& g) { g.sprites[0].frames.clear(); }, "sprite 0: sprite has no frames");
  rejected([](GameData& g) { g.sprites[1].bboxRight = 3; }, "sprite 1: bounding box outside the sprite");
  rejected([](GameData& g) { g.sprites[0].playbackSpeed = std::numeric_limits<float>::quiet_NaN(); }, "not finite");
  rejected([](GameData& g) { g.fonts[0].glyphs[1].codepoint = 65; }, "ascending codepoint order");
  rejected([](GameData& g) { g.fonts[0].glyphs[1].x = 3; }, "glyph cell outside the glyph page");
  rejected([](GameData& g) { g.fonts[0].glyphs[0].h = 2; }, "differs from the line height");
  rejected([](GameData& g) { g.objects[1].parentIndex = 2; }, "object 1: parent names no object");
  rejected([](GameData& g) { g.objects[0].parentIndex = 1; }, "parents of an object form a loop");
  rejected([](GameData& g) { g.objects[1].parentIndex = 1; }, "parents of an object form a loop");
  rejected([](GameData& g) { g.objects[0].spriteIndex = 2; }, "object 0: sprite names no sprite");
  rejected([](GameData& g) { g.objects[0].maskIndex = -2; }, "object 0: mask names no sprite");
  rejected([](GameData& g) { g.objects[1].events.push_back({6, 7, 9}); }, "event 6/7 appears twice");
  rejected([](GameData& g) { g.objects[1].events.push_back({15, 0, 9}); }, "unknown event type 15");
  rejected([](GameData& g) { g.objects[1].events[0].codeIndex = -2; }, "negative code index");
  rejected([](GameData& g) { g.rooms[0].width = 0; }, "room 0: size out of range");
  rejected([](GameData& g) { g.rooms[1].backgroundColour = 0xFF000000; }, "background colour out of range");
  rejected([](GameData& g) { g.rooms[1].instances[0].objectIndex = 2; }, "room 1: instance names no object");
  rejected([](GameData& g) { g.rooms[1].instances[0].id = 100001; }, "instance id 100001 used twice");
  rejected([](GameData& g) { g.rooms[0].instances[0].x = INFINITY; }, "not finite");
}

}  // namespace
