// What the drawing panel's files share: a window's client surface, a saved surface state, solid
// fills, rectangle arithmetic, value clamps, the coordinate units and the number of brush styles. Internal to canvas/.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "forms/component.h"
#include "frame/ground/values.h"

namespace panel_surface {

inline constexpr int kLastBrushStyle = 55;
// Mapping modes of coordinate units 1 to 5, and the font heights per inch of each unit (the first
// two are 1 / 0.00394 and 10 / 0.00394).
inline constexpr int kUnitMappingModes[] = {MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS};
inline constexpr double kUnitsPerInch[] = {253.8071065989848, 2538.0710659898477, 100.0, 1000.0, 1440.0};

inline std::int32_t Clamp(std::int64_t value, std::int32_t low, std::int32_t high) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, low, high));
}

inline Colour ColourOf(const RawValue& value) { return static_cast<Colour>(static_cast<std::uint32_t>(value.number)); }

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

inline void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  // The surface's own colour brush: no brush object is made per fill.
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

inline RECT Intersection(const RECT& a, const RECT& b) {
  RECT both{};
  IntersectRect(&both, &a, &b);
  return both;
}

inline RECT Union(const RECT& a, const RECT& b) {
  RECT either{};
  UnionRect(&either, &a, &b);
  return either;
}

// A rectangle in the surface's unit as device pixels, left above right and top above bottom.
inline RECT DeviceRect(HDC dc, const RECT& logical) {
  POINT corners[2] = {{logical.left, logical.top}, {logical.right, logical.bottom}};
  LPtoDP(dc, corners, 2);
  return RECT{std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
              std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y)};
}

}  // namespace panel_surface
