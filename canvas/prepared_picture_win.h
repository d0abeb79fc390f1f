// A decoded picture made ready for one drawing surface, drawn, and released right after use.
#pragma once

#include <windows.h>

#include "canvas/dc_owners_win.h"
#include "canvas/picture.h"

struct PreparedPicture {
  HDC surface = nullptr;
  PictureKind kind = PictureKind::kNone;
  int width = 0;
  int height = 0;
  HICON icon = nullptr;  // kinds 3 and 4; owned by the DecodedPicture
  UniqueBitmap bitmap;   // every other kind

  explicit operator bool() const { return icon || bitmap.Get(); }
};

// A device bitmap (or the icon) of `picture` for `surface`; empty when either is missing or the
// system refuses the bitmap.
PreparedPicture PreparePicture(HDC surface, const DecodedPicture* picture);

// Stretches the picture onto (x, y, width, height) of the prepared surface; -1 for a side means the
// picture's own. A raster operation below 0 is -colour: pixels of that colour are left out.
void DrawPreparedPicture(const PreparedPicture& prepared, int x, int y, int width, int height,
                         long rasterOperation);
