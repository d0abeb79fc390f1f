#include "canvas/bmp_packing.h"

#include "canvas/byte_reader.h"
#include "canvas/picture_size.h"
#include "frame/ground/memory.h"

namespace {

constexpr std::size_t kInfoHeaderSize = 40;

// Takes *buffer back to `length` bytes after a failed second append (the layout is the documented
// one: dimension count, length, bytes).
void TruncateBuffer(ByteBuffer* buffer, std::size_t length) {
  if (length == 0) {
    FrameFree(*buffer);
    *buffer = nullptr;
    return;
  }
  StoreLe32(*buffer + 4, static_cast<std::uint32_t>(length));
}

}  // namespace

bool DibToBmpBytes(ByteBuffer* out, const std::uint8_t* packedDib, std::size_t size) {
  if (!out || !packedDib || size < kInfoHeaderSize) return false;
  const std::uint32_t headerSize = ByteReader::LoadLe32(packedDib);
  const unsigned bitCount = ByteReader::LoadLe16(packedDib + 14);
  if (headerSize < kInfoHeaderSize || headerSize > size) return false;
  const std::uint64_t paletteEntries = bitCount <= 8 ? std::uint64_t{1} << bitCount : 0;
  const std::uint64_t fileSize = kBmpFileHeaderSize + std::uint64_t{size};
  const std::uint64_t pixelOffset = kBmpFileHeaderSize + std::uint64_t{headerSize} + 4 * paletteEntries;
  if (fileSize > 0xFFFFFFFFu || pixelOffset > 0xFFFFFFFFu) return false;

  std::uint8_t fileHeader[kBmpFileHeaderSize] = {'B', 'M'};
  StoreLe32(fileHeader + 2, static_cast<std::uint32_t>(fileSize));
  // Bytes 6 to 9 are the two reserved words, 0.
  StoreLe32(fileHeader + 10, static_cast<std::uint32_t>(pixelOffset));

  const std::size_t oldLength = BufferLength(*out);
  if (!AppendToBuffer(out, fileHeader, sizeof fileHeader)) return false;
  if (!AppendToBuffer(out, packedDib, size)) {
    TruncateBuffer(out, oldLength);
    return false;
  }
  return true;
}
