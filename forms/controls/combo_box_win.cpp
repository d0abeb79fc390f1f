// ComboBox: a standard combo box. ItemSelected goes through a message the control posts to itself,
// so the handler runs once the selection has settled; the component's own selection changes never
// raise it.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "forms/callback_guard.h"
#include "forms/control_hooks_win.h"
#include "forms/component.h"
#include "forms/event_ids.h"
#include "forms/gbk_input_win.h"
#include "forms/gdi_owners.h"
#include "forms/operations.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/gbk_text_win.h"
#include "frame/ground/memory.h"

namespace {

constexpr UINT kItemSelectedMessage = WM_APP + 0x31;
constexpr int kMinimumListHeight = 160;

constexpr PropertyRow kProperties[] = {
    {"kind", ValueKind::kChoice, true, 0, 2},
    {"content", ValueKind::kText},
    {"maxLength", ValueKind::kInteger, true, 0, 0x7FFFFFFF},
    {"selectionStart", ValueKind::kInteger},
    {"selectionLength", ValueKind::kInteger},
    {"selectedText", ValueKind::kText},
    {"sorted", ValueKind::kTruth},
    {"rowSpacing", ValueKind::kInteger, true, 0, 255},
    {"textColor", ValueKind::kColour},
    {"backColor", ValueKind::kBackColour},
    {"font", ValueKind::kFont},
    {"currentItem", ValueKind::kInteger},
    {"items", ValueKind::kCustom},
    {"itemValues", ValueKind::kCustom},
};

struct Item {
  std::string text;
  std::int32_t value;
};

class ComboBox;
LRESULT ComboHook(HWND, UINT, WPARAM, LPARAM, DWORD_PTR);

class ComboBox final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    // No integral height: the list keeps the whole height it was given.
    DWORD style = WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | CBS_NOINTEGRALHEIGHT | (sorted_ ? CBS_SORT : 0);
    style |= kind_ == 0 ? CBS_SIMPLE : kind_ == 1 ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
    ControlPlace tall = place;
    // The window of a drop-down combo box includes its list.
    if (kind_ != 0) tall.rect.bottom = std::max<LONG>(tall.rect.bottom, tall.rect.top + kMinimumListHeight);
    if (!CreateControl(tall, 0, L"COMBOBOX", "", style)) return false;
    HookControl(control_, ComboHook, reinterpret_cast<DWORD_PTR>(this));
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    if (kind_ != 2 && GetComboBoxInfo(control_, &parts)) RefuseCharactersGbkLacks(parts.hwndItem);
    font_.Apply(control_);
    for (const Item& item : items_) AddToControl(item);
    if (rowSpacing_ > 0) {
      const LRESULT height = SendMessageW(control_, CB_GETITEMHEIGHT, 0, 0);
      if (height > 0) SendMessageW(control_, CB_SETITEMHEIGHT, 0, height + rowSpacing_);
    }
    if (kind_ != 0) {
      // A new item height shrinks the list the system computed at creation; give the height again.
      SetWindowPos(control_, nullptr, 0, 0, tall.rect.right - tall.rect.left, tall.rect.bottom - tall.rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (maxLength_ > 0) SendMessageW(control_, CB_LIMITTEXT, maxLength_, 0);
    SendMessageW(control_, CB_SETCURSEL, current_, 0);
    if (kind_ != 2 && !content_.empty()) SetWindowTextGbk(control_, content_);
    return true;
  }

  RawValue Read(int k) const override {
    switch (k + kFirstOwnProperty) {
      case kComboKind: return NumberValue(kind_);
      case kComboContent: return TextValue(LiveText());
      case kComboMaxLength: return NumberValue(maxLength_);
      case kComboSelectedText: return TextValue(LiveText());
      case kComboSorted: return NumberValue(sorted_);
      case kComboRowSpacing: return NumberValue(rowSpacing_);
      case kComboTextColor: return NumberValue(textColor_);
      case kComboBackColor: return NumberValue(backColor_);
      case kComboFont: { RawValue v; v.font = font_.Stored(); return v; }
      case kComboCurrentItem:
        return NumberValue(control_ ? static_cast<std::int32_t>(SendMessageW(control_, CB_GETCURSEL, 0, 0)) : current_);
      case kComboItems: {
        std::vector<std::string> texts;
        for (const Item& item : LiveItems()) texts.push_back(item.text);
        RawValue v;
        v.bytes = JoinTextList(texts);
        return v;
      }
      case kComboItemValues: {
        RawValue v;
        for (const Item& item : LiveItems()) {
          const auto* bytes = reinterpret_cast<const std::uint8_t*>(&item.value);
          v.bytes.insert(v.bytes.end(), bytes, bytes + sizeof item.value);
        }
        return v;
      }
      default: return NumberValue(0);
    }
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    const auto n = static_cast<std::int32_t>(value.number);
    switch (k + kFirstOwnProperty) {
      case kComboKind: return Recreate([&] { kind_ = n; });
      case kComboContent:
        content_ = value.text;
        if (control_) SetWindowTextGbk(control_, content_);
        return WriteOutcome::kApplied;
      case kComboMaxLength: return Recreate([&] { maxLength_ = n; });
      case kComboSorted: return Recreate([&] { sorted_ = n != 0; });
      case kComboRowSpacing: return Recreate([&] { rowSpacing_ = n; });
      case kComboTextColor: textColor_ = static_cast<COLORREF>(n); return Repaint();
      case kComboBackColor: backColor_ = static_cast<COLORREF>(n); return Repaint();
      case kComboFont: font_.Store(value.font); font_.Apply(control_); return WriteOutcome::kApplied;
      case kComboCurrentItem: {
        const std::int32_t count = control_ ? static_cast<std::int32_t>(SendMessageW(control_, CB_GETCOUNT, 0, 0))
                                            : static_cast<std::int32_t>(items_.size());
        current_ = std::clamp(n, -1, count - 1);
        if (control_) SendMessageW(control_, CB_SETCURSEL, current_, 0);
        return WriteOutcome::kApplied;
      }
      case kComboItems: {
        std::vector<Item> items;
        for (std::string& text : SplitTextList(value.bytes)) items.push_back({std::move(text), 0});
        return Recreate([&] { items_ = std::move(items); });
      }
      default: return WriteOutcome::kApplied;
    }
  }

  void DestroyControl() override {
    if (control_) {
      // A write that asked for this re-creation has taken the control's state already, and then
      // changed it; taking it again would undo the write.
      if (!captured_) CaptureLive();
      captured_ = false;
      UnhookControl(control_, ComboHook);
    }
    Component::DestroyControl();
  }

  void OnCommand(int code) override {
    switch (code) {
      case CBN_SELCHANGE:
        // While the list is open the choice is not confirmed yet; CBN_SELENDOK follows.
        if (!SendMessageW(control_, CB_GETDROPPEDSTATE, 0, 0)) PostSelected();
        break;
      case CBN_SELENDOK: PostSelected(); break;
      case CBN_EDITCHANGE: Raise(kComboEditChanged); break;
      case CBN_DROPDOWN: Raise(kComboDroppingDown); break;
      case CBN_CLOSEUP: Raise(kComboClosedUp); break;
      case CBN_DBLCLK: Raise(kComboDoubleClicked); break;
      // The box tells when it gains or loses the focus, wherever inside it the focus is: in the
      // edit of kinds 0 and 1, in the box itself for kind 2.
      case CBN_SETFOCUS: Raise(kEventGotFocus); break;
      case CBN_KILLFOCUS: Raise(kEventLostFocus); break;
      default: break;
    }
  }

  bool FocusIsItsOwnWindow() const override { return false; }

  HBRUSH OnColour(HDC dc) override {
    SetTextColor(dc, textColor_);
    HBRUSH brush = background_.For(backColor_);
    if (brush) SetBkColor(dc, backColor_);
    return brush ? brush : GetSysColorBrush(COLOR_WINDOW);
  }

  LRESULT Subclassed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kItemSelectedMessage) {
      selectedPosted_ = false;
      Raise(kComboItemSelected);
      return 0;
    }
    return CallNextHook(window, message, wParam, lParam);
  }

  Text ItemText(std::int32_t index) const {
    if (!control_) return nullptr;
    const auto count = static_cast<std::int32_t>(SendMessageW(control_, CB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count) return nullptr;
    const LRESULT length = SendMessageW(control_, CB_GETLBTEXTLEN, index, 0);
    if (length < 0) return nullptr;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(control_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return CopyText(GbkFromWideForDisplay(text).c_str());
  }

  std::int32_t AddItem(const char* text, std::int32_t data) {
    if (!control_) return -1;
    const auto index = static_cast<std::int32_t>(
        SendMessageW(control_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromGbk(text).c_str())));
    if (index < 0) return -1;
    SendMessageW(control_, CB_SETITEMDATA, index, data);
    return index;
  }

  void Clear() {
    if (control_) SendMessageW(control_, CB_RESETCONTENT, 0, 0);
    items_.clear();
    current_ = -1;
  }

 private:
  // A write the live control cannot take: what the user did to the control (its items, selection
  // and typed text) is taken into the stored data first, then `change` is applied to that data,
  // which the new control is made from.
  template <typename Change>
  WriteOutcome Recreate(Change change) {
    if (control_) {
      CaptureLive();
      captured_ = true;
    }
    change();
    return RecreateIfLive();
  }
  void CaptureLive() {
    items_ = LiveItems();
    current_ = static_cast<std::int32_t>(SendMessageW(control_, CB_GETCURSEL, 0, 0));
    // A drop-down list has no text of its own: it shows the selected item.
    if (kind_ != 2) content_ = LiveText();
  }
  WriteOutcome Repaint() const {
    if (control_) InvalidateRect(control_, nullptr, TRUE);
    return WriteOutcome::kApplied;
  }
  void PostSelected() {
    if (selectedPosted_) return;
    selectedPosted_ = true;
    PostMessageW(control_, kItemSelectedMessage, 0, 0);
  }
  void AddToControl(const Item& item) {
    const LRESULT index =
        SendMessageW(control_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromGbk(item.text).c_str()));
    if (index >= 0) SendMessageW(control_, CB_SETITEMDATA, index, item.value);
  }
  std::string LiveText() const {
    return control_ ? WindowTextGbk(control_) : content_;
  }
  std::vector<Item> LiveItems() const {
    if (!control_) return items_;
    std::vector<Item> items;
    const auto count = static_cast<std::int32_t>(SendMessageW(control_, CB_GETCOUNT, 0, 0));
    for (std::int32_t i = 0; i < count; ++i) {
      Text text = ItemText(i);
      items.push_back({text ? text : "", static_cast<std::int32_t>(SendMessageW(control_, CB_GETITEMDATA, i, 0))});
      FrameFree(text);
    }
    return items;
  }

  std::int32_t kind_ = 1;
  std::string content_;
  std::int32_t maxLength_ = 0;
  bool sorted_ = false;
  std::int32_t rowSpacing_ = 0;
  COLORREF textColor_ = 0;
  COLORREF backColor_ = 0xFF000000u;
  ControlFont font_;
  std::vector<Item> items_;
  std::int32_t current_ = -1;
  bool selectedPosted_ = false;
  bool captured_ = false;  // the live state is in the stored data for the coming re-creation
  ColourBrush background_;
};

LRESULT ComboHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data) {
  return GuardedCallback([&] { return reinterpret_cast<ComboBox*>(data)->Subclassed(window, message, wParam, lParam); });
}

}  // namespace

Text ComboItemText(const Component& component, std::int32_t index) {
  const auto* combo = dynamic_cast<const ComboBox*>(&component);
  return combo ? combo->ItemText(index) : nullptr;
}

std::int32_t ComboAddItem(Component& component, const char* text, std::int32_t data) {
  auto* combo = dynamic_cast<ComboBox*>(&component);
  return combo ? combo->AddItem(text, data) : -1;
}

void ComboClear(Component& component) {
  if (auto* combo = dynamic_cast<ComboBox*>(&component)) combo->Clear();
}

void RegisterComboBoxType() {
  static constexpr ComponentType kType{kTypeComboBox, "组合框", "ComboBox", kTypeRaisesEvents, kProperties,
                                       [] { return std::unique_ptr<Component>(new ComboBox); }};
  RegisterComponentType(kType);
}
