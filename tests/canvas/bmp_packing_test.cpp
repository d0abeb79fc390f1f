// BMP files from packed bitmaps: the 14-byte file header in front of the block.
#include <string>

#include <gtest/gtest.h>

#include "canvas/bmp_packing.h"
#include "canvas/picture.h"
#include "frame/ground/owned.h"
#include "picture_test_support.h"

namespace {

// A packed bitmap: 40-byte header, `paletteEntries` colour-table entries, rows of the given stride.
Bytes MakePackedDib(std::int32_t width, std::int32_t height, std::uint16_t bits, std::size_t paletteEntries) {
  const std::size_t stride = ((std::size_t{bits} * width + 31) / 32) * 4;
  Bytes dib;
  PutLe32(dib, 40);                                                  // header size
  PutLe32(dib, static_cast<std::uint32_t>(width));                   // width
  PutLe32(dib, static_cast<std::uint32_t>(height));                  // height: bottom-up
  PutLe16(dib, 1);                                                   // planes
  PutLe16(dib, bits);                                                // bits per pixel
  PutLe32(dib, 0);                                                   // compression
  PutLe32(dib, static_cast<std::uint32_t>(stride * height));         // image size
  PutLe32(dib, 0);                                                   // resolutions
  PutLe32(dib, 0);
  PutLe32(dib, 0);                                                   // colours used
  PutLe32(dib, 0);                                                   // colours important
  dib.resize(dib.size() + 4 * paletteEntries, 0);
  for (std::size_t i = 0; i < stride * height; ++i) dib.push_back(static_cast<std::uint8_t>(i * 7));
  return dib;
}

TEST(DibToBmpBytes, PutsTheFileHeaderInFrontOfTheBlock) {
  struct Case {
    std::int32_t width;
    std::int32_t height;
    std::uint32_t fileSize;
  };
  // Stride ((24 x width + 31) / 32) x 4: 1000 for 333 (one pad byte), 12 for 4, 4 for 1.
  const Case cases[] = {{333, 200, 200054}, {4, 1, 66}, {1, 1, 58}};
  for (const Case& c : cases) {
    const Bytes dib = MakePackedDib(c.width, c.height, 24, 0);
    ByteBuffer buffer = nullptr;
    ASSERT_TRUE(DibToBmpBytes(&buffer, dib.data(), dib.size())) << c.width << " x " << c.height;
    OwnedBuffer owned(buffer);
    ASSERT_EQ(BufferLength(buffer), c.fileSize) << "file size of " << c.width << " x " << c.height;
    const std::uint8_t* file = BufferBytes(buffer);
    EXPECT_EQ(file[0], 'B') << "file type";
    EXPECT_EQ(file[1], 'M') << "file type";
    EXPECT_EQ(LoadLe32(file + 2), c.fileSize) << "file size field";
    EXPECT_EQ(LoadLe32(file + 6), 0u) << "reserved words";
    EXPECT_EQ(LoadLe32(file + 10), 54u) << "pixel data offset";
    EXPECT_TRUE(std::equal(dib.begin(), dib.end(), file + 14)) << "the block follows unchanged";
  }
}

TEST(DibToBmpBytes, PixelOffsetCountsThePalette) {
  struct Case {
    std::uint16_t bits;
    std::size_t paletteEntries;
    std::uint32_t pixelOffset;
  };
  const Case cases[] = {{1, 2, 54 + 8}, {4, 16, 54 + 64}, {8, 256, 54 + 1024}, {16, 0, 54}, {32, 0, 54}};
  for (const Case& c : cases) {
    const Bytes dib = MakePackedDib(3, 2, c.bits, c.paletteEntries);
    ByteBuffer buffer = nullptr;
    ASSERT_TRUE(DibToBmpBytes(&buffer, dib.data(), dib.size())) << c.bits << " bits";
    OwnedBuffer owned(buffer);
    EXPECT_EQ(LoadLe32(BufferBytes(buffer) + 10), c.pixelOffset) << "pixel offset at " << c.bits << " bits";
    EXPECT_EQ(LoadLe32(BufferBytes(buffer) + 2), 14 + dib.size()) << "file size at " << c.bits << " bits";
  }
}

TEST(DibToBmpBytes, AppendsToWhatTheBufferHolds) {
  const char prefix[] = "abc";
  ByteBuffer buffer = MakeByteBuffer(prefix, 3);
  const Bytes dib = MakePackedDib(1, 1, 24, 0);
  ASSERT_TRUE(DibToBmpBytes(&buffer, dib.data(), dib.size()));
  OwnedBuffer owned(buffer);
  ASSERT_EQ(BufferLength(buffer), 3u + 58u) << "prefix and file";
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(BufferBytes(buffer)), 5), "abcBM") << "prefix kept";
}

TEST(DibToBmpBytes, RefusesWhatIsNoPackedBitmapAndLeavesTheBuffer) {
  Bytes shortHeader = MakePackedDib(1, 1, 24, 0);
  shortHeader.resize(39);
  Bytes headerLongerThanBlock = MakePackedDib(1, 1, 24, 0);
  headerLongerThanBlock[0] = 200;
  Bytes coreHeader = MakePackedDib(1, 1, 24, 0);
  coreHeader[0] = 12;
  for (const auto& [name, dib] : {std::pair{"39 bytes", shortHeader}, std::pair{"header size 200", headerLongerThanBlock},
                                  std::pair{"header size 12", coreHeader}}) {
    ByteBuffer empty = nullptr;
    EXPECT_FALSE(DibToBmpBytes(&empty, dib.data(), dib.size())) << name;
    EXPECT_EQ(empty, nullptr) << name << ": empty buffer stays empty";
    ByteBuffer holding = MakeByteBuffer("xy", 2);
    OwnedBuffer owned(holding);
    EXPECT_FALSE(DibToBmpBytes(&holding, dib.data(), dib.size())) << name;
    EXPECT_EQ(BufferLength(holding), 2u) << name << ": buffer unchanged";
  }
}

TEST(DibToBmpBytes, MakesFilesThePictureDecoderReads) {
  const Bytes dib = MakePackedDib(5, 3, 24, 0);
  ByteBuffer buffer = nullptr;
  ASSERT_TRUE(DibToBmpBytes(&buffer, dib.data(), dib.size()));
  OwnedBuffer owned(buffer);
  const DecodeResult result = DecodePicture(BufferBytes(buffer), BufferLength(buffer));
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  EXPECT_EQ(result.picture.width, 5);
  EXPECT_EQ(result.picture.height, 3);
  // Both are bottom row first and blue-green-red; the decoder drops the 1 pad byte of each row.
  for (int row = 0; row < 3; ++row) {
    EXPECT_TRUE(std::equal(dib.begin() + 40 + row * 16, dib.begin() + 40 + row * 16 + 15, result.picture.pixels + row * 15))
        << "row " << row;
  }
}

}  // namespace
