// GIF decoding from small hand-made files: the block walk, colour tables, LZW codes, interlacing,
// and the bounds that hold for broken streams.
#include <string>

#include <gtest/gtest.h>

#include "canvas/picture.h"
#include "picture_test_support.h"

namespace {

constexpr unsigned kClear = 0x100;  // marks a clear code in a code list, whatever the code size
constexpr unsigned kEnd = 0x101;    // marks the end code

// LZW codes packed least significant bit first at the width a decoder reads them with: m + 1 bits
// after a clear code, one more each time the next free code reaches 2^width (up to 12), where every
// code but the first after a clear adds one entry while the table has room.
Bytes PackCodes(unsigned minimumCodeSize, const std::vector<unsigned>& codes) {
  const unsigned clear = 1u << minimumCodeSize;
  Bytes packed;
  std::uint32_t bits = 0;
  unsigned count = 0;
  unsigned width = minimumCodeSize + 1;
  unsigned next = clear + 2;
  bool first = true;
  for (unsigned marked : codes) {
    const unsigned code = marked == kClear ? clear : marked == kEnd ? clear + 1 : marked;
    bits |= code << count;
    count += width;
    while (count >= 8) {
      packed.push_back(static_cast<std::uint8_t>(bits));
      bits >>= 8;
      count -= 8;
    }
    if (code == clear) {
      width = minimumCodeSize + 1;
      next = clear + 2;
      first = true;
    } else if (first) {
      first = false;
    } else if (next < 4096) {
      ++next;
      if (next == (1u << width) && width < 12) ++width;
    }
  }
  if (count > 0) packed.push_back(static_cast<std::uint8_t>(bits));
  return packed;
}

// Data sub-blocks of at most 255 bytes, each behind its length byte, then the zero-length one.
void PutSubBlocks(Bytes& out, const Bytes& data, bool terminate = true) {
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t size = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(size));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + size));
  }
  if (terminate) out.push_back(0);
}

struct GifFields {
  std::uint16_t screenWidth = 4;
  std::uint16_t screenHeight = 1;
  std::vector<Rgb> globalTable = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  Bytes extensions{};  // blocks in front of the image
  std::uint16_t left = 0;
  std::uint16_t top = 0;
  std::uint16_t width = 4;
  std::uint16_t height = 1;
  bool interlaced = false;
  std::vector<Rgb> localTable{};
  std::uint8_t minimumCodeSize = 2;
  std::vector<unsigned> codes = {kClear, 0, 1, 2, 3, kEnd};
  bool terminateData = true;
  bool trailer = true;
};

// 2^(n+1) entries for a table size field n.
std::uint8_t TableSizeField(std::size_t entries) {
  std::uint8_t field = 0;
  while ((std::size_t{2} << field) < entries) ++field;
  return field;
}

void PutTable(Bytes& out, const std::vector<Rgb>& table) {
  for (std::size_t i = 0; i < (std::size_t{2} << TableSizeField(table.size())); ++i) {
    const Rgb colour = i < table.size() ? table[i] : Rgb{0, 0, 0};
    out.insert(out.end(), colour.begin(), colour.end());  // red, green, blue
  }
}

Bytes MakeGif(const GifFields& fields) {
  Bytes b;
  PutBytes(b, {'G', 'I', 'F', '8', '9', 'a'});  // signature
  PutLe16(b, fields.screenWidth);                 // logical screen width
  PutLe16(b, fields.screenHeight);                // logical screen height
  const bool global = !fields.globalTable.empty();
  b.push_back(global ? 0x80 | TableSizeField(fields.globalTable.size()) : 0);  // flags: global table, its size
  b.push_back(0);                                                             // background colour index
  b.push_back(0);                                                             // pixel aspect ratio
  if (global) PutTable(b, fields.globalTable);
  b.insert(b.end(), fields.extensions.begin(), fields.extensions.end());
  b.push_back(0x2C);        // image separator
  PutLe16(b, fields.left);    // image left
  PutLe16(b, fields.top);     // image top
  PutLe16(b, fields.width);   // image width
  PutLe16(b, fields.height);  // image height
  const bool local = !fields.localTable.empty();
  b.push_back((local ? 0x80 | TableSizeField(fields.localTable.size()) : 0) | (fields.interlaced ? 0x40 : 0));
  if (local) PutTable(b, fields.localTable);
  b.push_back(fields.minimumCodeSize);  // LZW minimum code size
  PutSubBlocks(b, PackCodes(fields.minimumCodeSize, fields.codes), fields.terminateData);
  if (fields.trailer) b.push_back(0x3B);
  return b;
}

// The palette index at (x, y) of the first image.
std::uint8_t IndexAt(const DecodedPicture& picture, std::size_t stride, std::size_t x, std::size_t y) {
  return picture.pixels[kDibRowsOffset + y * stride + x];
}

DecodeResult DecodeGif(const GifFields& fields) { return Decode(MakeGif(fields)); }

TEST(GifDecoder, WritesTheBitmapInfoBlockOfTheFirstImage) {
  // A 10 x 10 image on a 20 x 20 logical screen; its position is not applied.
  GifFields fields{.screenWidth = 20, .screenHeight = 20, .left = 3, .top = 4, .width = 10, .height = 10};
  fields.codes = {kClear};
  for (unsigned i = 0; i < 100; ++i) fields.codes.push_back(i % 4);
  fields.codes.push_back(kEnd);
  const DecodeResult result = DecodeGif(fields);
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  const DecodedPicture& picture = result.picture;
  EXPECT_EQ(picture.kind, PictureKind::kGif);
  EXPECT_EQ(picture.width, 20) << "the record has the logical screen's width";
  EXPECT_EQ(picture.height, 20) << "the record has the logical screen's height";
  ASSERT_EQ(picture.pixelBlockSize, 12 * 10 + 25640) << "stride 12 x 10 rows + header, table and code table";
  const std::uint8_t* block = picture.pixels;
  EXPECT_EQ(LoadLe32(block), 40u) << "header size";
  EXPECT_EQ(static_cast<std::int32_t>(LoadLe32(block + 4)), 10) << "image width";
  EXPECT_EQ(static_cast<std::int32_t>(LoadLe32(block + 8)), -10) << "image height, negative: top-down";
  EXPECT_EQ(block[12] | block[13] << 8, 1) << "planes";
  EXPECT_EQ(block[14] | block[15] << 8, 8) << "bits per pixel";
  for (int offset : {16, 20, 24, 28}) {
    EXPECT_EQ(LoadLe32(block + offset), 0u) << "compression, image size or resolution at " << offset;
  }
  EXPECT_EQ(LoadLe32(block + 32), 256u) << "colours used";
  EXPECT_EQ(LoadLe32(block + 36), 256u) << "colours important";
  EXPECT_EQ(LoadLe32(block + 40 + 4 * 1), 0x00FF0000u) << "entry 1 (red) as blue, green, red, 0";
  EXPECT_EQ(LoadLe32(block + 40 + 4 * 3), 0x000000FFu) << "entry 3 (blue)";
  for (std::size_t y = 0; y < 10; ++y) {
    for (std::size_t x = 0; x < 10; ++x) {
      EXPECT_EQ(IndexAt(picture, 12, x, y), (y * 10 + x) % 4) << "pixel " << x << "," << y;
    }
  }
}

TEST(GifDecoder, LocalColourTableWinsOverTheGlobalOne) {
  GifFields fields;
  fields.localTable = {{1, 2, 3}, {4, 5, 6}};
  fields.codes = {kClear, 1, kEnd};
  fields.width = 1;
  const DecodeResult withLocal = DecodeGif(fields);
  ASSERT_TRUE(withLocal) << PictureFailureName(withLocal.failure);
  EXPECT_EQ(LoadLe32(withLocal.picture.pixels + 40 + 4), 0x00040506u) << "entry 1 from the local table";
  EXPECT_EQ(LoadLe32(withLocal.picture.pixels + 40 + 4 * 2), 0u) << "entry 2: past the local table";

  fields.globalTable.clear();
  fields.localTable.clear();
  const DecodeResult withNone = DecodeGif(fields);
  ASSERT_TRUE(withNone) << PictureFailureName(withNone.failure);
  EXPECT_EQ(LoadLe32(withNone.picture.pixels + 40 + 4), 0u) << "no table at all: entries stay 0";
}

TEST(GifDecoder, SkipsExtensionsInFrontOfTheImage) {
  GifFields fields;
  // Plain text: introducer, label, block size 12, twelve bytes, one sub-block, terminator.
  PutBytes(fields.extensions, {0x21, 0x01, 12, 0, 0, 0, 0, 8, 0, 8, 0, 8, 8, 1, 0, 2, 'h', 'i', 0});
  // Graphic control: introducer, label, size 4, flags (transparency on), delay 10, index 1, terminator.
  PutBytes(fields.extensions, {0x21, 0xF9, 4, 0x01, 10, 0, 1, 0});
  // Comment: two sub-blocks.
  PutBytes(fields.extensions, {0x21, 0xFE, 3, 'a', 'b', 'c', 1, 'd', 0});
  // Application: 11-byte identifier block, then data sub-blocks.
  PutBytes(fields.extensions, {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
  const DecodeResult result = DecodeGif(fields);
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  for (std::size_t x = 0; x < 4; ++x) {
    // Index 1 is transparent, and keeps its colour: transparency is not applied.
    EXPECT_EQ(IndexAt(result.picture, 4, x, 0), x) << "pixel " << x;
  }
}

TEST(GifDecoder, FillsInterlacedRowsInPassOrder) {
  // A 1 x 10 image whose n-th decoded pixel has index n.
  GifFields fields{.width = 1, .height = 10, .interlaced = true, .minimumCodeSize = 4};
  fields.codes = {kClear, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, kEnd};
  const DecodeResult result = DecodeGif(fields);
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  const std::size_t rowOrder[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
  for (std::size_t n = 0; n < 10; ++n) {
    EXPECT_EQ(IndexAt(result.picture, 4, 0, rowOrder[n]), n) << "row " << rowOrder[n] << " should get pixel " << n;
  }
}

TEST(GifDecoder, ExpandsLzwStrings) {
  // Minimum code size 2: clear 4, end 5, first free code 6.
  //   0 -> "0";  1 -> "1", adds 6 = "0 1";  6 -> "0 1", adds 7 = "1 0" (and the width grows to 4);
  //   8 is not yet defined -> the previous string plus its first value, "0 1 0", added as 8.
  GifFields fields{.width = 7, .height = 1};
  fields.codes = {kClear, 0, 1, 6, 8, kEnd};
  const DecodeResult result = DecodeGif(fields);
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  const std::uint8_t expected[7] = {0, 1, 0, 1, 0, 1, 0};
  for (std::size_t x = 0; x < 7; ++x) EXPECT_EQ(IndexAt(result.picture, 8, x, 0), expected[x]) << "pixel " << x;
}

TEST(GifDecoder, KeepsDecodingWithAFullCodeTable) {
  // 5000 codes and no clear: the table is full after 3838 and stops growing, codes stay 12 bits.
  GifFields fields{.globalTable = std::vector<Rgb>(256), .width = 100, .height = 50, .minimumCodeSize = 8};
  fields.codes = {kClear};
  for (unsigned i = 0; i < 5000; ++i) fields.codes.push_back(i * 7 % 256);
  fields.codes.push_back(kEnd);
  const DecodeResult result = DecodeGif(fields);
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  int wrong = 0;
  for (unsigned i = 0; i < 5000; ++i) wrong += IndexAt(result.picture, 100, i % 100, i / 100) != i * 7 % 256;
  EXPECT_EQ(wrong, 0) << "pixels that differ from their literal code";
}

TEST(GifDecoder, StopsWithinTheImageArea) {
  // Twenty codes for a 2 x 2 image: the rest are dropped.
  GifFields fields{.width = 2, .height = 2};
  fields.codes = {kClear};
  for (unsigned i = 0; i < 20; ++i) fields.codes.push_back(3 - i % 4);
  const DecodeResult result = DecodeGif(fields);
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  EXPECT_EQ(IndexAt(result.picture, 4, 1, 1), 0) << "last pixel";
  EXPECT_EQ(result.picture.pixels[kDibRowsOffset + 4 + 2], 0) << "row padding untouched";
}

TEST(GifDecoder, KeepsWhatWasDecodedWhenTheDataEndsEarly) {
  // Three of ten pixels, no end code; the data ends at a zero-length sub-block, or with the file.
  GifFields fields{.width = 10, .height = 1};
  fields.codes = {kClear, 3, 2, 1};
  for (bool cutFile : {false, true}) {
    fields.terminateData = !cutFile;
    fields.trailer = !cutFile;
    const DecodeResult result = DecodeGif(fields);
    const char* how = cutFile ? "file cut" : "zero-length sub-block";
    ASSERT_TRUE(result) << how << ": " << PictureFailureName(result.failure);
    const std::uint8_t expected[10] = {3, 2, 1, 0, 0, 0, 0, 0, 0, 0};
    for (std::size_t x = 0; x < 10; ++x) EXPECT_EQ(IndexAt(result.picture, 12, x, 0), expected[x]) << how << ", pixel " << x;
  }
}

TEST(GifDecoder, RefusesBrokenStreams) {
  auto with = [](auto change) {
    GifFields fields;
    change(fields);
    return MakeGif(fields);
  };
  const Bytes header = with([](GifFields&) {});
  const std::size_t streamStart = 13 + 3 * 4;
  struct Case {
    std::string name;
    Bytes bytes;
    PictureFailure expected;
  };
  Bytes trailerOnly(header.begin(), header.begin() + streamStart);
  trailerOnly.push_back(0x3B);
  Bytes zeroOnly(header.begin(), header.begin() + streamStart);
  zeroOnly.push_back(0x00);
  Bytes commentThenTrailer(header.begin(), header.begin() + streamStart);
  PutBytes(commentThenTrailer, {0x21, 0xFE, 1, 'x', 0, 0x3B, 0x2C});
  const std::vector<Case> cases = {
      // The walk would go back to the start and meet the same trailer: one pass, no image.
      {"trailer without image", trailerOnly, PictureFailure::kNoImage},
      {"0 byte without image", zeroOnly, PictureFailure::kNoImage},
      {"comment, trailer, then an image separator", commentThenTrailer, PictureFailure::kNoImage},
      {"13 bytes", Bytes(header.begin(), header.begin() + 13), PictureFailure::kTruncated},
      {"global table reaching the end", Bytes(header.begin(), header.begin() + streamStart),
       PictureFailure::kTruncated},
      {"stream ending inside an extension", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x21, 0xFE, 5, 'a'},
       PictureFailure::kTruncated},
      {"stream ending after an extension introducer", Bytes{'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0, 0, 0, 0x21},
       PictureFailure::kTruncated},
      {"image descriptor cut", Bytes(header.begin(), header.begin() + streamStart + 5), PictureFailure::kTruncated},
      {"unknown extension label", with([](GifFields& s) { PutBytes(s.extensions, {0x21, 0x02, 0}); }),
       PictureFailure::kCorruptData},
      {"unknown block", with([](GifFields& s) { PutBytes(s.extensions, {0x99}); }), PictureFailure::kCorruptData},
      // After a clear code only a root is defined (clear+2 would name an entry that does not exist).
      {"code 6 after a clear code", with([](GifFields& s) { s.codes = {kClear, 6, kEnd}; }),
       PictureFailure::kCorruptData},
      {"minimum code size 9", with([](GifFields& s) { s.minimumCodeSize = 9; }), PictureFailure::kCorruptData},
      {"image width 0", with([](GifFields& s) { s.width = 0; }), PictureFailure::kBadSize},
      // Four codes cannot spell 16384 x 4096 pixels: no 64 MiB block for them.
      {"16384 x 4096 image from four codes", with([](GifFields& s) { s.width = 16384; s.height = 4096; }),
       PictureFailure::kTruncated},
      {"image 20000 wide", with([](GifFields& s) { s.width = 20000; }), PictureFailure::kTooLarge},
      {"logical screen 16384 x 16384", with([](GifFields& s) { s.screenWidth = s.screenHeight = 16384; }),
       PictureFailure::kTooLarge},
  };
  for (const Case& c : cases) {
    const DecodeResult result = Decode(c.bytes);
    EXPECT_EQ(result.failure, c.expected) << c.name << " answered " << PictureFailureName(result.failure);
    EXPECT_EQ(result.picture.pixels, nullptr) << c.name;
  }
  // A local colour table cut by the end of the file.
  Bytes cutTable = with([](GifFields& s) { s.localTable.assign(256, Rgb{1, 2, 3}); });
  cutTable.resize(streamStart + 10 + 300);
  EXPECT_EQ(Decode(cutTable).failure, PictureFailure::kTruncated) << "local table cut";
}

}  // namespace
