// engine/game_data_format.h — the layout of data.win, the game data file. The
// builder (tools/game_data_writer) writes it, engine/game_data_loader reads it;
// this header is the one description both follow.
//
// All numbers are little-endian. u8/u16/u32 unsigned, i16/i32 two's complement,
// f32/f64 IEEE 754 (never NaN or infinite). A str is a u32 byte length followed
// by that many bytes of UTF-8 without a terminating NUL (and none inside).
//
//   file    := "FORM" u32 formSize chunk*          formSize == file size - 8
//   chunk   := tag[4] u32 size payload[size]       the payload is read whole
//
// GEN8 is the first chunk; every other chunk appears at most once, in any order.
// A chunk's payload must be consumed exactly by its record layout. Tags the
// runtime knows but this game does not carry (LANG, SOND, TXTR, ...) are skipped
// silently; any other tag is logged as "unknown Chunk %s:%d" and skipped.
// Pixel data lives inside SPRT and FONT; no TXTR chunk is written.
//
//   GEN8 := u32 formatVersion (kGameDataFormatVersion), str gameName,
//           u32 gameSpeed (frames per second, 1..kMaxSpeed),
//           u32 roomOrderCount, u32 roomIndex[roomOrderCount]
//   OPTN := u32 flags (the kOption* bits of engine/game_data.h),
//           u32 defaultDrawColour (alpha << 24 | blue << 16 | green << 8 | red)
//   SPRT := u32 count, sprite[count]
//     sprite := str name, i32 width, i32 height, i32 originX, i32 originY,
//               i32 bboxLeft, i32 bboxTop, i32 bboxRight, i32 bboxBottom (inclusive),
//               u8 collisionKind (0 box, 1 precise, 2 rotated box),
//               u8 speedInFramesPerSecond (0 or 1), f32 playbackSpeed,
//               u32 frameCount, u32 pixels[frameCount][height][width] (0xAARRGGBB),
//               and for collisionKind 1 only: u8 mask[frameCount][height][width]
//   FONT := u32 count, font[count]
//     font  := str name, str face, i32 size, i32 lineHeight,
//              u8 shadow (0 or 1), i32 shadowOffsetX, i32 shadowOffsetY,
//              u32 shadowColour (0xAARRGGBB), u32 glyphCount, glyph[glyphCount],
//              i32 pageWidth, i32 pageHeight, u8 page[pageHeight][pageWidth]
//     glyph := u32 codepoint, i16 x, i16 y, i16 w, i16 h, i16 offset, i16 advance
//              (strictly ascending codepoints; h == lineHeight; cell inside the page)
//   OBJT := u32 count, object[count]
//     object := str name, i32 parentIndex, i32 spriteIndex, i32 maskIndex, i32 depth,
//               u8 flags (kObjectVisible | kObjectSolid | kObjectPersistent),
//               u32 eventCount, event[eventCount]
//     event  := u32 type (0..kMaxEventType), u32 number, i32 codeIndex (-1 = no code)
//               (each (type, number) at most once per object)
//   ROOM := u32 count, room[count]
//     room     := str name, i32 width, i32 height, i32 speed,
//                 u8 flags (kRoomPersistent | kRoomClearDisplay),
//                 u32 backgroundColour (blue << 16 | green << 8 | red),
//                 i32 creationCodeIndex, u32 instanceCount, instance[instanceCount]
//     instance := f64 x, f64 y, i32 objectIndex (-1 = none), i32 id (unique in the file),
//                 i32 creationCodeIndex, i32 preCreationCodeIndex, f32 scaleX, f32 scaleY,
//                 u32 blend (blue << 16 | green << 8 | red), f32 imageIndex, f32 angle, u8 alpha
//
// Indices are positions in the file's lists, -1 meaning none; an index that names
// nothing, a parent chain that loops, or an empty room order makes the file invalid.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t kGameDataFormatVersion = 1;

constexpr size_t kTagSize = 4;
constexpr size_t kChunkHeaderSize = kTagSize + 4;

constexpr char kTagForm[] = "FORM";
constexpr char kTagGeneral[] = "GEN8";
constexpr char kTagOptions[] = "OPTN";
constexpr char kTagSprites[] = "SPRT";
constexpr char kTagFonts[] = "FONT";
constexpr char kTagObjects[] = "OBJT";
constexpr char kTagRooms[] = "ROOM";

// Object flags.
constexpr uint8_t kObjectVisible = 1u << 0;
constexpr uint8_t kObjectSolid = 1u << 1;
constexpr uint8_t kObjectPersistent = 1u << 2;

// Room flags.
constexpr uint8_t kRoomPersistent = 1u << 0;
constexpr uint8_t kRoomClearDisplay = 1u << 1;

// Limits the loader enforces, so that no value read from a file can make the
// runtime allocate absurd windows, pages or frames.
constexpr int kMaxEventType = 14;
constexpr int kMaxSpeed = 1000;
constexpr int kMaxRoomSide = 16384;
constexpr int kMaxImageSide = 8192;
constexpr uint32_t kMaxCodepoint = 0x10FFFF;

// Serialised sizes of the fixed parts of records; the loader uses them to check a
// count against the bytes left before it reserves memory for the records.
constexpr size_t kStrMinSize = 4;
constexpr size_t kSpriteMinSize = kStrMinSize + 8 * 4 + 2 + 4 + 4;
constexpr size_t kGlyphSize = 4 + 6 * 2;
constexpr size_t kFontMinSize = 2 * kStrMinSize + 4 + 4 + 1 + 4 + 4 + 4 + 4 + 4 + 4;
constexpr size_t kEventSize = 3 * 4;
constexpr size_t kObjectMinSize = kStrMinSize + 4 * 4 + 1 + 4;
constexpr size_t kInstanceSize = 2 * 8 + 4 * 4 + 2 * 4 + 4 + 2 * 4 + 1;
constexpr size_t kRoomMinSize = kStrMinSize + 3 * 4 + 1 + 4 + 4 + 4;
