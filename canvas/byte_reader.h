// The one reader the decoders use on file bytes: bounded, little-endian, one field at a time. A read
// that would pass the end fails, yields 0 or null, and leaves the reader failed for good, so a
// decoder may read a run of fields and check Failed() once.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(data ? size : 0) {}

  // The next `count` bytes, or null when fewer remain.
  const std::uint8_t* Take(std::size_t count) {
    if (failed_ || count > size_ - position_) {
      failed_ = true;
      return nullptr;
    }
    const std::uint8_t* at = data_ + position_;
    position_ += count;
    return at;
  }

  std::uint8_t U8() {
    const std::uint8_t* at = Take(1);
    return at ? at[0] : 0;
  }
  std::uint16_t U16() {
    const std::uint8_t* at = Take(2);
    return at ? static_cast<std::uint16_t>(at[0] | at[1] << 8) : 0;
  }
  std::uint32_t U32() {
    const std::uint8_t* at = Take(4);
    return at ? LoadLe32(at) : 0;
  }

  bool Skip(std::size_t count) { return Take(count) != nullptr; }

  // Moves to an absolute position; at most the end.
  bool SeekTo(std::size_t position) {
    if (failed_ || position > size_) {
      failed_ = true;
      return false;
    }
    position_ = position;
    return true;
  }

  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return failed_ ? 0 : size_ - position_; }
  bool Failed() const { return failed_; }

  // Fields of a block that is already known to be long enough (the result of Take).
  static std::uint16_t LoadLe16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
  }
  static std::uint32_t LoadLe32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  bool failed_ = false;
};
