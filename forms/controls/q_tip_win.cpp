// Q_tip: a balloon tool tip popped up at a screen point. The tip is a tracking tooltip, so it
// appears at once and stays where it was put; when it is not to stay, a timer of the form hides it
// after the display time.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "forms/component.h"
#include "forms/operations.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/gbk_text_win.h"

namespace {

constexpr PropertyRow kProperties[] = {
    {"displayTime", ValueKind::kInteger, true, 1, 0x7FFFFFFF},
    {"textColor", ValueKind::kColour},
    {"backColor", ValueKind::kColour},
};
constexpr std::int32_t kDefaultDisplayTime = 5000;

class QTip final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    form_ = place.parent;
    return true;
  }

  RawValue Read(int k) const override {
    return NumberValue(k == 0 ? displayTime_ : k == 1 ? textColour_ : backColour_);
  }
  WriteOutcome Write(int k, const RawValue& value) override {
    const auto n = static_cast<std::int32_t>(value.number);
    if (k == 0) displayTime_ = n;
    if (k == 1) textColour_ = n;
    if (k == 2) backColour_ = n;
    return WriteOutcome::kApplied;
  }

  void DestroyControl() override {
    if (form_) KillTimer(form_, ref_.unitId);
    if (tip_) DestroyWindow(tip_);
    tip_ = nullptr;
  }
  // The tip is owned by the form and goes with it.
  void ForgetControl() override {
    tip_ = nullptr;
    form_ = nullptr;
  }

  void OnTimer() override {
    if (waitingForForm_) {
      if (!IsWindowVisible(form_)) return;  // still hidden: look again at the next tick
      waitingForForm_ = false;
      KillTimer(form_, ref_.unitId);
      Show();
      return;
    }
    KillTimer(form_, ref_.unitId);
    if (tip_) SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_));
  }

  bool PopUp(int x, int y, const char* text, std::int32_t /*icon*/, std::int32_t stayMode) {
    if (!form_ || !EnsureTip()) return false;
    // The stored pictures for icons are not kept by this tip; the text shows alone.
    text_ = WideFromGbk(text);
    tool_.lpszText = text_.data();
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool_));
    SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
    stays_ = stayMode == 0;
    KillTimer(form_, ref_.unitId);
    // A form not yet on the screen (a balloon popped up while it is being created) would come up
    // over its own balloon: the balloon shows once the form does.
    waitingForForm_ = !IsWindowVisible(form_);
    if (waitingForForm_) {
      SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_));
      SetTimer(form_, ref_.unitId, kFormCheckInterval, nullptr);
    } else {
      Show();
    }
    return true;
  }

  HWND Tip() const { return tip_; }

 private:
  static constexpr UINT kFormCheckInterval = 50;

  void Show() {
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool_));
    SetWindowPos(tip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!stays_) SetTimer(form_, ref_.unitId, static_cast<UINT>(displayTime_), nullptr);
  }

  bool EnsureTip() {
    if (tip_) return true;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form_, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (!tip_) return false;
    tool_ = TTTOOLINFOW{};
    tool_.cbSize = TTTOOLINFOW_V1_SIZE;
    tool_.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool_.hwnd = form_;
    tool_.uId = ref_.unitId;
    tool_.lpszText = text_.data();
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
    SendMessageW(tip_, TTM_SETTIPTEXTCOLOR, static_cast<WPARAM>(textColour_), 0);
    SendMessageW(tip_, TTM_SETTIPBKCOLOR, static_cast<WPARAM>(backColour_), 0);
    return true;
  }

  HWND form_ = nullptr;
  HWND tip_ = nullptr;
  TTTOOLINFOW tool_{};
  std::wstring text_;  // the tip keeps a pointer to it
  bool stays_ = true;            // no stay mode given: the balloon stays until popped down
  bool waitingForForm_ = false;  // popped up while the form was hidden
  std::int32_t displayTime_ = kDefaultDisplayTime;
  std::int32_t textColour_ = 0;
  std::int32_t backColour_ = 0xE1FFFF;
};

}  // namespace

bool PopUpBalloon(Component& component, int x, int y, const char* text, std::int32_t icon, std::int32_t stayMode) {
  auto* tip = dynamic_cast<QTip*>(&component);
  return tip && tip->PopUp(x, y, text, icon, stayMode);
}

HWND BalloonWindow(const Component& component) {
  const auto* tip = dynamic_cast<const QTip*>(&component);
  return tip ? tip->Tip() : nullptr;
}

void RegisterQTipType() {
  static constexpr ComponentType kType{kTypeQTip, "气球提示框", "Q_tip", kTypeNonVisual, kProperties,
                                       [] { return std::unique_ptr<Component>(new QTip); }};
  RegisterComponentType(kType);
}
