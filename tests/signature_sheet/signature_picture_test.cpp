#include "tools/signature_sheet/signature_picture.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kRed = 0x0000FF;  // 0x00BBGGRR

// A transparent 100 x 60 drawing: a cell at (20, 20)-(60, 40) and ink from (15, 25) to (50, 45).
DrawnSignature Transparent() {
  DrawnSignature drawn;
  drawn.picture = Filled(100, 60, kRed, 0);
  for (int y = 25; y < 45; ++y) {
    for (int x = 15; x < 50; ++x) drawn.picture.At(x, y)[3] = x == 15 ? 128 : 255;
  }
  drawn.ink = AlphaBounds(drawn.picture);
  drawn.cell = {20, 20, 60, 40};
  return drawn;
}

TEST(FinishedPicture, TransparentTrimLeavesExactlyTheMarginAsked) {
  const DrawnSignature drawn = Transparent();
  ASSERT_EQ(drawn.ink, (Box{15, 25, 50, 45}));
  for (const int margin : {0, 3, 30}) {
    const Rgba picture = FinishedPicture(drawn, margin, false, kRed);
    EXPECT_EQ(picture.width, 35 + 2 * margin);
    EXPECT_EQ(picture.height, 20 + 2 * margin);
    EXPECT_EQ(AlphaBounds(picture), (Box{margin, margin, margin + 35, margin + 20}));
    EXPECT_EQ(picture.At(margin, margin)[3], 128) << "the ink's soft edge is kept";
    EXPECT_EQ(picture.At(0, 0)[0], 255) << "transparent pixels keep the ink colour: no fringe when scaled";
  }
}

TEST(FinishedPicture, UntrimmedTransparentIsTheCellWithTheInkBeyondIt) {
  const Rgba picture = FinishedPicture(Transparent(), std::nullopt, false, kRed);
  EXPECT_EQ(picture.width, 60 - 15);
  EXPECT_EQ(picture.height, 45 - 20);
}

TEST(FinishedPicture, OverABackgroundTheTrimStopsAtThePicturesEdge) {
  DrawnSignature drawn = Transparent();
  drawn.picture = Filled(100, 60, 0xFFFFFF, 255);
  drawn.ink = {10, 50, 30, 58};
  EXPECT_EQ(FinishedPicture(drawn, std::nullopt, true, kRed).width, 100);
  const Rgba trimmed = FinishedPicture(drawn, 5, true, kRed);
  EXPECT_EQ(trimmed.width, 30);
  EXPECT_EQ(trimmed.height, 60 - 45);
  EXPECT_TRUE(IsOpaque(trimmed));
  drawn.ink = {};
  EXPECT_EQ(FinishedPicture(drawn, 5, true, kRed).width, 0) << "no ink, nothing to trim to";
}

TEST(LayOver, BlendsByAlphaOverOpaqueAndTransparentTargets) {
  Rgba white = Filled(2, 1, 0xFFFFFF, 255);
  Rgba ink = Filled(1, 1, kRed, 128);
  LayOver(&white, 1, 0, ink);
  EXPECT_EQ(white.At(0, 0)[1], 255) << "outside the source nothing changes";
  EXPECT_EQ(white.At(1, 0)[0], 255);
  EXPECT_EQ(white.At(1, 0)[1], 127);
  EXPECT_EQ(white.At(1, 0)[3], 255);
  Rgba clear = Filled(1, 1, 0, 0);
  LayOver(&clear, 0, 0, ink);
  EXPECT_EQ(clear.At(0, 0)[0], 255) << "over nothing the colour is the source's own";
  EXPECT_EQ(clear.At(0, 0)[3], 128);
  LayOver(&clear, 5, 5, ink);  // wholly outside: no write past the picture
}

TEST(SheetLayout, OneRowPerDesignUnderTheHeading) {
  SheetBlock block;
  block.heading = Filled(50, 20, 0, 255);
  for (int design = 0; design < 13; ++design) {
    block.rows.push_back({Filled(40, 16, 0, 255), Filled(30, design == 4 ? 60 : 24, kRed, 255)});
  }
  const SheetLayout layout(1, 40, 200);
  EXPECT_EQ(layout.Width(), 16 + 40 + 16 + 200 + 16);
  EXPECT_EQ(layout.BlockHeight(block), 16 + 20 + 8 + 12 * (24 + 8) + (60 + 8) + 16 - 8);
  const Rgba sheet = layout.Compose(block);
  ASSERT_EQ(sheet.height, layout.BlockHeight(block));
  // Count the rows of red pictures down the picture column: 13 runs.
  int runs = 0;
  bool inRed = false;
  for (int y = 0; y < sheet.height; ++y) {
    const bool red = sheet.At(16 + 40 + 16, y)[1] == 0;
    runs += red && !inRed;
    inRed = red;
  }
  EXPECT_EQ(runs, 13);
  EXPECT_TRUE(IsOpaque(sheet));
}

}  // namespace
