// The first image of a GIF87a or GIF89a file into kind 5: an 8-bit bitmap-info block of the image,
// on a record sized to the logical screen. Transparency and image position are not applied.
//
// Hostile data is held inside two bounds: the LZW code table never grows past 4096 entries (a
// stream that keeps adding codes without a clear code simply stops adding), and decoding ends as
// soon as the image area is full or the data runs out, so neither a missing end code nor a flood of
// codes can run on. A stream whose walk reaches the trailer without an image has no image.
#include <algorithm>
#include <cstring>

#include "canvas/byte_reader.h"
#include "canvas/picture_decoders.h"
#include "canvas/picture_size.h"

namespace {

constexpr std::size_t kGifHeaderSize = 13;
constexpr unsigned kMaxCodes = 4096;
constexpr unsigned kMaxCodeWidth = 12;
// Pixel values are bytes, so a minimum code size above 8 cannot be a picture of ours.
constexpr unsigned kMaxMinimumCodeSize = 8;

// The most pixels `dataBytes` bytes of LZW data can stand for. Codes are at least m + 1 bits wide,
// and the k-th code after a clear spells at most k + 1 pixels (a new entry is one longer than an
// older one), never more than the table holds.
std::uint64_t MostPixelsFrom(std::size_t dataBytes, unsigned minimumCodeSize) {
  // 2^24 codes would already spell far more pixels than any picture may have.
  const std::uint64_t codes = std::min<std::uint64_t>(std::uint64_t{dataBytes} * 8 / (minimumCodeSize + 1), 1u << 24);
  const std::uint64_t growing = codes * (codes + 3) / 2;
  const std::uint64_t capped = codes * kMaxCodes;
  return growing < capped ? growing : capped;
}

// Skips data sub-blocks up to and including the zero-length one.
bool SkipSubBlocks(ByteReader& reader) {
  for (;;) {
    const std::uint8_t size = reader.U8();
    if (reader.Failed()) return false;
    if (size == 0) return true;
    if (!reader.Skip(size)) return false;
  }
}

// The LZW code stream: codes of `width` bits, least significant bit first, taken from the bytes of
// the data sub-blocks. It ends at a zero-length sub-block or at the end of the data.
class CodeReader {
 public:
  explicit CodeReader(ByteReader& reader) : reader_(reader) {}

  // False once the data has ended before `width` more bits.
  bool Next(unsigned width, unsigned* code) {
    while (bitCount_ < width) {
      if (blockLeft_ == 0) {
        const std::uint8_t size = reader_.U8();
        if (reader_.Failed() || size == 0) return false;
        blockLeft_ = size;
      }
      const std::uint8_t byte = reader_.U8();
      if (reader_.Failed()) return false;
      --blockLeft_;
      bits_ |= static_cast<std::uint32_t>(byte) << bitCount_;
      bitCount_ += 8;
    }
    *code = bits_ & ((1u << width) - 1);
    bits_ >>= width;
    bitCount_ -= width;
    return true;
  }

 private:
  ByteReader& reader_;
  unsigned blockLeft_ = 0;
  std::uint32_t bits_ = 0;
  unsigned bitCount_ = 0;
};

// Places pixels left to right and rows in file order, or in the four interlace passes.
class PixelPlacer {
 public:
  PixelPlacer(std::uint8_t* rows, std::size_t stride, std::size_t width, std::size_t height, bool interlaced)
      : rows_(rows), stride_(stride), width_(width), height_(height), interlaced_(interlaced) {}

  bool Full() const { return row_ >= height_; }

  // Writes as much of `pixels` as still fits in the image area; the rest is dropped.
  void Put(const std::uint8_t* pixels, std::size_t count) {
    while (count > 0 && !Full()) {
      const std::size_t run = count < width_ - column_ ? count : width_ - column_;
      std::memcpy(rows_ + row_ * stride_ + column_, pixels, run);
      pixels += run;
      count -= run;
      column_ += run;
      if (column_ == width_) {
        column_ = 0;
        NextRow();
      }
    }
  }

 private:
  void NextRow() {
    if (!interlaced_) {
      ++row_;
      return;
    }
    static constexpr std::size_t kPassStart[4] = {0, 4, 2, 1};
    static constexpr std::size_t kPassStep[4] = {8, 8, 4, 2};
    row_ += kPassStep[pass_];
    while (row_ >= height_ && pass_ < 3) row_ = kPassStart[++pass_];
  }

  std::uint8_t* rows_;
  std::size_t stride_;
  std::size_t width_;
  std::size_t height_;
  bool interlaced_;
  std::size_t row_ = 0;
  std::size_t column_ = 0;
  unsigned pass_ = 0;
};

// The code table. Every entry takes as prefix a code below its own index, so following prefixes
// always ends at a root, and an entry's length bounds the string it spells.
struct CodeTable {
  std::uint16_t prefix[kMaxCodes];
  std::uint8_t suffix[kMaxCodes];
  std::uint8_t first[kMaxCodes];
  std::uint16_t length[kMaxCodes];
};

// Writes the string of `code` to `out` (at least length[code] bytes) and returns its length.
std::size_t SpellCode(const CodeTable& table, unsigned code, std::uint8_t* out) {
  const std::size_t length = table.length[code];
  for (std::size_t i = length; i-- > 0;) {
    out[i] = table.suffix[code];
    code = table.prefix[code];
  }
  return length;
}

// Decodes the LZW data into the image area. kNone also when the data ends early.
PictureFailure DecodeLzw(ByteReader& reader, unsigned minimumCodeSize, PixelPlacer& placer) {
  CodeTable table;
  const unsigned clearCode = 1u << minimumCodeSize;
  const unsigned endCode = clearCode + 1;
  for (unsigned code = 0; code < clearCode; ++code) {
    table.prefix[code] = 0;
    table.suffix[code] = static_cast<std::uint8_t>(code);
    table.first[code] = static_cast<std::uint8_t>(code);
    table.length[code] = 1;
  }
  std::uint8_t string[kMaxCodes];

  CodeReader codes(reader);
  unsigned width = minimumCodeSize + 1;
  unsigned nextCode = clearCode + 2;
  // The stream starts as if after a clear code: its first code has no previous one.
  bool afterClear = true;
  unsigned previous = 0;
  unsigned code;
  while (!placer.Full() && codes.Next(width, &code)) {
    if (code == endCode) break;
    if (code == clearCode) {
      width = minimumCodeSize + 1;
      nextCode = clearCode + 2;
      afterClear = true;
      continue;
    }
    if (afterClear) {
      // Only a root can follow a clear code: nothing else is defined yet.
      if (code > clearCode) return PictureFailure::kCorruptData;
      string[0] = static_cast<std::uint8_t>(code);
      placer.Put(string, 1);
      previous = code;
      afterClear = false;
      continue;
    }
    unsigned added = kMaxCodes;  // none
    if (code < nextCode) {
      placer.Put(string, SpellCode(table, code, string));
      if (nextCode < kMaxCodes) {
        added = nextCode;
        table.suffix[added] = table.first[code];
      }
    } else {
      // A code not yet in the table spells the previous string plus its own first value.
      const std::size_t length = SpellCode(table, previous, string);
      string[length] = table.first[previous];
      placer.Put(string, length + 1);
      if (nextCode < kMaxCodes) {
        added = nextCode;
        table.suffix[added] = table.first[previous];
      }
    }
    if (added < kMaxCodes) {
      table.prefix[added] = static_cast<std::uint16_t>(previous);
      table.first[added] = table.first[previous];
      table.length[added] = static_cast<std::uint16_t>(table.length[previous] + 1);
      ++nextCode;
      if (nextCode == (1u << width) && width < kMaxCodeWidth) ++width;
    }
    // A code past the table's end now names the entry that was just added for it.
    previous = code < nextCode ? code : added;
  }
  return PictureFailure::kNone;
}

void WriteBitmapInfo(std::uint8_t* block, std::uint32_t width, std::uint32_t height) {
  StoreLe32(block, kDibHeaderSize);
  StoreLe32(block + 4, width);
  StoreLe32(block + 8, static_cast<std::uint32_t>(-static_cast<std::int64_t>(height)));  // top-down
  StoreLe16(block + 12, 1);                                                                // planes
  StoreLe16(block + 14, 8);                                                                // bits
  // Compression, image size and resolutions stay 0.
  StoreLe32(block + 32, kDibColourEntries);  // colours used
  StoreLe32(block + 36, kDibColourEntries);  // colours important
}

// Colour-table triplets (red, green, blue) to bitmap entries (blue, green, red, 0).
void CopyColourTable(std::uint8_t* block, const std::uint8_t* triplets, std::size_t entries) {
  std::uint8_t* entry = block + kDibHeaderSize;
  for (std::size_t i = 0; i < entries; ++i, entry += 4, triplets += 3) {
    entry[0] = triplets[2];
    entry[1] = triplets[1];
    entry[2] = triplets[0];
  }
}

DecodeResult DecodeImage(ByteReader& reader, std::uint16_t screenWidth, std::uint16_t screenHeight,
                         const std::uint8_t* globalTable, std::size_t globalEntries) {
  const std::uint8_t* descriptor = reader.Take(9);
  if (!descriptor) return PictureFailed(PictureFailure::kTruncated);
  // Left and top (the first two words) are not applied: the image sits in the top-left corner.
  const std::uint16_t width = ByteReader::LoadLe16(descriptor + 4);
  const std::uint16_t height = ByteReader::LoadLe16(descriptor + 6);
  const std::uint8_t flags = descriptor[8];
  if (const PictureFailure size = CheckPictureSize(width, height); size != PictureFailure::kNone) {
    return PictureFailed(size);
  }
  const auto stride = RowBytes(width, 8, 4);
  const auto blockSize = stride ? PixelBlockSize(*stride, height, kDibRowsOffset + kGifCodeTableBytes)
                                : std::nullopt;
  if (!blockSize) return PictureFailed(PictureFailure::kTooLarge);

  const std::uint8_t* localTable = nullptr;
  std::size_t localEntries = 0;
  if (flags & 0x80) {
    localEntries = std::size_t{2} << (flags & 7);
    localTable = reader.Take(3 * localEntries);
    if (!localTable) return PictureFailed(PictureFailure::kTruncated);
  }
  const std::uint8_t minimumCodeSize = reader.U8();
  if (reader.Failed()) return PictureFailed(PictureFailure::kTruncated);
  if (minimumCodeSize > kMaxMinimumCodeSize) return PictureFailed(PictureFailure::kCorruptData);
  // A picture cut short keeps what its data holds; but data that could not fill the image even at
  // LZW's best means the header lies, and no block of that size is allocated for it.
  if (std::uint64_t{width} * height > MostPixelsFrom(reader.Remaining(), minimumCodeSize)) {
    return PictureFailed(PictureFailure::kTruncated);
  }

  // Zeroed: pixels the data never reaches show colour 0, and the code table area stays blank.
  PixelBlock block;
  if (const PictureFailure failure = block.Allocate(*blockSize, true); failure != PictureFailure::kNone) {
    return PictureFailed(failure);
  }
  WriteBitmapInfo(block.Data(), width, height);
  if (localTable) {
    CopyColourTable(block.Data(), localTable, localEntries);
  } else {
    CopyColourTable(block.Data(), globalTable, globalEntries);
  }

  PixelPlacer placer(block.Data() + kDibRowsOffset, *stride, width, height, (flags & 0x40) != 0);
  if (const PictureFailure failure = DecodeLzw(reader, minimumCodeSize, placer);
      failure != PictureFailure::kNone) {
    return PictureFailed(failure);
  }

  DecodeResult result;
  result.picture.kind = PictureKind::kGif;
  result.picture.width = screenWidth;
  result.picture.height = screenHeight;
  block.HandTo(&result.picture);
  return result;
}

}  // namespace

DecodeResult DecodeGifPicture(const std::uint8_t* bytes, std::size_t length) {
  if (length <= kGifHeaderSize) return PictureFailed(PictureFailure::kTruncated);
  if (std::memcmp(bytes, "GIF87a", 6) != 0 && std::memcmp(bytes, "GIF89a", 6) != 0) {
    return PictureFailed(PictureFailure::kBadHeader);
  }
  const std::uint16_t screenWidth = ByteReader::LoadLe16(bytes + 6);
  const std::uint16_t screenHeight = ByteReader::LoadLe16(bytes + 8);
  const std::uint8_t flags = bytes[10];
  // The record is as large as the logical screen, and so is what gets drawn from it.
  if (!WithinPictureLimits(screenWidth, screenHeight)) return PictureFailed(PictureFailure::kTooLarge);

  std::size_t globalEntries = 0;
  if (flags & 0x80) {
    globalEntries = std::size_t{2} << (flags & 7);
    if (kGifHeaderSize + 3 * globalEntries >= length) return PictureFailed(PictureFailure::kTruncated);
  }
  const std::uint8_t* globalTable = bytes + kGifHeaderSize;
  const std::size_t streamStart = kGifHeaderSize + 3 * globalEntries;
  ByteReader reader(bytes + streamStart, length - streamStart);

  // One walk of the block stream. Reaching the trailer (or a 0 byte) sends the walk back to the
  // start, where it would meet the same blocks again: there is no image.
  for (;;) {
    const std::uint8_t introducer = reader.U8();
    if (reader.Failed()) return PictureFailed(PictureFailure::kTruncated);
    switch (introducer) {
      case 0x21: {
        const std::uint8_t label = reader.U8();
        switch (label) {
          case 0x01:  // plain text: 15 bytes from the introducer, then sub-blocks
            reader.Skip(13);
            SkipSubBlocks(reader);
            break;
          case 0xF9:  // graphic control: size, flags, delay, transparent index, terminator
            reader.Skip(6);
            break;
          case 0xFE:  // comment
            SkipSubBlocks(reader);
            break;
          case 0xFF:  // application: 14 bytes from the introducer, then sub-blocks
            reader.Skip(12);
            SkipSubBlocks(reader);
            break;
          default:
            if (reader.Failed()) break;
            return PictureFailed(PictureFailure::kCorruptData);
        }
        if (reader.Failed()) return PictureFailed(PictureFailure::kTruncated);
        break;
      }
      case 0x2C:
        return DecodeImage(reader, screenWidth, screenHeight, globalTable, globalEntries);
      case 0x3B:
      case 0x00:
        return PictureFailed(PictureFailure::kNoImage);
      default:
        return PictureFailed(PictureFailure::kCorruptData);
    }
  }
}
