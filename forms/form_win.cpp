#include "forms/form.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "forms/callback_guard.h"
#include "forms/display_metrics_win.h"
#include "forms/event_ids.h"
#include "forms/gdi_owners.h"
#include "forms/properties.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/error_report.h"
#include "frame/ground/event_record.h"
#include "frame/ground/gbk_text_win.h"

namespace {

constexpr const wchar_t* kFormClass = L"YjForm";
constexpr int kFirstControlId = 1000;

constexpr PropertyRow kWindowProperties[] = {
    {"title", ValueKind::kText},
    {"border", ValueKind::kChoice, true, 0, 6},
    {"backColor", ValueKind::kBackColour},
    {"picture", ValueKind::kPicture},
    {"pictureMode", ValueKind::kChoice, true, 0, 3},
    {"music", ValueKind::kSound},
    {"musicMode", ValueKind::kChoice},
    {"controlBox", ValueKind::kTruth},
    {"maximizeBox", ValueKind::kTruth},
    {"minimizeBox", ValueKind::kTruth},
    {"startPosition", ValueKind::kChoice, true, 0, 3},
    {"closeBox", ValueKind::kTruth},
    {"icon", ValueKind::kIcon},
    {"enterMovesFocus", ValueKind::kTruth},
    {"escCloses", ValueKind::kTruth},
    {"option23", ValueKind::kInteger},
    {"option24", ValueKind::kInteger},
    {"option25", ValueKind::kInteger},
    {"option26", ValueKind::kInteger},
    {"dragAnywhere", ValueKind::kTruth},
    {"shape", ValueKind::kChoice, true, 0, 31},
    {"topmost", ValueKind::kTruth},
    {"option30", ValueKind::kInteger},
    {"option31", ValueKind::kInteger},
};
constexpr int kWindowPropertyCount = static_cast<int>(std::size(kWindowProperties));
static_assert(kWindowPropertyCount == 24);

LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterFormClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FormProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFormClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  return registered;
}

HRGN ShapeRegion(int shape, int width, int height) {
  switch (shape) {
    case 1: return CreateEllipticRgn(0, 0, width + 1, height + 1);
    case 2: {
      const int corner = std::min(width / 5, height / 5);
      return CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner);
    }
    case 3: {
      HRGN ring = CreateEllipticRgn(0, 0, width + 1, height + 1);
      UniqueRegion inner(CreateEllipticRgn(width / 4, height / 4, width - width / 4 + 1, height - height / 4 + 1));
      CombineRgn(ring, ring, inner.Get(), RGN_DIFF);
      return ring;
    }
    default: {
      if (shape < 4) return nullptr;
      // The predefined outlines: a diamond for even numbers, a triangle pointing up for odd ones.
      POINT diamond[] = {{width / 2, 0}, {width, height / 2}, {width / 2, height}, {0, height / 2}};
      POINT triangle[] = {{width / 2, 0}, {width, height}, {0, height}};
      return shape % 2 == 0 ? CreatePolygonRgn(diamond, 4, WINDING) : CreatePolygonRgn(triangle, 3, WINDING);
    }
  }
}

// The window unit's own state: the window properties and the live window.
class FormWindow final : public Component {
 public:
  void Attach(WindowRecord* record) { record_ = record; }

  bool Create(const ControlPlace& place) override {
    if (!RegisterFormClass() || !record_) return false;
    Unit& unit = record_->WindowUnit();
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    const bool caption = !title_.empty() || controlBox_;
    if (border_ != 0) {
      if (caption) style |= WS_CAPTION;
      if (controlBox_) style |= WS_SYSMENU;
      switch (border_) {
        case 1: style |= WS_THICKFRAME; break;
        case 2: style |= WS_BORDER; break;
        case 3: style |= WS_THICKFRAME; exStyle |= WS_EX_TOOLWINDOW; break;
        case 4: style |= WS_BORDER; exStyle |= WS_EX_TOOLWINDOW; break;
        case 5: style |= WS_THICKFRAME; exStyle |= WS_EX_CLIENTEDGE; break;
        default: style |= WS_BORDER; exStyle |= WS_EX_CLIENTEDGE; break;
      }
      if (maximizeBox_) style |= WS_MAXIMIZEBOX;
      if (minimizeBox_) style |= WS_MINIMIZEBOX;
    }
    if (topmost_) exStyle |= WS_EX_TOPMOST;
    if (startPosition_ == 1) {
      // Integer halving, replacing the stored position.
      unit.left = (GetSystemMetrics(SM_CXSCREEN) - unit.width) / 2;
      unit.top = (GetSystemMetrics(SM_CYSCREEN) - unit.height) / 2;
    }
    control_ = CreateWindowExW(exStyle, kFormClass, WideFromGbk(title_).c_str(), style, unit.left, unit.top, unit.width,
                               unit.height, place.parent, nullptr, GetModuleHandleW(nullptr), record_);
    if (!control_) return false;
    if (!closeBox_) DeleteMenu(GetSystemMenu(control_, FALSE), SC_CLOSE, MF_BYCOMMAND);
    if (HRGN region = ShapeRegion(shape_, unit.width, unit.height)) {
      // The window owns the region from here on.
      if (!SetWindowRgn(control_, region, FALSE)) DeleteObject(region);
    }
    record_->topmost = topmost_;
    return true;
  }

  RawValue Read(int k) const override {
    switch (k + kFirstOwnProperty) {
      case kWindowTitle: return TextValue(control_ ? LiveTitle() : title_);
      case kWindowBorder: return NumberValue(border_);
      case kWindowBackColor: return NumberValue(backColor_);
      case kWindowPicture: { RawValue v; v.bytes = picture_; return v; }
      case kWindowIcon: { RawValue v; v.bytes = icon_; return v; }
      case kWindowControlBox: return NumberValue(controlBox_);
      case kWindowMaximizeBox: return NumberValue(maximizeBox_);
      case kWindowMinimizeBox: return NumberValue(minimizeBox_);
      case kWindowStartPosition:
        if (control_) return NumberValue(IsIconic(control_) ? 2 : IsZoomed(control_) ? 3 : 0);
        return NumberValue(startPosition_);
      case kWindowCloseBox: return NumberValue(closeBox_);
      case kWindowEnterMovesFocus: return NumberValue(enterMovesFocus_);
      case kWindowEscCloses: return NumberValue(escCloses_);
      case kWindowDragAnywhere: return NumberValue(dragAnywhere_);
      case kWindowShape: return NumberValue(shape_);
      case kWindowTopmost: return NumberValue(topmost_);
      default: return NumberValue(k >= 0 && k < kWindowPropertyCount ? other_[k] : 0);
    }
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    const auto n = static_cast<std::int32_t>(value.number);
    switch (k + kFirstOwnProperty) {
      case kWindowTitle:
        title_ = value.text;
        if (control_) SetWindowTextGbk(control_, title_);
        break;
      case kWindowBorder: border_ = n; break;
      case kWindowBackColor:
        backColor_ = static_cast<COLORREF>(value.number);
        if (control_) InvalidateRect(control_, nullptr, TRUE);
        break;
      case kWindowPicture: picture_ = value.bytes; break;
      case kWindowIcon: icon_ = value.bytes; break;
      case kWindowControlBox: controlBox_ = n != 0; break;
      case kWindowMaximizeBox: maximizeBox_ = n != 0; break;
      case kWindowMinimizeBox: minimizeBox_ = n != 0; break;
      case kWindowStartPosition:
        startPosition_ = n;
        if (control_ && n >= 2) ShowWindow(control_, n == 2 ? SW_MINIMIZE : SW_MAXIMIZE);
        break;
      case kWindowCloseBox: closeBox_ = n != 0; break;
      case kWindowEnterMovesFocus: enterMovesFocus_ = n != 0; break;
      case kWindowEscCloses: escCloses_ = n != 0; break;
      case kWindowDragAnywhere: dragAnywhere_ = n != 0; break;
      case kWindowShape:
        shape_ = n;
        if (control_) {
          RECT rect{};
          GetWindowRect(control_, &rect);
          HRGN region = ShapeRegion(shape_, rect.right - rect.left, rect.bottom - rect.top);
          if (!SetWindowRgn(control_, region, TRUE) && region) DeleteObject(region);
        }
        break;
      case kWindowTopmost:
        topmost_ = n != 0;
        if (control_) {
          SetWindowPos(control_, topmost_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        break;
      default:
        if (k >= 0 && k < kWindowPropertyCount) other_[k] = n;
        break;
    }
    return WriteOutcome::kApplied;
  }

  void DestroyControl() override {
    if (control_) DestroyWindow(control_);
    control_ = nullptr;
  }

  HBRUSH Background() { return brush_.For(backColor_); }
  bool EscCloses() const { return escCloses_; }
  bool EnterMovesFocus() const { return enterMovesFocus_; }
  bool DragAnywhere() const { return dragAnywhere_; }
  int StartPosition() const { return startPosition_; }

 private:
  std::string LiveTitle() const { return WindowTextGbk(control_); }

  WindowRecord* record_ = nullptr;
  std::string title_;
  std::int32_t border_ = 2;
  COLORREF backColor_ = 0xFF000000u;
  std::vector<std::uint8_t> picture_, icon_;
  bool controlBox_ = true, maximizeBox_ = false, minimizeBox_ = true, closeBox_ = true;
  std::int32_t startPosition_ = 0;
  bool enterMovesFocus_ = false, escCloses_ = false, dragAnywhere_ = false, topmost_ = false;
  std::int32_t shape_ = 0;
  std::int32_t other_[kWindowPropertyCount] = {};
  ColourBrush brush_;
};

FormWindow* FormOf(WindowRecord& record) {
  return static_cast<FormWindow*>(record.WindowUnit().component.get());
}

void RaiseWindowEvent(WindowRecord& record, std::int32_t event, std::int32_t* result = nullptr,
                      bool* answered = nullptr) {
  if (Recreating()) return;
  EventRecord eventRecord{};
  eventRecord.windowId = record.Id();
  eventRecord.unitId = record.WindowUnit().Id();
  eventRecord.eventNumber = event;
  NotifyFrame(kNoticeRaiseEvent, reinterpret_cast<std::intptr_t>(&eventRecord));
  if (answered) *answered = eventRecord.hasResult != 0;
  if (result && eventRecord.hasResult) *result = eventRecord.result;
}

Component* ControlComponent(HWND control) { return ComponentOfControl(control); }

// The form's procedure: one case per message, each handing over to a typed handler.
LRESULT OnFormClose(WindowRecord& record) {
  std::int32_t result = 1;
  bool answered = false;
  const HWND window = record.window;
  RaiseWindowEvent(record, kWindowMayClose, &result, &answered);
  if (answered && result == 0) return 0;
  if (IsWindow(window)) DestroyWindow(window);
  return 0;
}

LRESULT OnFormNcDestroy(WindowRecord& record) {
  for (Unit& unit : record.units) {
    if (unit.component) unit.component->ForgetControl();
    unit.live = false;
  }
  const std::uint32_t windowId = record.Id();
  const std::uint32_t unitId = record.WindowUnit().Id();
  NotifyFrame(kNoticeObjectDestroyed, static_cast<std::intptr_t>(windowId), static_cast<std::intptr_t>(unitId));
  return 0;
}

LRESULT OnFormTimer(WindowRecord& record, WPARAM timerId) {
  if (Unit* unit = FindUnit(record, static_cast<std::uint32_t>(timerId))) {
    if (unit->component && unit->live) unit->component->OnTimer();
  }
  return 0;
}

LRESULT OnFormColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Component* component = ControlComponent(reinterpret_cast<HWND>(lParam))) {
    if (HBRUSH brush = component->OnColour(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT OnFormEraseBackground(WindowRecord& record, HWND window, HDC dc) {
  HBRUSH brush = FormOf(record)->Background();
  if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, brush);
  return 1;
}

LRESULT OnFormHitTest(WindowRecord& record, HWND window, WPARAM wParam, LPARAM lParam) {
  const LRESULT hit = DefWindowProcW(window, WM_NCHITTEST, wParam, lParam);
  // Labels, picture boxes and group boxes let the mouse through to the form, so they drag it too.
  return hit == HTCLIENT && FormOf(record)->DragAnywhere() ? HTCAPTION : hit;
}

// Remembers the focused unit when the window is left; the default handling then gives the window
// the focus on return, which passes it on by the focus rule.
LRESULT OnFormActivate(WindowRecord& record, HWND window, WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(record.window, focus)) record.lastFocus = focus;
  }
  return DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
}

LRESULT OnFormCommand(LPARAM lParam, WPARAM wParam) {
  if (Component* c = ControlComponent(reinterpret_cast<HWND>(lParam))) c->OnCommand(HIWORD(wParam));
  return 0;
}

LRESULT OnFormNotify(const NMHDR& header) {
  Component* c = ControlComponent(header.hwndFrom);
  return c ? c->OnNotify(header) : 0;
}

LRESULT OnFormScroll(HWND control, int code) {
  if (Component* c = ControlComponent(control)) c->OnScroll(code);
  return 0;
}

LRESULT OnFormDrawItem(const DRAWITEMSTRUCT& item) {
  Component* c = ControlComponent(item.hwndItem);
  return c && c->OnDrawItem(item) ? TRUE : FALSE;
}

LRESULT OnFormMovedOrResized(WindowRecord& record, std::int32_t event) {
  if (!record.creating) RaiseWindowEvent(record, event);
  return 0;
}

LRESULT OnFormShown(WindowRecord& record, bool shown) {
  RaiseWindowEvent(record, shown ? kWindowShown : kWindowHidden);
  return 0;
}

LRESULT OnFormDestroy(WindowRecord& record) {
  RaiseWindowEvent(record, kWindowDestroyed);
  return 0;
}

LRESULT OnFormSetFocus(WindowRecord& record) {
  FocusByRule(record);
  return 0;
}

LRESULT OnDeferredDestroy(WindowRecord& record, HWND window) {
  if (record.pendingDestroy) {
    record.pendingDestroy = false;
    DestroyWindow(window);
  }
  return 0;
}

LRESULT HandleFormMessage(WindowRecord& record, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: return OnFormCommand(lParam, wParam);
    case WM_NOTIFY: return OnFormNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_HSCROLL:
    case WM_VSCROLL: return OnFormScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: return OnFormColour(window, message, wParam, lParam);
    case WM_DRAWITEM: return OnFormDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_TIMER: return OnFormTimer(record, wParam);
    case WM_ERASEBKGND: return OnFormEraseBackground(record, window, reinterpret_cast<HDC>(wParam));
    case WM_NCHITTEST: return OnFormHitTest(record, window, wParam, lParam);
    case WM_ACTIVATE: return OnFormActivate(record, window, wParam, lParam);
    case WM_SETFOCUS: return OnFormSetFocus(record);
    case WM_CLOSE: return OnFormClose(record);
    case WM_DESTROY: return OnFormDestroy(record);
    case WM_NCDESTROY: return OnFormNcDestroy(record);
    case WM_MOVE: return OnFormMovedOrResized(record, kWindowMoved);
    case WM_SIZE: return OnFormMovedOrResized(record, kWindowResized);
    case WM_SHOWWINDOW: return OnFormShown(record, wParam != 0);
    case kDeferredDestroyMessage: return OnDeferredDestroy(record, window);
    case WM_DISPLAYCHANGE:
      OnDisplayChanged(window, wParam, lParam);
      return DefWindowProcW(window, message, wParam, lParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* record = static_cast<WindowRecord*>(create->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
    if (record) record->window = window;
  }
  auto* record = reinterpret_cast<WindowRecord*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!record || WindowMapReleased()) return DefWindowProcW(window, message, wParam, lParam);
  return GuardedCallback([&] { return HandleFormMessage(*record, window, message, wParam, lParam); });
}

bool IsEditControl(HWND window) {
  wchar_t className[16] = L"";
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  return lstrcmpiW(className, L"Edit") == 0;
}

bool CanTakeFocus(const Unit& unit) {
  const HWND handle = unit.LiveControl();
  return (unit.flags & kUnitFocusable) && handle && IsWindowVisible(handle) && IsWindowEnabled(handle);
}

Unit* FocusCandidate(WindowRecord& record) {
  Unit* best = nullptr;
  // Ascending unit index with <=: a tie goes to the unit with the highest index.
  for (std::size_t i = 1; i < record.units.size(); ++i) {
    Unit& unit = record.units[i];
    if (CanTakeFocus(unit) && (!best || unit.row->focusOrder <= best->row->focusOrder)) best = &unit;
  }
  return best;
}

void MoveFocus(WindowRecord& record, bool backwards) {
  std::vector<Unit*> order;
  for (std::size_t i = 1; i < record.units.size(); ++i) {
    if (CanTakeFocus(record.units[i])) order.push_back(&record.units[i]);
  }
  if (order.empty()) return;
  // Focus order first; equal orders go from the highest unit index down, as the focus rule does.
  std::stable_sort(order.begin(), order.end(), [&](const Unit* a, const Unit* b) {
    if (a->row->focusOrder != b->row->focusOrder) return a->row->focusOrder < b->row->focusOrder;
    return a->row->id > b->row->id;
  });
  const HWND focus = GetFocus();
  std::size_t at = order.size();
  for (std::size_t i = 0; i < order.size(); ++i) {
    const HWND handle = order[i]->LiveControl();
    if (handle == focus || IsChild(handle, focus)) at = i;
  }
  std::size_t next = 0;
  if (at < order.size()) next = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
  SetFocus(order[next]->LiveControl());
}

}  // namespace

void RegisterWindowType() {
  static constexpr ComponentType kType{kTypeWindow, "窗口", "window", kTypeRaisesEvents | kTypeIsWindow,
                                       kWindowProperties, [] { return std::unique_ptr<Component>(new FormWindow); }};
  RegisterComponentType(kType);
}

bool CreateForm(WindowRecord& record, HWND owner) {
  FormWindow* form = FormOf(record);
  if (!form) return false;
  form->Attach(&record);
  record.creating = true;
  if (!form->Create(ControlPlace{owner, {}, 0, true})) {
    record.creating = false;
    record.window = nullptr;
    return false;
  }
  record.window = form->Control();
  record.WindowUnit().live = true;
  // Descending unit ids: a container is created before the units inside it. Each new control goes
  // on top, so a unit lies above its group box.
  for (std::size_t i = record.units.size(); i-- > 1;) {
    Unit& unit = record.units[i];
    if (!unit.component) continue;
    const POINT origin = ContainerOrigin(record, unit);
    ControlPlace place{record.window,
                       {origin.x + unit.left, origin.y + unit.top, origin.x + unit.left + unit.width,
                        origin.y + unit.top + unit.height},
                       kFirstControlId + static_cast<int>(i), !(unit.flags & kUnitDisabled)};
    if (!unit.component->Create(place)) {
      record.creating = false;
      DestroyWindow(record.window);
      return false;
    }
    unit.live = true;
    if (HWND handle = unit.component->Control()) {
      SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  // Each unit on the form itself, and with it whatever it holds.
  for (std::size_t i = 1; i < record.units.size(); ++i) {
    const std::uint32_t container = record.units[i].row->container;
    if (!container || !FindUnit(record, container)) ApplyUnitVisibility(record, record.units[i]);
  }
  record.creating = false;
  const HWND window = record.window;
  RaiseWindowEvent(record, kWindowCreated);
  if (record.window == window && IsWindow(window)) RaiseWindowEvent(record, kWindowMoved);
  if (record.window == window && IsWindow(window)) RaiseWindowEvent(record, kWindowResized);
  return true;
}

std::uint32_t ShowForm(WindowRecord& record, int runMode) {
  if (!record.window) return 0;
  int show = SW_SHOW;
  if (runMode != 0) {
    const int state = FormOf(record)->StartPosition();
    show = state == 2 ? SW_SHOWMINIMIZED : state == 3 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  }
  ShowWindow(record.window, show);
  SetForegroundWindow(record.window);
  FocusByRule(record);
  const HWND focus = GetFocus();
  for (Unit& unit : record.units) {
    const HWND handle = unit.LiveControl();
    if (handle && focus && (handle == focus || IsChild(handle, focus))) return unit.Id();
  }
  return 0;
}

void FocusByRule(WindowRecord& record) {
  if (!record.window) return;
  if (record.lastFocus && IsChild(record.window, record.lastFocus) && IsWindowVisible(record.lastFocus) &&
      IsWindowEnabled(record.lastFocus)) {
    SetFocus(record.lastFocus);
    return;
  }
  if (Unit* unit = FocusCandidate(record)) SetFocus(unit->LiveControl());
}

bool PreTranslateFormMessage(const MSG& message) {
  if (message.message != WM_KEYDOWN || !message.hwnd) return false;
  WindowRecord* record = FindWindowRecordByHandle(GetAncestor(message.hwnd, GA_ROOT));
  if (!record || WindowMapReleased()) return false;
  FormWindow* form = FormOf(*record);
  switch (message.wParam) {
    case VK_TAB:
      MoveFocus(*record, GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_RETURN:
      if (!form->EnterMovesFocus()) return false;
      // A multi-line edit box keeps its Enter.
      if ((GetWindowLongPtrW(message.hwnd, GWL_STYLE) & ES_MULTILINE) && IsEditControl(message.hwnd)) return false;
      MoveFocus(*record, false);
      return true;
    case VK_ESCAPE:
      if (!form->EscCloses()) return false;
      PostMessageW(record->window, WM_CLOSE, 0, 0);
      return true;
    case 'A': {
      // Ctrl+A selects all of an edit box's text, as people expect of every text field; the
      // standard single-line edit control does not do it on its own.
      if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
      if (!IsEditControl(message.hwnd)) return false;
      SendMessageW(message.hwnd, EM_SETSEL, 0, -1);
      return true;
    }
    default:
      return false;
  }
}

HBRUSH FormBackgroundBrush(HWND form) {
  WindowRecord* record = FindWindowRecordByHandle(form);
  return record ? FormOf(*record)->Background() : nullptr;
}

void ApplyUnitVisibility(std::uint32_t windowId, std::uint32_t unitId) {
  WindowRecord* record = FindWindowRecord(windowId);
  Unit* unit = record ? FindUnit(*record, unitId) : nullptr;
  if (!unit || unit == &record->WindowUnit()) return;
  ApplyUnitVisibility(*record, *unit);
}
