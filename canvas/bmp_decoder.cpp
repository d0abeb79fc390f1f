// BMP files with a 40-byte info header, uncompressed, at 1, 4, 8, 24 or 32 bits per pixel, into
// kind 2: 24-bit rows, bottom row first, blue-green-red.
//
// The colour table is read directly behind the 54 header bytes whatever the header size field says,
// so larger headers only work where the pixel data offset skips what was misread; that is the
// behaviour pictures already rely on and is kept.
#include <cstring>

#include "canvas/byte_reader.h"
#include "canvas/picture_decoders.h"
#include "canvas/picture_size.h"

namespace {

constexpr std::size_t kBmpHeadersSize = 54;  // 14-byte file header + 40-byte info header
// An index has at most 8 bits, so entries past 256 are read over but never looked up.
constexpr std::size_t kMaxColourEntries = 256;

struct BmpLayout {
  std::uint32_t pixelOffset;
  std::int64_t width;   // absolute
  std::int64_t height;  // absolute
  bool topDown;         // stored height negative: the first file row is the top row
  unsigned bitsPerPixel;
  std::uint32_t coloursUsed;
};

// One file row to one output row (blue, green, red per pixel).
void ConvertRow(const std::uint8_t* source, std::uint8_t* out, std::size_t width, unsigned bits,
                const std::uint8_t (*palette)[3]) {
  switch (bits) {
    case 24:
      std::memcpy(out, source, width * 3);
      return;
    case 32:
      for (std::size_t x = 0; x < width; ++x, source += 4, out += 3) {
        out[0] = source[0];
        out[1] = source[1];
        out[2] = source[2];
      }
      return;
    default: {
      // Indexes are packed most significant bits first.
      const unsigned perByte = 8 / bits;
      const unsigned mask = (1u << bits) - 1;
      for (std::size_t x = 0; x < width; ++x, out += 3) {
        const unsigned shift = 8 - bits * (1 + static_cast<unsigned>(x % perByte));
        const std::uint8_t* colour = palette[(source[x / perByte] >> shift) & mask];
        out[0] = colour[0];
        out[1] = colour[1];
        out[2] = colour[2];
      }
      return;
    }
  }
}

}  // namespace

DecodeResult DecodeBmpPicture(const std::uint8_t* bytes, std::size_t length) {
  ByteReader reader(bytes, length);
  const std::uint8_t* header = reader.Take(kBmpHeadersSize);
  if (!header) return PictureFailed(PictureFailure::kTruncated);

  const auto storedHeight = static_cast<std::int32_t>(ByteReader::LoadLe32(header + 22));
  const BmpLayout layout{
      .pixelOffset = ByteReader::LoadLe32(header + 10),
      .width = std::int64_t{static_cast<std::int32_t>(ByteReader::LoadLe32(header + 18))},
      .height = std::int64_t{storedHeight},
      .topDown = storedHeight < 0,
      .bitsPerPixel = ByteReader::LoadLe16(header + 28),
      .coloursUsed = ByteReader::LoadLe32(header + 46),
  };
  if (ByteReader::LoadLe32(header + 30) != 0) return PictureFailed(PictureFailure::kUnsupported);

  // Unused entries and indexes past the table show black.
  std::uint8_t palette[kMaxColourEntries][3] = {};
  const unsigned bits = layout.bitsPerPixel;
  if (bits == 1 || bits == 4 || bits == 8) {
    const std::size_t entries = layout.coloursUsed != 0 ? layout.coloursUsed : std::size_t{1} << bits;
    const auto tableBytes = CheckedMulAdd(entries, 4);
    const std::uint8_t* table = tableBytes ? reader.Take(*tableBytes) : nullptr;
    if (!table) return PictureFailed(PictureFailure::kTruncated);
    for (std::size_t i = 0; i < entries && i < kMaxColourEntries; ++i) {
      palette[i][0] = table[4 * i];
      palette[i][1] = table[4 * i + 1];
      palette[i][2] = table[4 * i + 2];
    }
  } else if (bits != 24 && bits != 32) {
    return PictureFailed(PictureFailure::kUnsupported);
  }
  if (reader.Position() > layout.pixelOffset) return PictureFailed(PictureFailure::kBadHeader);
  if (!reader.SeekTo(layout.pixelOffset)) return PictureFailed(PictureFailure::kTruncated);

  const std::int64_t width = layout.width < 0 ? -layout.width : layout.width;
  const std::int64_t height = layout.height < 0 ? -layout.height : layout.height;
  if (const PictureFailure size = CheckPictureSize(width, height); size != PictureFailure::kNone) {
    return PictureFailed(size);
  }
  const auto columns = static_cast<std::size_t>(width);
  const auto rows = static_cast<std::size_t>(height);
  const auto rowBytes = RowBytes(columns, bits, 1);
  const auto paddedRowBytes = RowBytes(columns, bits, 4);
  const auto outRowBytes = CheckedMulAdd(columns, 3);
  const auto blockSize = outRowBytes ? PixelBlockSize(*outRowBytes, rows) : std::nullopt;
  if (!rowBytes || !paddedRowBytes || !blockSize) return PictureFailed(PictureFailure::kTooLarge);
  // Every row must be there (the last one may lack its padding); checked before allocating, so a
  // short file cannot make us reserve a large block.
  const auto needed = CheckedMulAdd(*paddedRowBytes, rows - 1, *rowBytes);
  if (!needed || *needed > reader.Remaining()) return PictureFailed(PictureFailure::kTruncated);

  PixelBlock block;
  if (const PictureFailure failure = block.Allocate(*blockSize, false); failure != PictureFailure::kNone) {
    return PictureFailed(failure);
  }
  // The output is bottom row first; a bottom-up file stores its rows in that order already.
  for (std::size_t row = 0; row < rows; ++row) {
    const std::uint8_t* source = reader.Take(*rowBytes);
    if (!source) return PictureFailed(PictureFailure::kTruncated);
    const std::size_t outRow = layout.topDown ? rows - 1 - row : row;
    ConvertRow(source, block.Data() + outRow * *outRowBytes, columns, bits, palette);
    if (row + 1 < rows && !reader.Skip(*paddedRowBytes - *rowBytes)) {
      return PictureFailed(PictureFailure::kTruncated);
    }
  }

  DecodeResult result;
  result.picture.kind = PictureKind::kBmp;
  result.picture.width = static_cast<std::int32_t>(width);
  result.picture.height = static_cast<std::int32_t>(height);
  block.HandTo(&result.picture);
  return result;
}
