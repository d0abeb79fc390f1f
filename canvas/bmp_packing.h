// BMP files from packed bitmaps: a 40-byte (or larger) bitmap-info header followed directly by its
// colour table and pixel rows, as the platform's bitmap-bits query produces them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/ground/values.h"

inline constexpr std::size_t kBmpFileHeaderSize = 14;

// Appends a 14-byte file header and then the whole packed block to *out. The header's file size is
// 14 + size and its pixel data offset 14 + header size + 4 x palette entries, where a bit count of
// up to 8 has 2^bits entries and anything larger none. False when the block is no packed bitmap
// (shorter than its header, header under 40 bytes), when the file would exceed 4 GiB, or when the
// buffer cannot grow; *out is then as it was.
bool DibToBmpBytes(ByteBuffer* out, const std::uint8_t* packedDib, std::size_t size);
