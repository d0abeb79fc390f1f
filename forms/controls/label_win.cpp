// Label: a static text. Its drawing options other than caption, font and colours are kept as
// stored values only.
#include <string>

#include "forms/component.h"
#include "forms/form.h"
#include "forms/gdi_owners.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/gbk_text_win.h"

namespace {

constexpr PropertyRow kProperties[] = {
    {"caption", ValueKind::kText},
    {"option9", ValueKind::kInteger}, {"option10", ValueKind::kInteger}, {"option11", ValueKind::kInteger},
    {"option12", ValueKind::kInteger}, {"option13", ValueKind::kInteger}, {"option14", ValueKind::kInteger},
    {"font", ValueKind::kFont},
    {"textColor", ValueKind::kColour},
    {"backColor", ValueKind::kBackColour},
    {"picture", ValueKind::kPicture},
    {"option19", ValueKind::kInteger}, {"option20", ValueKind::kInteger}, {"option21", ValueKind::kInteger},
    {"option22", ValueKind::kInteger}, {"option23", ValueKind::kInteger}, {"option24", ValueKind::kInteger},
    {"option25", ValueKind::kInteger}, {"option26", ValueKind::kInteger}, {"option27", ValueKind::kInteger},
    {"option28", ValueKind::kInteger},
};
constexpr int kPropertyCount = static_cast<int>(std::size(kProperties));

class Label final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    if (!CreateControl(place, 0, L"STATIC", caption_.c_str(), SS_LEFTNOWORDWRAP | SS_NOPREFIX)) return false;
    font_.Apply(control_);
    FitTextStyle();
    return true;
  }

  RawValue Read(int k) const override {
    switch (k + kFirstOwnProperty) {
      case kLabelCaption: return TextValue(caption_);
      case kLabelFont: { RawValue v; v.font = font_.Stored(); return v; }
      case kLabelTextColor: return NumberValue(textColor_);
      case kLabelBackColor: return NumberValue(backColor_);
      case kLabelPicture: { RawValue v; v.bytes = picture_; return v; }
      default: return NumberValue(k >= 0 && k < kPropertyCount ? options_[k] : 0);
    }
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    switch (k + kFirstOwnProperty) {
      case kLabelCaption:
        // The same caption again changes nothing on the screen: it is not set and not repainted.
        if (value.text == caption_) break;
        caption_ = value.text;
        if (control_) SetWindowTextGbk(control_, caption_);
        FitTextStyle();
        break;
      case kLabelFont: font_.Store(value.font); font_.Apply(control_); FitTextStyle(); break;
      case kLabelTextColor: textColor_ = static_cast<COLORREF>(value.number); Repaint(); break;
      case kLabelBackColor: backColor_ = static_cast<COLORREF>(value.number); Repaint(); break;
      case kLabelPicture: picture_ = value.bytes; break;
      default:
        if (k >= 0 && k < kPropertyCount) options_[k] = static_cast<std::int32_t>(value.number);
        break;
    }
    return WriteOutcome::kApplied;
  }

  HBRUSH OnColour(HDC dc) override {
    SetTextColor(dc, textColor_);
    SetBkMode(dc, TRANSPARENT);
    HBRUSH brush = background_.For(backColor_);
    if (!brush) brush = FormBackgroundBrush(GetParent(control_));
    return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
  }

 private:
  // A caption is one line, vertically centred, clipped at its end rather than wrapped; only a
  // caption that holds a line break, in a label tall enough for two of its lines, takes two.
  void FitTextStyle() const {
    if (!control_) return;
    bool twoLines = false;
    if (caption_.find('\n') != std::string::npos) {
      RECT client{};
      GetClientRect(control_, &client);
      TEXTMETRICW metrics{};
      if (HDC dc = GetDC(control_)) {
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control_, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(control_, dc);
      }
      twoLines = metrics.tmHeight > 0 && client.bottom - client.top >= 2 * metrics.tmHeight;
    }
    const LONG style = GetWindowLongW(control_, GWL_STYLE) & ~(SS_TYPEMASK | SS_CENTERIMAGE);
    SetWindowLongW(control_, GWL_STYLE, style | (twoLines ? SS_LEFT : SS_LEFTNOWORDWRAP | SS_CENTERIMAGE));
    Repaint();
  }

  void Repaint() const {
    if (control_) InvalidateRect(control_, nullptr, TRUE);
  }

  std::string caption_;
  ControlFont font_;
  COLORREF textColor_ = 0;
  COLORREF backColor_ = 0xFF000000u;
  std::vector<std::uint8_t> picture_;
  std::int32_t options_[kPropertyCount] = {};
  ColourBrush background_;
};

}  // namespace

void RegisterLabelType() {
  static constexpr ComponentType kType{kTypeLabel, "标签", "Label", kTypeRaisesEvents, kProperties,
                                       [] { return std::unique_ptr<Component>(new Label); }};
  RegisterComponentType(kType);
}
