// ColorPicker: a drop-down list of common colours with a last entry that opens the system colour
// dialog. ColorChanged follows a pick, after the stored colour has been refreshed.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "forms/component.h"
#include "forms/event_ids.h"
#include "forms/gdi_owners.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/gbk_text_win.h"

namespace {

constexpr COLORREF kTransparent = 0xFF000000u;

constexpr PropertyRow kProperties[] = {
    {"color", ValueKind::kColourOrTransparent},
    {"allowTransparent", ValueKind::kTruth},
};

struct NamedColour {
  COLORREF colour;
  const char* name;
};
constexpr NamedColour kCommonColours[] = {
    {0x000000, "黑色"}, {0x808080, "灰色"}, {0xC0C0C0, "银色"}, {0xFFFFFF, "白色"},
    {0x000080, "褐红"}, {0x0000FF, "红色"}, {0x008080, "橄榄"}, {0x00FFFF, "黄色"},
    {0x008000, "绿色"}, {0x00FF00, "草绿"}, {0x808000, "青色"}, {0xFFFF00, "天蓝"},
    {0x800000, "藏青"}, {0xFF0000, "蓝色"}, {0x800080, "紫色"}, {0xFF00FF, "品红"},
};
constexpr const char* kCustomEntry = "自定义...";
constexpr const char* kTransparentEntry = "透明";

class ColorPicker final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    ControlPlace tall = place;
    tall.rect.bottom = std::max<LONG>(tall.rect.bottom, tall.rect.top + 240);
    if (!CreateControl(tall, 0, L"COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED)) {
      return false;
    }
    Fill();
    return true;
  }

  RawValue Read(int k) const override {
    if (k == 1) return NumberValue(allowTransparent_);
    return NumberValue(!allowTransparent_ && colour_ == kTransparent ? 0 : colour_);
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    if (k == 1) {
      allowTransparent_ = value.number != 0;
    } else {
      colour_ = static_cast<COLORREF>(value.number);
    }
    if (control_) Fill();
    return WriteOutcome::kApplied;
  }

  void OnCommand(int code) override {
    if (code != CBN_SELENDOK) return;
    const auto index = static_cast<int>(SendMessageW(control_, CB_GETCURSEL, 0, 0));
    if (index < 0) return;
    const auto data = static_cast<LRESULT>(SendMessageW(control_, CB_GETITEMDATA, index, 0));
    if (data == kCustomData) {
      CHOOSECOLORW choose{};
      static COLORREF custom[16];
      choose.lStructSize = sizeof choose;
      choose.hwndOwner = GetParent(control_);
      choose.rgbResult = colour_ == kTransparent ? 0 : colour_;
      choose.lpCustColors = custom;
      choose.Flags = CC_RGBINIT | CC_FULLOPEN;
      if (!ChooseColorW(&choose)) {
        Select();
        return;
      }
      colour_ = choose.rgbResult;
    } else {
      colour_ = static_cast<COLORREF>(data);
    }
    Select();
    Raise(kColorChanged);
  }

  bool OnDrawItem(const DRAWITEMSTRUCT& item) override {
    if (item.itemID == static_cast<UINT>(-1)) return true;
    const auto data = static_cast<LRESULT>(SendMessageW(control_, CB_GETITEMDATA, item.itemID, 0));
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    RECT swatch = item.rcItem;
    InflateRect(&swatch, -2, -2);
    swatch.right = swatch.left + (swatch.bottom - swatch.top) * 2;
    std::string name;
    if (data == kCustomData) {
      name = kCustomEntry;
      swatch.right = swatch.left;
    } else if (static_cast<COLORREF>(data) == kTransparent) {
      name = kTransparentEntry;
      FrameRect(item.hDC, &swatch, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    } else {
      UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(data)));
      FillRect(item.hDC, &swatch, brush.Get());
      FrameRect(item.hDC, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      name = NameOf(static_cast<COLORREF>(data));
    }
    RECT text = item.rcItem;
    text.left = swatch.right + 4;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(item.hDC, WideFromGbk(name).c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    return true;
  }

 private:
  static constexpr LRESULT kCustomData = -2;

  static std::string NameOf(COLORREF colour) {
    for (const NamedColour& named : kCommonColours) {
      if (named.colour == colour) return named.name;
    }
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
  }

  void Add(LRESULT data) {
    const LRESULT index = SendMessageW(control_, CB_ADDSTRING, 0, 0);
    if (index >= 0) SendMessageW(control_, CB_SETITEMDATA, index, data);
  }

  // The list: transparent when allowed, the common colours, the current colour when it is none of
  // them, then the custom entry.
  void Fill() {
    SendMessageW(control_, CB_RESETCONTENT, 0, 0);
    if (allowTransparent_) Add(static_cast<LRESULT>(kTransparent));
    bool common = false;
    for (const NamedColour& named : kCommonColours) {
      Add(static_cast<LRESULT>(named.colour));
      common = common || named.colour == colour_;
    }
    if (!common && colour_ != kTransparent) Add(static_cast<LRESULT>(colour_));
    Add(kCustomData);
    Select();
  }

  void Select() {
    const COLORREF shown = !allowTransparent_ && colour_ == kTransparent ? 0 : colour_;
    const auto count = static_cast<int>(SendMessageW(control_, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      if (static_cast<COLORREF>(SendMessageW(control_, CB_GETITEMDATA, i, 0)) == shown &&
          SendMessageW(control_, CB_GETITEMDATA, i, 0) != kCustomData) {
        SendMessageW(control_, CB_SETCURSEL, i, 0);
        return;
      }
    }
    // A custom colour not in the list yet: rebuild with it.
    if (colour_ != kTransparent || allowTransparent_) {
      const LRESULT index = SendMessageW(control_, CB_INSERTSTRING, count - 1, 0);
      if (index >= 0) {
        SendMessageW(control_, CB_SETITEMDATA, index, static_cast<LRESULT>(shown));
        SendMessageW(control_, CB_SETCURSEL, index, 0);
      }
    }
  }

  COLORREF colour_ = 0;
  bool allowTransparent_ = false;
};

}  // namespace

void RegisterColorPickerType() {
  static constexpr ComponentType kType{kTypeColorPicker, "颜色选择器", "ColorPicker", kTypeRaisesEvents, kProperties,
                                       [] { return std::unique_ptr<Component>(new ColorPicker); }};
  RegisterComponentType(kType);
}
