#include "tools/game_data_writer.h"

#include <bit>
#include <string>

#include "engine/game_data_format.h"

namespace {

// Appends little-endian values; chunks are opened and closed so that their size
// field is filled in afterwards.
class ByteWriter {
 public:
  void U8(uint8_t value) { bytes.push_back(value); }
  void I16(int16_t value) {
    U8(uint8_t(uint16_t(value)));
    U8(uint8_t(uint16_t(value) >> 8));
  }
  void U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) U8(uint8_t(value >> shift));
  }
  void I32(int32_t value) { U32(uint32_t(value)); }
  void F32(float value) { U32(std::bit_cast<uint32_t>(value)); }
  void F64(double value) {
    uint64_t bits = std::bit_cast<uint64_t>(value);
    U32(uint32_t(bits));
    U32(uint32_t(bits >> 32));
  }
  void Str(const std::string& text) {
    U32(uint32_t(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
  void Bytes(const std::vector<uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }

  // Writes the tag and a size placeholder; returns where the size goes.
  size_t OpenChunk(const char* tag) {
    bytes.insert(bytes.end(), tag, tag + kTagSize);
    size_t sizeAt = bytes.size();
    U32(0);
    return sizeAt;
  }
  void CloseChunk(size_t sizeAt) {
    uint32_t size = uint32_t(bytes.size() - sizeAt - 4);
    for (int i = 0; i < 4; ++i) bytes[sizeAt + size_t(i)] = uint8_t(size >> (8 * i));
  }

  std::vector<uint8_t> Take() { return std::move(bytes); }

 private:
  std::vector<uint8_t> bytes;
};

void WriteGeneral(ByteWriter& w, const GameData& game) {
  w.U32(kGameDataFormatVersion);
  w.Str(game.options.gameName);
  w.U32(uint32_t(game.options.gameSpeed));
  w.U32(uint32_t(game.roomOrder.size()));
  for (int room : game.roomOrder) w.I32(room);
}

void WriteOptions(ByteWriter& w, const GameData& game) {
  w.U32(game.options.flags);
  w.U32(game.options.defaultDrawColour);
}

void WriteSprite(ByteWriter& w, const Sprite& sprite) {
  w.Str(sprite.name);
  for (int value : {sprite.width, sprite.height, sprite.originX, sprite.originY, sprite.bboxLeft, sprite.bboxTop,
                    sprite.bboxRight, sprite.bboxBottom})
    w.I32(value);
  w.U8(uint8_t(sprite.collision));
  w.U8(sprite.speedInFramesPerSecond ? 1 : 0);
  w.F32(sprite.playbackSpeed);
  w.U32(uint32_t(sprite.frames.size()));
  for (const Image& frame : sprite.frames)
    for (uint32_t pixel : frame.pixels) w.U32(pixel);
  if (sprite.collision == CollisionKind::Precise)
    for (const AlphaMap& mask : sprite.masks) w.Bytes(mask.values);
}

void WriteFont(ByteWriter& w, const Font& font) {
  w.Str(font.name);
  w.Str(font.face);
  w.I32(font.size);
  w.I32(font.lineHeight);
  w.U8(font.shadow ? 1 : 0);
  w.I32(font.shadowOffsetX);
  w.I32(font.shadowOffsetY);
  w.U32(font.shadowColour);
  w.U32(uint32_t(font.glyphs.size()));
  for (const Glyph& glyph : font.glyphs) {
    w.U32(glyph.codepoint);
    for (int16_t value : {glyph.x, glyph.y, glyph.w, glyph.h, glyph.offset, glyph.advance}) w.I16(value);
  }
  w.I32(font.page.width);
  w.I32(font.page.height);
  w.Bytes(font.page.values);
}

void WriteObject(ByteWriter& w, const ObjectRecord& object) {
  w.Str(object.name);
  w.I32(object.parentIndex);
  w.I32(object.spriteIndex);
  w.I32(object.maskIndex);
  w.I32(object.depth);
  w.U8(uint8_t((object.visible ? kObjectVisible : 0) | (object.solid ? kObjectSolid : 0) |
               (object.persistent ? kObjectPersistent : 0)));
  w.U32(uint32_t(object.events.size()));
  for (const EventBinding& event : object.events) {
    w.U32(uint32_t(event.type));
    w.U32(uint32_t(event.number));
    w.I32(event.codeIndex);
  }
}

void WriteInstance(ByteWriter& w, const RoomInstanceRecord& instance) {
  w.F64(instance.x);
  w.F64(instance.y);
  w.I32(instance.objectIndex);
  w.I32(instance.id);
  w.I32(instance.creationCodeIndex);
  w.I32(instance.preCreationCodeIndex);
  w.F32(instance.scaleX);
  w.F32(instance.scaleY);
  w.U32(instance.blend);
  w.F32(instance.imageIndex);
  w.F32(instance.angle);
  w.U8(instance.alpha);
}

void WriteRoom(ByteWriter& w, const RoomRecord& room) {
  w.Str(room.name);
  w.I32(room.width);
  w.I32(room.height);
  w.I32(room.speed);
  w.U8(uint8_t((room.persistent ? kRoomPersistent : 0) | (room.clearDisplay ? kRoomClearDisplay : 0)));
  w.U32(room.backgroundColour);
  w.I32(room.creationCodeIndex);
  w.U32(uint32_t(room.instances.size()));
  for (const RoomInstanceRecord& instance : room.instances) WriteInstance(w, instance);
}

template <typename Record, typename WriteRecord>
void WriteList(ByteWriter& w, const std::vector<Record>& records, WriteRecord writeRecord) {
  w.U32(uint32_t(records.size()));
  for (const Record& record : records) writeRecord(w, record);
}

template <typename WriteBody>
void WriteChunk(ByteWriter& w, const char* tag, WriteBody writeBody) {
  size_t sizeAt = w.OpenChunk(tag);
  writeBody();
  w.CloseChunk(sizeAt);
}

}  // namespace

std::vector<uint8_t> WriteGameData(const GameData& game) {
  ByteWriter w;
  WriteChunk(w, kTagForm, [&] {
    WriteChunk(w, kTagGeneral, [&] { WriteGeneral(w, game); });
    WriteChunk(w, kTagOptions, [&] { WriteOptions(w, game); });
    WriteChunk(w, kTagSprites, [&] { WriteList(w, game.sprites, WriteSprite); });
    WriteChunk(w, kTagFonts, [&] { WriteList(w, game.fonts, WriteFont); });
    WriteChunk(w, kTagObjects, [&] { WriteList(w, game.objects, WriteObject); });
    WriteChunk(w, kTagRooms, [&] { WriteList(w, game.rooms, WriteRoom); });
  });
  return w.Take();
}
