// The drawing panel's window: its class and procedure, its creation and its messages, and the
// library notice that registers the type and the picture services.
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

constexpr const wchar_t* kDrawPanelClass = L"YjDrawPanel";

LRESULT CALLBACK DrawPanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterDrawPanelClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = DrawPanelProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = nullptr;  // the panel paints its whole background itself
  windowClass.lpszClassName = kDrawPanelClass;
  return RegisterClassExW(&windowClass) != 0;
}

DrawPanel* PanelOfWindow(HWND window) { return dynamic_cast<DrawPanel*>(ComponentOfControl(window)); }

LRESULT PanelMessage(DrawPanel& panel, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return panel.OnPaint();
    case WM_SIZE: return panel.OnSize(window, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_DISPLAYCHANGE: return panel.OnDisplayChange();
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK DrawPanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Messages of creation arrive before the window is tagged with its panel.
  DrawPanel* panel = PanelOfWindow(window);
  if (!panel) return DefWindowProcW(window, message, wParam, lParam);
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
  DefWindowProcW(window, WM_SIZE, wParam, lParam);
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
      GetObjectW(backing_.Get(), sizeof info, &info);
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
