#include "canvas/prepared_picture_win.h"

#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "canvas/picture_size.h"

namespace {

// Kinds 1 and 2 keep unpadded rows; a device bitmap wants each row padded to 4 bytes. Rows whose
// length is already a multiple of 4 are used as they are, sparing a copy on every preparation.
UniqueBitmap BitmapFromRgbRows(HDC surface, const DecodedPicture& picture) {
  const std::optional<std::size_t> stride = RowBytes(static_cast<std::size_t>(picture.width), 24, 4);
  if (!stride) return {};
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
  std::vector<std::uint8_t> padded;
  const std::uint8_t* rows = picture.pixels;
  if (*stride != rowBytes) {
    const std::optional<std::size_t> size = CheckedMulAdd(*stride, static_cast<std::size_t>(picture.height));
    if (!size) return {};
    try {
      padded.resize(*size);
    } catch (const std::bad_alloc&) {
      return {};
    }
    for (std::int32_t row = 0; row < picture.height; ++row) {
      std::memcpy(padded.data() + *stride * row, picture.pixels + rowBytes * row, rowBytes);
    }
    rows = padded.data();
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = picture.height;  // bottom row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return UniqueBitmap(CreateDIBitmap(surface, &info.bmiHeader, CBM_INIT, rows, &info, DIB_RGB_COLORS));
}

// Kinds 5 and 6 carry their own header and colour table in front of the rows.
UniqueBitmap BitmapFromPaletteBlock(HDC surface, const DecodedPicture& picture) {
  const auto* info = reinterpret_cast<const BITMAPINFO*>(picture.pixels);
  return UniqueBitmap(CreateDIBitmap(surface, &info->bmiHeader, CBM_INIT,
                                     picture.pixels + kDibRowsOffset, info, DIB_RGB_COLORS));
}

// A GIF's first image may be smaller than its logical screen: it goes into the top-left corner of
// a surface-compatible bitmap of the screen's size. The rest of the screen is black.
UniqueBitmap BitmapForGif(HDC surface, const DecodedPicture& picture) {
  UniqueBitmap image = BitmapFromPaletteBlock(surface, picture);
  if (!image.Get()) return {};
  UniqueBitmap screen(CreateCompatibleBitmap(surface, picture.width, picture.height));
  if (!screen.Get()) return {};
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(picture.pixels);
  MemorySurface from(surface), to(surface);
  if (!from || !to) return {};
  {
    ScopedSelect selectImage(from.Get(), image.Get());
    ScopedSelect selectScreen(to.Get(), screen.Get());
    PatBlt(to.Get(), 0, 0, picture.width, picture.height, BLACKNESS);
    BitBlt(to.Get(), 0, 0, header->biWidth, -header->biHeight, from.Get(), 0, 0, SRCCOPY);
  }
  return screen;
}

// Kind 7: the rows are already in the word-aligned monochrome layout.
UniqueBitmap MonochromeBitmap(const DecodedPicture& picture) {
  return UniqueBitmap(CreateBitmap(picture.width, picture.height, 1, 1, picture.pixels));
}

}  // namespace

PreparedPicture PreparePicture(HDC surface, const DecodedPicture* picture) {
  PreparedPicture prepared;
  if (!surface || !picture || picture->kind == PictureKind::kNone) return prepared;
  prepared.surface = surface;
  prepared.kind = picture->kind;
  prepared.width = picture->width;
  prepared.height = picture->height;
  switch (picture->kind) {
    case PictureKind::kIcon:
    case PictureKind::kCursor:
      prepared.icon = static_cast<HICON>(picture->icon);
      break;
    case PictureKind::kJpeg:
    case PictureKind::kBmp:
      if (picture->pixels) prepared.bitmap = BitmapFromRgbRows(surface, *picture);
      break;
    case PictureKind::kGif:
      if (picture->pixels) prepared.bitmap = BitmapForGif(surface, *picture);
      break;
    case PictureKind::kPcx8:
      if (picture->pixels) prepared.bitmap = BitmapFromPaletteBlock(surface, *picture);
      break;
    case PictureKind::kPcx1:
      if (picture->pixels) prepared.bitmap = MonochromeBitmap(*picture);
      break;
    case PictureKind::kNone:
      break;
  }
  return prepared;
}

namespace {

// XOR the picture in, AND the mask (white where the picture shows the transparent colour), XOR the
// picture again: where the mask is white the target comes back unchanged, elsewhere the picture
// remains.
void DrawWithTransparentColour(HDC target, HDC pictureSurface, const PreparedPicture& prepared,
                               int x, int y, int width, int height, COLORREF transparent) {
  UniqueBitmap mask(CreateBitmap(prepared.width, prepared.height, 1, 1, nullptr));
  MemorySurface maskSurface(target);
  if (!mask.Get() || !maskSurface) return;
  ScopedSelect selectMask(maskSurface.Get(), mask.Get());
  const COLORREF pictureBackground = SetBkColor(pictureSurface, transparent);
  BitBlt(maskSurface.Get(), 0, 0, prepared.width, prepared.height, pictureSurface, 0, 0, SRCCOPY);
  SetBkColor(pictureSurface, pictureBackground);

  const COLORREF background = SetBkColor(target, RGB(255, 255, 255));
  const COLORREF text = SetTextColor(target, RGB(0, 0, 0));
  StretchBlt(target, x, y, width, height, pictureSurface, 0, 0, prepared.width, prepared.height, SRCINVERT);
  StretchBlt(target, x, y, width, height, maskSurface.Get(), 0, 0, prepared.width, prepared.height, SRCAND);
  StretchBlt(target, x, y, width, height, pictureSurface, 0, 0, prepared.width, prepared.height, SRCINVERT);
  SetBkColor(target, background);
  SetTextColor(target, text);
}

}  // namespace

void DrawPreparedPicture(const PreparedPicture& prepared, int x, int y, int width, int height,
                         long rasterOperation) {
  if (!prepared) return;
  HDC target = prepared.surface;
  ApplyDisplayStretchMode(target);
  if (width == -1) width = prepared.width;
  if (height == -1) height = prepared.height;

  if (prepared.icon) {
    DrawIconEx(target, x, y, prepared.icon, width, height, 0, nullptr, DI_NORMAL);
    return;
  }
  MemorySurface pictureSurface(target);
  if (!pictureSurface) return;
  ScopedSelect selectPicture(pictureSurface.Get(), prepared.bitmap.Get());
  if (rasterOperation < 0) {
    DrawWithTransparentColour(target, pictureSurface.Get(), prepared, x, y, width, height,
                              static_cast<COLORREF>(-rasterOperation));
  } else {
    StretchBlt(target, x, y, width, height, pictureSurface.Get(), 0, 0, prepared.width,
               prepared.height, static_cast<DWORD>(rasterOperation));
  }
}
