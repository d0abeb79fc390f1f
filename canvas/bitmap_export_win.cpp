#include "canvas/bitmap_export_win.h"

#include <algorithm>
#include <cstring>

#include "canvas/bmp_packing.h"
#include "canvas/dc_owners_win.h"
#include "canvas/picture_size.h"
#include "frame/ground/memory.h"

namespace {

using UniquePalette = UniqueGdiObject<HPALETTE>;

constexpr WORD kPaletteVersion = 0x300;
constexpr int kSystemPaletteEntries = 255;

// Selects a palette into a surface and realises it; the previous palette goes back at the end.
class ScopedPalette {
 public:
  ScopedPalette(HDC dc, HPALETTE palette) : dc_(dc), previous_(SelectPalette(dc, palette, FALSE)) {
    RealizePalette(dc);
  }
  ScopedPalette(const ScopedPalette&) = delete;
  ScopedPalette& operator=(const ScopedPalette&) = delete;
  ~ScopedPalette() {
    if (previous_) SelectPalette(dc_, previous_, FALSE);
  }

 private:
  HDC dc_;
  HPALETTE previous_;
};

// A locked view of a global block, unlocked when it goes.
class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL block) : block_(block), data_(static_cast<std::uint8_t*>(GlobalLock(block))) {}
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  ~LockedGlobal() {
    if (data_) GlobalUnlock(block_);
  }
  std::uint8_t* Data() const { return data_; }

 private:
  HGLOBAL block_;
  std::uint8_t* data_;
};

// On a palette display the export reads the bitmap through the system palette as it stands.
UniquePalette SystemPaletteIfNeeded(HDC screen) {
  if (!(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE)) return {};
  struct {
    LOGPALETTE header;
    PALETTEENTRY more[kSystemPaletteEntries - 1];
  } palette{};
  palette.header.palVersion = kPaletteVersion;
  palette.header.palNumEntries = kSystemPaletteEntries;
  GetSystemPaletteEntries(screen, 0, kSystemPaletteEntries, palette.header.palPalEntry);
  return UniquePalette(CreatePalette(&palette.header));
}

// A new screen-compatible bitmap of width x height holding the whole source stretched onto it.
UniqueBitmap StretchedCopy(HDC screen, HBITMAP source, const BITMAP& sourceInfo, int width, int height) {
  UniqueBitmap scaled(CreateCompatibleBitmap(screen, width, height));
  MemorySurface from(screen), to(screen);
  if (!scaled.Get() || !from || !to) return {};
  ScopedSelect selectSource(from.Get(), source);
  ScopedSelect selectScaled(to.Get(), scaled.Get());
  ApplyDisplayStretchMode(to.Get());
  if (!StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, sourceInfo.bmWidth, sourceInfo.bmHeight,
                  SRCCOPY)) {
    return {};
  }
  return scaled;
}

}  // namespace

UniqueGlobal BitmapToDib(HBITMAP bitmap, DWORD compression, HPALETTE palette) {
  if (!bitmap || compression == BI_BITFIELDS) return {};
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return {};
  ScreenSurface screen;
  if (!screen) return {};
  ScopedPalette selectPalette(screen.Get(), palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));

  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER)));
  if (!block) return {};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = info.bmWidth;
  header.biHeight = info.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = compression;
  {
    LockedGlobal view(block.Get());
    if (!view.Data()) return {};
    // The first query only fills in the image size; a 24-bit request has no colour table to write.
    std::memcpy(view.Data(), &header, sizeof header);
    GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), nullptr,
              reinterpret_cast<BITMAPINFO*>(view.Data()), DIB_RGB_COLORS);
    std::memcpy(&header, view.Data(), sizeof header);
  }
  if (header.biSizeImage == 0) {
    const auto stride = RowBytes(static_cast<std::size_t>(info.bmWidth), 24, 4);
    const auto size = stride ? CheckedMulAdd(*stride, static_cast<std::size_t>(info.bmHeight)) : std::nullopt;
    if (!size || *size > kMaxPictureBytes) return {};
    header.biSizeImage = static_cast<DWORD>(*size);
  }
  const auto total = CheckedMulAdd(1, header.biSizeImage, sizeof header);
  if (!total) return {};
  if (HGLOBAL grown = GlobalReAlloc(block.Get(), *total, GMEM_MOVEABLE)) {
    block.Release();
    block.Reset(grown);
  } else {
    return {};
  }
  int rows = 0;
  {
    LockedGlobal view(block.Get());
    if (!view.Data()) return {};
    std::memcpy(view.Data(), &header, sizeof header);
    rows = GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), view.Data() + sizeof header,
                     reinterpret_cast<BITMAPINFO*>(view.Data()), DIB_RGB_COLORS);
  }
  if (rows <= 0) return {};
  return block;
}

std::int32_t ResolveExportSide(std::optional<std::int32_t> requested, std::int32_t sourceSide) {
  if (!requested || *requested == 0) return sourceSide;
  if (*requested > 0) return *requested;
  const std::int32_t percent = *requested == INT32_MIN ? INT32_MAX : std::max(-*requested, 10);
  return MulDiv(sourceSide, percent, 100);
}

ByteBuffer BitmapToBmpFile(HBITMAP source, std::optional<std::int32_t> width, std::optional<std::int32_t> height) {
  BITMAP info{};
  if (!source || !GetObjectW(source, sizeof info, &info)) return nullptr;
  const std::int32_t exportWidth = ResolveExportSide(width, info.bmWidth);
  const std::int32_t exportHeight = ResolveExportSide(height, info.bmHeight);
  if (exportWidth <= 0 || exportHeight <= 0) return nullptr;

  ScreenSurface screen;
  if (!screen) return nullptr;
  UniquePalette palette = SystemPaletteIfNeeded(screen.Get());
  UniqueGlobal dib;
  if (exportWidth == info.bmWidth && exportHeight == info.bmHeight) {
    dib = BitmapToDib(source, BI_RGB, palette.Get());
  } else {
    UniqueBitmap scaled = StretchedCopy(screen.Get(), source, info, exportWidth, exportHeight);
    dib = BitmapToDib(scaled.Get(), BI_RGB, palette.Get());
  }
  if (!dib) return nullptr;

  LockedGlobal view(dib.Get());
  if (!view.Data()) return nullptr;
  BITMAPINFOHEADER header{};
  std::memcpy(&header, view.Data(), sizeof header);
  // The block's own size may be rounded up by the allocator; the header says what it holds.
  ByteBuffer bytes = nullptr;
  if (!DibToBmpBytes(&bytes, view.Data(), header.biSize + header.biSizeImage)) {
    FrameFree(bytes);
    return nullptr;
  }
  return bytes;
}
