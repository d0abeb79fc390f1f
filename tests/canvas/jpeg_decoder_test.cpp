// JPEG decoding: what the data source and the error exit make of broken and hostile streams. The
// pixels of well-formed files are checked against ImageMagick in picture_oracle_test.cpp.
#include <string>

#include <gtest/gtest.h>

#include "canvas/picture.h"
#include "picture_test_support.h"

namespace {

Bytes Fixture(const char* name) { return ReadFileBytes(CanvasTestPath("fixtures", name)); }

// Offset of the first byte behind marker FF `code`, or 0.
std::size_t FindMarker(const Bytes& bytes, std::uint8_t code) {
  for (std::size_t i = 2; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && bytes[i + 1] == code) return i + 2;
  }
  return 0;
}

TEST(JpegDecoder, GreyscaleGivesEqualRedGreenAndBlue) {
  const DecodeResult result = Decode(Fixture("jpeg_grey.jpg"));
  ASSERT_TRUE(result) << PictureFailureName(result.failure);
  ASSERT_EQ(result.picture.pixelBlockSize, result.picture.width * result.picture.height * 3);
  int unequal = 0;
  bool anyNonBlack = false;
  for (int i = 0; i < result.picture.pixelBlockSize; i += 3) {
    const std::uint8_t* pixel = result.picture.pixels + i;
    unequal += pixel[0] != pixel[1] || pixel[1] != pixel[2];
    anyNonBlack |= pixel[0] != 0;
  }
  EXPECT_EQ(unequal, 0) << "pixels whose channels differ";
  EXPECT_TRUE(anyNonBlack) << "the picture should not be all black";
}

TEST(JpegDecoder, FileCutShortShowsWhatItHolds) {
  // The data source ends a cut file with an end-of-image marker: the picture keeps its full size and
  // the rows that were complete.
  const Bytes whole = Fixture("jpeg_baseline_420.jpg");
  const DecodeResult full = Decode(whole);
  ASSERT_TRUE(full) << PictureFailureName(full.failure);
  const std::size_t scanStart = FindMarker(whole, 0xDA);
  ASSERT_NE(scanStart, 0u) << "start of scan";
  const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(scanStart + (whole.size() - scanStart) * 2 / 3));
  const DecodeResult partial = Decode(cut);
  ASSERT_TRUE(partial) << "cut file: " << PictureFailureName(partial.failure);
  EXPECT_EQ(partial.picture.width, full.picture.width) << "width";
  EXPECT_EQ(partial.picture.height, full.picture.height) << "height";
  // The first 8 rows (the top of the picture, so the end of the block) decode as in the whole file.
  const std::size_t row = static_cast<std::size_t>(full.picture.width) * 3;
  const std::size_t size = static_cast<std::size_t>(full.picture.pixelBlockSize);
  EXPECT_TRUE(std::equal(full.picture.pixels + size - 8 * row, full.picture.pixels + size,
                         partial.picture.pixels + size - 8 * row))
      << "top rows of the cut file";
}

TEST(JpegDecoder, RefusesBrokenAndHostileStreams) {
  const Bytes baseline = Fixture("jpeg_baseline_420.jpg");
  ASSERT_FALSE(baseline.empty()) << "fixture missing";
  const std::size_t frame = FindMarker(baseline, 0xC0);
  ASSERT_NE(frame, 0u) << "start of frame";
  // Frame header: length (2), precision (1), height (2, big-endian), width (2).
  auto withSize = [&](std::uint16_t width, std::uint16_t height) {
    Bytes bytes = baseline;
    bytes[frame + 3] = static_cast<std::uint8_t>(height >> 8);
    bytes[frame + 4] = static_cast<std::uint8_t>(height);
    bytes[frame + 5] = static_cast<std::uint8_t>(width >> 8);
    bytes[frame + 6] = static_cast<std::uint8_t>(width);
    return bytes;
  };
  Bytes noFrame = baseline;
  noFrame.resize(frame - 2);
  struct Case {
    std::string name;
    Bytes bytes;
    PictureFailure expected;
  };
  const std::vector<Case> cases = {
      {"start of image and zeros", Bytes{0xFF, 0xD8, 0, 0, 0, 0, 0, 0}, PictureFailure::kJpegError},
      {"start and end of image only", Bytes{0xFF, 0xD8, 0xFF, 0xD9, 0, 0}, PictureFailure::kJpegError},
      {"tables but no frame", noFrame, PictureFailure::kJpegError},
      {"65000 x 65000", withSize(65000, 65000), PictureFailure::kTooLarge},
      {"20000 x 8", withSize(20000, 8), PictureFailure::kTooLarge},
      {"width 0", withSize(0, 31), PictureFailure::kJpegError},
  };
  for (const Case& c : cases) {
    const DecodeResult result = Decode(c.bytes);
    EXPECT_EQ(result.failure, c.expected) << c.name << " answered " << PictureFailureName(result.failure);
    EXPECT_EQ(result.picture.pixels, nullptr) << c.name;
  }
  // A larger frame than the data fills still decodes at its own size, from the cut-short data.
  const DecodeResult stretched = Decode(withSize(90, 62));
  ASSERT_TRUE(stretched) << "90 x 62 frame over 45 x 31 data: " << PictureFailureName(stretched.failure);
  EXPECT_EQ(stretched.picture.width, 90);
  EXPECT_EQ(stretched.picture.height, 62);
}

}  // namespace
