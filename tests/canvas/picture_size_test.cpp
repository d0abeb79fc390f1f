// The size arithmetic every decoder goes through: overflow in size_t (32 bits in the release
// build) and the picture limits.
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "canvas/picture_size.h"

namespace {

constexpr std::size_t kSizeMax = std::numeric_limits<std::size_t>::max();

TEST(PictureSize, CheckedArithmeticRefusesWhatDoesNotFit) {
  EXPECT_EQ(CheckedMulAdd(37, 3, 1), std::optional<std::size_t>(112)) << "37 x 3 + 1";
  EXPECT_EQ(CheckedMulAdd(kSizeMax / 2 + 1, 2), std::nullopt) << "product past size_t";
  EXPECT_EQ(CheckedMulAdd(kSizeMax, 1, 1), std::nullopt) << "sum past size_t";
  EXPECT_EQ(CheckedMulAdd(kSizeMax, 0, 5), std::optional<std::size_t>(5)) << "zero product";
  // In 32 bits 65536 x 65536 is 0 when unchecked.
  EXPECT_EQ(CheckedMulAdd(std::size_t{1} << (sizeof(std::size_t) * 4), std::size_t{1} << (sizeof(std::size_t) * 4)),
            std::nullopt)
      << "square of half the bits";
}

TEST(PictureSize, RowBytesRoundUp) {
  EXPECT_EQ(RowBytes(37, 24, 4), std::optional<std::size_t>(112)) << "24-bit BMP row of 37";
  EXPECT_EQ(RowBytes(37, 24, 1), std::optional<std::size_t>(111)) << "unpadded";
  EXPECT_EQ(RowBytes(37, 1, 2), std::optional<std::size_t>(6)) << "monochrome row of 37";
  EXPECT_EQ(RowBytes(16, 1, 2), std::optional<std::size_t>(2)) << "monochrome row of 16";
  EXPECT_EQ(RowBytes(3, 4, 4), std::optional<std::size_t>(4)) << "4-bit row of 3";
  EXPECT_EQ(RowBytes(kSizeMax / 8, 24, 4), std::nullopt) << "bits past size_t";
}

TEST(PictureSize, LimitsOfADecodedPicture) {
  struct Case {
    std::int64_t width;
    std::int64_t height;
    PictureFailure expected;
  };
  const Case cases[] = {
      {1, 1, PictureFailure::kNone},
      {0, 5, PictureFailure::kBadSize},
      {5, -1, PictureFailure::kBadSize},
      {kMaxPictureSide, 5461, PictureFailure::kNone},      // 16384 x 5461 x 3 is just under 256 MiB
      {kMaxPictureSide, 5462, PictureFailure::kTooLarge},  // just over
      {kMaxPictureSide + 1, 1, PictureFailure::kTooLarge},
      {1, kMaxPictureSide + 1, PictureFailure::kTooLarge},
      {4000, 3000, PictureFailure::kNone},  // a 12-megapixel photo
      {std::int64_t{1} << 40, std::int64_t{1} << 40, PictureFailure::kTooLarge},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckPictureSize(c.width, c.height), c.expected) << c.width << " x " << c.height;
  }
  EXPECT_EQ(PixelBlockSize(kMaxPictureBytes, 1), std::optional<std::size_t>(kMaxPictureBytes)) << "at the budget";
  EXPECT_EQ(PixelBlockSize(kMaxPictureBytes, 1, 1), std::nullopt) << "one byte over the budget";
  EXPECT_EQ(PixelBlockSize(kSizeMax, 2), std::nullopt) << "overflowing block";
}

}  // namespace
