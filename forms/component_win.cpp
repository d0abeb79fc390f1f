#include "forms/component.h"

#include <algorithm>
#include <string>
#include <vector>

#include "forms/callback_guard.h"
#include "forms/control_hooks_win.h"
#include "forms/event_ids.h"
#include "frame/ground/event_record.h"
#include "frame/ground/gbk_text_win.h"

namespace {

std::vector<ComponentType> gTypes;
int gRecreationCount = 0;

// Every control tells its unit when it gains or loses the focus.
LRESULT HandleFocusMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

LRESULT FocusHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR) {
  return GuardedCallback([&] { return HandleFocusMessage(window, message, wParam, lParam); });
}

LRESULT HandleFocusMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT answer = CallNextHook(window, message, wParam, lParam);
      if (Component* component = ComponentOfControl(window); component && component->FocusIsItsOwnWindow()) {
        component->RaiseFocusEvent(message == WM_SETFOCUS ? kEventGotFocus : kEventLostFocus);
      }
      return answer;
    }
    default:
      return CallNextHook(window, message, wParam, lParam);
  }
}

}  // namespace

void RegisterComponentType(const ComponentType& type) {
  auto existing = std::find_if(gTypes.begin(), gTypes.end(),
                               [&](const ComponentType& t) { return t.typeId == type.typeId; });
  if (existing != gTypes.end()) {
    *existing = type;
  } else {
    gTypes.push_back(type);
  }
}

const ComponentType* FindComponentType(std::uint32_t typeId) {
  for (const ComponentType& type : gTypes) {
    if (type.typeId == typeId) return &type;
  }
  return nullptr;
}

void BeginRecreation() { ++gRecreationCount; }
void EndRecreation() { --gRecreationCount; }
bool Recreating() { return gRecreationCount > 0; }

Component* ComponentOfControl(HWND control) { return ControlComponentOf(control); }

Component::~Component() {
  if (control_ && IsWindow(control_)) {
    SetControlComponent(control_, nullptr);
    DestroyWindow(control_);
  }
}

void Component::DestroyControl() {
  if (control_) {
    SetControlComponent(control_, nullptr);
    DestroyWindow(control_);
    control_ = nullptr;
  }
}

HWND Component::CreateControl(const ControlPlace& place, DWORD exStyle, const wchar_t* className,
                              const char* text, DWORD style) {
  const RECT& r = place.rect;
  // Controls are Unicode windows, spoken to in UTF-16 converted from GBK here and in each control's
  // file, whatever code page the system runs with.
  control_ = CreateWindowExW(exStyle, className, WideFromGbk(text).c_str(),
                             style | WS_CHILD | WS_CLIPSIBLINGS | (place.enabled ? 0 : WS_DISABLED),
                             r.left, r.top, r.right - r.left, r.bottom - r.top, place.parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.controlId)),
                             GetModuleHandleW(nullptr), nullptr);
  if (control_) {
    SetControlComponent(control_, this);
    HookControl(control_, FocusHook, 0);
    SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  }
  return control_;
}

bool Component::Raise(std::int32_t event, std::int32_t* result) const {
  if (Recreating()) return false;
  EventRecord record{};
  record.windowId = ref_.windowId;
  record.unitId = ref_.unitId;
  record.eventNumber = event;
  NotifyFrame(kNoticeRaiseEvent, reinterpret_cast<std::intptr_t>(&record));
  if (record.hasResult && result) *result = record.result;
  return record.hasResult != 0;
}

void Component::RaiseFocusEvent(std::int32_t event) const { Raise(event); }

std::vector<std::string> SplitTextList(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::string> texts;
  std::string current;
  for (std::uint8_t byte : bytes) {
    if (byte == 0) {
      texts.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(byte);
    }
  }
  if (!current.empty()) texts.push_back(current);
  return texts;
}

std::vector<std::uint8_t> JoinTextList(const std::vector<std::string>& texts) {
  std::vector<std::uint8_t> bytes;
  for (const std::string& text : texts) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
  }
  return bytes;
}

RawValue NumberValue(std::int64_t number) {
  RawValue value;
  value.number = number;
  return value;
}

RawValue TextValue(std::string text) {
  RawValue value;
  value.text = std::move(text);
  return value;
}

std::string SettingText(const RawValue& value) { return value.text; }
