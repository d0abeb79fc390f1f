#include "canvas/picture_size.h"

#include <utility>

#include "frame/ground/memory.h"

std::optional<std::size_t> CheckedMulAdd(std::size_t a, std::size_t b, std::size_t c) {
  std::size_t product;
  std::size_t sum;
  if (__builtin_mul_overflow(a, b, &product) || __builtin_add_overflow(product, c, &sum)) {
    return std::nullopt;
  }
  return sum;
}

std::optional<std::size_t> RowBytes(std::size_t width, unsigned bitsPerPixel, std::size_t alignment) {
  const auto bits = CheckedMulAdd(width, bitsPerPixel, 7);
  if (!bits || alignment == 0) return std::nullopt;
  const std::size_t bytes = *bits / 8;
  const std::size_t remainder = bytes % alignment;
  if (remainder == 0) return bytes;
  return CheckedMulAdd(1, bytes, alignment - remainder);
}

bool WithinPictureLimits(std::int64_t width, std::int64_t height) {
  if (width < 0 || height < 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
  // Both sides are at most 2^14 here, so the 64-bit product is exact.
  return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3 <= kMaxPictureBytes;
}

PictureFailure CheckPictureSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) return PictureFailure::kBadSize;
  return WithinPictureLimits(width, height) ? PictureFailure::kNone : PictureFailure::kTooLarge;
}

std::optional<std::size_t> PixelBlockSize(std::size_t rowBytes, std::size_t rows, std::size_t extra) {
  const auto size = CheckedMulAdd(rowBytes, rows, extra);
  if (!size || *size > kMaxPictureBytes) return std::nullopt;
  return size;
}

PixelBlock::PixelBlock(PixelBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

PixelBlock& PixelBlock::operator=(PixelBlock&& other) noexcept {
  if (this != &other) {
    FrameFree(data_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

PixelBlock::~PixelBlock() { FrameFree(data_); }

PictureFailure PixelBlock::Allocate(std::size_t size, bool zeroed) {
  FrameFree(std::exchange(data_, nullptr));
  size_ = 0;
  // The record keeps the size as an int32; the budget keeps it far below that.
  if (size == 0 || size > kMaxPictureBytes) return PictureFailure::kTooLarge;
  data_ = static_cast<std::uint8_t*>(zeroed ? FrameAllocateZeroedPlain(size) : FrameAllocatePlain(size));
  if (!data_) return PictureFailure::kOutOfMemory;
  size_ = size;
  return PictureFailure::kNone;
}

void PixelBlock::HandTo(DecodedPicture* picture) {
  FrameFree(picture->pixels);
  picture->pixels = std::exchange(data_, nullptr);
  picture->pixelBlockSize = static_cast<std::int32_t>(std::exchange(size_, 0));
}
