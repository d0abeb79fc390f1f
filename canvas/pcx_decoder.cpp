// PCX files with run-length encoding: 8 bits per pixel into kind 6 (an 8-bit bitmap-info block),
// one plane of 1 bit per pixel into kind 7 (monochrome rows).
//
// Runs are cut at the end of their row and at the end of the data; data that ends before the last
// row is a truncated file. The header's width must fit in the bytes each row holds, because the
// kind 6 block is later read as a bitmap of that width.
#include <cstring>

#include "canvas/byte_reader.h"
#include "canvas/picture_decoders.h"
#include "canvas/picture_size.h"

namespace {

constexpr std::size_t kPcxHeaderSize = 128;
constexpr std::uint8_t kPaletteMarker = 12;
constexpr std::size_t kPaletteBytes = 256 * 3;
// The most row bytes one data byte can stand for: a two-byte run makes at most 63.
constexpr std::size_t kMaxBytesPerDataByte = 63;

// Decodes `rows` rows of `lineBytes` each from `reader` into rows of `stride` bytes (row bytes past
// the stride are dropped, stride bytes past the line stay as they are).
bool DecodeRuns(ByteReader& reader, std::uint8_t* out, std::size_t rows, std::size_t lineBytes,
                std::size_t stride) {
  for (std::size_t row = 0; row < rows; ++row, out += stride) {
    std::size_t filled = 0;
    while (filled < lineBytes) {
      std::uint8_t value = reader.U8();
      std::size_t count = 1;
      if (value > 192) {
        count = value - 192u;
        value = reader.U8();
      }
      if (reader.Failed()) return false;
      if (count > lineBytes - filled) count = lineBytes - filled;
      if (filled < stride) std::memset(out + filled, value, count < stride - filled ? count : stride - filled);
      filled += count;
    }
  }
  return true;
}

void WriteBitmapInfo(std::uint8_t* block, std::uint32_t width, std::uint32_t height, std::uint8_t planes) {
  StoreLe32(block, kDibHeaderSize);
  StoreLe32(block + 4, width);
  StoreLe32(block + 8, static_cast<std::uint32_t>(-static_cast<std::int64_t>(height)));  // top-down
  StoreLe16(block + 12, planes);
  StoreLe16(block + 14, 8);
  // Compression, image size, resolutions and colour counts stay 0.
}

}  // namespace

DecodeResult DecodePcxPicture(const std::uint8_t* bytes, std::size_t length) {
  if (length <= kPcxHeaderSize) return PictureFailed(PictureFailure::kTruncated);
  ByteReader reader(bytes, length);
  const std::uint8_t* header = reader.Take(kPcxHeaderSize);
  if (header[0] != 0x0A || header[1] > 5 || header[2] != 1) return PictureFailed(PictureFailure::kBadHeader);
  const std::uint8_t bitsPerPixel = header[3];
  const std::uint16_t left = ByteReader::LoadLe16(header + 4);
  const std::uint16_t top = ByteReader::LoadLe16(header + 6);
  const std::uint16_t right = ByteReader::LoadLe16(header + 8);
  const std::uint16_t bottom = ByteReader::LoadLe16(header + 10);
  const std::uint8_t planes = header[65];
  const std::uint16_t bytesPerLine = ByteReader::LoadLe16(header + 66);
  if (right < left || bottom < top) return PictureFailed(PictureFailure::kBadHeader);
  const std::int64_t width = std::int64_t{right} - left + 1;
  const std::int64_t height = std::int64_t{bottom} - top + 1;

  PictureKind kind;
  if (bitsPerPixel == 1 && planes == 1) {
    kind = PictureKind::kPcx1;
  } else if (bitsPerPixel == 8) {
    kind = PictureKind::kPcx8;
  } else {
    return PictureFailed(PictureFailure::kUnsupported);
  }
  if (const PictureFailure size = CheckPictureSize(width, height); size != PictureFailure::kNone) {
    return PictureFailed(size);
  }
  const auto columns = static_cast<std::size_t>(width);
  const auto rows = static_cast<std::size_t>(height);
  // At most 65535 x 255, so this cannot overflow even in 32 bits.
  const std::size_t lineBytes = std::size_t{bytesPerLine} * planes;

  std::optional<std::size_t> stride;
  std::optional<std::size_t> blockSize;
  if (kind == PictureKind::kPcx8) {
    if (lineBytes < columns) return PictureFailed(PictureFailure::kBadHeader);
    stride = RowBytes(lineBytes, 8, 4);
    if (stride) blockSize = PixelBlockSize(*stride, rows, kDibRowsOffset);
  } else {
    stride = RowBytes(columns, 1, 2);
    if (stride) blockSize = PixelBlockSize(*stride, rows);
  }
  if (!blockSize) return PictureFailed(PictureFailure::kTooLarge);
  // Data too short for the rows cannot decode; refused before the block is allocated.
  const auto leastData = CheckedMulAdd(rows, (lineBytes + kMaxBytesPerDataByte - 1) / kMaxBytesPerDataByte);
  if (!leastData || *leastData > reader.Remaining()) return PictureFailed(PictureFailure::kTruncated);

  // Zeroed: row padding and the colour table of a file without one.
  PixelBlock block;
  if (const PictureFailure failure = block.Allocate(*blockSize, true); failure != PictureFailure::kNone) {
    return PictureFailed(failure);
  }
  const std::size_t rowsOffset = kind == PictureKind::kPcx8 ? kDibRowsOffset : 0;
  if (!DecodeRuns(reader, block.Data() + rowsOffset, rows, lineBytes, *stride)) {
    return PictureFailed(PictureFailure::kTruncated);
  }

  if (kind == PictureKind::kPcx8) {
    WriteBitmapInfo(block.Data(), static_cast<std::uint32_t>(columns), static_cast<std::uint32_t>(rows), planes);
    // The palette follows the pixel data behind its marker byte.
    if (reader.Remaining() > 0 && reader.U8() == kPaletteMarker) {
      const std::uint8_t* palette = reader.Take(kPaletteBytes);
      if (!palette) return PictureFailed(PictureFailure::kTruncated);
      std::uint8_t* entry = block.Data() + kDibHeaderSize;
      for (std::size_t i = 0; i < kDibColourEntries; ++i, entry += 4, palette += 3) {
        entry[0] = palette[2];
        entry[1] = palette[1];
        entry[2] = palette[0];
      }
    }
  }

  DecodeResult result;
  result.picture.kind = kind;
  result.picture.width = static_cast<std::int32_t>(width);
  result.picture.height = static_cast<std::int32_t>(height);
  block.HandTo(&result.picture);
  return result;
}
