// The drawing panel's canvas: background laying, Clear, the text operations, resizing and painting,
// checked on the pixels of the exported BackingBitmap.
#include "forms/properties.h"
#include "forms/property_ids.h"
#include "frame/ground/owned.h"
#include "frame/ground/values.h"
#include "tests/canvas_panel_win/panel_fixture.h"

namespace {

// A picture whose every pixel differs from its neighbours, so a shifted or repeated tile shows.
Colour Pattern(int x, int y) {
  return static_cast<Colour>((x * 7 % 256) | ((y * 5 % 256) << 8) | (((x + 3 * y) % 256) << 16));
}

using CanvasTest = PanelTest;

TEST_F(CanvasTest, ClearLaysOneTileOfAPictureOfThePanelsSize) {
  SetPicture(MakeBmpFile(333, 200, Pattern));
  Call(CommandPanelSetWritePosition, {MakeIntArg(40), MakeIntArg(50)});
  Call(CommandPanelClear, {});
  const ExportedBmp bmp = Export();
  ASSERT_EQ(bmp.width, 333);
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 333; ++x) ASSERT_EQ(bmp.At(x, y), Pattern(x, y)) << x << "," << y;
  }
  EXPECT_EQ(Panel().WritePosition(), (POINT{0, 0}));
}

TEST_F(CanvasTest, SmallerPicturesAreTiledFromTheTopLeft) {
  SetPicture(MakeBmpFile(100, 70, Pattern));
  const ExportedBmp bmp = Export();
  for (const POINT p : {POINT{0, 0}, POINT{99, 69}, POINT{100, 0}, POINT{250, 150}, POINT{332, 199}}) {
    EXPECT_EQ(bmp.At(p.x, p.y), Pattern(p.x % 100, p.y % 70)) << p.x << "," << p.y;
  }
}

TEST_F(CanvasTest, ClearNormalisesItsRectangleAndMovesTheWritePosition) {
  // Tiles are in the bitmap; with picture mode 2 a Clear of a corner lays background colour there
  // (the small centred picture does not reach it) and leaves the tiles around it.
  SetPicture(MakeBmpFile(50, 50, Pattern));
  SetInt(kDrawPanelPictureMode, 2);
  EXPECT_EQ(Export().At(7, 15), Pattern(7, 15)) << "a mode change alone does not rebuild the bitmap";
  Call(CommandPanelClear, {MakeIntArg(10), MakeIntArg(10), MakeIntArg(-5), MakeIntArg(20)});
  const ExportedBmp bmp = Export();
  EXPECT_EQ(BoxOf(bmp, kWhite, RECT{0, 0, 60, 60}), (RECT{5, 10, 10, 30}));
  EXPECT_EQ(bmp.At(4, 10), Pattern(4, 10));
  EXPECT_EQ(bmp.At(10, 29), Pattern(10, 29));
  EXPECT_EQ(bmp.At(5, 30), Pattern(5, 30));
  EXPECT_EQ(Panel().WritePosition(), (POINT{5, 10}));
}

TEST_F(CanvasTest, CentredPicturesShrinkToFitButNeverGrow) {
  SetSize(200, 200);
  SetInt(kDrawPanelPictureMode, 2);
  struct Case {
    int width, height;
    RECT expected;
  } const cases[] = {
      {400, 100, {0, 75, 200, 125}},
      {100, 50, {50, 75, 150, 125}},
      {100, 400, {75, 0, 125, 200}},
      {200, 200, {0, 0, 200, 200}},
  };
  constexpr Colour kRed = 0x0000FF;
  for (const Case& c : cases) {
    SetPicture(MakeBmpFile(c.width, c.height, [](int, int) { return kRed; }));
    const ExportedBmp bmp = Export();
    EXPECT_EQ(BoxOf(bmp, kRed), c.expected) << c.width << "x" << c.height;
    // Outside the picture only the background colour.
    const RECT& r = c.expected;
    const int red = (r.right - r.left) * (r.bottom - r.top);
    int redSeen = 0, whiteSeen = 0;
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 200; ++x) {
        redSeen += bmp.At(x, y) == kRed;
        whiteSeen += bmp.At(x, y) == kWhite;
      }
    }
    EXPECT_EQ(redSeen, red) << c.width << "x" << c.height;
    EXPECT_EQ(whiteSeen, 200 * 200 - red) << c.width << "x" << c.height;
  }
}

TEST_F(CanvasTest, PictureModeZeroLaysOnePictureAtTheTopLeft) {
  SetInt(kDrawPanelPictureMode, 0);
  SetPicture(MakeBmpFile(100, 70, Pattern));
  const ExportedBmp bmp = Export();
  EXPECT_EQ(bmp.At(99, 69), Pattern(99, 69));
  EXPECT_EQ(BoxOf(bmp, kWhite), (RECT{0, 0, 333, 200}));
  EXPECT_EQ(bmp.At(100, 0), kWhite);
  EXPECT_EQ(bmp.At(0, 70), kWhite);
}

TEST_F(CanvasTest, APictureThatDoesNotDecodeIsDroppedForGood) {
  SetInt(kDrawPanelBackColor, kBrown);
  SetPicture({'B', 'M', 1, 2, 3});
  const ExportedBmp bmp = Export();
  EXPECT_EQ(BoxOf(bmp, kBrown), (RECT{0, 0, 333, 200}));
  EXPECT_EQ(ReadIntProperty(kPanelWindow, kPanel, kDrawPanelPicture), 0) << "the stored bytes are emptied";
}

// Opaque text boxes make the extent of every run visible in the bitmap.
class TextTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    SetInt(kDrawPanelTextBackColor, kOpaqueGreen);
  }
  static void WriteFrom(std::uint32_t x, std::uint32_t y, const char* text) {
    Call(CommandPanelSetWritePosition, {MakeIntArg(static_cast<std::int32_t>(x)), MakeIntArg(static_cast<std::int32_t>(y))});
    Call(CommandPanelWrite, {MakeTextArg(text)});
  }
};

TEST_F(TextTest, WritesContinueOnTheSameLine) {
  WriteFrom(10, 20, "AB");
  const POINT afterAB = Panel().WritePosition();
  const RECT ab = BoxOf(Export(), kOpaqueGreen);
  EXPECT_EQ(ab.left, 10);
  EXPECT_EQ(ab.top, 20);
  EXPECT_EQ(afterAB, (POINT{ab.right, 20})) << "the position moves to the right of the text";

  Call(CommandPanelWrite, {MakeTextArg("CD")});
  const POINT afterCD = Panel().WritePosition();
  const RECT both = BoxOf(Export(), kOpaqueGreen);
  EXPECT_EQ(both, (RECT{10, 20, afterCD.x, ab.bottom})) << "CD right behind AB, on the same line";
  EXPECT_GT(afterCD.x, afterAB.x);
  EXPECT_EQ(afterCD.y, 20);
}

TEST_F(TextTest, ALineBreakStartsTheNextLineTwoPixelsBelowAtTheSameX) {
  WriteFrom(10, 20, "AB");
  const RECT ab = BoxOf(Export(), kOpaqueGreen);
  const int lineHeight = ab.bottom - ab.top;
  Call(CommandPanelClear, {});

  for (const char* text : {"AB\r\nCD", "AB\rCD", "AB\nCD", "AB\n\nCD"}) {
    Call(CommandPanelClear, {});
    WriteFrom(10, 20, text);
    const ExportedBmp bmp = Export();
    const int nextTop = 20 + lineHeight + 2;
    EXPECT_EQ(BoxOf(bmp, kOpaqueGreen, RECT{0, 0, 333, nextTop}), ab) << "first line: " << text;
    const RECT cd = BoxOf(bmp, kOpaqueGreen, RECT{0, ab.bottom, 333, 200});
    EXPECT_EQ(cd.left, 10) << text;
    EXPECT_EQ(cd.top, nextTop) << text;
    EXPECT_EQ(cd.bottom, nextTop + lineHeight) << text;
    EXPECT_EQ(Panel().WritePosition(), (POINT{cd.right, nextTop})) << text;
  }
  // A text ending with a break leaves the position at the start of the next line.
  WriteFrom(10, 20, "AB\r\n");
  EXPECT_EQ(Panel().WritePosition(), (POINT{10, 20 + lineHeight + 2}));
}

TEST_F(TextTest, TheWindowReceivesTheSameTextAsTheBitmap) {
  // Both passes start from the stored position: only the window pass moves it on.
  UpdateWindow(PanelWindow());  // the first paint of the panel is done
  WriteFrom(10, 20, "AB");
  Call(CommandPanelWrite, {MakeTextArg("CD\r\nEF")});
  const ExportedBmp onScreen = Screen();
  const ExportedBmp inBitmap = Export();
  ASSERT_EQ(onScreen.bytes.size(), inBitmap.bytes.size());
  EXPECT_NE(BoxOf(inBitmap, kOpaqueGreen), RECT{});
  EXPECT_EQ(BoxOf(onScreen, kOpaqueGreen), BoxOf(inBitmap, kOpaqueGreen));
  EXPECT_TRUE(onScreen.bytes == inBitmap.bytes);
}

TEST_F(TextTest, EmptyTextsAndOtherKindsDrawNothing) {
  WriteFrom(10, 20, "AB");
  const ExportedBmp before = Export();
  const POINT position = Panel().WritePosition();
  std::uint8_t bytes[] = {'X', 'Y'};
  OwnedBuffer buffer(MakeByteBuffer(bytes, sizeof bytes));
  Call(CommandPanelWrite, {MakeTextArg("")});
  Call(CommandPanelWrite, {MakeTextArg(nullptr), MakeBufferArg(buffer.Get())});
  Call(CommandPanelWrite, {});
  EXPECT_EQ(Export().bytes, before.bytes);
  EXPECT_EQ(Panel().WritePosition(), position);
}

TEST_F(TextTest, NumbersAreWrittenAsText) {
  WriteFrom(10, 20, "12");
  const RECT digits = BoxOf(Export(), kOpaqueGreen);
  Call(CommandPanelClear, {});
  Call(CommandPanelSetWritePosition, {MakeIntArg(10), MakeIntArg(20)});
  Call(CommandPanelWrite, {MakeIntArg(12)});
  EXPECT_EQ(BoxOf(Export(), kOpaqueGreen), digits);
}

TEST_F(TextTest, WriteLineAndWriteAt) {
  // WriteLine ends its line: the position goes to the next line at the same x; an empty argument is
  // an empty line.
  WriteFrom(10, 20, "AB");
  const RECT ab = BoxOf(Export(), kOpaqueGreen);
  const int lineHeight = ab.bottom - ab.top;
  Call(CommandPanelSetWritePosition, {MakeIntArg(10), MakeIntArg(20)});
  Call(CommandPanelWriteLine, {MakeTextArg("AB")});
  EXPECT_EQ(Panel().WritePosition(), (POINT{10, 20 + lineHeight + 2}));
  Call(CommandPanelWriteLine, {MakeTextArg("")});
  EXPECT_GE(Panel().WritePosition().y, 20 + 2 * (lineHeight + 2) - 2) << "one empty line of the font's height";

  // WriteAt draws at its own point and leaves the stored position alone.
  Call(CommandPanelClear, {});
  const POINT stored = Panel().WritePosition();
  Call(CommandPanelWriteAt, {MakeIntArg(100), MakeIntArg(120), MakeTextArg("AB")});
  const RECT at = BoxOf(Export(), kOpaqueGreen);
  EXPECT_EQ(at, (RECT{100, 120, 100 + ab.right - ab.left, 120 + lineHeight}));
  EXPECT_EQ(Panel().WritePosition(), stored);
}

TEST_F(TextTest, ScrollWriteLineScrollsWithATwoPixelMargin) {
  WriteFrom(10, 20, "AB");
  const RECT ab = BoxOf(Export(), kOpaqueGreen);
  const int lineHeight = ab.bottom - ab.top;
  // A marker box in the middle, then a line that would end below the bottom edge.
  Call(CommandPanelClear, {});
  WriteFrom(10, 100, "AB");
  Call(CommandPanelSetWritePosition, {MakeIntArg(10), MakeIntArg(190)});
  Call(CommandPanelScrollWriteLine, {MakeTextArg("AB")});
  const int distance = 190 + lineHeight + 2 - 200;
  const ExportedBmp bmp = Export();
  EXPECT_EQ(BoxOf(bmp, kOpaqueGreen, RECT{0, 0, 333, 150}).top, 100 - distance) << "the content moved up";
  EXPECT_EQ(BoxOf(bmp, kOpaqueGreen, RECT{0, 150, 333, 200}), (RECT{10, 198 - lineHeight, ab.right, 198}));
  EXPECT_EQ(Panel().WritePosition(), (POINT{10, 200}));
}

TEST_F(TextTest, TransparentOrOpaqueTextBackground) {
  constexpr Colour kText = 0x000000;
  SetInt(kDrawPanelBackColor, kBrown);
  for (const bool opaque : {false, true}) {
    SetInt(kDrawPanelTextBackColor, opaque ? kOpaqueGreen : static_cast<std::int32_t>(kDefaultColour));
    Call(CommandPanelClear, {});
    SetInt(kDrawPanelTextColor, kText);
    WriteFrom(30, 40, "WM");
    const POINT end = Panel().WritePosition();
    const ExportedBmp bmp = Export();
    // The top rows of the line: every font is at least this tall.
    const RECT textArea{30, 40, end.x, 50};
    int brown = 0, green = 0, other = 0;
    for (int y = textArea.top; y < textArea.bottom; ++y) {
      for (int x = textArea.left; x < textArea.right; ++x) {
        const Colour c = bmp.At(x, y);
        (c == kBrown ? brown : c == kOpaqueGreen ? green : other)++;
      }
    }
    EXPECT_GT(other, 0) << "the glyphs are drawn (opaque " << opaque << ")";
    if (opaque) {
      EXPECT_GT(green, 0);
      EXPECT_EQ(brown, 0) << "the box hides the background";
    } else {
      EXPECT_EQ(green, 0) << "no box";
      EXPECT_GT(brown, 0) << "the background shows between the glyphs";
    }
  }
}

TEST_F(TextTest, ResizingResetsThePositionAndKeepsTheTopLeftDrawing) {
  WriteFrom(0, 0, "AB");
  const RECT ab = BoxOf(Export(), kOpaqueGreen);
  SetSize(200, 100);
  EXPECT_EQ(Panel().WritePosition(), (POINT{0, 0}));
  ExportedBmp bmp = Export();
  ASSERT_EQ(bmp.width, 200);
  EXPECT_EQ(BoxOf(bmp, kOpaqueGreen), ab) << "the drawing survives";
  SetSize(333, 200);
  bmp = Export();
  EXPECT_EQ(BoxOf(bmp, kOpaqueGreen), ab);
  EXPECT_EQ(bmp.At(300, 150), kWhite) << "the new part has the background";

  // Sizes set one after another with no drawing between keep only what every one of them held: a
  // width too narrow for the text, then the old width again, leaves just the left of the text.
  WriteFrom(0, 0, "AB");
  const int narrow = (ab.left + ab.right) / 2;
  WriteIntProperty(kPanelWindow, kPanel, kPropWidth, narrow);
  WriteIntProperty(kPanelWindow, kPanel, kPropHeight, 150);
  WriteIntProperty(kPanelWindow, kPanel, kPropWidth, 333);
  bmp = Export();
  ASSERT_EQ(bmp.width, 333);
  ASSERT_EQ(bmp.height, 150);
  EXPECT_EQ(BoxOf(bmp, kOpaqueGreen), (RECT{ab.left, ab.top, narrow, ab.bottom}));

  // Centred picture: the background is laid afresh and the drawing is gone.
  SetInt(kDrawPanelPictureMode, 2);
  SetPicture(MakeBmpFile(20, 20, Pattern));
  WriteFrom(0, 0, "AB");
  SetSize(300, 180);
  EXPECT_EQ(BoxOf(Export(), kOpaqueGreen), RECT{});
}

TEST_F(CanvasTest, CoordinateUnitsScaleWithYDownward) {
  // The virtual desktop has 96 pixels per inch: 100 hundredths of an inch are 96 pixels, a pixel
  // about 15 twips (the metric mappings follow the display's physical size, so not exactly).
  SetInt(kDrawPanelCoordUnit, 3);
  Call(CommandPanelSetWritePosition, {MakeIntArg(100), MakeIntArg(50)});
  EXPECT_EQ(Panel().WritePosition(), (POINT{96, 48}));
  Call(CommandPanelSetWritePosition, {MakeOmittedArg(), MakeIntArg(100)});
  EXPECT_EQ(Panel().WritePosition(), (POINT{96, 96})) << "an omitted coordinate stays";
  SetInt(kDrawPanelCoordUnit, 5);
  EXPECT_NEAR(ReadIntProperty(kPanelWindow, kPanel, kDrawPanelDrawWidth), 333 * 15, 333 * 15 / 100);
  EXPECT_NEAR(ReadIntProperty(kPanelWindow, kPanel, kDrawPanelDrawHeight), 200 * 15, 200 * 15 / 100);
  SetInt(kDrawPanelCoordUnit, 0);
  EXPECT_EQ(ReadIntProperty(kPanelWindow, kPanel, kDrawPanelDrawWidth), 333);

  // Clear takes pixels in every unit.
  SetInt(kDrawPanelCoordUnit, 1);
  SetInt(kDrawPanelBackColor, kBrown);
  Call(CommandPanelClear, {MakeIntArg(10), MakeIntArg(10), MakeIntArg(5), MakeIntArg(5)});
  EXPECT_EQ(Panel().WritePosition(), (POINT{10, 10}));
}

TEST_F(CanvasTest, PropertyWritesAreClampedAndBackColourRebuildsOnlyWhenChanged) {
  struct Case {
    std::int32_t index, written, stored;
  } const cases[] = {
      {kDrawPanelBorder, 9, 5},         {kDrawPanelPictureMode, -3, 0}, {kDrawPanelCoordUnit, 6, 5},
      {kDrawPanelPenStyle, 7, 6},       {kDrawPanelDrawMode, 16, 15},   {kDrawPanelPenWidth, 40000, 32767},
      {kDrawPanelBrushStyle, 56, 55},   {kDrawPanelAutoRedraw, 1, 1},
  };
  for (const Case& c : cases) {
    SetInt(c.index, c.written);
    EXPECT_EQ(ReadIntProperty(kPanelWindow, kPanel, c.index), c.stored) << c.index;
  }
  SetInt(kDrawPanelBorder, 0);  // border 5 took a pixel off each side of the client area
  SetInt(kDrawPanelPictureMode, 1);
  SetInt(kDrawPanelCoordUnit, 0);
  Call(CommandPanelWrite, {MakeTextArg("AB")});
  const HBITMAP before = Panel().BackingBitmap();
  SetInt(kDrawPanelBackColor, kWhite);
  EXPECT_EQ(Panel().BackingBitmap(), before) << "an unchanged colour changes nothing";
  SetInt(kDrawPanelBackColor, kBrown);
  EXPECT_EQ(BoxOf(Export(), kBrown), (RECT{0, 0, 333, 200})) << "a new colour rebuilds from the background";
  SetInt(kDrawPanelAutoRedraw, 0);
  EXPECT_EQ(Panel().BackingBitmap(), nullptr);
}

TEST_F(CanvasTest, WithoutABackingBitmapThePaintEventDrawsOnThePaintSurface) {
  PaintLog& log = ThePaintLog();
  log.action = [] {
    SetInt(kDrawPanelTextBackColor, kOpaqueGreen, kPaintedPanel);
    Call(CommandPanelWrite, {MakeTextArg("P")}, kPaintedPanel);
  };
  Call(CommandPanelSetWritePosition, {MakeIntArg(30), MakeIntArg(30)}, kPaintedPanel);
  RedrawWindow(PanelWindow(kPaintedPanel), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_GE(log.calls, 1);
  EXPECT_EQ(log.args[0], 0);
  EXPECT_EQ(log.args[1], 0);
  EXPECT_EQ(log.args[2], 100);
  EXPECT_EQ(log.args[3], 50);
  EXPECT_EQ(Panel(kPaintedPanel).WritePosition(), (POINT{30, 30})) << "restored after the event";
  const ExportedBmp shown = Export({}, kPaintedPanel);
  const RECT box = BoxOf(shown, kOpaqueGreen);
  EXPECT_EQ(box.left, 0) << "the event's text starts at (0, 0)";
  EXPECT_EQ(box.top, 0);
}

}  // namespace
