// EditBox: a standard edit control. ContentChanged is raised once per write of `content` (after
// the new text is in place) and on every change the user makes.
#include <string>

#include "forms/component.h"
#include "forms/event_ids.h"
#include "forms/form.h"
#include "forms/gbk_input_win.h"
#include "forms/gdi_owners.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/gbk_text_win.h"

namespace {

constexpr PropertyRow kProperties[] = {
    {"content", ValueKind::kText},
    {"border", ValueKind::kChoice, true, 0, 5},
    {"textColor", ValueKind::kColour},
    {"backColor", ValueKind::kBackColour},
    {"font", ValueKind::kFont},
    {"hideSelection", ValueKind::kTruth},
    {"maxLength", ValueKind::kInteger, true, 0, 0x7FFFFFFF},
    {"multiLine", ValueKind::kTruth},
    {"scrollBars", ValueKind::kChoice, true, 0, 3},
    {"alignment", ValueKind::kChoice, true, 0, 2},
    {"inputMode", ValueKind::kChoice},
    {"passwordChar", ValueKind::kText},
    {"letterCase", ValueKind::kChoice, true, 0, 2},
};

class EditBox final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    DWORD style = WS_TABSTOP | ES_AUTOHSCROLL | (hideSelection_ ? 0 : ES_NOHIDESEL);
    if (multiLine_) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (scrollBars_ & 1) style |= WS_HSCROLL;
    if (scrollBars_ & 2) style |= WS_VSCROLL;
    style |= alignment_ == 1 ? ES_CENTER : alignment_ == 2 ? ES_RIGHT : ES_LEFT;
    if (inputMode_ == 1) style |= ES_READONLY;
    if (inputMode_ == 2) style |= ES_PASSWORD;
    if (letterCase_ == 1) style |= ES_UPPERCASE;
    if (letterCase_ == 2) style |= ES_LOWERCASE;
    const DWORD exStyle = border_ == 1 || border_ == 3 ? WS_EX_CLIENTEDGE : 0;
    if (border_ == 2 || border_ >= 4) style |= WS_BORDER;
    settingText_ = true;
    const bool created = CreateControl(place, exStyle, L"EDIT", content_.c_str(), style) != nullptr;
    settingText_ = false;
    if (!created) return false;
    font_.Apply(control_);
    RefuseCharactersGbkLacks(control_);
    SendMessageW(control_, EM_LIMITTEXT, maxLength_ > 0 ? maxLength_ : 0, 0);
    if (inputMode_ == 2 && !passwordChar_.empty()) {
      // The mask is the first character of the text, a whole GBK character, not its first byte.
      const std::wstring mask = WideFromGbk(passwordChar_);
      if (!mask.empty()) SendMessageW(control_, EM_SETPASSWORDCHAR, mask[0], 0);
    }
    return true;
  }

  RawValue Read(int k) const override {
    switch (k + kFirstOwnProperty) {
      case kEditContent: return TextValue(LiveContent());
      case kEditBorder: return NumberValue(border_);
      case kEditTextColor: return NumberValue(textColor_);
      case kEditBackColor: return NumberValue(backColor_);
      case kEditFont: { RawValue v; v.font = font_.Stored(); return v; }
      case kEditHideSelection: return NumberValue(hideSelection_);
      case kEditMaxLength: return NumberValue(maxLength_);
      case kEditMultiLine: return NumberValue(multiLine_);
      case kEditScrollBars: return NumberValue(scrollBars_);
      case kEditAlignment: return NumberValue(alignment_);
      case kEditInputMode: return NumberValue(inputMode_);
      case kEditPasswordChar: return TextValue(passwordChar_);
      default: return NumberValue(letterCase_);
    }
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    const auto n = static_cast<std::int32_t>(value.number);
    switch (k + kFirstOwnProperty) {
      case kEditContent:
        content_ = value.text;
        if (control_) {
          // The control's own change notice is held back so the event comes exactly once.
          settingText_ = true;
          SetWindowTextGbk(control_, content_);
          settingText_ = false;
          Raise(kEditContentChanged);
        }
        return WriteOutcome::kApplied;
      case kEditBorder: border_ = n; return RecreateIfLive();
      case kEditTextColor: textColor_ = static_cast<COLORREF>(n); return Repaint();
      case kEditBackColor: backColor_ = static_cast<COLORREF>(n); return Repaint();
      case kEditFont: font_.Store(value.font); font_.Apply(control_); return WriteOutcome::kApplied;
      case kEditHideSelection: hideSelection_ = n != 0; return RecreateIfLive();
      case kEditMaxLength:
        maxLength_ = n;
        if (control_) SendMessageW(control_, EM_LIMITTEXT, n > 0 ? n : 0, 0);
        return WriteOutcome::kApplied;
      case kEditMultiLine: multiLine_ = n != 0; return RecreateIfLive();
      case kEditScrollBars: scrollBars_ = n; return RecreateIfLive();
      case kEditAlignment: alignment_ = n; return RecreateIfLive();
      case kEditInputMode: inputMode_ = n; return RecreateIfLive();
      case kEditPasswordChar: passwordChar_ = value.text.empty() ? "*" : value.text; return RecreateIfLive();
      case kEditPasswordChar + 1: letterCase_ = n; return RecreateIfLive();
      default: return WriteOutcome::kApplied;
    }
  }

  void DestroyControl() override {
    if (control_) content_ = LiveContent();
    Component::DestroyControl();
  }

  void OnCommand(int code) override {
    if (code == EN_CHANGE && !settingText_) Raise(kEditContentChanged);
  }

  HBRUSH OnColour(HDC dc) override {
    SetTextColor(dc, textColor_);
    HBRUSH brush = background_.For(backColor_);
    if (brush) SetBkColor(dc, backColor_);
    return brush ? brush : GetSysColorBrush(COLOR_WINDOW);
  }

 private:
  std::string LiveContent() const {
    return control_ ? WindowTextGbk(control_) : content_;
  }
  WriteOutcome Repaint() const {
    if (control_) InvalidateRect(control_, nullptr, TRUE);
    return WriteOutcome::kApplied;
  }

  std::string content_;
  std::int32_t border_ = 1;
  COLORREF textColor_ = 0;
  COLORREF backColor_ = 0xFF000000u;
  ControlFont font_;
  bool hideSelection_ = true;
  std::int32_t maxLength_ = 0;
  bool multiLine_ = false;
  std::int32_t scrollBars_ = 0, alignment_ = 0, inputMode_ = 0, letterCase_ = 0;
  std::string passwordChar_ = "*";
  bool settingText_ = false;
  ColourBrush background_;
};

}  // namespace

void RegisterEditBoxType() {
  static constexpr ComponentType kType{kTypeEditBox, "编辑框", "EditBox", kTypeRaisesEvents, kProperties,
                                       [] { return std::unique_ptr<Component>(new EditBox); }};
  RegisterComponentType(kType);
}
