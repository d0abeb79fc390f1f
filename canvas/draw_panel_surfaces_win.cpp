// The drawing panel's surfaces and bitmaps: the window's and the kept memory surface, the
// BackingBitmap, and the background of colour and picture laid under what is drawn.
#include "canvas/draw_panel_win.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <string>

#include "canvas/bitmap_export_win.h"
#include "canvas/picture_box_paint_win.h"
#include "canvas/picture_measure_win.h"
#include "forms/operations.h"
#include "canvas/panel_geometry.h"
#include "canvas/picture_layout.h"
#include "canvas/prepared_picture_win.h"
#include "canvas/text_segments.h"
#include "forms/callback_guard.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/app_frame.h"
#include "canvas/draw_panel_surface_win.h"

using namespace panel_surface;

namespace {

// Lays a picture at natural size from `origin`: once, or tiled over `area` where tiles meet `target`.
void LayAtNaturalSize(HDC dc, const PreparedPicture& prepared, const RECT& area, const RECT& target, bool tiled) {
  TileSpan columns{0, 1}, rows{0, 1};
  if (tiled) {
    columns = TilesOverlapping(area.left, area.right - area.left, prepared.width, target.left, target.right);
    rows = TilesOverlapping(area.top, area.bottom - area.top, prepared.height, target.top, target.bottom);
    if (columns.count == 0 || rows.count == 0) return;
  }
  const auto each = [&](auto&& draw) {
    for (std::int32_t row = rows.first; row < rows.first + rows.count; ++row) {
      for (std::int32_t column = columns.first; column < columns.first + columns.count; ++column) {
        draw(area.left + column * prepared.width, area.top + row * prepared.height);
      }
    }
  };
  if (prepared.icon) {
    each([&](int x, int y) { DrawPreparedPicture(prepared, x, y, -1, -1, SRCCOPY); });
    return;
  }
  // One source surface for all tiles; no stretching at natural size.
  MemorySurface source(dc);
  if (!source) return;
  ScopedSelect select(source.Get(), prepared.bitmap.Get());
  each([&](int x, int y) { BitBlt(dc, x, y, prepared.width, prepared.height, source.Get(), 0, 0, SRCCOPY); });
}

}  // namespace

// ---- surfaces ----

COLORREF DrawPanel::ResolvedBackColour() const {
  return properties_.backColor == kDefaultColour ? GetSysColor(COLOR_BTNFACE) : properties_.backColor;
}

void DrawPanel::ApplyCoordUnit(HDC dc) const {
  SetMapMode(dc, MM_TEXT);
  if (properties_.coordUnit < 1 || properties_.coordUnit > 5) return;
  // The unit's own mapping gives the scale; a freely scaled mapping with the vertical window extent
  // reversed keeps it but lets y grow downward from the client's top-left corner.
  SetMapMode(dc, kUnitMappingModes[properties_.coordUnit - 1]);
  SIZE window{}, viewport{};
  GetWindowExtEx(dc, &window);
  GetViewportExtEx(dc, &viewport);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, window.cx, -window.cy, nullptr);
  SetViewportExtEx(dc, viewport.cx, viewport.cy, nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
}

void DrawPanel::PrepareSurface(HDC dc, SurfaceUse use) const {
  ApplyCoordUnit(dc);
  SelectObject(dc, pen_.Get() ? static_cast<HGDIOBJ>(pen_.Get()) : GetStockObject(BLACK_PEN));
  SelectObject(dc, brush_.Get() ? static_cast<HGDIOBJ>(brush_.Get()) : GetStockObject(WHITE_BRUSH));
  SelectObject(dc, font_.Get() ? static_cast<HGDIOBJ>(font_.Get()) : GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, use == SurfaceUse::kText ? properties_.textColor : properties_.brushColor);
  if (properties_.textBackColor == kDefaultColour) {
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, ResolvedBackColour());
  } else {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, properties_.textBackColor);
  }
  SetROP2(dc, properties_.drawMode + 1);
  ApplyDisplayStretchMode(dc);
  SetPolyFillMode(dc, WINDING);
}

// Stock objects go in, so the panel's own pen, brush and font are never left selected anywhere.
void DrawPanel::ReleaseSurface(HDC dc) {
  SetMapMode(dc, MM_TEXT);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
}

// The kept memory surface, made compatible with the window's.
HDC DrawPanel::KeptSurface() {
  if (!backingSurface_ || !*backingSurface_) {
    backingSelection_.reset();
    ClientSurface window(control_);
    if (!window.Get()) return nullptr;
    backingSurface_ = std::make_unique<MemorySurface>(window.Get());
    if (!*backingSurface_) return nullptr;
  }
  return backingSurface_->Get();
}

// The kept surface with the BackingBitmap selected into it. The bitmap stays selected between
// operations (selecting a bitmap costs more than many drawings) and leaves the surface only when
// it is read out, replaced or deleted.
HDC DrawPanel::BackingSurface() {
  const HDC surface = backing_.Get() ? KeptSurface() : nullptr;
  if (surface && !backingSelection_) backingSelection_.emplace(surface, backing_.Get());
  return surface;
}

void DrawPanel::DetachBacking() { backingSelection_.reset(); }

// Copies `changed` (device pixels) from the BackingBitmap to the window, and whatever the window
// may not show of a new bitmap yet; the window then shows what the bitmap holds there.
void DrawPanel::ShowOnWindow(const RECT& changed) {
  ApplyPendingResize();
  const RECT shown = Intersection(Union(changed, windowBehind_), ClientRect());
  windowBehind_ = {};
  if (IsRectEmpty(&shown) || !backing_.Get()) return;
  const HDC memory = BackingSurface();
  ClientSurface window(control_);
  if (!memory || !window.Get()) return;
  BitBlt(window.Get(), shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, memory, shown.left,
         shown.top, SRCCOPY);
}

// ---- background ----

const DecodedPicture* DrawPanel::DecodedBackground() {
  if (!decodedBackground_ && !properties_.picture.empty()) {
    DecodeResult result = DecodePicture(properties_.picture.data(), properties_.picture.size());
    if (!result) {
      // A picture that does not decode is dropped for good: the panel has no picture from now on.
      properties_.picture.clear();
      properties_.picture.shrink_to_fit();
      return nullptr;
    }
    decodedBackground_ = std::move(result.picture);
  }
  return decodedBackground_ ? &decodedBackground_ : nullptr;
}

// `dc` is in the pixel mapping; the picture is laid relative to the whole client area, but only
// inside `target`.
void DrawPanel::LayBackground(HDC dc, const RECT& target) {
  if (IsRectEmpty(&target)) return;
  const DecodedPicture* picture = DecodedBackground();
  if (!picture) {
    FillSolid(dc, target, ResolvedBackColour());
    return;
  }
  LayPreparedBackground(dc, target, PreparePicture(dc, picture));
}

// As LayBackground, with the picture already prepared for `dc` (empty: the whole target is filled).
void DrawPanel::LayPreparedBackground(HDC dc, const RECT& target, const PreparedPicture& prepared) {
  const COLORREF colour = ResolvedBackColour();
  SavedSurfaceState saved(dc);
  IntersectClipRect(dc, target.left, target.top, target.right, target.bottom);
  // An icon's transparent pixels show what lies beneath: the background colour, never an earlier
  // drawing.
  if (prepared.icon) FillSolid(dc, target, colour);
  const RECT client = ClientRect();
  std::optional<RECT> covered;  // what the picture covers; nothing when the whole target is to fill
  if (prepared) {
    switch (properties_.pictureMode) {
      case 0:
        LayAtNaturalSize(dc, prepared, client, target, false);
        covered = RECT{client.left, client.top, client.left + prepared.width, client.top + prepared.height};
        break;
      case 1:
        LayAtNaturalSize(dc, prepared, client, target, true);
        return;  // the tiles cover the whole client area
      case 2: {
        const PictureRect at = FitPictureCentred(
            {client.left, client.top, client.right - client.left, client.bottom - client.top}, prepared.width,
            prepared.height);
        DrawPreparedPicture(prepared, at.x, at.y, at.width, at.height, SRCCOPY);
        covered = RECT{at.x, at.y, at.x + at.width, at.y + at.height};
        break;
      }
      default: break;
    }
  }
  if (covered) ExcludeClipRect(dc, covered->left, covered->top, covered->right, covered->bottom);
  FillSolid(dc, target, colour);
}

// The kept background for the panel's present look, laid anew when the look changed; null when no
// bitmap could be made. `laidAnew` tells whether it was.
HDC DrawPanel::BackgroundSurface(HDC compatibleWith, bool* laidAnew) {
  const RECT client = ClientRect();
  const DecodedPicture* picture = DecodedBackground();
  const BackgroundLook look{std::max<int>(client.right - client.left, 1), std::max<int>(client.bottom - client.top, 1),
                            properties_.pictureMode, ResolvedBackColour(), picture ? pictureGeneration_ : 0};
  return background_.Surface(
      compatibleWith, look, picture,
      [&](HDC dc, const PreparedPicture& prepared) {
        const RECT all{0, 0, look.width, look.height};
        if (prepared) {
          LayPreparedBackground(dc, all, prepared);
        } else {
          FillSolid(dc, all, look.colour);
        }
      },
      laidAnew);
}

// Lays the background into `target` of the BackingBitmap selected into `memory`: one copy from the
// kept background, or laid there directly when none could be kept. A bitmap that already holds the
// background gets only the region where it may differ.
void DrawPanel::RestoreBackground(HDC memory, const RECT& target, BitmapState state) {
  bool laidAnew = false;
  if (const HDC background = BackgroundSurface(memory, &laidAnew)) {
    // The bitmap was drawn on a background that is no more: all of it may differ now.
    if (laidAnew) changedSinceBackground_ = ClientRect();
    const RECT copy = state == BitmapState::kFresh ? target : Intersection(target, changedSinceBackground_);
    BitBlt(memory, copy.left, copy.top, copy.right - copy.left, copy.bottom - copy.top, background, copy.left,
           copy.top, SRCCOPY);
  } else {
    LayBackground(memory, target);
    changedSinceBackground_ = ClientRect();
  }
}

void DrawPanel::RebuildBackingBitmap(bool keepContent, SIZE keepWithin) {
  pendingKeep_.reset();  // this rebuild stands for any gathered ones
  if (properties_.autoRedraw != 1 || !control_) return;
  const RECT client = ClientRect();
  const int width = std::max<int>(client.right - client.left, 1);
  const int height = std::max<int>(client.bottom - client.top, 1);
  DetachBacking();  // the old bitmap is read through a surface of its own
  ClientSurface window(control_);
  const HDC target = KeptSurface();
  if (!window.Get() || !target) return;
  UniqueBitmap fresh(CreateCompatibleBitmap(window.Get(), width, height));
  if (!fresh.Get()) return;
  {
    ScopedSelect selectFresh(target, fresh.Get());
    RestoreBackground(target, RECT{0, 0, width, height}, BitmapState::kFresh);
    changedSinceBackground_ = {};
    const bool centredPicture = !properties_.picture.empty() && properties_.pictureMode == 2;
    if (backing_.Get() && keepContent && !centredPicture) {
      BITMAP old{};
      GetObjectW(backing_.Get(), sizeof old, &old);
      MemorySurface source(window.Get());
      if (source) {
        const RECT kept{0, 0, std::min<LONG>({old.bmWidth, width, keepWithin.cx}),
                        std::min<LONG>({old.bmHeight, height, keepWithin.cy})};
        ScopedSelect selectOld(source.Get(), backing_.Get());
        BitBlt(target, 0, 0, kept.right, kept.bottom, source.Get(), 0, 0, SRCCOPY);
        changedSinceBackground_ = Union(changedSinceBackground_, kept);
      }
    }
  }
  // Both bitmaps are out of their surfaces here, so the old one may go.
  backing_ = std::move(fresh);
  // The window may show anything until it is painted or shown the new bitmap.
  windowBehind_ = client;
}
