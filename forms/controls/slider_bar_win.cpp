// SliderBar: a trackbar. Range, position and selection are stored, so a re-created control (after
// `vertical`, `tickMarks` or `showSelection` changed) comes back where it was.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "forms/component.h"
#include "forms/event_ids.h"
#include "forms/form.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"

namespace {

constexpr std::int32_t kSliderLimit = 32767;

constexpr PropertyRow kProperties[] = {
    {"border", ValueKind::kChoice, true, 0, 5},
    {"vertical", ValueKind::kInteger, true, 0, 1},
    {"tickMarks", ValueKind::kChoice, true, 0, 3},
    {"tickFrequency", ValueKind::kInteger, true, 0, kSliderLimit},
    {"showSelection", ValueKind::kTruth},
    {"selectionStart", ValueKind::kInteger, true, 0, kSliderLimit},
    {"selectionLength", ValueKind::kInteger, true, 0, kSliderLimit},
    {"pageSize", ValueKind::kInteger, true, 1, kSliderLimit},
    {"lineSize", ValueKind::kInteger, true, 1, kSliderLimit},
    {"minPosition", ValueKind::kInteger, true, 0, kSliderLimit},
    {"maxPosition", ValueKind::kInteger, true, 0, kSliderLimit},
    {"position", ValueKind::kInteger, true, 0, kSliderLimit},
};

class SliderBar final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    DWORD style = WS_TABSTOP | (vertical_ ? TBS_VERT : TBS_HORZ);
    switch (tickMarks_) {
      case 0: style |= TBS_NOTICKS; break;
      case 1: style |= TBS_AUTOTICKS | (vertical_ ? TBS_LEFT : TBS_TOP); break;
      case 3: style |= TBS_AUTOTICKS | TBS_BOTH; break;
      default: style |= TBS_AUTOTICKS | (vertical_ ? TBS_RIGHT : TBS_BOTTOM); break;
    }
    if (showSelection_) style |= TBS_ENABLESELRANGE;
    if (!CreateControl(place, 0, TRACKBAR_CLASSW, "", style)) return false;
    ApplyBorder();
    ApplyRange();
    ApplySteps();
    ApplySelection();
    ApplyPosition();
    return true;
  }

  RawValue Read(int k) const override {
    switch (k + kFirstOwnProperty) {
      case kSliderBorder: return NumberValue(border_);
      case kSliderVertical: return NumberValue(vertical_);
      case kSliderTickMarks: return NumberValue(tickMarks_);
      case kSliderTickFrequency: return NumberValue(tickFrequency_);
      case kSliderShowSelection: return NumberValue(showSelection_);
      case kSliderSelectionStart: return NumberValue(selectionStart_);
      case kSliderSelectionLength: return NumberValue(selectionLength_);
      case kSliderPageSize: return NumberValue(pageSize_);
      case kSliderLineSize: return NumberValue(lineSize_);
      case kSliderMinPosition: return NumberValue(minPosition_);
      case kSliderMaxPosition: return NumberValue(maxPosition_);
      default: return NumberValue(position_);
    }
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    // Layout data may carry values the property table's clamp has not seen.
    const auto n = static_cast<std::int32_t>(std::clamp<std::int64_t>(value.number, 0, kSliderLimit));
    switch (k + kFirstOwnProperty) {
      case kSliderBorder: border_ = n; ApplyBorder(); break;
      case kSliderVertical: vertical_ = std::min(n, 1); return RecreateIfLive();
      case kSliderTickMarks: tickMarks_ = std::min(n, 3); return RecreateIfLive();
      case kSliderTickFrequency: tickFrequency_ = n; ApplySteps(); break;
      case kSliderShowSelection: showSelection_ = n != 0; return RecreateIfLive();
      case kSliderSelectionStart: selectionStart_ = n; ApplySelection(); break;
      case kSliderSelectionLength: selectionLength_ = n; ApplySelection(); break;
      case kSliderPageSize: pageSize_ = std::max(n, 1); ApplySteps(); break;
      case kSliderLineSize: lineSize_ = std::max(n, 1); ApplySteps(); break;
      case kSliderMinPosition: minPosition_ = n; ApplyRange(); ApplySteps(); ApplyPosition(); break;
      case kSliderMaxPosition: maxPosition_ = n; ApplyRange(); ApplySteps(); ApplyPosition(); break;
      case kSliderPosition: position_ = n; ApplyPosition(); break;
      default: break;
    }
    return WriteOutcome::kApplied;
  }

  // The slider's surroundings take the form's background.
  HBRUSH OnColour(HDC) override {
    HBRUSH brush = FormBackgroundBrush(GetParent(control_));
    return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
  }

  void OnScroll(int code) override {
    if (code == TB_ENDTRACK || !control_) return;
    position_ = static_cast<std::int32_t>(SendMessageW(control_, TBM_GETPOS, 0, 0));
    Raise(kSliderPositionChanged);
  }

 private:
  std::int32_t Low() const { return std::min(minPosition_, maxPosition_); }
  std::int32_t High() const { return std::max(minPosition_, maxPosition_); }
  std::int32_t Limited(std::int32_t step) const { return std::max(1, std::min(step, High() - Low())); }

  void ApplyBorder() const {
    if (!control_) return;
    LONG_PTR exStyle = GetWindowLongPtrW(control_, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE;
    if (border_ != 0) exStyle |= WS_EX_CLIENTEDGE;
    SetWindowLongPtrW(control_, GWL_EXSTYLE, exStyle);
    SetWindowPos(control_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  void ApplyRange() const {
    if (!control_) return;
    SendMessageW(control_, TBM_SETRANGEMIN, FALSE, Low());
    SendMessageW(control_, TBM_SETRANGEMAX, TRUE, High());
  }
  void ApplySteps() const {
    if (!control_) return;
    SendMessageW(control_, TBM_SETTICFREQ, Limited(std::max(tickFrequency_, 1)), 0);
    SendMessageW(control_, TBM_SETPAGESIZE, 0, Limited(pageSize_));
    SendMessageW(control_, TBM_SETLINESIZE, 0, Limited(lineSize_));
  }
  void ApplySelection() const {
    if (!control_ || !showSelection_) return;
    SendMessageW(control_, TBM_SETSEL, TRUE, MAKELPARAM(selectionStart_, selectionStart_ + selectionLength_));
  }
  void ApplyPosition() const {
    if (!control_) return;
    SendMessageW(control_, TBM_SETPOS, TRUE, std::clamp(position_, Low(), High()));
  }

  std::int32_t border_ = 0, vertical_ = 0, tickMarks_ = 2, tickFrequency_ = 1;
  bool showSelection_ = false;
  std::int32_t selectionStart_ = 0, selectionLength_ = 0, pageSize_ = 5, lineSize_ = 1;
  std::int32_t minPosition_ = 1, maxPosition_ = 10, position_ = 1;
};

}  // namespace

void RegisterSliderBarType() {
  static constexpr ComponentType kType{kTypeSliderBar, "滑块条", "SliderBar", kTypeRaisesEvents, kProperties,
                                       [] { return std::unique_ptr<Component>(new SliderBar); }};
  RegisterComponentType(kType);
}
