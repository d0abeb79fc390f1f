// GetPicture: the exact bytes of the exported BMP file, its sizes and its pixels.
#include <cstring>

#include "tests/canvas_panel_win/panel_fixture.h"

namespace {

std::uint32_t Le32(const ExportedBmp& bmp, std::size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, bmp.bytes.data() + at, 4);
  return value;
}
std::uint16_t Le16(const ExportedBmp& bmp, std::size_t at) {
  std::uint16_t value = 0;
  std::memcpy(&value, bmp.bytes.data() + at, 2);
  return value;
}

using ExportTest = PanelTest;

TEST_F(ExportTest, FileSizesAndHeadersFollowThePanelSize) {
  SetInt(kDrawPanelBackColor, kBrown);
  struct Case {
    int width, height;
    std::size_t fileSize;
    int exportedWidth, exportedHeight;  // a 0 x 0 panel still has a 1 x 1 BackingBitmap
  } const cases[] = {
      {333, 200, 200054, 333, 200},  // stride 1000: 999 bytes of pixels and 1 pad byte
      {4, 1, 66, 4, 1},              // stride 12
      {1, 1, 58, 1, 1},              // stride 4
      {0, 0, 58, 1, 1},
  };
  for (const Case& c : cases) {
    SetSize(c.width, c.height);
    const ExportedBmp bmp = Export();
    ASSERT_EQ(bmp.bytes.size(), c.fileSize) << c.width << "x" << c.height;
    EXPECT_EQ(bmp.bytes[0], 'B');
    EXPECT_EQ(bmp.bytes[1], 'M');
    EXPECT_EQ(Le32(bmp, 2), c.fileSize);
    EXPECT_EQ(Le32(bmp, 6), 0u) << "reserved";
    EXPECT_EQ(Le32(bmp, 10), 54u) << "pixel offset";
    EXPECT_EQ(Le32(bmp, 14), 40u) << "header size";
    EXPECT_EQ(static_cast<int>(Le32(bmp, 18)), c.exportedWidth);
    EXPECT_EQ(static_cast<int>(Le32(bmp, 22)), c.exportedHeight) << "positive: bottom row first";
    EXPECT_EQ(Le16(bmp, 26), 1u) << "planes";
    EXPECT_EQ(Le16(bmp, 28), 24u) << "bits per pixel";
    EXPECT_EQ(Le32(bmp, 30), 0u) << "uncompressed";
    EXPECT_EQ(Le32(bmp, 34), c.fileSize - 54) << "image size";
    // Every pixel has the background colour, stored blue, green, red.
    for (int y = 0; y < bmp.height; ++y) {
      for (int x = 0; x < bmp.width; ++x) ASSERT_EQ(bmp.At(x, y), kBrown) << c.width << ": " << x << "," << y;
    }
    EXPECT_EQ(bmp.bytes[54], 0x33);
    EXPECT_EQ(bmp.bytes[55], 0x66);
    EXPECT_EQ(bmp.bytes[56], 0x99);
  }
}

TEST_F(ExportTest, TheFirstRowInTheFileIsThePanelsBottomRow) {
  // Red on the top row, blue on the bottom row, white between.
  SetPicture(MakeBmpFile(333, 200, [](int, int y) -> Colour { return y == 0 ? 0x0000FF : y == 199 ? 0xFF0000 : kWhite; }));
  const ExportedBmp bmp = Export();
  ASSERT_EQ(bmp.bytes.size(), 200054u);
  EXPECT_EQ(bmp.bytes[54], 0xFF) << "bottom-left pixel: blue first";
  EXPECT_EQ(bmp.bytes[55], 0x00);
  EXPECT_EQ(bmp.bytes[56], 0x00);
  const std::size_t lastRow = 54 + 1000 * 199;
  EXPECT_EQ(bmp.bytes[lastRow], 0x00);
  EXPECT_EQ(bmp.bytes[lastRow + 2], 0xFF) << "the file's last row is the panel's top row, red";
}

TEST_F(ExportTest, SizeArgumentsArePixelsOrPercentages) {
  SetInt(kDrawPanelBackColor, kBrown);
  struct Case {
    const char* name;
    std::vector<ArgRecord> args;
    int width, height;
  } const cases[] = {
      {"both omitted", {}, 333, 200},
      {"zero is the source's own", {MakeIntArg(0), MakeIntArg(0)}, 333, 200},
      {"-50 is half, rounded", {MakeIntArg(-50)}, 167, 200},
      {"-5 is raised to 10 percent", {MakeIntArg(-5)}, 33, 200},
      {"-200 doubles", {MakeOmittedArg(), MakeIntArg(-200)}, 333, 400},
      {"pixels", {MakeIntArg(40), MakeIntArg(30)}, 40, 30},
  };
  for (const Case& c : cases) {
    const ExportedBmp bmp = Export(c.args);
    ASSERT_EQ(bmp.width, c.width) << c.name;
    EXPECT_EQ(bmp.height, c.height) << c.name;
    EXPECT_EQ(bmp.bytes.size(), 54u + static_cast<std::size_t>(bmp.stride) * c.height) << c.name;
    EXPECT_EQ(bmp.At(0, 0), kBrown) << c.name << ": a stretched plain colour stays that colour";
    EXPECT_EQ(bmp.At(c.width - 1, c.height - 1), kBrown) << c.name;
  }
}

TEST_F(ExportTest, AStretchedExportKeepsTheLayout) {
  // Left half black, right half white: at half width the seam moves to the middle of the export.
  SetPicture(MakeBmpFile(333, 200, [](int x, int) -> Colour { return x < 166 ? 0 : kWhite; }));
  const ExportedBmp bmp = Export({MakeIntArg(-50)});
  ASSERT_EQ(bmp.width, 167);
  EXPECT_EQ(bmp.At(10, 100), 0u);
  EXPECT_EQ(bmp.At(160, 100), kWhite);
}

TEST_F(ExportTest, ASizeResolvingToNothingGivesTheEmptyBuffer) {
  SetSize(1, 1);
  EXPECT_EQ(Export({MakeIntArg(-50)}).width, 1) << "half a pixel rounds up";
  EXPECT_TRUE(Export({MakeIntArg(-40)}).bytes.empty()) << "40 percent of one pixel rounds to 0";
  EXPECT_TRUE(Export({MakeIntArg(1), MakeIntArg(-10)}).bytes.empty());
  ResultRecord result{};
  ArgRecord notAPanel = MakeObjectArg(kPanelWindow, 0x16039999, kTypeDrawPanel);
  CommandPanelGetPicture(&result, 1, &notAPanel);
  EXPECT_EQ(ResultPointer(result), nullptr);
}

TEST_F(ExportTest, WithoutABackingBitmapTheScreenContentIsExported) {
  // The painted panel lays its background when it paints; what the screen shows is exported.
  SetInt(kDrawPanelBackColor, kBrown, kPaintedPanel);
  RedrawWindow(PanelWindow(kPaintedPanel), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const ExportedBmp bmp = Export({}, kPaintedPanel);
  ASSERT_EQ(bmp.width, 100);
  ASSERT_EQ(bmp.height, 50);
  EXPECT_EQ(bmp.At(0, 0), kBrown);
  EXPECT_EQ(bmp.At(99, 49), kBrown);
}

}  // namespace
