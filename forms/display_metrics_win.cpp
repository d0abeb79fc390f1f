#include "forms/display_metrics_win.h"

namespace {

// Only the window thread draws, so the cache needs no lock.
bool gKnown = false;
DisplayMetrics gMetrics;

BOOL CALLBACK TellControl(HWND child, LPARAM message) {
  const auto* original = reinterpret_cast<const MSG*>(message);
  SendMessageW(child, WM_DISPLAYCHANGE, original->wParam, original->lParam);
  return TRUE;
}

}  // namespace

const DisplayMetrics& CurrentDisplayMetrics() {
  if (!gKnown) {
    if (HDC screen = GetDC(nullptr)) {
      const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
      gMetrics.pixelsPerInchY = dpi > 0 ? dpi : 96;
      gMetrics.bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
      ReleaseDC(nullptr, screen);
      gKnown = true;
    }
  }
  return gMetrics;
}

void OnDisplayChanged(HWND topLevel, WPARAM wParam, LPARAM lParam) {
  gKnown = false;
  MSG message{};
  message.wParam = wParam;
  message.lParam = lParam;
  EnumChildWindows(topLevel, TellControl, reinterpret_cast<LPARAM>(&message));
}

int DisplayStretchMode() { return CurrentDisplayMetrics().bitsPerPixel > 16 ? HALFTONE : COLORONCOLOR; }

void ApplyDisplayStretchMode(HDC dc) {
  const int mode = DisplayStretchMode();
  SetStretchBltMode(dc, mode);
  if (mode == HALFTONE) SetBrushOrgEx(dc, 0, 0, nullptr);
}
