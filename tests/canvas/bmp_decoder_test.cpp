// BMP decoding from small hand-made files: row order, padding, colour tables, and refusals.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "canvas/picture.h"
#include "picture_test_support.h"

namespace {

struct BmpFields {
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t bitsPerPixel = 24;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
  std::vector<std::uint32_t> colourTable{};  // 0x00RRGGBB
  Bytes rows{};                            // as stored, padding included
  std::int64_t pixelOffset = -1;           // -1: directly behind the colour table
  std::uint32_t headerSize = 40;           // 12: the OS/2 1.x core, with 3-byte colour entries
  std::vector<std::uint32_t> masks{};      // bit fields: inside a header of 52 bytes or more, else behind it
};

Bytes MakeBmp(const BmpFields& fields) {
  const bool core = fields.headerSize == 12;
  const std::size_t entryBytes = core ? 3 : 4;
  const std::size_t masksBehind = fields.headerSize < 52 ? 4 * fields.masks.size() : 0;
  const std::uint32_t offset =
      fields.pixelOffset >= 0
          ? static_cast<std::uint32_t>(fields.pixelOffset)
          : static_cast<std::uint32_t>(14 + fields.headerSize + masksBehind + entryBytes * fields.colourTable.size());
  Bytes b;
  PutBytes(b, {'B', 'M'});                                      // file type
  PutLe32(b, static_cast<std::uint32_t>(offset + fields.rows.size()));  // file size
  PutLe32(b, 0);                                                // two reserved words
  PutLe32(b, offset);                                           // pixel data offset
  PutLe32(b, fields.headerSize);                                // info header size
  if (core) {
    PutLe16(b, static_cast<std::uint16_t>(fields.width));
    PutLe16(b, static_cast<std::uint16_t>(fields.height));
    PutLe16(b, 1);  // planes
    PutLe16(b, fields.bitsPerPixel);
  } else {
    Bytes info;                                                      // behind the size field
    PutLe32(info, static_cast<std::uint32_t>(fields.width));           // width
    PutLe32(info, static_cast<std::uint32_t>(fields.height));          // height, negative: top-down
    PutLe16(info, 1);                                                // planes
    PutLe16(info, fields.bitsPerPixel);                                // bits per pixel
    PutLe32(info, fields.compression);                                 // compression
    PutLe32(info, static_cast<std::uint32_t>(fields.rows.size()));     // image size
    PutLe32(info, 2835);                                             // horizontal resolution
    PutLe32(info, 2835);                                             // vertical resolution
    PutLe32(info, fields.coloursUsed);                                 // colours used
    PutLe32(info, 0);                                                // colours important
    // A shorter (OS/2 2.x) header ends inside these fields; a longer one holds the masks next.
    const std::size_t kept = std::min<std::size_t>(info.size(), fields.headerSize >= 4 ? fields.headerSize - 4 : 0);
    info.erase(info.begin() + static_cast<std::ptrdiff_t>(kept), info.end());
    for (std::uint32_t mask : fields.masks) PutLe32(info, mask);
    while (info.size() + 4 < fields.headerSize) info.push_back(0);
    b.insert(b.end(), info.begin(), info.end());
  }
  for (std::uint32_t colour : fields.colourTable) {
    PutBytes(b, {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                 static_cast<std::uint8_t>(colour >> 16)});  // blue, green, red
    if (!core) PutBytes(b, {0});                           // reserved
  }
  b.resize(std::max<std::size_t>(b.size(), offset), 0xAA);
  b.insert(b.end(), fields.rows.begin(), fields.rows.end());
  return b;
}

Bytes BlockOf(const DecodedPicture& picture) {
  return Bytes(picture.pixels, picture.pixels + picture.pixelBlockSize);
}

// A 2 x 2 picture: top row red, green; bottom row blue, white. Rows in file order, 2 pad bytes each.
constexpr std::uint8_t kTopRow[] = {0, 0, 255, 0, 255, 0, 0xEE, 0xEE};
constexpr std::uint8_t kBottomRow[] = {255, 0, 0, 255, 255, 255, 0xEE, 0xEE};
// The record's layout: bottom row first, blue-green-red, no padding.
const Bytes kExpectedBlock = {255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 255, 0};

TEST(BmpDecoder, TopDownAndBottomUpFilesGiveTheSameBlock) {
  BmpFields bottomUp{.width = 2, .height = 2};
  bottomUp.rows.insert(bottomUp.rows.end(), std::begin(kBottomRow), std::end(kBottomRow));
  bottomUp.rows.insert(bottomUp.rows.end(), std::begin(kTopRow), std::end(kTopRow));
  BmpFields topDown{.width = 2, .height = -2};
  topDown.rows.insert(topDown.rows.end(), std::begin(kTopRow), std::end(kTopRow));
  topDown.rows.insert(topDown.rows.end(), std::begin(kBottomRow), std::end(kBottomRow));

  for (const BmpFields* fields : {&bottomUp, &topDown}) {
    const DecodeResult result = Decode(MakeBmp(*fields));
    const char* which = fields->height > 0 ? "bottom-up" : "top-down";
    ASSERT_TRUE(result) << which << ": " << PictureFailureName(result.failure);
    EXPECT_EQ(result.picture.kind, PictureKind::kBmp) << which;
    EXPECT_EQ(result.picture.width, 2) << which;
    EXPECT_EQ(result.picture.height, 2) << which << ": the absolute height";
    EXPECT_EQ(BlockOf(result.picture), kExpectedBlock) << which;
  }
}

TEST(BmpDecoder, SkipsRowPadding) {
  // 3 pixels of 24 bits: 9 pixel bytes and 3 padding bytes per row.
  BmpFields fields{.width = 3, .height = 2};
  fields.rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0xEE, 0xEE, 0xEE};
  const DecodeResult result = Decode(MakeBmp(fields));
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  EXPECT_EQ(BlockOf(result.picture), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19}));

  // The last row's padding is not needed: nothing is read behind the last pixel.
  fields.rows.resize(fields.rows.size() - 3);
  EXPECT_TRUE(Decode(MakeBmp(fields))) << "file without the last row's padding";
}

TEST(BmpDecoder, IndexedPixelsGoThroughTheColourTable) {
  std::vector<std::uint32_t> sixteen;
  for (std::uint32_t i = 0; i < 16; ++i) sixteen.push_back(0x010203 * i);
  struct Case {
    const char* name;
    BmpFields fields;
    Bytes expected;  // the block
  };
  const Case cases[] = {
      // Colours used 0 with 4 bits: all 16 entries are read, and the pixel data follows them.
      {"4 bits, colours used 0",
       {.width = 3, .height = 1, .bitsPerPixel = 4, .colourTable = sixteen, .rows = {0xF1, 0x20, 0, 0}},
       {45, 30, 15, 3, 2, 1, 6, 4, 2}},
      // Indexes most significant bits first.
      {"1 bit",
       {.width = 10, .height = 1, .bitsPerPixel = 1, .colourTable = {0x000000, 0xFFFFFF}, .rows = {0xA0, 0x40, 0, 0}},
       {255, 255, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255}},
      // Colours used 2 with 8 bits: two entries, then the pixels.
      {"8 bits, colours used 2",
       {.width = 2, .height = 1, .bitsPerPixel = 8, .coloursUsed = 2, .colourTable = {0x102030, 0x405060},
        .rows = {1, 0, 0, 0}},
       {0x60, 0x50, 0x40, 0x30, 0x20, 0x10}},
      // 32 bits: the fourth byte of each pixel is ignored.
      {"32 bits", {.width = 2, .height = 1, .bitsPerPixel = 32, .rows = {1, 2, 3, 0x80, 4, 5, 6, 0xFF}},
       {1, 2, 3, 4, 5, 6}},
  };
  for (const Case& c : cases) {
    const DecodeResult result = Decode(MakeBmp(c.fields));
    ASSERT_TRUE(result) << c.name << ": " << PictureFailureName(result.failure);
    EXPECT_EQ(BlockOf(result.picture), c.expected) << c.name;
  }
}

TEST(BmpDecoder, ReadsOverColourEntriesPastTheFirst256) {
  // 300 entries are in the file; only the first 256 can be indexed, the rest are read over.
  BmpFields fields{.width = 1, .height = 1, .bitsPerPixel = 8, .coloursUsed = 300, .rows = {255, 0, 0, 0}};
  fields.colourTable.assign(300, 0);
  fields.colourTable[255] = 0xABCDEF;
  const DecodeResult result = Decode(MakeBmp(fields));
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  EXPECT_EQ(BlockOf(result.picture), (Bytes{0xEF, 0xCD, 0xAB})) << "entry 255";
}

// The same two indexed pixels behind every kind of info header: the colour table is found where
// each header ends (3-byte entries behind the OS/2 core).
TEST(BmpDecoder, EveryHeaderVersionFindsItsColourTable) {
  for (const std::uint32_t headerSize : {12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u}) {
    BmpFields fields{.width = 2, .bitsPerPixel = 8, .rows = {1, 2, 0, 0}};
    fields.colourTable.assign(256, 0x777777);
    fields.colourTable[1] = 0xFF0000;
    fields.colourTable[2] = 0x0000FF;
    fields.headerSize = headerSize;
    const DecodeResult result = Decode(MakeBmp(fields));
    ASSERT_TRUE(result) << headerSize << "-byte header: " << PictureFailureName(result.failure);
    EXPECT_EQ(BlockOf(result.picture), (Bytes{0, 0, 255, 255, 0, 0})) << headerSize << "-byte header";
  }
}

// One pixel per case, as its bits are stored, and the blue, green, red it shows.
TEST(BmpDecoder, SixteenAndThirtyTwoBitPixelsTakeTheirMasks) {
  const std::vector<std::uint32_t> mask565{0xF800, 0x07E0, 0x001F};
  const std::vector<std::uint32_t> mask888{0x00FF0000, 0x0000FF00, 0x000000FF};
  const std::vector<std::uint32_t> mask101010{0x3FF00000, 0x000FFC00, 0x000003FF};
  const struct Case {
    const char* name;
    std::uint16_t bits;
    std::uint32_t compression;
    std::vector<std::uint32_t> masks;
    std::uint32_t headerSize;
    std::uint32_t pixel;
    Bytes expected;
  } cases[] = {
      {"5-5-5 white", 16, 0, {}, 40, 0x7FFF, {255, 255, 255}},
      {"5-5-5 red", 16, 0, {}, 40, 0x7C00, {0, 0, 255}},
      // A 5-bit 1 widens to 8 (00001 -> 00001000), a 6-bit 1 to 4 (000001 -> 00000100).
      {"5-5-5 ones", 16, 0, {}, 40, 0x0421, {8, 8, 8}},
      {"5-6-5 green", 16, 3, mask565, 40, 0x07E0, {0, 255, 0}},
      {"5-6-5 ones", 16, 3, mask565, 124, 0x0821, {8, 4, 8}},
      {"8-8-8 in 32 bits", 32, 3, mask888, 40, 0x00123456, {0x56, 0x34, 0x12}},
      {"8-8-8 in a 108-byte header", 32, 3, mask888, 108, 0x00123456, {0x56, 0x34, 0x12}},
      // Ten bits are cut to eight with rounding: 512 of 1023 is 128.
      {"10-10-10", 32, 3, mask101010, 40, (1023u << 20) | (512u << 10), {0, 128, 255}},
      {"no mask for blue", 32, 3, {0x00FF0000, 0x0000FF00, 0}, 40, 0x00FFFFFF, {0, 255, 255}},
  };
  for (const Case& c : cases) {
    BmpFields fields{.bitsPerPixel = c.bits, .compression = c.compression};
    fields.masks = c.masks;
    fields.headerSize = c.headerSize;
    // Four bytes: a 32-bit pixel, or a 16-bit one and its row's two (zero) padding bytes.
    for (int i = 0; i < 4; ++i) fields.rows.push_back(static_cast<std::uint8_t>(c.pixel >> (8 * i)));
    const DecodeResult result = Decode(MakeBmp(fields));
    ASSERT_TRUE(result) << c.name << ": " << PictureFailureName(result.failure);
    EXPECT_EQ(BlockOf(result.picture), c.expected) << c.name;
  }
}

TEST(BmpDecoder, RunLengthRowsGoThroughTheColourTable) {
  // 3 x 2, RLE8: the bottom row a run of two index-1 pixels and one index 2, end of line; the top row
  // an absolute run of 3 (padded to a word), end of bitmap.
  BmpFields fields{.width = 3, .height = 2, .bitsPerPixel = 8, .compression = 1, .coloursUsed = 4,
                   .colourTable = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF},
                   .rows = {2, 1, 1, 2, 0, 0, 0, 3, 3, 2, 1, 0, 0, 1}};
  const DecodeResult result = Decode(MakeBmp(fields));
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  EXPECT_EQ(BlockOf(result.picture), (Bytes{0, 0, 255, 0, 0, 255, 0, 255, 0,  // bottom: red, red, green
                                            255, 0, 0, 0, 255, 0, 0, 0, 255}));  // top: blue, green, red
}

TEST(BmpDecoder, RefusesWhatItCannotDecode) {
  const BmpFields oneByOne{.rows = {1, 2, 3, 0}};
  struct Case {
    std::string name;
    Bytes bytes;
    PictureFailure expected;
  };
  auto with = [&](auto change) {
    BmpFields fields = oneByOne;
    change(fields);
    return MakeBmp(fields);
  };
  const Bytes headerOnly = MakeBmp(oneByOne);
  std::vector<Case> cases = {
      {"53 header bytes", Bytes(headerOnly.begin(), headerOnly.begin() + 53), PictureFailure::kTruncated},
      {"run-length compression at 24 bits", with([](BmpFields& s) { s.compression = 1; }),
       PictureFailure::kUnsupported},
      {"RLE4 at 8 bits", with([](BmpFields& s) { s.compression = 2; s.bitsPerPixel = 8; s.colourTable.assign(2, 0); }),
       PictureFailure::kUnsupported},
      {"run-length rows top-down",
       with([](BmpFields& s) { s.compression = 1; s.bitsPerPixel = 8; s.height = -1; s.colourTable.assign(2, 0); }),
       PictureFailure::kUnsupported},
      {"bit fields at 24 bits", with([](BmpFields& s) { s.compression = 3; }), PictureFailure::kUnsupported},
      {"bit fields with a mask in two pieces",
       with([](BmpFields& s) { s.compression = 3; s.bitsPerPixel = 32; s.masks = {0x00FF00FF, 0x0000FF00, 0xFF}; }),
       PictureFailure::kUnsupported},
      {"2 bits per pixel", with([](BmpFields& s) { s.bitsPerPixel = 2; }), PictureFailure::kUnsupported},
      {"an info header of 200 bytes", with([](BmpFields& s) { s.headerSize = 200; }), PictureFailure::kUnsupported},
      {"an info header of 8 bytes", with([](BmpFields& s) { s.headerSize = 8; }), PictureFailure::kUnsupported},
      {"OS/2 2.x Huffman coding", with([](BmpFields& s) { s.headerSize = 64; s.compression = 3; s.bitsPerPixel = 1; }),
       PictureFailure::kUnsupported},
      {"bit-field masks cut off", with([](BmpFields& s) { s.compression = 3; s.bitsPerPixel = 32; s.rows.clear(); }),
       PictureFailure::kTruncated},
      {"pixel offset inside the colour table",
       with([](BmpFields& s) { s.bitsPerPixel = 8; s.colourTable.assign(256, 0); s.pixelOffset = 60; }),
       PictureFailure::kBadHeader},
      {"pixel offset at the end of the file", with([](BmpFields& s) { s.pixelOffset = 1000; s.rows.clear(); }),
       PictureFailure::kTruncated},
      {"colour table cut short", with([](BmpFields& s) { s.bitsPerPixel = 8; s.colourTable.assign(2, 0); s.rows.clear(); }),
       PictureFailure::kTruncated},
      {"colours used 0xFFFFFFFF",
       with([](BmpFields& s) { s.bitsPerPixel = 8; s.coloursUsed = 0xFFFFFFFF; s.colourTable.assign(2, 0); }),
       PictureFailure::kTruncated},
      {"second row missing", with([](BmpFields& s) { s.height = 2; }), PictureFailure::kTruncated},
      {"width 0", with([](BmpFields& s) { s.width = 0; }), PictureFailure::kBadSize},
      {"height 0", with([](BmpFields& s) { s.height = 0; }), PictureFailure::kBadSize},
      {"width 16385", with([](BmpFields& s) { s.width = 16385; }), PictureFailure::kTooLarge},
      {"height INT32_MIN", with([](BmpFields& s) { s.height = INT32_MIN; }), PictureFailure::kTooLarge},
      {"16384 x 16384: 768 MiB of pixels", with([](BmpFields& s) { s.width = s.height = 16384; }),
       PictureFailure::kTooLarge},
      // Within the limits but the rows are not in the file: refused before any block is allocated.
      {"8000 x 8000 without rows", with([](BmpFields& s) { s.width = s.height = 8000; }), PictureFailure::kTruncated},
  };
  for (const Case& c : cases) {
    const DecodeResult result = Decode(c.bytes);
    EXPECT_EQ(result.failure, c.expected) << c.name << " answered " << PictureFailureName(result.failure);
    EXPECT_EQ(result.picture.pixels, nullptr) << c.name;
  }
}

}  // namespace
