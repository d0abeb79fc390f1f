// The picture limits and every size computation of the decoders. Sizes are size_t, which is 32 bits
// in the release build, so each product and sum is checked; no decoder multiplies sizes itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "canvas/picture.h"

// Any real photo passes these; a header that claims more is refused before anything is allocated.
// The byte budget applies to every pixel block and to the 24-bit form of every picture (what the
// Windows side makes of it when drawing), so a GIF's logical screen cannot ask for more either.
// The fuzzer builds with a smaller byte budget (YJ_MAX_PICTURE_BYTES): the same checks, but no
// execution spends its time filling a quarter of a gigabyte for a header that asks for it.
#ifndef YJ_MAX_PICTURE_BYTES
#define YJ_MAX_PICTURE_BYTES (std::size_t{256} << 20)
#endif
inline constexpr std::int64_t kMaxPictureSide = 16384;
inline constexpr std::size_t kMaxPictureBytes = YJ_MAX_PICTURE_BYTES;
static_assert(kMaxPictureBytes <= INT32_MAX, "a block size must fit the record's int32");

// a x b + c, or nothing when it does not fit in size_t.
std::optional<std::size_t> CheckedMulAdd(std::size_t a, std::size_t b, std::size_t c = 0);

// Bytes of one row of `width` pixels of `bitsPerPixel` bits, rounded up to whole bytes and then to a
// multiple of `alignment`; nothing when it does not fit.
std::optional<std::size_t> RowBytes(std::size_t width, unsigned bitsPerPixel, std::size_t alignment);

// Whether a width x height picture stays within the limits; sides of 0 pass.
bool WithinPictureLimits(std::int64_t width, std::int64_t height);

// kNone when a width x height picture may be decoded: each side from 1 to kMaxPictureSide and its
// 24-bit form within kMaxPictureBytes. kBadSize for a side of 0 (or less), kTooLarge above.
PictureFailure CheckPictureSize(std::int64_t width, std::int64_t height);

// rowBytes x rows + extra, when within kMaxPictureBytes; else nothing.
std::optional<std::size_t> PixelBlockSize(std::size_t rowBytes, std::size_t rows, std::size_t extra = 0);

// A pixel block on the frame heap while a decoder fills it; handed to the DecodedPicture at the end.
class PixelBlock {
 public:
  PixelBlock() = default;
  PixelBlock(const PixelBlock&) = delete;
  PixelBlock& operator=(const PixelBlock&) = delete;
  PixelBlock(PixelBlock&& other) noexcept;
  PixelBlock& operator=(PixelBlock&& other) noexcept;
  ~PixelBlock();

  // kNone, kTooLarge (size above the budget) or kOutOfMemory. `zeroed` fills the block with 0.
  PictureFailure Allocate(std::size_t size, bool zeroed);
  std::uint8_t* Data() const { return data_; }
  std::size_t Size() const { return size_; }
  // Moves the block into the record's `pixels` and `pixelBlockSize`.
  void HandTo(DecodedPicture* picture);

 private:
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// Little-endian stores for the headers the decoders write into their blocks.
inline void StoreLe16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}
inline void StoreLe32(std::uint8_t* at, std::uint32_t value) {
  StoreLe16(at, value & 0xFFFFu);
  StoreLe16(at + 2, value >> 16);
}
