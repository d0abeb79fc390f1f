// Every fixture of tests/canvas/fixtures decodes to ImageMagick's own decoding of it (FILE.ppm),
// pixel for pixel. ImageMagick reads JPEG through the same libjpeg-turbo with the library's
// defaults (integer DCT, fancy upsampling), so JPEG pixels match exactly as well: no tolerance.
// One convention differs: ImageMagick shows a 1 bit of a 1-bit PCX as black, while the program
// draws kind 7 as a monochrome bitmap, where a 1 bit is the (white) background; that reference is
// compared negated.
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas/picture.h"
#include "canvas/picture_rgb.h"
#include "picture_test_support.h"

namespace {

struct OracleCase {
  const char* file;
  PictureKind kind;
  int width;   // of the record (a GIF's logical screen)
  int height;
  int imageWidth;  // of the pixels ImageMagick shows (a GIF's first image); 0: the record's size
  int imageHeight;
  bool referenceNegated = false;
};

constexpr OracleCase kOracleCases[] = {
    {"bmp_1.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_4.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_4_colours_used_0.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_8_colours_used_0.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_8_top_down.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_24_bottom_up.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_24_top_down.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_32.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_8_v5.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_8_v5_rle.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_8_core.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_4_core.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_16_565.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_16_555.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"bmp_8_rle.bmp", PictureKind::kBmp, 37, 23, 0, 0},
    {"gif87a.gif", PictureKind::kGif, 37, 23, 0, 0},
    {"gif89a_extensions.gif", PictureKind::kGif, 37, 23, 0, 0},
    {"gif_4_colours.gif", PictureKind::kGif, 37, 23, 0, 0},
    {"gif_code_table_full.gif", PictureKind::kGif, 100, 64, 0, 0},
    {"gif_interlaced.gif", PictureKind::kGif, 37, 23, 0, 0},
    {"gif_local_and_global.gif", PictureKind::kGif, 37, 23, 0, 0},
    {"gif_local_table.gif", PictureKind::kGif, 37, 23, 0, 0},
    {"gif_small_image.gif", PictureKind::kGif, 60, 40, 37, 23},
    {"gif_transparent.gif", PictureKind::kGif, 37, 23, 0, 0},
    {"jpeg_422.jpg", PictureKind::kJpeg, 45, 31, 0, 0},
    {"jpeg_444.jpg", PictureKind::kJpeg, 45, 31, 0, 0},
    {"jpeg_baseline_420.jpg", PictureKind::kJpeg, 45, 31, 0, 0},
    {"jpeg_grey.jpg", PictureKind::kJpeg, 45, 31, 0, 0},
    {"jpeg_cmyk.jpg", PictureKind::kJpeg, 45, 31, 0, 0},
    {"jpeg_ycck.jpg", PictureKind::kJpeg, 45, 31, 0, 0},
    {"jpeg_progressive.jpg", PictureKind::kJpeg, 45, 31, 0, 0},
    {"pcx_1.pcx", PictureKind::kPcx1, 37, 23, 0, 0, true},
    {"pcx_8.pcx", PictureKind::kPcx8, 37, 23, 0, 0},
};

// gtest shows a case by its file.
void PrintTo(const OracleCase& c, std::ostream* out) { *out << c.file; }

// Icons and cursors: recognised everywhere, made into pictures only by the Windows build.
constexpr std::pair<const char*, PictureKind> kIconFixtures[] = {
    {"icon_32_16.ico", PictureKind::kIcon},
    {"cursor_32.cur", PictureKind::kCursor},
};

// The block size the record's layout implies for an image of this size.
std::size_t ExpectedBlockSize(PictureKind kind, int width, int height, std::size_t pcxStride) {
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  switch (kind) {
    case PictureKind::kJpeg:
    case PictureKind::kBmp: return w * h * 3;
    case PictureKind::kGif: return (w + 3) / 4 * 4 * h + 25640;
    case PictureKind::kPcx8: return pcxStride * h + 1064;
    case PictureKind::kPcx1: return (w + 15) / 16 * 2 * h;
    default: return 0;
  }
}

class PictureOracle : public testing::TestWithParam<OracleCase> {};

TEST_P(PictureOracle, DecodesLikeImageMagick) {
  const OracleCase& c = GetParam();
  const Bytes bytes = ReadFileBytes(CanvasTestPath("fixtures", c.file));
  ASSERT_FALSE(bytes.empty()) << "fixture missing: " << c.file;
  RgbImage reference;
  const std::string ppmError = ReadPpm(CanvasTestPath("fixtures", std::string(c.file) + ".ppm"), &reference);
  ASSERT_EQ(ppmError, "") << "reference of " << c.file;
  if (c.referenceNegated) {
    for (std::uint8_t& level : reference.rgb) level = static_cast<std::uint8_t>(255 - level);
  }

  const DecodeResult result = Decode(bytes);
  ASSERT_TRUE(result) << c.file << " failed: " << PictureFailureName(result.failure);
  const DecodedPicture& picture = result.picture;
  EXPECT_EQ(picture.kind, c.kind) << "kind of " << c.file;
  EXPECT_EQ(picture.width, c.width) << "width of " << c.file;
  EXPECT_EQ(picture.height, c.height) << "height of " << c.file;
  const int imageWidth = c.imageWidth ? c.imageWidth : c.width;
  const int imageHeight = c.imageHeight ? c.imageHeight : c.height;
  ASSERT_EQ(reference.width, imageWidth) << "reference width of " << c.file;
  ASSERT_EQ(reference.height, imageHeight) << "reference height of " << c.file;
  // PCX rows are as long as the file's bytes per line (rounded up to 4), which is at offset 66.
  const std::size_t pcxStride = (bytes[66] | bytes[67] << 8) * std::size_t{bytes[65]};
  ASSERT_EQ(static_cast<std::size_t>(picture.pixelBlockSize),
            ExpectedBlockSize(c.kind, imageWidth, imageHeight, (pcxStride + 3) / 4 * 4))
      << "pixel block size of " << c.file;

  int mismatches = 0;
  std::ostringstream first;
  for (int y = 0; y < imageHeight; ++y) {
    for (int x = 0; x < imageWidth; ++x) {
      const Rgb ours = LayoutPixel(picture, x, y);
      const Rgb theirs = reference.At(x, y);
      if (ours != theirs && mismatches++ == 0) {
        first << "(" << x << "," << y << ") ours " << +ours[0] << "," << +ours[1] << "," << +ours[2]
              << " ImageMagick's " << +theirs[0] << "," << +theirs[1] << "," << +theirs[2];
      }
    }
  }
  EXPECT_EQ(mismatches, 0) << c.file << " differs from ImageMagick, first at " << first.str();

  // The RGB view the probe writes shows the same pixels, and black outside a GIF's first image.
  std::vector<std::uint8_t> rgb;
  ASSERT_TRUE(PictureToRgb(picture, &rgb)) << "RGB view of " << c.file;
  ASSERT_EQ(rgb.size(), std::size_t{3} * c.width * c.height) << "RGB view size of " << c.file;
  int viewMismatches = 0;
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      const std::uint8_t* view = &rgb[(static_cast<std::size_t>(y) * c.width + x) * 3];
      const Rgb expected = x < imageWidth && y < imageHeight ? reference.At(x, y) : Rgb{0, 0, 0};
      if (Rgb{view[0], view[1], view[2]} != expected) ++viewMismatches;
    }
  }
  EXPECT_EQ(viewMismatches, 0) << "RGB view of " << c.file << " differs from ImageMagick's";
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PictureOracle, testing::ValuesIn(kOracleCases),
                         [](const testing::TestParamInfo<OracleCase>& info) { return TestNameFor(info.param.file); });

TEST(PictureFixtures, IconsAndCursorsAreRecognised) {
  for (const auto& [file, kind] : kIconFixtures) {
    const Bytes bytes = ReadFileBytes(CanvasTestPath("fixtures", file));
    ASSERT_FALSE(bytes.empty()) << "fixture missing: " << file;
    EXPECT_EQ(DetectPictureKind(bytes.data(), bytes.size()), kind) << "kind of " << file;
#ifndef _WIN32
    EXPECT_EQ(Decode(bytes).failure, PictureFailure::kNeedsPlatform) << "native decoding of " << file;
#endif
  }
}

// A fixture left out of the tables would never be checked.
TEST(PictureFixtures, EveryFixtureIsInATable) {
  std::set<std::string> listed;
  for (const OracleCase& c : kOracleCases) listed.insert(c.file);
  for (const auto& [file, kind] : kIconFixtures) listed.insert(file);
  for (const auto& entry : std::filesystem::directory_iterator(CanvasTestPath("fixtures", ""))) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".ppm") {
      EXPECT_TRUE(listed.count(entry.path().stem().string())) << "reference without fixture: " << name;
    } else {
      EXPECT_TRUE(listed.count(name)) << "fixture in no table: " << name;
    }
  }
}

}  // namespace
