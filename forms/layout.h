// Window layouts as data: per window its own unit and its controls, one row per unit in unit-id
// order. A row carries what the unit starts with (geometry, flags, focus order, bound events and
// the type's own initial values); the frame builds live windows from these rows and, when a window
// is destroyed, rebuilds its units from them, so the next load starts from the layout again.
#pragma once

#include <cstdint>
#include <span>

// The layout's font setting: a logical font as the layout stores it (height in pixels, negative
// for a character height).
struct FontSetting {
  std::int32_t height = 0;
  std::int32_t weight = 0;
  std::uint8_t charSet = 1;  // DEFAULT_CHARSET
  const char* face = "";
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::int32_t angle = 0;
};

enum class SettingKind : std::uint8_t { kNumber, kText, kBytes, kFont, kTextList };

// One initial value of a type-specific property (index 8 and up).
struct PropertySetting {
  std::int32_t index = 0;
  SettingKind kind = SettingKind::kNumber;
  std::int64_t number = 0;
  const char* text = nullptr;
  std::span<const std::uint8_t> bytes;
  FontSetting font;
  std::span<const char* const> texts;
};

constexpr PropertySetting SetNumber(std::int32_t index, std::int64_t value) {
  PropertySetting setting;
  setting.index = index;
  setting.number = value;
  return setting;
}
constexpr PropertySetting SetText(std::int32_t index, const char* text) {
  PropertySetting setting;
  setting.index = index;
  setting.kind = SettingKind::kText;
  setting.text = text;
  return setting;
}
constexpr PropertySetting SetBytes(std::int32_t index, std::span<const std::uint8_t> bytes) {
  PropertySetting setting;
  setting.index = index;
  setting.kind = SettingKind::kBytes;
  setting.bytes = bytes;
  return setting;
}
constexpr PropertySetting SetFont(std::int32_t index, FontSetting font) {
  PropertySetting setting;
  setting.index = index;
  setting.kind = SettingKind::kFont;
  setting.font = font;
  return setting;
}
constexpr PropertySetting SetTexts(std::int32_t index, std::span<const char* const> texts) {
  PropertySetting setting;
  setting.index = index;
  setting.kind = SettingKind::kTextList;
  setting.texts = texts;
  return setting;
}

// Event number -> handler number in the program header's handler table.
struct EventBinding {
  std::int32_t event;
  std::int32_t handler;
};

struct UnitRow {
  std::uint32_t id;
  const char* name;  // empty for the window unit
  std::uint32_t type;
  std::uint32_t container;  // 0 = the window itself
  std::int32_t left, top, width, height;
  std::uint32_t flags;  // kUnitVisible, kUnitDisabled, kUnitFocusable
  std::int32_t focusOrder;
  std::span<const EventBinding> events;
  std::span<const PropertySetting> data;
  // Group box: the units it holds. Tab box: per page its units followed by a 0.
  std::span<const std::uint32_t> children;
};

struct WindowLayout {
  std::uint32_t windowId;
  UnitRow window;                  // the window unit; its data are the window's own properties
  std::span<const UnitRow> units;  // the controls, in ascending unit id
};

// Layout rows must be in ascending unit-id order; checked where a layout is defined.
constexpr bool UnitsAscending(std::span<const UnitRow> units) {
  for (std::size_t i = 1; i < units.size(); ++i) {
    if (units[i - 1].id >= units[i].id) return false;
  }
  return true;
}
