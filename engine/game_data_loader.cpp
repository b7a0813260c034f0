// engine/game_data_loader.cpp — contents:
//   ChunkReader: a bounded cursor over one chunk's payload
//   one reader per chunk (GEN8, OPTN, SPRT, FONT, OBJT, ROOM)
//   cross-chunk checks (indices, parent chains, instance ids, room order)
//   the chunk walk of LoadGameData
#include "engine/game_data_loader.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <set>
#include <string_view>

#include "engine/game_data_format.h"
#include "runtime/debug_output.h"

namespace {

uint32_t LittleEndian32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// A chunk tag as text that is safe to print: bytes outside printable ASCII become '?'.
std::string PrintableTag(const uint8_t* tag) {
  std::string text(kTagSize, '?');
  for (size_t i = 0; i < kTagSize; ++i)
    if (tag[i] >= 0x20 && tag[i] < 0x7F) text[i] = char(tag[i]);
  return text;
}

// Reads one chunk's payload. Every read checks the bytes left; the first failure
// sticks (later reads give zeros) and keeps its reason, prefixed with the tag.
class ChunkReader {
 public:
  ChunkReader(std::string_view chunkTag, const uint8_t* payload, size_t payloadSize)
      : tag(chunkTag), data(payload), size(payloadSize) {}

  bool Ok() const { return error.empty(); }
  const std::string& Error() const { return error; }
  size_t Remaining() const { return size - position; }

  // Records the first failure; always returns false so callers can `return r.Fail(...)`.
  bool Fail(const std::string& reason) {
    if (Ok()) error = tag + ": " + context + reason;
    position = size;
    return false;
  }
  // Text put before every failure reason, naming the record being read.
  void SetContext(const std::string& record) { context = record.empty() ? "" : record + ": "; }

  const uint8_t* Take(size_t count) {
    if (!Ok()) return nullptr;
    if (count > Remaining()) {
      Fail("record runs past the end of the chunk");
      return nullptr;
    }
    const uint8_t* start = data + position;
    position += count;
    return start;
  }

  uint8_t U8() {
    const uint8_t* p = Take(1);
    return p ? p[0] : 0;
  }
  int16_t I16() {
    const uint8_t* p = Take(2);
    return p ? int16_t(uint16_t(p[0] | p[1] << 8)) : 0;
  }
  uint32_t U32() {
    const uint8_t* p = Take(4);
    return p ? LittleEndian32(p) : 0;
  }
  int32_t I32() { return int32_t(U32()); }
  float F32() {
    float value = std::bit_cast<float>(U32());
    if (std::isfinite(value)) return value;
    Fail("number is not finite");
    return 0;
  }
  double F64() {
    uint64_t low = U32();
    uint64_t high = U32();
    double value = std::bit_cast<double>(high << 32 | low);
    if (std::isfinite(value)) return value;
    Fail("number is not finite");
    return 0;
  }
  bool Flag() {
    uint8_t value = U8();
    if (value > 1) Fail("flag byte is neither 0 nor 1");
    return value == 1;
  }
  std::string Str() {
    uint32_t length = U32();
    const uint8_t* p = Take(length);
    if (!p) return {};
    std::string text(reinterpret_cast<const char*>(p), length);
    if (text.find('\0') != std::string::npos) Fail("text holds a NUL byte");
    return text;
  }
  // A count of records that each take at least `minItemSize` bytes; fails when the
  // chunk cannot hold that many, so no caller reserves memory for an absurd count.
  uint32_t Count(size_t minItemSize) {
    uint32_t count = U32();
    if (minItemSize > 0 && count > Remaining() / minItemSize) {
      Fail("count " + std::to_string(count) + " does not fit in the chunk");
      return 0;
    }
    return count;
  }

 private:
  std::string tag;
  std::string context;
  const uint8_t* data;
  size_t size;
  size_t position = 0;
  std::string error;
};

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

std::string Numbered(const char* what, size_t index) { return std::string(what) + " " + std::to_string(index); }

// Only a plain folder name may name the save area.
bool IsSafeFolderName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool ReadGeneral(ChunkReader& r, GameData& game) {
  uint32_t version = r.U32();
  if (r.Ok() && version != kGameDataFormatVersion)
    return r.Fail("format version " + std::to_string(version) + ", expected " + std::to_string(kGameDataFormatVersion));
  game.options.gameName = r.Str();
  if (r.Ok() && !IsSafeFolderName(game.options.gameName)) return r.Fail("game name is not a plain folder name");
  uint32_t speed = r.U32();
  if (r.Ok() && (speed < 1 || speed > uint32_t(kMaxSpeed))) return r.Fail("game speed out of range");
  game.options.gameSpeed = int(speed);
  uint32_t count = r.Count(4);
  game.roomOrder.reserve(count);
  for (uint32_t i = 0; i < count && r.Ok(); ++i) game.roomOrder.push_back(r.I32());
  return r.Ok();
}

bool ReadOptions(ChunkReader& r, GameData& game) {
  game.options.flags = r.U32();
  game.options.defaultDrawColour = r.U32();
  return r.Ok();
}

bool ReadFrames(ChunkReader& r, Sprite& sprite) {
  size_t pixelCount = size_t(sprite.width) * size_t(sprite.height);
  uint32_t frameCount = r.Count(pixelCount * 4);
  if (r.Ok() && frameCount == 0) return r.Fail("sprite has no frames");
  sprite.frames.reserve(frameCount);
  for (uint32_t f = 0; f < frameCount && r.Ok(); ++f) {
    const uint8_t* p = r.Take(pixelCount * 4);
    if (!p) break;
    Image frame(sprite.width, sprite.height);
    for (size_t i = 0; i < pixelCount; ++i) frame.pixels[i] = LittleEndian32(p + 4 * i);
    sprite.frames.push_back(std::move(frame));
  }
  if (sprite.collision != CollisionKind::Precise) return r.Ok();
  sprite.masks.reserve(frameCount);
  for (uint32_t f = 0; f < frameCount && r.Ok(); ++f) {
    const uint8_t* p = r.Take(pixelCount);
    if (!p) break;
    sprite.masks.push_back(AlphaMap{sprite.width, sprite.height, std::vector<uint8_t>(p, p + pixelCount)});
  }
  return r.Ok();
}

bool ReadSprite(ChunkReader& r, Sprite& sprite) {
  sprite.name = r.Str();
  sprite.width = r.I32();
  sprite.height = r.I32();
  sprite.originX = r.I32();
  sprite.originY = r.I32();
  sprite.bboxLeft = r.I32();
  sprite.bboxTop = r.I32();
  sprite.bboxRight = r.I32();
  sprite.bboxBottom = r.I32();
  uint8_t kind = r.U8();
  sprite.speedInFramesPerSecond = r.Flag();
  sprite.playbackSpeed = r.F32();
  if (!r.Ok()) return false;
  if (!InRange(sprite.width, 1, kMaxImageSide) || !InRange(sprite.height, 1, kMaxImageSide))
    return r.Fail("size out of range");
  if (!InRange(sprite.bboxLeft, 0, sprite.width - 1) || !InRange(sprite.bboxRight, sprite.bboxLeft, sprite.width - 1) ||
      !InRange(sprite.bboxTop, 0, sprite.height - 1) || !InRange(sprite.bboxBottom, sprite.bboxTop, sprite.height - 1))
    return r.Fail("bounding box outside the sprite");
  if (kind > uint8_t(CollisionKind::RotatedRect)) return r.Fail("unknown collision kind");
  sprite.collision = CollisionKind(kind);
  return ReadFrames(r, sprite);
}

bool ReadSprites(ChunkReader& r, GameData& game) {
  uint32_t count = r.Count(kSpriteMinSize);
  game.sprites.reserve(count);
  for (uint32_t i = 0; i < count && r.Ok(); ++i) {
    r.SetContext(Numbered("sprite", i));
    ReadSprite(r, game.sprites.emplace_back());
  }
  return r.Ok();
}

bool ReadGlyphs(ChunkReader& r, Font& font) {
  uint32_t count = r.Count(kGlyphSize);
  font.glyphs.reserve(count);
  for (uint32_t i = 0; i < count && r.Ok(); ++i) {
    Glyph glyph;
    glyph.codepoint = r.U32();
    glyph.x = r.I16();
    glyph.y = r.I16();
    glyph.w = r.I16();
    glyph.h = r.I16();
    glyph.offset = r.I16();
    glyph.advance = r.I16();
    if (!r.Ok()) break;
    if (glyph.codepoint > kMaxCodepoint) return r.Fail("glyph codepoint out of range");
    if (!font.glyphs.empty() && glyph.codepoint <= font.glyphs.back().codepoint)
      return r.Fail("glyphs not in ascending codepoint order");
    if (glyph.h != font.lineHeight) return r.Fail("glyph cell height differs from the line height");
    font.glyphs.push_back(glyph);
  }
  return r.Ok();
}

bool GlyphsInsidePage(const Font& font) {
  return std::all_of(font.glyphs.begin(), font.glyphs.end(), [&](const Glyph& g) {
    return g.x >= 0 && g.y >= 0 && g.w >= 0 && g.x + g.w <= font.page.width && g.y + g.h <= font.page.height;
  });
}

bool ReadFont(ChunkReader& r, Font& font) {
  font.name = r.Str();
  font.face = r.Str();
  font.size = r.I32();
  font.lineHeight = r.I32();
  font.shadow = r.Flag();
  font.shadowOffsetX = r.I32();
  font.shadowOffsetY = r.I32();
  font.shadowColour = r.U32();
  if (r.Ok() && !InRange(font.lineHeight, 1, kMaxImageSide)) return r.Fail("line height out of range");
  if (!ReadGlyphs(r, font)) return false;
  font.page.width = r.I32();
  font.page.height = r.I32();
  if (!r.Ok()) return false;
  if (!InRange(font.page.width, 0, kMaxImageSide) || !InRange(font.page.height, 0, kMaxImageSide))
    return r.Fail("glyph page size out of range");
  const uint8_t* p = r.Take(size_t(font.page.width) * size_t(font.page.height));
  if (!p) return false;
  font.page.values.assign(p, p + size_t(font.page.width) * size_t(font.page.height));
  if (!GlyphsInsidePage(font)) return r.Fail("glyph cell outside the glyph page");
  return true;
}

bool ReadFonts(ChunkReader& r, GameData& game) {
  uint32_t count = r.Count(kFontMinSize);
  game.fonts.reserve(count);
  for (uint32_t i = 0; i < count && r.Ok(); ++i) {
    r.SetContext(Numbered("font", i));
    ReadFont(r, game.fonts.emplace_back());
  }
  return r.Ok();
}

bool ReadEvents(ChunkReader& r, ObjectRecord& object) {
  uint32_t count = r.Count(kEventSize);
  object.events.reserve(count);
  std::set<std::pair<int, int>> keys;
  for (uint32_t i = 0; i < count && r.Ok(); ++i) {
    uint32_t type = r.U32();
    uint32_t number = r.U32();
    int32_t codeIndex = r.I32();
    if (!r.Ok()) break;
    if (type > uint32_t(kMaxEventType)) return r.Fail("unknown event type " + std::to_string(type));
    if (number > uint32_t(INT_MAX)) return r.Fail("event number out of range");
    if (codeIndex < -1) return r.Fail("negative code index");
    if (!keys.emplace(int(type), int(number)).second)
      return r.Fail("event " + std::to_string(type) + "/" + std::to_string(number) + " appears twice");
    object.events.push_back(EventBinding{int(type), int(number), codeIndex});
  }
  return r.Ok();
}

bool ReadObject(ChunkReader& r, ObjectRecord& object) {
  object.name = r.Str();
  object.parentIndex = r.I32();
  object.spriteIndex = r.I32();
  object.maskIndex = r.I32();
  object.depth = r.I32();
  uint8_t flags = r.U8();
  if (r.Ok() && (flags & ~(kObjectVisible | kObjectSolid | kObjectPersistent))) return r.Fail("unknown object flags");
  object.visible = flags & kObjectVisible;
  object.solid = flags & kObjectSolid;
  object.persistent = flags & kObjectPersistent;
  return ReadEvents(r, object);
}

bool ReadObjects(ChunkReader& r, GameData& game) {
  uint32_t count = r.Count(kObjectMinSize);
  game.objects.reserve(count);
  for (uint32_t i = 0; i < count && r.Ok(); ++i) {
    r.SetContext(Numbered("object", i));
    ReadObject(r, game.objects.emplace_back());
  }
  return r.Ok();
}

bool ReadInstance(ChunkReader& r, RoomInstanceRecord& instance) {
  instance.x = r.F64();
  instance.y = r.F64();
  instance.objectIndex = r.I32();
  instance.id = r.I32();
  instance.creationCodeIndex = r.I32();
  instance.preCreationCodeIndex = r.I32();
  instance.scaleX = r.F32();
  instance.scaleY = r.F32();
  instance.blend = r.U32();
  instance.imageIndex = r.F32();
  instance.angle = r.F32();
  instance.alpha = r.U8();
  if (r.Ok() && (instance.creationCodeIndex < -1 || instance.preCreationCodeIndex < -1))
    return r.Fail("negative code index");
  if (r.Ok() && instance.blend > 0xFFFFFF) return r.Fail("blend colour out of range");
  return r.Ok();
}

bool ReadRoom(ChunkReader& r, RoomRecord& room) {
  room.name = r.Str();
  room.width = r.I32();
  room.height = r.I32();
  room.speed = r.I32();
  uint8_t flags = r.U8();
  room.backgroundColour = r.U32();
  room.creationCodeIndex = r.I32();
  if (!r.Ok()) return false;
  if (!InRange(room.width, 1, kMaxRoomSide) || !InRange(room.height, 1, kMaxRoomSide))
    return r.Fail("size out of range");
  if (!InRange(room.speed, 1, kMaxSpeed)) return r.Fail("speed out of range");
  if (flags & ~(kRoomPersistent | kRoomClearDisplay)) return r.Fail("unknown room flags");
  if (room.backgroundColour > 0xFFFFFF) return r.Fail("background colour out of range");
  if (room.creationCodeIndex < -1) return r.Fail("negative code index");
  room.persistent = flags & kRoomPersistent;
  room.clearDisplay = flags & kRoomClearDisplay;
  uint32_t count = r.Count(kInstanceSize);
  room.instances.resize(count);
  for (uint32_t i = 0; i < count && r.Ok(); ++i) ReadInstance(r, room.instances[i]);
  return r.Ok();
}

bool ReadRooms(ChunkReader& r, GameData& game) {
  uint32_t count = r.Count(kRoomMinSize);
  game.rooms.reserve(count);
  for (uint32_t i = 0; i < count && r.Ok(); ++i) {
    r.SetContext(Numbered("room", i));
    ReadRoom(r, game.rooms.emplace_back());
  }
  return r.Ok();
}

bool Reject(std::string& error, const std::string& reason) {
  error = reason;
  return false;
}

bool IsIndexOrNone(int index, size_t count) { return index == -1 || (index >= 0 && size_t(index) < count); }

// True when some object's chain of parents comes back to itself. Each object is
// walked once: 1 = on the chain being walked, 2 = known to end at a root.
bool HasParentLoop(const std::vector<ObjectRecord>& objects) {
  std::vector<uint8_t> state(objects.size(), 0);
  std::vector<int> chain;
  for (size_t start = 0; start < objects.size(); ++start) {
    chain.clear();
    int index = int(start);
    while (index != -1 && state[size_t(index)] == 0) {
      state[size_t(index)] = 1;
      chain.push_back(index);
      index = objects[size_t(index)].parentIndex;
    }
    if (index != -1 && state[size_t(index)] == 1) return true;
    for (int visited : chain) state[size_t(visited)] = 2;
  }
  return false;
}

bool CheckObjects(const GameData& game, std::string& error) {
  for (size_t i = 0; i < game.objects.size(); ++i) {
    const ObjectRecord& object = game.objects[i];
    if (!IsIndexOrNone(object.parentIndex, game.objects.size()))
      return Reject(error, "OBJT: object " + std::to_string(i) + ": parent names no object");
    if (!IsIndexOrNone(object.spriteIndex, game.sprites.size()))
      return Reject(error, "OBJT: object " + std::to_string(i) + ": sprite names no sprite");
    if (!IsIndexOrNone(object.maskIndex, game.sprites.size()))
      return Reject(error, "OBJT: object " + std::to_string(i) + ": mask names no sprite");
  }
  if (HasParentLoop(game.objects)) return Reject(error, "OBJT: the parents of an object form a loop");
  return true;
}

bool CheckRooms(const GameData& game, std::string& error) {
  std::set<int> ids;
  for (size_t i = 0; i < game.rooms.size(); ++i) {
    for (const RoomInstanceRecord& instance : game.rooms[i].instances) {
      if (!IsIndexOrNone(instance.objectIndex, game.objects.size()))
        return Reject(error, "ROOM: room " + std::to_string(i) + ": instance names no object");
      if (!ids.insert(instance.id).second)
        return Reject(error, "ROOM: instance id " + std::to_string(instance.id) + " used twice");
    }
  }
  if (game.roomOrder.empty()) return Reject(error, "GEN8: the room order is empty");
  for (int room : game.roomOrder)
    if (room < 0 || size_t(room) >= game.rooms.size()) return Reject(error, "GEN8: the room order names no room");
  return true;
}

using ChunkLoader = bool (*)(ChunkReader&, GameData&);

struct ChunkKind {
  const char* tag;
  ChunkLoader loader;  // null: known to the runtime, not carried by this game
};

constexpr ChunkKind kChunkKinds[] = {
    {kTagGeneral, ReadGeneral}, {kTagOptions, ReadOptions}, {kTagSprites, ReadSprites}, {kTagFonts, ReadFonts},
    {kTagObjects, ReadObjects}, {kTagRooms, ReadRooms},     {"LANG", nullptr},          {"EXTN", nullptr},
    {"SOND", nullptr},          {"AGRP", nullptr},          {"BGND", nullptr},          {"PATH", nullptr},
    {"SCPT", nullptr},          {"GLOB", nullptr},          {"SHDR", nullptr},          {"TMLN", nullptr},
    {"FEAT", nullptr},          {"FEDS", nullptr},          {"ACRV", nullptr},          {"SEQN", nullptr},
    {"TAGS", nullptr},          {"DAFL", nullptr},          {"EMBI", nullptr},          {"TPAG", nullptr},
    {"TGIN", nullptr},          {"CODE", nullptr},          {"VARI", nullptr},          {"FUNC", nullptr},
    {"STRG", nullptr},          {"TXTR", nullptr},          {"AUDO", nullptr},          {"PSEM", nullptr},
    {"PSYS", nullptr},          {"NINE", nullptr},          {"HELP", nullptr},          {"RASP", nullptr},
    {"STAT", nullptr},          {"PSPS", nullptr},          {"KWEN", nullptr},
};

const ChunkKind* FindChunkKind(const uint8_t* tag) {
  for (const ChunkKind& kind : kChunkKinds)
    if (std::memcmp(kind.tag, tag, kTagSize) == 0) return &kind;
  return nullptr;
}

// Walks the chunks inside FORM; `game` receives what the known chunks hold.
bool ReadChunks(const uint8_t* bytes, size_t size, GameData& game, std::string& error) {
  std::set<const ChunkKind*> seen;
  for (size_t position = kChunkHeaderSize; position < size;) {
    if (size - position < kChunkHeaderSize)
      return Reject(error, "truncated chunk header at offset " + std::to_string(position));
    const uint8_t* tag = bytes + position;
    uint32_t chunkSize = LittleEndian32(tag + kTagSize);
    std::string name = PrintableTag(tag);
    if (chunkSize > size - position - kChunkHeaderSize)
      return Reject(error,
                    "chunk " + name + " at offset " + std::to_string(position) + " runs past the end of the file");
    const ChunkKind* kind = FindChunkKind(tag);
    if (seen.empty() && std::memcmp(tag, kTagGeneral, kTagSize) != 0)
      return Reject(error, "the first chunk is not GEN8");
    if (!kind) {
      DebugOutput("unknown Chunk %s:%d\n", name.c_str(), int(std::min<uint32_t>(chunkSize, INT_MAX)));
    } else if (!seen.insert(kind).second) {
      return Reject(error, "chunk " + name + " appears twice");
    } else if (kind->loader) {
      ChunkReader reader(name, tag + kChunkHeaderSize, chunkSize);
      kind->loader(reader, game);
      reader.SetContext("");
      if (reader.Ok() && reader.Remaining() != 0)
        reader.Fail(std::to_string(reader.Remaining()) + " bytes left unread");
      if (!reader.Ok()) return Reject(error, reader.Error());
    }
    position += kChunkHeaderSize + chunkSize;
  }
  if (seen.empty()) return Reject(error, "no GEN8 chunk");
  return true;
}

}  // namespace

bool LoadGameData(const uint8_t* bytes, size_t size, GameData& out, std::string& error) {
  if (!bytes || size < kChunkHeaderSize || std::memcmp(bytes, kTagForm, kTagSize) != 0)
    return Reject(error, "not a game data file (no FORM header)");
  if (LittleEndian32(bytes + kTagSize) != size - kChunkHeaderSize)
    return Reject(error, "the FORM size does not match the file size (truncated or padded file)");
  GameData game;
  if (!ReadChunks(bytes, size, game, error) || !CheckObjects(game, error) || !CheckRooms(game, error)) return false;
  out = std::move(game);
  return true;
}
