// A device bitmap as the bytes of a 24-bit BMP file: the drawing panel's GetPicture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "frame/ground/values.h"

// A movable global memory block; freed with GlobalFree.
class UniqueGlobal {
 public:
  UniqueGlobal() = default;
  explicit UniqueGlobal(HGLOBAL block) : block_(block) {}
  UniqueGlobal(const UniqueGlobal&) = delete;
  UniqueGlobal& operator=(const UniqueGlobal&) = delete;
  UniqueGlobal(UniqueGlobal&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  UniqueGlobal& operator=(UniqueGlobal&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.block_, nullptr));
    return *this;
  }
  ~UniqueGlobal() { Reset(); }
  HGLOBAL Get() const { return block_; }
  HGLOBAL Release() { return std::exchange(block_, nullptr); }
  void Reset(HGLOBAL block = nullptr) {
    if (HGLOBAL old = std::exchange(block_, block)) GlobalFree(old);
  }
  explicit operator bool() const { return block_ != nullptr; }

 private:
  HGLOBAL block_ = nullptr;
};

// The packed form of `bitmap`: a 40-byte header (24 bits, `compression`) followed by the pixel rows,
// read through `palette` (null: the default palette). Nothing for a missing bitmap, compression 3
// (bit fields), a failed allocation or a bits query that copies no rows. The bitmap must not be
// selected into a surface.
UniqueGlobal BitmapToDib(HBITMAP bitmap, DWORD compression, HPALETTE palette);

// A size argument of GetPicture against the source's size: omitted or 0 gives the source's own, -p
// gives p percent (p raised to 10) rounded as MulDiv does, a positive value is pixels.
std::int32_t ResolveExportSide(std::optional<std::int32_t> requested, std::int32_t sourceSide);

// The BMP file bytes of `source` at the resolved size, stretched when that differs from the
// source's; null (the empty buffer) on any failure. The caller owns the buffer.
ByteBuffer BitmapToBmpFile(HBITMAP source, std::optional<std::int32_t> width, std::optional<std::int32_t> height);
