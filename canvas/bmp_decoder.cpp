// BMP files into kind 2: 24-bit rows, bottom row first, blue-green-red. Every header version Windows
// reads: the 12-byte OS/2 1.x core (3-byte colour entries), OS/2 2.x headers of 16 to 64 bytes, and
// the Windows headers of 40, 52, 56, 108 and 124 bytes; the colour table follows the header (and
// the three masks a 40-byte header with bit fields puts behind it). Uncompressed at 1, 4, 8, 16
// (5-5-5), 24 and 32 bits; bit fields at 16 and 32 bits with contiguous masks; RLE8 and RLE4.
#include <algorithm>
#include <bit>
#include <cstring>

#include "canvas/bmp_rle.h"
#include "canvas/byte_reader.h"
#include "canvas/picture_decoders.h"
#include "canvas/picture_size.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kLargestHeaderSize = 124;
// An index has at most 8 bits, so entries past 256 are read over but never looked up.
constexpr std::size_t kMaxColourEntries = 256;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct BmpLayout {
  std::uint32_t pixelOffset = 0;
  std::int64_t width = 0;   // absolute
  std::int64_t height = 0;  // absolute
  bool topDown = false;     // stored height negative: the first file row is the top row
  unsigned bitsPerPixel = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t coloursUsed = 0;
  std::size_t colourEntryBytes = 4;  // 3 for the OS/2 1.x core
  std::uint32_t masks[3] = {};       // red, green, blue, for bit fields
};

// One channel of a bit-field pixel, widened to 8 bits as ImageMagick widens it: the field is put at
// the top of 16 bits, its top bits copied below it for 5- and 6-bit fields and its high byte into
// the low byte for fields of 8 bits or fewer, then scaled to 8 bits with rounding.
struct Channel {
  std::uint32_t mask = 0;
  unsigned shift = 0;
  unsigned bits = 0;

  static bool From(std::uint32_t mask, Channel* channel) {
    channel->mask = mask;
    if (mask == 0) return true;
    channel->shift = static_cast<unsigned>(std::countr_zero(mask));
    channel->bits = static_cast<unsigned>(std::popcount(mask));
    // Contiguous: the mask shifted down is one run of ones.
    const std::uint32_t run = mask >> channel->shift;
    return (run & (run + 1)) == 0;
  }

  std::uint8_t Of(std::uint32_t pixel) const {
    if (mask == 0) return 0;
    const std::uint32_t value = (pixel & mask) >> shift;
    std::uint32_t top = bits <= 16 ? value << (16 - bits) : value >> (bits - 16);
    if (bits == 5) top |= (top & 0xE000) >> 5;
    if (bits == 6) top |= (top & 0xC000) >> 6;
    if (bits <= 8) top |= (top & 0xFF00) >> 8;
    return static_cast<std::uint8_t>(((top + 128) - ((top + 128) >> 8)) >> 8);
  }
};

// Indexes past the file's table show its first colour, as ImageMagick shows them.
struct Palette {
  std::uint8_t entries[kMaxColourEntries][3] = {};
};

// `count` pixels of one colour (blue, green, red): the first written, then copied over in doubling
// spans, so a large block costs a few memory copies rather than a loop over its pixels.
void FillPixels(std::uint8_t* out, std::size_t count, const std::uint8_t (&colour)[3]) {
  if (count == 0) return;
  std::memcpy(out, colour, 3);
  const std::size_t total = count * 3;
  for (std::size_t done = 3; done < total;) {
    const std::size_t span = std::min(done, total - done);
    std::memcpy(out + done, out, span);
    done += span;
  }
}

// Run-length indexes become their colours where they land.
class PaletteSink final : public RleIndexSink {
 public:
  PaletteSink(std::uint8_t* pixels, const Palette& palette) : pixels_(pixels), palette_(palette) {}
  void Put(std::size_t at, const std::uint8_t* indexes, unsigned count) override {
    std::uint8_t* out = pixels_ + at * 3;
    for (unsigned i = 0; i < count; ++i, out += 3) std::memcpy(out, palette_.entries[indexes[i]], 3);
  }

 private:
  std::uint8_t* pixels_;
  const Palette& palette_;
};

// One uncompressed file row to one output row (blue, green, red per pixel).
void ConvertRow(const std::uint8_t* source, std::uint8_t* out, std::size_t width, unsigned bits,
                const Palette& palette, const Channel (&channels)[3]) {
  switch (bits) {
    case 24:
      std::memcpy(out, source, width * 3);
      return;
    case 16:
    case 32: {
      const bool fields = channels[0].mask || channels[1].mask || channels[2].mask;
      for (std::size_t x = 0; x < width; ++x, out += 3) {
        const std::uint8_t* at = source + x * (bits / 8);
        if (bits == 32 && !fields) {
          out[0] = at[0];
          out[1] = at[1];
          out[2] = at[2];
          continue;
        }
        const std::uint32_t pixel = bits == 16 ? ByteReader::LoadLe16(at) : ByteReader::LoadLe32(at);
        out[0] = channels[2].Of(pixel);
        out[1] = channels[1].Of(pixel);
        out[2] = channels[0].Of(pixel);
      }
      return;
    }
    default: {
      // Indexes are packed most significant bits first.
      const unsigned perByte = 8 / bits;
      const unsigned mask = (1u << bits) - 1;
      for (std::size_t x = 0; x < width; ++x, out += 3) {
        const unsigned shift = 8 - bits * (1 + static_cast<unsigned>(x % perByte));
        const std::uint8_t* colour = palette.entries[(source[x / perByte] >> shift) & mask];
        out[0] = colour[0];
        out[1] = colour[1];
        out[2] = colour[2];
      }
      return;
    }
  }
}

// The headers into a layout; the reader is left behind the header (and the masks behind a 40-byte
// one), where the colour table starts.
PictureFailure ReadLayout(ByteReader& reader, BmpLayout* layout) {
  const std::uint8_t* fileHeader = reader.Take(kFileHeaderSize + 4);
  if (!fileHeader) return PictureFailure::kTruncated;
  layout->pixelOffset = ByteReader::LoadLe32(fileHeader + 10);
  const std::uint32_t headerSize = ByteReader::LoadLe32(fileHeader + 14);
  const bool windowsHeader = headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
                             headerSize == kLargestHeaderSize;
  const bool os2Header = headerSize >= 16 && headerSize <= 64 && !windowsHeader;
  if (headerSize != kCoreHeaderSize && !windowsHeader && !os2Header) return PictureFailure::kUnsupported;
  const std::uint8_t* rest = reader.Take(headerSize - 4);
  if (!rest) return PictureFailure::kTruncated;
  const std::uint8_t* header = rest - 4;  // the info header, from its size field
  // Fields past a short OS/2 2.x header are 0.
  const auto field32 = [&](std::size_t at) { return at + 4 <= headerSize ? ByteReader::LoadLe32(header + at) : 0u; };

  if (headerSize == kCoreHeaderSize) {
    layout->width = ByteReader::LoadLe16(header + 4);
    layout->height = ByteReader::LoadLe16(header + 6);
    layout->bitsPerPixel = ByteReader::LoadLe16(header + 10);
    layout->colourEntryBytes = 3;
    return PictureFailure::kNone;
  }
  const auto storedHeight = static_cast<std::int32_t>(ByteReader::LoadLe32(header + 8));
  layout->width = std::int64_t{static_cast<std::int32_t>(ByteReader::LoadLe32(header + 4))};
  layout->height = std::int64_t{storedHeight};
  layout->topDown = storedHeight < 0;
  layout->bitsPerPixel = ByteReader::LoadLe16(header + 14);
  layout->compression = field32(16);
  layout->coloursUsed = field32(32);
  // OS/2 2.x numbers its compressions otherwise: 3 is Huffman coding there, 4 RLE24.
  if (os2Header && layout->compression > kRle4) return PictureFailure::kUnsupported;
  // The masks matter (and are read) only where bit fields are decoded: 16 and 32 bits.
  if (layout->compression == kBitFields && (layout->bitsPerPixel == 16 || layout->bitsPerPixel == 32)) {
    const std::uint8_t* masks = header + 40;
    if (headerSize == 40) {
      masks = reader.Take(12);
      if (!masks) return PictureFailure::kTruncated;
    }
    for (int i = 0; i < 3; ++i) layout->masks[i] = ByteReader::LoadLe32(masks + 4 * i);
  }
  return PictureFailure::kNone;
}

DecodeResult Decoded(PixelBlock& block, std::int64_t width, std::int64_t height) {
  DecodeResult result;
  result.picture.kind = PictureKind::kBmp;
  result.picture.width = static_cast<std::int32_t>(width);
  result.picture.height = static_cast<std::int32_t>(height);
  block.HandTo(&result.picture);
  return result;
}

}  // namespace

DecodeResult DecodeBmpPicture(const std::uint8_t* bytes, std::size_t length) {
  ByteReader reader(bytes, length);
  BmpLayout layout;
  if (const PictureFailure failure = ReadLayout(reader, &layout); failure != PictureFailure::kNone) {
    return PictureFailed(failure);
  }
  const unsigned bits = layout.bitsPerPixel;
  const bool rle = layout.compression == kRle8 || layout.compression == kRle4;
  const bool supported =
      (layout.compression == kRgb && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
      (layout.compression == kRle8 && bits == 8) || (layout.compression == kRle4 && bits == 4) ||
      (layout.compression == kBitFields && (bits == 16 || bits == 32));
  // Compressed rows are stored bottom-up only.
  if (!supported || (rle && layout.topDown)) return PictureFailed(PictureFailure::kUnsupported);

  Palette palette;
  if (bits <= 8) {
    std::size_t entries = layout.coloursUsed != 0 ? layout.coloursUsed : std::size_t{1} << bits;
    // An OS/2 1.x core has no count of colours; some writers store fewer than the bits allow, and
    // the pixels then start where that shorter table ends.
    if (layout.colourEntryBytes == 3 && layout.pixelOffset > reader.Position()) {
      entries = std::min<std::size_t>(entries, (layout.pixelOffset - reader.Position()) / 3);
      if (entries == 0) return PictureFailed(PictureFailure::kBadHeader);
    }
    const auto tableBytes = CheckedMulAdd(entries, layout.colourEntryBytes);
    const std::uint8_t* table = tableBytes ? reader.Take(*tableBytes) : nullptr;
    if (!table) return PictureFailed(PictureFailure::kTruncated);
    for (std::size_t i = 0; i < kMaxColourEntries; ++i) {
      std::memcpy(palette.entries[i], table + layout.colourEntryBytes * (i < entries ? i : 0), 3);
    }
  }
  Channel channels[3];
  if (layout.compression == kBitFields) {
    for (int i = 0; i < 3; ++i) {
      if (!Channel::From(layout.masks[i], &channels[i])) return PictureFailed(PictureFailure::kUnsupported);
    }
  } else if (bits == 16) {
    // Uncompressed 16-bit pixels are 5-5-5.
    Channel::From(0x7C00, &channels[0]);
    Channel::From(0x03E0, &channels[1]);
    Channel::From(0x001F, &channels[2]);
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
  const auto outRowBytes = CheckedMulAdd(columns, 3);
  const auto blockSize = outRowBytes ? PixelBlockSize(*outRowBytes, rows) : std::nullopt;
  if (!blockSize) return PictureFailed(PictureFailure::kTooLarge);

  if (rle) {
    // Runs are expanded straight into the pixel block, over the colour of index 0 that every pixel
    // the data never reaches shows.
    PixelBlock block;
    if (const PictureFailure failure = block.Allocate(*blockSize, false); failure != PictureFailure::kNone) {
      return PictureFailed(failure);
    }
    FillPixels(block.Data(), columns * rows, palette.entries[0]);
    PaletteSink sink(block.Data(), palette);
    const std::size_t dataLength = reader.Remaining();
    ExpandBmpRle(reader.Take(dataLength), dataLength, layout.compression == kRle4, columns, rows, sink);
    return Decoded(block, width, height);
  }

  const auto rowBytes = RowBytes(columns, bits, 1);
  const auto paddedRowBytes = RowBytes(columns, bits, 4);
  if (!rowBytes || !paddedRowBytes) return PictureFailed(PictureFailure::kTooLarge);
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
    ConvertRow(source, block.Data() + outRow * *outRowBytes, columns, bits, palette, channels);
    if (row + 1 < rows && !reader.Skip(*paddedRowBytes - *rowBytes)) {
      return PictureFailed(PictureFailure::kTruncated);
    }
  }

  return Decoded(block, width, height);
}
