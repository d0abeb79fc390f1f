// GroupBox: a group-box frame with its caption in the top edge, drawn in the caption colour.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "forms/callback_guard.h"
#include "forms/control_hooks_win.h"
#include "forms/component.h"
#include "forms/form.h"
#include "forms/gdi_owners.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/gbk_text_win.h"

namespace {

constexpr PropertyRow kProperties[] = {
    {"caption", ValueKind::kText},
    {"alignment", ValueKind::kChoice, true, 0, 2},
    {"textColor", ValueKind::kColour},
    {"backColor", ValueKind::kBackColour},
    {"font", ValueKind::kFont},
};

LRESULT GroupBoxHook(HWND, UINT, WPARAM, LPARAM, DWORD_PTR);

class GroupBox final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    const DWORD align = alignment_ == 1 ? BS_CENTER : alignment_ == 2 ? BS_RIGHT : BS_LEFT;
    if (!CreateControl(place, 0, L"BUTTON", caption_.c_str(), BS_GROUPBOX | align)) return false;
    // A group box paints its frame and caption only; the form does not paint beneath its children,
    // so the box fills its own inside.
    HookControl(control_, GroupBoxHook, reinterpret_cast<DWORD_PTR>(this));
    font_.Apply(control_);
    return true;
  }

  void DestroyControl() override {
    if (control_) UnhookControl(control_, GroupBoxHook);
    Component::DestroyControl();
  }

  LRESULT Subclassed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_ERASEBKGND: return OnErase(reinterpret_cast<HDC>(wParam));
      default: return CallNextHook(window, message, wParam, lParam);
    }
  }

  RawValue Read(int k) const override {
    switch (k + kFirstOwnProperty) {
      case kGroupCaption: return TextValue(caption_);
      case kGroupAlignment: return NumberValue(alignment_);
      case kGroupTextColor: return NumberValue(textColor_);
      case kGroupBackColor: return NumberValue(backColor_);
      default: { RawValue v; v.font = font_.Stored(); return v; }
    }
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    switch (k + kFirstOwnProperty) {
      case kGroupCaption:
        caption_ = value.text;
        if (control_) SetWindowTextGbk(control_, caption_);
        return WriteOutcome::kApplied;
      case kGroupAlignment:
        alignment_ = static_cast<std::int32_t>(value.number);
        return control_ ? WriteOutcome::kRecreate : WriteOutcome::kApplied;
      case kGroupTextColor: textColor_ = static_cast<COLORREF>(value.number); break;
      case kGroupBackColor: backColor_ = static_cast<COLORREF>(value.number); break;
      default: font_.Store(value.font); font_.Apply(control_); break;
    }
    if (control_) InvalidateRect(control_, nullptr, TRUE);
    return WriteOutcome::kApplied;
  }

  HBRUSH OnColour(HDC dc) override {
    SetTextColor(dc, textColor_);
    SetBkMode(dc, TRANSPARENT);
    return Background();
  }

 private:
  HBRUSH Background() {
    HBRUSH brush = background_.For(backColor_);
    if (!brush) brush = FormBackgroundBrush(GetParent(control_));
    return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
  }
  LRESULT OnErase(HDC dc) {
    RECT client{};
    GetClientRect(control_, &client);
    FillRect(dc, &client, Background());
    return 1;
  }

  std::string caption_;
  std::int32_t alignment_ = 0;
  COLORREF textColor_ = 0;
  COLORREF backColor_ = 0xFF000000u;
  ControlFont font_;
  ColourBrush background_;
};

LRESULT GroupBoxHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data) {
  return GuardedCallback([&] { return reinterpret_cast<GroupBox*>(data)->Subclassed(window, message, wParam, lParam); });
}

}  // namespace

void RegisterGroupBoxType() {
  static constexpr ComponentType kType{kTypeGroupBox, "分组框", "GroupBox", kTypeRaisesEvents | kTypeContainer,
                                       kProperties, [] { return std::unique_ptr<Component>(new GroupBox); }};
  RegisterComponentType(kType);
}
