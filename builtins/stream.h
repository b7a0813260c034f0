// builtins/stream.h — CStream, the little-endian byte stream under the list text
// form, and its hexadecimal text.
//
// A stream is either written (bytes appended at the position, the buffer growing
// as needed) or read (bytes decoded from text, the position moving forward).
// Invariants: 0 <= position <= size; for a written stream size is the allocated
// length and position the number of bytes written; for a decoded stream size is
// the number of decoded bytes. Reads never touch a byte at or beyond size: a read
// that starts at the end yields 0 / 0.0 / no text and leaves the position; a
// number whose bytes straddle the end is missing too (0), and the position moves
// to the end; a string longer than what remains takes what remains. Such reads,
// and a string of negative length, mark the stream damaged.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CStream {
 public:
  CStream() = default;
  // An empty stream whose buffer already holds `capacity` bytes.
  explicit CStream(int64_t capacity);
  // Decodes hexadecimal text: pairs of digits (either case), high nibble first,
  // up to the first pair that is not two digits.
  static CStream FromText(std::string_view text);

  void WriteInt32(int32_t number);
  void WriteInt64(int64_t number);
  void WriteReal(double number);
  // A 32-bit byte length, then the bytes (no terminator).
  void WriteString(std::string_view text);

  // The written bytes as upper-case hexadecimal, two characters a byte.
  std::string ToText() const;

  int32_t ReadInt32();
  int64_t ReadInt64();
  double ReadReal();
  // A 32-bit length L, then up to L bytes; L <= 0 or the end gives no text. The
  // view points into the stream and lives as long as it does.
  std::string_view ReadString();

  // Gives up the rest of the bytes: every later read finds the end.
  void SeekToEnd() { position_ = Size(); }

  int64_t Size() const { return size_; }
  int64_t Position() const { return position_; }
  int64_t Remaining() const { return Size() - position_; }
  bool AtEnd() const { return position_ >= Size(); }
  // Whether a read asked for more bytes than remained, or met a negative length.
  bool Damaged() const { return damaged_; }

 private:
  // Room for `count` more bytes at the position, which moves past them.
  uint8_t* Claim(size_t count);
  // The next `count` bytes, consumed; null (position moved to the end) when fewer remain.
  const uint8_t* Take(size_t count);

  std::unique_ptr<uint8_t[]> bytes_;  // not zero-filled: only bytes below the position are meaningful
  int64_t size_ = 0;
  int64_t position_ = 0;
  bool damaged_ = false;
};
