// Owners for drawing surfaces and the objects selected into them. A selection is undone before the
// surface or the object goes: members are declared so that the selection is destroyed first.
#pragma once

#include <windows.h>

#include <utility>

#include "forms/display_metrics_win.h"
#include "forms/gdi_owners.h"

using UniqueBitmap = UniqueGdiObject<HBITMAP>;

// A memory surface made with CreateCompatibleDC; deleted with DeleteDC.
class MemorySurface {
 public:
  explicit MemorySurface(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;
  ~MemorySurface() {
    if (dc_) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// The screen's surface for the lifetime of the object.
class ScreenSurface {
 public:
  ScreenSurface() : dc_(GetDC(nullptr)) {}
  ScreenSurface(const ScreenSurface&) = delete;
  ScreenSurface& operator=(const ScreenSurface&) = delete;
  ~ScreenSurface() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// Selects an object into a surface and puts the previous one back when it goes.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
