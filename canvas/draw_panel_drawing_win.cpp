// What the drawing panel draws with and what it is asked to do: pen, brush, font and border, and
// the operations of the command interface (clear, write, scroll, read out the picture).
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
#include "frame/ground/gbk_text_win.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/app_frame.h"
#include "canvas/draw_panel_surface_win.h"

using namespace panel_surface;

namespace {

// Vertical pixels between two lines of written text, on top of the line's own height.
constexpr int kLineGap = 2;
// The scroll margin of ScrollWriteLine: the height of this many pixels, in the unit.
constexpr int kScrollMargin = 2;

constexpr int kPenStyles[] = {PS_NULL, PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_INSIDEFRAME};
constexpr int kHatchStyles[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
constexpr int kFirstHatchBrush = 2;
constexpr int kFirstPatternBrush = kFirstHatchBrush + static_cast<int>(std::size(kHatchStyles));
// An 8 x 8 ordered-dither matrix: pattern brush n sets the pixels whose threshold lies below its
// density, so the styles above the hatches run from a sparse dot to nearly solid.
constexpr std::uint8_t kBayer8[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};

}  // namespace

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
    LOGFONTW system{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system);
    font = GbkFont(system);
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
  LOGFONTW wide = WideFont(made);
  wide.lfCharSet = DEFAULT_CHARSET;
  wide.lfQuality = PROOF_QUALITY;
  font_.Reset(CreateFontIndirectW(&wide));
  fontMadeFrom_ = made;
}

void DrawPanel::ApplyBorder() {
  if (!control_) return;
  constexpr LONG_PTR kEdges = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
  LONG_PTR exStyle = GetWindowLongPtrW(control_, GWL_EXSTYLE) & ~kEdges;
  LONG_PTR style = GetWindowLongPtrW(control_, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER);
  switch (properties_.border) {
    case 1: exStyle |= WS_EX_CLIENTEDGE; break;
    case 2: exStyle |= WS_EX_DLGMODALFRAME; break;
    case 3: exStyle |= WS_EX_STATICEDGE; break;
    case 4: exStyle |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME; break;
    case 5: style |= WS_BORDER; break;
    default: break;
  }
  SetWindowLongPtrW(control_, GWL_EXSTYLE, exStyle);
  SetWindowLongPtrW(control_, GWL_STYLE, style);
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
    GetTextExtentPoint32W(dc, L"W", 1, &letter);
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
        const std::wstring wide = WideFromGbk(std::string_view(text).substr(segment.start, segment.length));
        if (!wide.empty()) GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &extent);
        if (scrolls && p.y + extent.cy > client.bottom) {
          const int distance = p.y + extent.cy + scrollMargin - client.bottom;
          ScrollUp(dc, distance);
          scrolled = true;
          p.y -= distance;
        }
        if (!wide.empty()) {
          TextOutW(dc, p.x, p.y, wide.data(), static_cast<int>(wide.size()));
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
