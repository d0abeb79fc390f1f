// TabBox: a tab strip whose pages each hold a list of units; only the current page's units show.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "forms/component.h"
#include "forms/event_ids.h"
#include "forms/form.h"
#include "forms/gdi_owners.h"
#include "forms/operations.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/gbk_text_win.h"

namespace {

constexpr PropertyRow kProperties[] = {
    {"tabPosition", ValueKind::kChoice, true, 0, 3},
    {"multiLine", ValueKind::kTruth},
    {"font", ValueKind::kFont},
    {"tabCaptions", ValueKind::kCustom},
    {"currentTab", ValueKind::kInteger},
    {"option13", ValueKind::kInteger},
    {"option14", ValueKind::kInteger},
    {"option15", ValueKind::kInteger},
};

class TabBox final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    DWORD style = WS_TABSTOP | (multiLine_ ? TCS_MULTILINE : 0);
    if (tabPosition_ == 1) style |= TCS_BOTTOM;
    if (tabPosition_ == 2) style |= TCS_VERTICAL | TCS_MULTILINE;
    if (tabPosition_ == 3) style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
    if (!CreateControl(place, 0, WC_TABCONTROLW, "", style)) return false;
    font_.Apply(control_);
    for (std::size_t i = 0; i < captions_.size(); ++i) {
      std::wstring caption = WideFromGbk(captions_[i]);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = caption.data();
      SendMessageW(control_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(control_, TCM_SETCURSEL, current_, 0);
    return true;
  }

  RawValue Read(int k) const override {
    switch (k + kFirstOwnProperty) {
      case kTabPosition: return NumberValue(tabPosition_);
      case kTabMultiLine: return NumberValue(multiLine_);
      case kTabFont: { RawValue v; v.font = font_.Stored(); return v; }
      case kTabCaptions: {
        RawValue v;
        v.bytes = JoinTextList(captions_);
        return v;
      }
      case kTabCurrent:
        return NumberValue(control_ ? static_cast<std::int32_t>(SendMessageW(control_, TCM_GETCURSEL, 0, 0)) : current_);
      default: return NumberValue(options_[(k + kFirstOwnProperty - 13) % 3]);
    }
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    const auto n = static_cast<std::int32_t>(value.number);
    switch (k + kFirstOwnProperty) {
      case kTabPosition: tabPosition_ = n; return RecreateIfLive();
      case kTabMultiLine: multiLine_ = n != 0; return RecreateIfLive();
      case kTabFont: font_.Store(value.font); font_.Apply(control_); return WriteOutcome::kApplied;
      case kTabCaptions: captions_ = SplitTextList(value.bytes); return RecreateIfLive();
      case kTabCurrent:
        current_ = n;
        if (control_) {
          SendMessageW(control_, TCM_SETCURSEL, n, 0);
          ShowPages();
        }
        return WriteOutcome::kApplied;
      default: options_[(k + kFirstOwnProperty - 13) % 3] = n; return WriteOutcome::kApplied;
    }
  }

  void DestroyControl() override {
    if (control_) current_ = static_cast<std::int32_t>(SendMessageW(control_, TCM_GETCURSEL, 0, 0));
    Component::DestroyControl();
  }

  LRESULT OnNotify(const NMHDR& header) override {
    switch (header.code) {
      case NM_CLICK: Raise(kTabClicked); return 0;
      case TCN_SELCHANGING: {
        std::int32_t result = 1;
        // A handler answering false keeps the current tab.
        return Raise(kTabChanging, &result) && result == 0 ? TRUE : FALSE;
      }
      case TCN_SELCHANGE:
        current_ = static_cast<std::int32_t>(SendMessageW(control_, TCM_GETCURSEL, 0, 0));
        Raise(kTabChanged);
        ShowPages();
        return 0;
      default: return 0;
    }
  }

  bool ShowsUnit(std::uint32_t unitId) const override {
    const std::int32_t current = control_ ? static_cast<std::int32_t>(SendMessageW(control_, TCM_GETCURSEL, 0, 0)) : current_;
    std::int32_t page = 0;
    for (std::uint32_t id : row_->children) {
      if (id == 0) {
        ++page;
      } else if (id == unitId) {
        return page == current;
      }
    }
    return true;  // not on any page
  }

  std::string PageName(std::int32_t page) const {
    return page >= 0 && page < static_cast<std::int32_t>(captions_.size()) ? captions_[page] : std::string();
  }

 private:
  void ShowPages() const {
    for (std::uint32_t id : row_->children) {
      if (id != 0) ApplyUnitVisibility(ref_.windowId, id);
    }
  }

  std::int32_t tabPosition_ = 0;
  bool multiLine_ = false;
  ControlFont font_;
  std::vector<std::string> captions_;
  std::int32_t current_ = 0;
  std::int32_t options_[3] = {};
};

}  // namespace

Text TabPageName(const Component& component, std::int32_t pageNumber) {
  const auto* tab = dynamic_cast<const TabBox*>(&component);
  return tab ? CopyText(tab->PageName(pageNumber - 1).c_str()) : nullptr;
}

void RegisterTabBoxType() {
  static constexpr ComponentType kType{kTypeTabBox, "选择夹", "TabBox", kTypeRaisesEvents | kTypeContainer,
                                       kProperties, [] { return std::unique_ptr<Component>(new TabBox); }};
  RegisterComponentType(kType);
}
