#include "builtins/stream.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the stream copies numbers in native byte order");

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";

// Two characters per byte value, high nibble first.
constexpr std::array<char, 512> MakeByteToHex() {
  std::array<char, 512> table{};
  for (int byte = 0; byte < 256; ++byte) {
    table[size_t(byte) * 2] = kHexDigits[byte >> 4];
    table[size_t(byte) * 2 + 1] = kHexDigits[byte & 15];
  }
  return table;
}

// The value of a hexadecimal digit of either case, -1 for any other character.
constexpr std::array<int8_t, 256> MakeHexToNibble() {
  std::array<int8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    if (c >= '0' && c <= '9')
      table[size_t(c)] = int8_t(c - '0');
    else if (c >= 'A' && c <= 'F')
      table[size_t(c)] = int8_t(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f')
      table[size_t(c)] = int8_t(c - 'a' + 10);
    else
      table[size_t(c)] = -1;
  }
  return table;
}

constexpr auto kByteToHex = MakeByteToHex();
constexpr auto kHexToNibble = MakeHexToNibble();

template <typename T>
T LoadLittleEndian(const uint8_t* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof(T));
  return value;
}
}  // namespace

CStream::CStream(int64_t capacity)
    : bytes_(std::make_unique_for_overwrite<uint8_t[]>(size_t(capacity))), size_(capacity) {}

CStream CStream::FromText(std::string_view text) {
  CStream stream(int64_t(text.size() / 2));
  const auto* characters = reinterpret_cast<const uint8_t*>(text.data());
  int64_t pairs = 0;
  for (; pairs < stream.size_; ++pairs) {
    int high = kHexToNibble[characters[pairs * 2]];
    int low = kHexToNibble[characters[pairs * 2 + 1]];
    if ((high | low) < 0) break;
    stream.bytes_[size_t(pairs)] = uint8_t(high << 4 | low);
  }
  stream.size_ = pairs;
  return stream;
}

uint8_t* CStream::Claim(size_t count) {
  int64_t needed = position_ + int64_t(count);
  if (needed > size_) {
    int64_t grown = std::max(needed, size_ * 2);
    auto bytes = std::make_unique_for_overwrite<uint8_t[]>(size_t(grown));
    if (position_ > 0) std::memcpy(bytes.get(), bytes_.get(), size_t(position_));
    bytes_ = std::move(bytes);
    size_ = grown;
  }
  uint8_t* destination = bytes_.get() + position_;
  position_ = needed;
  return destination;
}

void CStream::WriteInt32(int32_t number) { std::memcpy(Claim(sizeof number), &number, sizeof number); }
void CStream::WriteInt64(int64_t number) { std::memcpy(Claim(sizeof number), &number, sizeof number); }
void CStream::WriteReal(double number) { std::memcpy(Claim(sizeof number), &number, sizeof number); }

void CStream::WriteString(std::string_view text) {
  WriteInt32(int32_t(text.size()));
  if (!text.empty()) std::memcpy(Claim(text.size()), text.data(), text.size());
}

std::string CStream::ToText() const {
  std::string text(size_t(position_) * 2, '\0');
  char* out = text.data();
  for (int64_t i = 0; i < position_; ++i, out += 2) std::memcpy(out, &kByteToHex[size_t(bytes_[size_t(i)]) * 2], 2);
  return text;
}

const uint8_t* CStream::Take(size_t count) {
  if (size_t(Remaining()) < count) {
    position_ = size_;
    damaged_ = true;
    return nullptr;
  }
  const uint8_t* bytes = bytes_.get() + position_;
  position_ += int64_t(count);
  return bytes;
}

int32_t CStream::ReadInt32() {
  const uint8_t* bytes = Take(sizeof(int32_t));
  return bytes ? LoadLittleEndian<int32_t>(bytes) : 0;
}

int64_t CStream::ReadInt64() {
  const uint8_t* bytes = Take(sizeof(int64_t));
  return bytes ? LoadLittleEndian<int64_t>(bytes) : 0;
}

double CStream::ReadReal() {
  const uint8_t* bytes = Take(sizeof(double));
  return bytes ? LoadLittleEndian<double>(bytes) : 0.0;
}

std::string_view CStream::ReadString() {
  int32_t length = ReadInt32();
  if (length <= 0) {
    damaged_ |= length < 0;
    return {};
  }
  size_t taken = std::min(size_t(length), size_t(Remaining()));
  damaged_ |= taken < size_t(length);
  const auto* text = reinterpret_cast<const char*>(bytes_.get() + position_);
  position_ += int64_t(taken);
  return {text, taken};
}
