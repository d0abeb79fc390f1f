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

namespace {

constexpr const char* kDrawPanelClass = "YjDrawPanel";
// Vertical pixels between two lines of written text, on top of the line's own height.
constexpr int kLineGap = 2;
// The scroll margin of ScrollWriteLine: the height of this many pixels, in the unit.
constexpr int kScrollMargin = 2;

constexpr PropertyRow kProperties[] = {
    {"border", ValueKind::kChoice, true, 0, 5},
    {"backColor", ValueKind::kBackColour},
    {"picture", ValueKind::kPicture},
    {"pictureMode", ValueKind::kChoice, true, 0, 2},
    {"autoRedraw", ValueKind::kTruth},
    {"coordUnit", ValueKind::kChoice, true, 0, 5},
    {"penStyle", ValueKind::kChoice, true, 0, 6},
    {"drawMode", ValueKind::kChoice, true, 0, 15},
    {"penWidth", ValueKind::kInteger, true, 0, 32767},
    {"penColor", ValueKind::kColour},
    {"brushStyle", ValueKind::kChoice, true, 0, 55},
    {"brushColor", ValueKind::kColour},
    {"textColor", ValueKind::kColour},
    {"textBackColor", ValueKind::kColourOrTransparent},
    {"font", ValueKind::kFont},
    {"drawWidth", ValueKind::kInteger},
    {"drawHeight", ValueKind::kInteger},
};
static_assert(std::size(kProperties) == kDrawPanelDrawHeight - kFirstOwnProperty + 1);

// Mapping modes of coordinate units 1 to 5, and the font heights per inch of each unit (the first
// two are 1 / 0.00394 and 10 / 0.00394).
constexpr int kUnitMappingModes[] = {MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS};
constexpr double kUnitsPerInch[] = {253.8071065989848, 2538.0710659898477, 100.0, 1000.0, 1440.0};

constexpr int kPenStyles[] = {PS_NULL, PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_INSIDEFRAME};
constexpr int kHatchStyles[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
constexpr int kFirstHatchBrush = 2;
constexpr int kFirstPatternBrush = kFirstHatchBrush + static_cast<int>(std::size(kHatchStyles));
constexpr int kLastBrushStyle = 55;
// An 8 x 8 ordered-dither matrix: pattern brush n sets the pixels whose threshold lies below its
// density, so the styles above the hatches run from a sparse dot to nearly solid.
constexpr std::uint8_t kBayer8[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};

std::int32_t Clamp(std::int64_t value, std::int32_t low, std::int32_t high) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, low, high));
}

Colour ColourOf(const RawValue& value) { return static_cast<Colour>(static_cast<std::uint32_t>(value.number)); }

// The window's client surface for the lifetime of the object.
class ClientSurface {
 public:
  explicit ClientSurface(HWND window) : window_(window), dc_(window ? GetDC(window) : nullptr) {}
  ClientSurface(const ClientSurface&) = delete;
  ClientSurface& operator=(const ClientSurface&) = delete;
  ~ClientSurface() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Keeps a surface's state (clip region, mapping, selections) and puts it back when it goes.
class SavedSurfaceState {
 public:
  explicit SavedSurfaceState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  SavedSurfaceState(const SavedSurfaceState&) = delete;
  SavedSurfaceState& operator=(const SavedSurfaceState&) = delete;
  ~SavedSurfaceState() {
    if (saved_) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  // The surface's own colour brush: no brush object is made per fill.
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

RECT Intersection(const RECT& a, const RECT& b) {
  RECT both{};
  IntersectRect(&both, &a, &b);
  return both;
}

RECT Union(const RECT& a, const RECT& b) {
  RECT either{};
  UnionRect(&either, &a, &b);
  return either;
}

// A rectangle in the surface's unit as device pixels, left above right and top above bottom.
RECT DeviceRect(HDC dc, const RECT& logical) {
  POINT corners[2] = {{logical.left, logical.top}, {logical.right, logical.bottom}};
  LPtoDP(dc, corners, 2);
  return RECT{std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
              std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y)};
}

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

LRESULT CALLBACK DrawPanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterDrawPanelClass() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = DrawPanelProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;  // the panel paints its whole background itself
  windowClass.lpszClassName = kDrawPanelClass;
  return RegisterClassExA(&windowClass) != 0;
}

DrawPanel* PanelOfWindow(HWND window) { return dynamic_cast<DrawPanel*>(ComponentOfControl(window)); }

LRESULT PanelMessage(DrawPanel& panel, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return panel.OnPaint();
    case WM_SIZE: return panel.OnSize(window, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_DISPLAYCHANGE: return panel.OnDisplayChange();
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK DrawPanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Messages of creation arrive before the window is tagged with its panel.
  DrawPanel* panel = PanelOfWindow(window);
  if (!panel) return DefWindowProcA(window, message, wParam, lParam);
  return GuardedCallback([&] { return PanelMessage(*panel, window, message, wParam, lParam); });
}

}  // namespace

DrawPanel::~DrawPanel() = default;

bool DrawPanel::Create(const ControlPlace& place) {
  static const bool registered = RegisterDrawPanelClass();
  if (!registered) return false;
  RebuildPen();
  RebuildBrush();
  RebuildFont();
  if (!CreateControl(place, 0, kDrawPanelClass, "", 0)) return false;
  ApplyBorder();
  // The size notification of creation came before the window knew its panel; this is its handling.
  writePosition_ = {0, 0};
  RebuildBackingBitmap(true);
  return true;
}

RECT DrawPanel::ClientRect() const {
  RECT client{};
  if (control_) GetClientRect(control_, &client);
  return client;
}

RawValue DrawPanel::Read(int k) const {
  const DrawPanelProperties& p = properties_;
  switch (k + kFirstOwnProperty) {
    case kDrawPanelBorder: return NumberValue(p.border);
    case kDrawPanelBackColor: return NumberValue(p.backColor);
    case kDrawPanelPicture: {
      RawValue value;
      value.bytes = p.picture;
      return value;
    }
    case kDrawPanelPictureMode: return NumberValue(p.pictureMode);
    case kDrawPanelAutoRedraw: return NumberValue(p.autoRedraw);
    case kDrawPanelCoordUnit: return NumberValue(p.coordUnit);
    case kDrawPanelPenStyle: return NumberValue(p.penStyle);
    case kDrawPanelDrawMode: return NumberValue(p.drawMode);
    case kDrawPanelPenWidth: return NumberValue(p.penWidth);
    case kDrawPanelPenColor: return NumberValue(p.penColor);
    case kDrawPanelBrushStyle: return NumberValue(p.brushStyle);
    case kDrawPanelBrushColor: return NumberValue(p.brushColor);
    case kDrawPanelTextColor: return NumberValue(p.textColor);
    case kDrawPanelTextBackColor: return NumberValue(p.textBackColor);
    case kDrawPanelFont: {
      RawValue value;
      value.font = p.font;
      return value;
    }
    case kDrawPanelDrawWidth:
    case kDrawPanelDrawHeight: {
      if (!control_) return NumberValue(0);
      const RECT client = ClientRect();
      ClientSurface surface(control_);
      if (!surface.Get()) return NumberValue(0);
      ApplyCoordUnit(surface.Get());
      POINT corners[2] = {{0, 0}, {client.right, client.bottom}};
      DPtoLP(surface.Get(), corners, 2);
      return NumberValue(k + kFirstOwnProperty == kDrawPanelDrawWidth ? std::abs(corners[1].x - corners[0].x)
                                                                     : std::abs(corners[1].y - corners[0].y));
    }
    default: return NumberValue(0);
  }
}

WriteOutcome DrawPanel::Write(int k, const RawValue& value) {
  DrawPanelProperties& p = properties_;
  const std::int64_t number = value.number;
  const auto rebuildAndRepaint = [this] {
    RebuildBackingBitmap(false);
    if (control_) InvalidateRect(control_, nullptr, FALSE);
  };
  switch (k + kFirstOwnProperty) {
    case kDrawPanelBorder:
      p.border = Clamp(number, 0, 5);
      ApplyBorder();
      break;
    case kDrawPanelBackColor:
      if (ColourOf(value) == p.backColor) break;
      p.backColor = ColourOf(value);
      rebuildAndRepaint();
      break;
    case kDrawPanelPicture:
      p.picture = value.bytes;
      decodedBackground_.Reset();
      ++pictureGeneration_;
      rebuildAndRepaint();
      break;
    case kDrawPanelPictureMode:
      // The BackingBitmap keeps its content: the new layout shows with the next Clear.
      if (Clamp(number, 0, 2) == p.pictureMode) break;
      ApplyPendingResize();  // a gathered rebuild lays the background in the mode of its time
      p.pictureMode = Clamp(number, 0, 2);
      if (control_) InvalidateRect(control_, nullptr, FALSE);
      break;
    case kDrawPanelAutoRedraw: {
      const std::int32_t autoRedraw = number == 1 ? 1 : 0;
      if (autoRedraw == p.autoRedraw) break;
      p.autoRedraw = autoRedraw;
      if (autoRedraw) {
        RebuildBackingBitmap(false);
      } else {
        DetachBacking();
        backing_.Reset();
        pendingKeep_.reset();
      }
      break;
    }
    case kDrawPanelCoordUnit:
      if (Clamp(number, 0, 5) == p.coordUnit) break;
      p.coordUnit = Clamp(number, 0, 5);
      RebuildFont();
      break;
    case kDrawPanelPenStyle:
      if (Clamp(number, 0, 6) == p.penStyle) break;
      p.penStyle = Clamp(number, 0, 6);
      RebuildPen();
      break;
    case kDrawPanelDrawMode: p.drawMode = Clamp(number, 0, 15); break;
    case kDrawPanelPenWidth:
      if (Clamp(number, 0, 32767) == p.penWidth) break;
      p.penWidth = Clamp(number, 0, 32767);
      RebuildPen();
      break;
    case kDrawPanelPenColor:
      if (ColourOf(value) == p.penColor) break;
      p.penColor = ColourOf(value);
      RebuildPen();
      break;
    case kDrawPanelBrushStyle:
      if (Clamp(number, 0, kLastBrushStyle) == p.brushStyle) break;
      p.brushStyle = Clamp(number, 0, kLastBrushStyle);
      RebuildBrush();
      break;
    case kDrawPanelBrushColor:
      if (ColourOf(value) == p.brushColor) break;
      p.brushColor = ColourOf(value);
      RebuildBrush();
      break;
    case kDrawPanelTextColor: p.textColor = ColourOf(value); break;
    case kDrawPanelTextBackColor: p.textBackColor = ColourOf(value); break;
    case kDrawPanelFont:
      p.font = value.font;
      RebuildFont();
      break;
    default: break;  // drawWidth and drawHeight are read only
  }
  return WriteOutcome::kApplied;
}

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

// With a BackingBitmap the drawing goes into it alone (through the panel's kept memory surface), and
// the caller then shows the pixels that changed on the window with ShowOnWindow; without one it goes
// onto the window surface.
template <typename Draw>
void DrawPanel::DrawOnSurface(SurfaceUse use, Draw&& draw) {
  if (!control_) return;
  ApplyPendingResize();
  if (backing_.Get()) {
    const HDC memory = BackingSurface();
    if (!memory) return;
    PrepareSurface(memory, use);
    draw(memory);
    ReleaseSurface(memory);
    return;
  }
  ClientSurface own(paintSurface_ ? nullptr : control_);
  const HDC window = paintSurface_ ? paintSurface_ : own.Get();
  if (!window) return;
  PrepareSurface(window, use);
  draw(window);
  ReleaseSurface(window);
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
      GetObjectA(backing_.Get(), sizeof old, &old);
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

// ---- drawing objects ----

void DrawPanel::RebuildPen() {
  pen_.Reset();
  pen_.Reset(CreatePen(kPenStyles[std::clamp(properties_.penStyle, 0, 6)], properties_.penWidth,
                       properties_.penColor));
}

void DrawPanel::RebuildBrush() {
  brush_.Reset();
  const int style = properties_.brushStyle;
  if (style <= 0) {
    // Style 0 fills nothing: a hollow brush of the panel's own, so "no brush" still means stock white.
    const LOGBRUSH hollow{BS_NULL, 0, 0};
    brush_.Reset(CreateBrushIndirect(&hollow));
  } else if (style == 1) {
    brush_.Reset(CreateSolidBrush(properties_.brushColor));
  } else if (style < kFirstPatternBrush) {
    brush_.Reset(CreateHatchBrush(kHatchStyles[style - kFirstHatchBrush], properties_.brushColor));
  } else {
    // Monochrome patterns take the surface's text and background colours, as hatches do.
    const int density = (style - kFirstPatternBrush + 1) * 64 / (kLastBrushStyle - kFirstPatternBrush + 2);
    WORD rows[8] = {};
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        if (kBayer8[y][x] >= density) rows[y] |= static_cast<WORD>(0x80 >> x);
      }
    }
    UniqueBitmap pattern(CreateBitmap(8, 8, 1, 1, rows));
    if (pattern.Get()) brush_.Reset(CreatePatternBrush(pattern.Get()));  // the brush keeps its own copy
  }
}

void DrawPanel::RebuildFont() {
  // The font is made anew only when what it is made from changed.
  LOGFONTA font{};
  if (properties_.font) {
    font = *properties_.font;
  } else {
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  }
  if (properties_.coordUnit >= 1 && properties_.coordUnit <= 5) {
    const double inches = std::abs(static_cast<double>(font.lfHeight)) / CurrentDisplayMetrics().pixelsPerInchY;
    font.lfHeight = -static_cast<LONG>(inches * kUnitsPerInch[properties_.coordUnit - 1]);
  }
  char face[LF_FACESIZE + 1] = {};
  std::memcpy(face, font.lfFaceName, LF_FACESIZE);
  LOGFONTA made{};
  made.lfHeight = font.lfHeight;
  made.lfWidth = font.lfWidth;
  made.lfEscapement = font.lfEscapement;
  made.lfOrientation = font.lfOrientation;
  made.lfWeight = font.lfWeight;
  made.lfItalic = font.lfItalic;
  made.lfUnderline = font.lfUnderline;
  made.lfStrikeOut = font.lfStrikeOut;
  std::memcpy(made.lfFaceName, face, LF_FACESIZE);
  if (font_.Get() && std::memcmp(&made, &fontMadeFrom_, sizeof made) == 0) return;
  font_.Reset();
  font_.Reset(CreateFontA(made.lfHeight, made.lfWidth, made.lfEscapement, made.lfOrientation, made.lfWeight,
                          made.lfItalic, made.lfUnderline, made.lfStrikeOut, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY,
                          0, face));
  fontMadeFrom_ = made;
}

void DrawPanel::ApplyBorder() {
  if (!control_) return;
  constexpr LONG_PTR kEdges = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
  LONG_PTR exStyle = GetWindowLongPtrA(control_, GWL_EXSTYLE) & ~kEdges;
  LONG_PTR style = GetWindowLongPtrA(control_, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER);
  switch (properties_.border) {
    case 1: exStyle |= WS_EX_CLIENTEDGE; break;
    case 2: exStyle |= WS_EX_DLGMODALFRAME; break;
    case 3: exStyle |= WS_EX_STATICEDGE; break;
    case 4: exStyle |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME; break;
    case 5: style |= WS_BORDER; break;
    default: break;
  }
  SetWindowLongPtrA(control_, GWL_EXSTYLE, exStyle);
  SetWindowLongPtrA(control_, GWL_STYLE, style);
  SetWindowPos(control_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---- operations ----

void DrawPanel::Clear(std::optional<std::int32_t> left, std::optional<std::int32_t> top,
                      std::optional<std::int32_t> width, std::optional<std::int32_t> height) {
  RECT changed{};
  DrawOnSurface(SurfaceUse::kOther, [&](HDC dc) {
    // Clear's arguments are pixels whatever the coordinate unit.
    SetMapMode(dc, MM_TEXT);
    const RECT client = ClientRect();
    const PanelRect rect =
        ClearRectangle({client.left, client.top, client.right, client.bottom}, left, top, width, height);
    const RECT cleared{rect.left, rect.top, rect.right, rect.bottom};
    if (backing_.Get()) {
      RestoreBackground(dc, Intersection(cleared, client), BitmapState::kDrawnOn);
      // Only what was drawn since the background was laid can change.
      changed = Intersection(cleared, changedSinceBackground_);
      RECT remaining{};
      SubtractRect(&remaining, &changedSinceBackground_, &cleared);  // empty when all was cleared
      changedSinceBackground_ = remaining;
    } else {
      LayBackground(dc, cleared);
    }
    MoveToEx(dc, rect.left, rect.top, nullptr);
    writePosition_ = {rect.left, rect.top};
  });
  ShowOnWindow(changed);
}

void DrawPanel::SetWritePosition(std::optional<std::int32_t> x, std::optional<std::int32_t> y) {
  if (!control_) return;
  if (properties_.coordUnit == 0) {  // pixels are device pixels: no surface is needed to convert
    if (x) writePosition_.x = *x;
    if (y) writePosition_.y = *y;
    return;
  }
  ClientSurface surface(control_);
  if (!surface.Get()) return;
  ApplyCoordUnit(surface.Get());
  POINT point{x.value_or(0), y.value_or(0)};
  LPtoDP(surface.Get(), &point, 1);
  SetMapMode(surface.Get(), MM_TEXT);
  if (x) writePosition_.x = point.x;
  if (y) writePosition_.y = point.y;
}

// Scrolls the client area's content up by a distance in the unit and fills the strip it uncovers.
void DrawPanel::ScrollUp(HDC dc, int logicalDistance) {
  POINT span[2] = {{0, 0}, {0, logicalDistance}};
  LPtoDP(dc, span, 2);
  const int distance = std::abs(span[1].y - span[0].y);
  const RECT client = ClientRect();
  SavedSurfaceState saved(dc);
  SetMapMode(dc, MM_TEXT);
  BitBlt(dc, 0, 0, client.right, client.bottom - distance, dc, 0, distance, SRCCOPY);
  FillSolid(dc, RECT{0, std::max<LONG>(client.bottom - distance, 0), client.right, client.bottom},
            ResolvedBackColour());
}

void DrawPanel::WriteText(WriteKind kind, std::optional<std::int32_t> x, std::optional<std::int32_t> y,
                          std::span<const ArgRecord> values) {
  // The texts are made once, as copies; values of other kinds are skipped altogether.
  std::vector<std::string> texts;
  texts.reserve(values.size());
  for (const ArgRecord& value : values) {
    if (std::optional<std::string> text = ArgumentText(value)) texts.push_back(std::move(*text));
  }
  const bool endsLines = kind == WriteKind::kWriteLine || kind == WriteKind::kScrollWriteLine;
  const bool scrolls = kind == WriteKind::kScrollWriteLine;
  // The text starts from the stored position; only the operations that store their end point move it.
  const POINT start = writePosition_;

  RECT changed{};
  bool scrolled = false;
  DrawOnSurface(SurfaceUse::kText, [&](HDC dc) {
    // The device rectangles the text covers: the text cells, and the ink beyond them (swashes,
    // italics, rotated text) as the surface accumulates it.
    SetBoundsRect(dc, nullptr, DCB_RESET | DCB_ENABLE);
    RECT cells{};
    POINT p = start;
    DPtoLP(dc, &p, 1);
    if (kind == WriteKind::kWriteAt) {
      if (x) p.x = *x;
      if (y) p.y = *y;
      LPtoDP(dc, &p, 1);
      DPtoLP(dc, &p, 1);
    }
    RECT client = ClientRect();
    DPtoLP(dc, reinterpret_cast<POINT*>(&client), 2);
    POINT margin[2] = {{0, 0}, {kScrollMargin, kScrollMargin}};
    DPtoLP(dc, margin, 2);
    const int scrollMargin = std::abs(margin[1].y - margin[0].y);
    SIZE letter{};
    GetTextExtentPoint32A(dc, "W", 1, &letter);
    const int emptyLineHeight = letter.cy;

    const auto nextLine = [&](int segmentHeight) {
      POINT device{p.x, p.y + segmentHeight};
      LPtoDP(dc, &device, 1);
      device.y += kLineGap;
      DPtoLP(dc, &device, 1);
      p.y = device.y;  // x stays where the text's first line began
    };
    for (const std::string& text : texts) {
      std::vector<TextSegment> segments = SplitTextSegments(text);
      if (segments.empty()) {
        if (!endsLines) continue;
        segments.push_back({0, 0, false});
      }
      for (std::size_t i = 0; i < segments.size(); ++i) {
        const TextSegment& segment = segments[i];
        SIZE extent{0, emptyLineHeight};
        if (segment.length) {
          GetTextExtentPoint32A(dc, text.data() + segment.start, static_cast<int>(segment.length), &extent);
        }
        if (scrolls && p.y + extent.cy > client.bottom) {
          const int distance = p.y + extent.cy + scrollMargin - client.bottom;
          ScrollUp(dc, distance);
          scrolled = true;
          p.y -= distance;
        }
        if (segment.length) {
          TextOutA(dc, p.x, p.y, text.data() + segment.start, static_cast<int>(segment.length));
          cells = Union(cells, DeviceRect(dc, RECT{p.x, p.y, p.x + extent.cx, p.y + extent.cy}));
        }
        const bool last = i + 1 == segments.size();
        if (last && !segment.breakFollows && !endsLines) {
          p.x += extent.cx;
        } else {
          nextLine(extent.cy);
        }
      }
    }
    RECT ink{};
    const UINT bounds = GetBoundsRect(dc, &ink, DCB_RESET);
    SetBoundsRect(dc, nullptr, DCB_DISABLE);
    const bool rotated = properties_.font && properties_.font->lfEscapement != 0;
    if (bounds == 0 || rotated || scrolled) {
      changed = ClientRect();  // nothing tells where the text went: the whole panel is shown
    } else {
      changed = Union(cells, bounds == DCB_SET ? DeviceRect(dc, ink) : RECT{});
    }
    if (kind != WriteKind::kWriteAt) {
      LPtoDP(dc, &p, 1);
      writePosition_ = p;
    }
  });
  if (!backing_.Get()) return;
  changedSinceBackground_ = Union(changedSinceBackground_, changed);
  ShowOnWindow(changed);
}

ByteBuffer DrawPanel::GetPicture(std::optional<std::int32_t> width, std::optional<std::int32_t> height) {
  ApplyPendingResize();
  if (backing_.Get()) {
    DetachBacking();  // a bitmap is read out while it is in no surface
    return BitmapToBmpFile(backing_.Get(), width, height);
  }
  if (!control_) return nullptr;
  // Without a BackingBitmap the export is what the screen shows in the client area now.
  const RECT client = ClientRect();
  ClientSurface window(control_);
  if (!window.Get()) return nullptr;
  UniqueBitmap shown(CreateCompatibleBitmap(window.Get(), client.right, client.bottom));
  MemorySurface copy(window.Get());
  if (!shown.Get() || !copy) return nullptr;
  {
    ScopedSelect select(copy.Get(), shown.Get());
    BitBlt(copy.Get(), 0, 0, client.right, client.bottom, window.Get(), 0, 0, SRCCOPY);
  }
  return BitmapToBmpFile(shown.Get(), width, height);
}

// ---- window messages ----

// Surfaces and bitmaps made for the old display are made again for the new one.
LRESULT DrawPanel::OnDisplayChange() {
  background_.Forget();
  DetachBacking();
  backingSurface_.reset();
  changedSinceBackground_ = ClientRect();
  windowBehind_ = ClientRect();
  return 0;
}

// A size change rebuilds the BackingBitmap when the bitmap is next used, so that a program setting
// the width, then the height (and then a picture, which rebuilds it anyway) has one bitmap made, not
// three. What rebuilds one after another would have kept survives: the top-left area that every size
// in between held.
LRESULT DrawPanel::OnSize(HWND window, WPARAM wParam, LPARAM lParam) {
  DefWindowProcA(window, WM_SIZE, wParam, lParam);
  writePosition_ = {0, 0};
  if (properties_.autoRedraw == 1) {
    const RECT client = ClientRect();
    const SIZE now{std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)};
    pendingKeep_ = pendingKeep_ ? SIZE{std::min(pendingKeep_->cx, now.cx), std::min(pendingKeep_->cy, now.cy)} : now;
  }
  return 0;
}

void DrawPanel::ApplyPendingResize() {
  if (!pendingKeep_) return;
  const SIZE keep = *pendingKeep_;
  RebuildBackingBitmap(true, keep);
}

HBITMAP DrawPanel::BackingBitmap() {
  ApplyPendingResize();
  return backing_.Get();
}

void DrawPanel::RaisePaint(const RECT& logical) {
  if (Recreating()) return;
  EventRecord record{};
  record.windowId = Ref().windowId;
  record.unitId = Ref().unitId;
  record.eventNumber = kDrawPanelPaint;
  record.argCount = 4;
  record.args[0] = logical.left;
  record.args[1] = logical.top;
  record.args[2] = logical.right;
  record.args[3] = logical.bottom;
  NotifyFrame(kNoticeRaiseEvent, reinterpret_cast<std::intptr_t>(&record));
}

LRESULT DrawPanel::OnPaint() {
  const HWND window = control_;
  PAINTSTRUCT paint{};
  ApplyPendingResize();
  const HDC dc = BeginPaint(window, &paint);
  const RECT client = ClientRect();
  RECT r{};
  if (dc && IntersectRect(&r, &paint.rcPaint, &client)) {
    if (backing_.Get()) {
      BITMAP info{};
      GetObjectA(backing_.Get(), sizeof info, &info);
      const RECT inBitmap{0, 0, info.bmWidth, info.bmHeight};
      RECT copy{};
      const HDC source = BackingSurface();
      if (source && IntersectRect(&copy, &r, &inBitmap)) {
        BitBlt(dc, copy.left, copy.top, copy.right - copy.left, copy.bottom - copy.top, source, copy.left, copy.top,
               SRCCOPY);
      }
    } else {
      LayBackground(dc, r);
      const POINT savedPosition = writePosition_;
      paintSurface_ = dc;
      writePosition_ = {0, 0};
      ApplyCoordUnit(dc);
      RECT logical = r;
      DPtoLP(dc, reinterpret_cast<POINT*>(&logical), 2);
      RaisePaint(logical);
      // A handler may have destroyed the window, and the panel with it as far as drawing goes.
      if (IsWindow(window)) {
        paintSurface_ = nullptr;
        writePosition_ = savedPosition;
      }
    }
  }
  EndPaint(window, &paint);
  return 0;
}

// ---- registration and commands ----

void RegisterDrawPanelType() {
  static constexpr ComponentType kType{kTypeDrawPanel, "画板", "DrawPanel", kTypeRaisesEvents, kProperties,
                                       [] { return std::unique_ptr<Component>(new DrawPanel); }};
  RegisterComponentType(kType);
}

namespace {

void* PictureToBitmapForFrame(const std::uint8_t* bytes, std::size_t length) {
  return PictureToBitmap(bytes, length);
}

}  // namespace

void DrawPanelLibraryNotice(int code, NotificationFunction) {
  if (code != kSupportLibraryStart) return;
  RegisterDrawPanelType();
  SetPictureService(PictureBoxService());
  SetPictureToBitmap(PictureToBitmapForFrame);
}
