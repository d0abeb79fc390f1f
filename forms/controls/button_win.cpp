// Button: a standard push button raising Clicked.
#include <string>

#include "forms/component.h"
#include "forms/event_ids.h"
#include "forms/gdi_owners.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/gbk_text_win.h"

namespace {

constexpr PropertyRow kProperties[] = {
    {"picture", ValueKind::kPicture},
    {"buttonKind", ValueKind::kChoice, true, 0, 1},
    {"caption", ValueKind::kText},
    {"horizontalAlign", ValueKind::kChoice, true, 0, 2},
    {"verticalAlign", ValueKind::kChoice, true, 0, 2},
    {"font", ValueKind::kFont},
};

class Button final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    DWORD style = WS_TABSTOP | (kind_ == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    style |= horizontal_ == 0 ? BS_LEFT : horizontal_ == 2 ? BS_RIGHT : BS_CENTER;
    style |= vertical_ == 0 ? BS_TOP : vertical_ == 2 ? BS_BOTTOM : BS_VCENTER;
    if (!CreateControl(place, 0, L"BUTTON", caption_.c_str(), style)) return false;
    font_.Apply(control_);
    return true;
  }

  RawValue Read(int k) const override {
    switch (k + kFirstOwnProperty) {
      case kButtonPicture: { RawValue v; v.bytes = picture_; return v; }
      case kButtonKind: return NumberValue(kind_);
      case kButtonCaption: return TextValue(caption_);
      case kButtonHorizontalAlign: return NumberValue(horizontal_);
      case kButtonVerticalAlign: return NumberValue(vertical_);
      default: { RawValue v; v.font = font_.Stored(); return v; }
    }
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    const auto n = static_cast<std::int32_t>(value.number);
    switch (k + kFirstOwnProperty) {
      case kButtonPicture: picture_ = value.bytes; return WriteOutcome::kApplied;
      case kButtonKind: kind_ = n; return RecreateIfLive();
      case kButtonCaption:
        caption_ = value.text;
        if (control_) SetWindowTextGbk(control_, caption_);
        return WriteOutcome::kApplied;
      case kButtonHorizontalAlign: horizontal_ = n; return RecreateIfLive();
      case kButtonVerticalAlign: vertical_ = n; return RecreateIfLive();
      default: font_.Store(value.font); font_.Apply(control_); return WriteOutcome::kApplied;
    }
  }

  void OnCommand(int code) override {
    if (code == BN_CLICKED) Raise(kButtonClicked);
  }

 private:

  std::vector<std::uint8_t> picture_;
  std::int32_t kind_ = 0;
  std::string caption_;
  std::int32_t horizontal_ = 1, vertical_ = 1;
  ControlFont font_;
};

}  // namespace

void RegisterButtonType() {
  static constexpr ComponentType kType{kTypeButton, "按钮", "Button", kTypeRaisesEvents, kProperties,
                                       [] { return std::unique_ptr<Component>(new Button); }};
  RegisterComponentType(kType);
}
