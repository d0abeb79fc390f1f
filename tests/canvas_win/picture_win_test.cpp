#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "canvas/dc_owners_win.h"
#include "canvas/picture_box_paint_win.h"
#include "canvas/picture_measure_win.h"
#include "canvas/prepared_picture_win.h"
#include "frame/ground/file_services.h"
#include "frame/ground/owned.h"
#include "picture_test_support.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 24-bit bottom-up BMP file of one colour per pixel, by a function of (x, y), y = 0 the top row.
template <typename ColourAt>
Bytes MakeBmp24(int width, int height, ColourAt colourAt) {
  const int stride = (width * 3 + 3) / 4 * 4;
  Bytes out;
  PutBytes(out, {'B', 'M'});
  PutLe32(out, 54 + stride * height);
  PutLe32(out, 0);
  PutLe32(out, 54);  // pixel data offset
  PutLe32(out, 40);
  PutLe32(out, width);
  PutLe32(out, height);
  PutLe16(out, 1);
  PutLe16(out, 24);
  for (int i = 0; i < 6; ++i) PutLe32(out, 0);
  for (int row = height - 1; row >= 0; --row) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colourAt(x, row);
      PutBytes(out, {GetBValue(c), GetGValue(c), GetRValue(c)});
    }
    for (int pad = width * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

Bytes SolidBmp(int width, int height, COLORREF colour) {
  return MakeBmp24(width, height, [colour](int, int) { return colour; });
}

// A 24-bit surface whose pixels GetPixel reads back exactly.
class TestSurface {
 public:
  TestSurface(int width, int height, COLORREF fill) : surface_(nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    select_.emplace(surface_.Get(), bitmap_.Get());
    UniqueBrush brush(CreateSolidBrush(fill));
    RECT all{0, 0, width, height};
    FillRect(surface_.Get(), &all, brush.Get());
  }
  HDC Dc() const { return surface_.Get(); }
  COLORREF At(int x, int y) const { return GetPixel(surface_.Get(), x, y); }

 private:
  MemorySurface surface_;
  UniqueBitmap bitmap_;
  std::optional<ScopedSelect> select_;  // released before the bitmap and the surface
};

std::string Hex(COLORREF colour) {
  char text[16];
  std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(colour));
  return text;
}

TEST(IconPicture, TheThirtyTwoPixelSixteenColourEntryIsChosen) {
  const Bytes icon = ReadFileBytes(CanvasTestPath("fixtures", "icon_32_16.ico"));
  ASSERT_FALSE(icon.empty());
  DecodeResult decoded = Decode(icon);
  ASSERT_TRUE(decoded) << PictureFailureName(decoded.failure);
  EXPECT_EQ(decoded.picture.kind, PictureKind::kIcon);
  EXPECT_NE(decoded.picture.icon, nullptr);
  EXPECT_EQ(decoded.picture.width, 32);
  EXPECT_EQ(decoded.picture.height, 32);

  UniqueBitmap bitmap(PictureToBitmap(icon.data(), icon.size()));
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(bitmap.Get(), sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 32);
  EXPECT_EQ(info.bmHeight, 32);
}

TEST(IconPicture, CursorFilesAreKindFourAndBrokenDirectoriesFail) {
  const Bytes cursor = ReadFileBytes(CanvasTestPath("fixtures", "cursor_32.cur"));
  ASSERT_FALSE(cursor.empty());
  DecodeResult decoded = Decode(cursor);
  ASSERT_TRUE(decoded) << PictureFailureName(decoded.failure);
  EXPECT_EQ(decoded.picture.kind, PictureKind::kCursor);

  Bytes truncated(cursor.begin(), cursor.begin() + 30);  // directory present, image data missing
  EXPECT_FALSE(Decode(truncated));
  Bytes wrongOffset = cursor;
  wrongOffset[18] = wrongOffset[19] = wrongOffset[20] = 0x7F;  // offset far past the end
  wrongOffset[21] = 0x7F;
  EXPECT_FALSE(Decode(wrongOffset));
}

TEST(PreparedPicture, DrawsAtNaturalSizeStretchedAndWithATransparentColour) {
  // Left column red, right column blue, 2 x 2.
  const Bytes bmp = MakeBmp24(2, 2, [](int x, int) { return x == 0 ? kRed : kBlue; });
  DecodeResult decoded = Decode(bmp);
  ASSERT_TRUE(decoded);

  TestSurface target(8, 4, kGreen);
  PreparedPicture prepared = PreparePicture(target.Dc(), &decoded.picture);
  ASSERT_TRUE(prepared);
  DrawPreparedPicture(prepared, 0, 0, -1, -1, SRCCOPY);
  EXPECT_EQ(Hex(target.At(0, 1)), Hex(kRed));
  EXPECT_EQ(Hex(target.At(1, 1)), Hex(kBlue));
  EXPECT_EQ(Hex(target.At(2, 1)), Hex(kGreen)) << "nothing past the picture's own width";

  DrawPreparedPicture(prepared, 4, 0, 4, 4, SRCCOPY);
  EXPECT_EQ(Hex(target.At(4, 3)), Hex(kRed));
  EXPECT_EQ(Hex(target.At(7, 3)), Hex(kBlue));

  TestSurface keyed(2, 2, kGreen);
  PreparedPicture forKeyed = PreparePicture(keyed.Dc(), &decoded.picture);
  DrawPreparedPicture(forKeyed, 0, 0, -1, -1, -static_cast<long>(kBlue));
  EXPECT_EQ(Hex(keyed.At(0, 0)), Hex(kRed));
  EXPECT_EQ(Hex(keyed.At(1, 0)), Hex(kGreen)) << "the transparent colour leaves the target alone";
}

TEST(PreparedPicture, MissingPictureOrSurfaceGivesNothing) {
  TestSurface target(1, 1, kGreen);
  EXPECT_FALSE(PreparePicture(target.Dc(), nullptr));
  DecodedPicture empty;
  EXPECT_FALSE(PreparePicture(target.Dc(), &empty));
  DecodeResult decoded = Decode(SolidBmp(1, 1, kRed));
  EXPECT_FALSE(PreparePicture(nullptr, &decoded.picture));
}

TEST(PictureToBitmap, AGifTakesItsLogicalScreenSize) {
  const Bytes gif = ReadFileBytes(CanvasTestPath("fixtures", "gif_small_image.gif"));
  ASSERT_FALSE(gif.empty());
  DecodeResult decoded = Decode(gif);
  ASSERT_TRUE(decoded);
  UniqueBitmap bitmap(PictureToBitmap(gif.data(), gif.size()));
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(bitmap.Get(), sizeof info, &info));
  EXPECT_EQ(info.bmWidth, decoded.picture.width);
  EXPECT_EQ(info.bmHeight, decoded.picture.height);
  const Bytes garbage = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
  EXPECT_EQ(PictureToBitmap(garbage.data(), garbage.size()), nullptr);
}

// An 8-bit RLE BMP, 4 x 2.
Bytes Rle8Bmp() {
  const Bytes rle = {4, 1, 0, 0,   // row 0 (bottom): four pixels of index 1, end of line
                     4, 0, 0, 1};  // row 1: four pixels of index 0, end of bitmap
  Bytes out;
  PutBytes(out, {'B', 'M'});
  PutLe32(out, 54 + 8 + rle.size());
  PutLe32(out, 0);
  PutLe32(out, 54 + 8);
  PutLe32(out, 40);
  PutLe32(out, 4);
  PutLe32(out, 2);
  PutLe16(out, 1);
  PutLe16(out, 8);
  PutLe32(out, 1);  // BI_RLE8
  PutLe32(out, rle.size());
  PutLe32(out, 0);
  PutLe32(out, 0);
  PutLe32(out, 2);  // colours used
  PutLe32(out, 0);
  PutBytes(out, {0, 0, 0, 0, 255, 255, 255, 0});
  out.insert(out.end(), rle.begin(), rle.end());
  return out;
}

void WriteFixture(const std::string& path, const Bytes& bytes) {
  OwnedBuffer buffer(MakeByteBuffer(bytes.data(), bytes.size()));
  const ByteBuffer buffers[] = {buffer.Get()};
  ASSERT_TRUE(WriteFileBytes(path.c_str(), buffers, 1)) << path;
}

// 4 x 2 at 32 bits with alpha bit fields (compression 6, four masks behind the header): a form our
// decoder leaves to the system's loader.
Bytes AlphaBitFieldsBmp() {
  Bytes out;
  const std::uint32_t offset = 54 + 16;
  PutBytes(out, {'B', 'M'});
  PutLe32(out, offset + 32);
  PutLe32(out, 0);
  PutLe32(out, offset);
  PutLe32(out, 40);
  PutLe32(out, 4);
  PutLe32(out, 2);
  PutLe16(out, 1);
  PutLe16(out, 32);
  PutLe32(out, 6);  // BI_ALPHABITFIELDS
  PutLe32(out, 32);
  PutLe32(out, 0);
  PutLe32(out, 0);
  PutLe32(out, 0);
  PutLe32(out, 0);
  for (std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) PutLe32(out, mask);
  out.resize(offset + 32, 0x80);
  return out;
}

TEST(PictureSize, OurDecodersThenTheSystemsLoaderThenZero) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string plain = std::string(folder) + "yj-size-plain.bmp";
  const std::string rle = std::string(folder) + "yj-size-rle.bmp";
  const std::string alpha = std::string(folder) + "yj-size-alpha-fields.bmp";
  WriteFixture(plain, SolidBmp(333, 200, kRed));
  WriteFixture(rle, Rle8Bmp());
  WriteFixture(alpha, AlphaBitFieldsBmp());

  EXPECT_EQ(PictureWidth(plain.c_str()), 333);
  EXPECT_EQ(PictureHeight(plain.c_str()), 200);
  // Run-length BMPs are decoded here, so the size is the one the panel draws.
  EXPECT_TRUE(Decode(Rle8Bmp()));
  EXPECT_EQ(PictureWidth(rle.c_str()), 4);
  EXPECT_EQ(PictureHeight(rle.c_str()), 2);
  EXPECT_FALSE(Decode(AlphaBitFieldsBmp())) << "alpha bit fields are the system loader's";
  EXPECT_EQ(PictureWidth(alpha.c_str()), 4);
  EXPECT_EQ(PictureHeight(alpha.c_str()), 2);
  EXPECT_EQ(PictureWidth((std::string(folder) + "yj-size-missing.bmp").c_str()), 0);
  EXPECT_EQ(PictureHeight(""), 0);

  const ArgRecord name = MakeTextArg(plain.c_str());
  ResultRecord result;
  CmdPictureWidth(&result, 1, &name);
  EXPECT_EQ(result.type, kTypeInt);
  EXPECT_EQ(ArgInt({result.low, result.high, result.type}), 333);
  DeleteFileA(plain.c_str());
  DeleteFileA(rle.c_str());
  DeleteFileA(alpha.c_str());
}

TEST(PictureBoxPainting, DisplayModesPlaceThePicture) {
  DecodeResult wide = Decode(SolidBmp(400, 100, kRed));
  DecodeResult small = Decode(SolidBmp(100, 50, kBlue));
  ASSERT_TRUE(wide && small);
  UniqueBrush white(CreateSolidBrush(kWhite));
  const RECT client{0, 0, 200, 200};

  TestSurface fitted(200, 200, kGreen);
  PaintPictureBox(fitted.Dc(), client, white.Get(), &wide.picture, 2);  // 200 x 50 at (0, 75)
  EXPECT_EQ(Hex(fitted.At(100, 74)), Hex(kWhite));
  EXPECT_EQ(Hex(fitted.At(0, 75)), Hex(kRed));
  EXPECT_EQ(Hex(fitted.At(199, 124)), Hex(kRed));
  EXPECT_EQ(Hex(fitted.At(100, 125)), Hex(kWhite));

  TestSurface centred(200, 200, kGreen);
  PaintPictureBox(centred.Dc(), client, nullptr, &small.picture, 2);  // natural size at (50, 75)
  EXPECT_EQ(Hex(centred.At(49, 100)), Hex(kGreen)) << "no brush: the background stays";
  EXPECT_EQ(Hex(centred.At(50, 75)), Hex(kBlue));
  EXPECT_EQ(Hex(centred.At(150, 100)), Hex(kGreen));

  TestSurface natural(200, 200, kGreen);
  PaintPictureBox(natural.Dc(), client, white.Get(), &small.picture, 0);
  EXPECT_EQ(Hex(natural.At(99, 49)), Hex(kBlue));
  EXPECT_EQ(Hex(natural.At(100, 50)), Hex(kWhite));

  TestSurface stretched(200, 200, kGreen);
  PaintPictureBox(stretched.Dc(), client, white.Get(), &small.picture, 1);
  EXPECT_EQ(Hex(stretched.At(199, 199)), Hex(kBlue));
}

}  // namespace
