// PCX decoding from small hand-made files: runs, rows, the palette, the monochrome layout, and
// refusals.
#include <string>

#include <gtest/gtest.h>

#include "canvas/picture.h"
#include "picture_test_support.h"

namespace {

struct PcxFields {
  std::uint8_t version = 5;
  std::uint8_t bitsPerPixel = 8;
  std::uint16_t left = 0;
  std::uint16_t top = 0;
  std::uint16_t right = 2;   // width 3
  std::uint16_t bottom = 1;  // height 2
  std::uint8_t planes = 1;
  std::uint16_t bytesPerLine = 4;
  Bytes data{};     // run-length encoded rows
  Bytes trailer{};  // behind the rows (the palette marker and palette)
};

Bytes MakePcx(const PcxFields& fields) {
  Bytes b;
  b.push_back(0x0A);               // manufacturer
  b.push_back(fields.version);       // version
  b.push_back(1);                  // encoding: run-length
  b.push_back(fields.bitsPerPixel);  // bits per pixel per plane
  PutLe16(b, fields.left);           // window
  PutLe16(b, fields.top);
  PutLe16(b, fields.right);
  PutLe16(b, fields.bottom);
  PutLe16(b, 72);                  // horizontal resolution
  PutLe16(b, 72);                  // vertical resolution
  b.resize(16 + 48, 0x55);         // 16-colour header palette, unused here
  b.push_back(0);                  // reserved
  b.push_back(fields.planes);        // planes
  PutLe16(b, fields.bytesPerLine);   // bytes per line per plane
  PutLe16(b, 1);                   // palette information
  b.resize(128, 0);                // filler
  b.insert(b.end(), fields.data.begin(), fields.data.end());
  b.insert(b.end(), fields.trailer.begin(), fields.trailer.end());
  return b;
}

Bytes Palette() {
  Bytes palette = {12};  // marker
  for (int i = 0; i < 256; ++i) PutBytes(palette, {static_cast<std::uint8_t>(i), 0x11, static_cast<std::uint8_t>(255 - i)});
  return palette;
}

Bytes Rows(const DecodedPicture& picture, std::size_t offset) {
  return Bytes(picture.pixels + offset, picture.pixels + picture.pixelBlockSize);
}

TEST(PcxDecoder, EightBitsGiveABitmapInfoBlock) {
  PcxFields fields;
  fields.planes = 1;
  // Row 0: a run of three 7s, a literal 1. Row 1: literal 5, a run of two 6s, literal 0.
  fields.data = {0xC3, 7, 1, 5, 0xC2, 6, 0};
  fields.trailer = Palette();
  const DecodeResult result = Decode(MakePcx(fields));
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  const DecodedPicture& picture = result.picture;
  EXPECT_EQ(picture.kind, PictureKind::kPcx8);
  EXPECT_EQ(picture.width, 3);
  EXPECT_EQ(picture.height, 2);
  ASSERT_EQ(picture.pixelBlockSize, 2 * 4 + 1064) << "two rows of 4 bytes behind header and colour table";
  const std::uint8_t* block = picture.pixels;
  EXPECT_EQ(LoadLe32(block), 40u) << "header size";
  EXPECT_EQ(static_cast<std::int32_t>(LoadLe32(block + 4)), 3) << "width";
  EXPECT_EQ(static_cast<std::int32_t>(LoadLe32(block + 8)), -2) << "height, negative: top-down";
  EXPECT_EQ(block[12] | block[13] << 8, 1) << "planes: the file's";
  EXPECT_EQ(block[14] | block[15] << 8, 8) << "bits per pixel";
  for (int offset = 16; offset < 40; offset += 4) EXPECT_EQ(LoadLe32(block + offset), 0u) << "field at " << offset;
  EXPECT_EQ(LoadLe32(block + 40 + 4 * 7), 0x000711F8u) << "entry 7: red 7, green 0x11, blue 248";
  EXPECT_EQ(Rows(picture, 1064), (Bytes{7, 7, 7, 1, 5, 6, 6, 0})) << "rows";
}

TEST(PcxDecoder, RunsStopAtTheEndOfTheirRow) {
  PcxFields fields;
  // Row 0: a run of nine 7s, cut after four. Row 1: four literals (192 is still a literal).
  fields.data = {0xC9, 7, 1, 2, 0xC0, 4};
  const DecodeResult result = Decode(MakePcx(fields));
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  EXPECT_EQ(Rows(result.picture, 1064), (Bytes{7, 7, 7, 7, 1, 2, 0xC0, 4}));
  EXPECT_EQ(LoadLe32(result.picture.pixels + 40 + 4 * 7), 0u) << "no palette: entries stay 0";
}

TEST(PcxDecoder, RowsArePaddedToTheStride) {
  // Three planes of 3 bytes (a 24-bit file taken as 8-bit): lines of 9 bytes in rows of 12.
  PcxFields fields{.right = 2, .bottom = 0, .planes = 3, .bytesPerLine = 3};
  fields.data = {0xC9, 0x42};
  const DecodeResult result = Decode(MakePcx(fields));
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  EXPECT_EQ(result.picture.pixels[12], 3) << "planes field";
  EXPECT_EQ(Rows(result.picture, 1064), (Bytes{0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0, 0, 0}));
}

TEST(PcxDecoder, OneBitRowsAreWholeEvenBytes) {
  // Width 20: rows of 3 bytes in the file, 4 in the block (even), the fourth 0. The second row's
  // last run is cut at the row's end.
  PcxFields fields{.version = 3, .bitsPerPixel = 1, .right = 19, .bottom = 1, .bytesPerLine = 3};
  fields.data = {0xC1, 0xFF, 0xC2, 0xF0, 0x01, 0x80, 0xC2, 0xAA};
  const DecodeResult result = Decode(MakePcx(fields));
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  EXPECT_EQ(result.picture.kind, PictureKind::kPcx1);
  EXPECT_EQ(result.picture.width, 20);
  EXPECT_EQ(result.picture.height, 2);
  EXPECT_EQ(Rows(result.picture, 0), (Bytes{0xFF, 0xF0, 0xF0, 0, 0x01, 0x80, 0xAA, 0})) << "rows";
  // A file line longer than the block row: the rest is dropped.
  fields.bytesPerLine = 6;
  fields.data = {0xC6, 0x0F, 0xC6, 0xF0};
  const DecodeResult wide = Decode(MakePcx(fields));
  ASSERT_TRUE(wide) << PictureFailureName(wide.failure);
  EXPECT_EQ(Rows(wide.picture, 0), (Bytes{0x0F, 0x0F, 0x0F, 0x0F, 0xF0, 0xF0, 0xF0, 0xF0})) << "rows of a wide line";
}

TEST(PcxDecoder, RefusesWhatItCannotDecode) {
  auto with = [](auto change) {
    PcxFields fields;
    fields.data = {0xC4, 1, 0xC4, 2};
    change(fields);
    return MakePcx(fields);
  };
  struct Case {
    std::string name;
    Bytes bytes;
    PictureFailure expected;
  };
  const std::vector<Case> cases = {
      {"header only", with([](PcxFields& s) { s.data.clear(); }), PictureFailure::kTruncated},
      {"data ending in the second row", with([](PcxFields& s) { s.data = {0xC4, 1, 2}; }), PictureFailure::kTruncated},
      {"run count as the last byte", with([](PcxFields& s) { s.data = {0xC4, 1, 0xC4}; }), PictureFailure::kTruncated},
      {"palette marker with a short palette", with([](PcxFields& s) { s.trailer = {12, 1, 2, 3}; }),
       PictureFailure::kTruncated},
      {"1 bit, version 5", with([](PcxFields& s) { s.bitsPerPixel = 1; }), PictureFailure::kUnrecognised},
      {"1 bit, 4 planes", with([](PcxFields& s) { s.version = 3; s.bitsPerPixel = 1; s.planes = 4; }),
       PictureFailure::kUnsupported},
      {"right before left", with([](PcxFields& s) { s.left = 5; }), PictureFailure::kBadHeader},
      {"bottom before top", with([](PcxFields& s) { s.top = 5; }), PictureFailure::kBadHeader},
      {"lines shorter than the width", with([](PcxFields& s) { s.bytesPerLine = 2; }), PictureFailure::kBadHeader},
      {"no planes", with([](PcxFields& s) { s.planes = 0; }), PictureFailure::kBadHeader},
      {"65536 wide", with([](PcxFields& s) { s.right = 65535; s.bytesPerLine = 65535; }), PictureFailure::kTooLarge},
      {"16384 x 16384", with([](PcxFields& s) { s.right = s.bottom = 16383; s.bytesPerLine = 16384; }),
       PictureFailure::kTooLarge},
  };
  for (const Case& c : cases) {
    const DecodeResult result = Decode(c.bytes);
    EXPECT_EQ(result.failure, c.expected) << c.name << " answered " << PictureFailureName(result.failure);
    EXPECT_EQ(result.picture.pixels, nullptr) << c.name;
  }
}

}  // namespace
