#include "forms/window_map.h"

#include <algorithm>
#include <cstring>

#include "forms/type_ids.h"

namespace {

std::vector<std::unique_ptr<WindowRecord>> gRecords;
std::vector<Unit> gRetiredUnits;
bool gReleased = false;

RawValue SettingValue(const PropertySetting& setting) {
  RawValue value;
  switch (setting.kind) {
    case SettingKind::kNumber:
      value.number = setting.number;
      break;
    case SettingKind::kText:
      value.text = setting.text ? setting.text : "";
      break;
    case SettingKind::kBytes:
      value.bytes.assign(setting.bytes.begin(), setting.bytes.end());
      break;
    case SettingKind::kFont: {
      LOGFONTA font{};
      font.lfHeight = setting.font.height;
      font.lfWeight = setting.font.weight;
      font.lfCharSet = setting.font.charSet;
      font.lfItalic = setting.font.italic;
      font.lfUnderline = setting.font.underline;
      font.lfStrikeOut = setting.font.strikeOut;
      font.lfEscapement = font.lfOrientation = setting.font.angle;
      // The face is GBK, as every text of a layout; it is widened where the font is made.
      if (setting.font.face) std::strncpy(font.lfFaceName, setting.font.face, LF_FACESIZE - 1);
      value.font = font;
      break;
    }
    case SettingKind::kTextList: {
      // A list of texts travels as custom data.
      std::vector<std::string> texts;
      for (const char* text : setting.texts) texts.emplace_back(text ? text : "");
      value.bytes = JoinTextList(texts);
      break;
    }
  }
  return value;
}

Unit MakeUnit(const UnitRow& row, std::uint32_t windowId) {
  Unit unit;
  unit.row = &row;
  unit.type = FindComponentType(row.type);
  unit.left = row.left;
  unit.top = row.top;
  unit.width = row.width;
  unit.height = row.height;
  unit.flags = row.flags;
  if (unit.type) {
    unit.component = unit.type->make();
    unit.component->SetUnit({windowId, row.id}, &row);
    for (const PropertySetting& setting : row.data) {
      unit.component->Write(setting.index - 8, SettingValue(setting));
    }
  }
  return unit;
}

void BuildUnits(WindowRecord& record) {
  record.units.clear();
  record.units.reserve(record.layout->units.size() + 1);
  record.units.push_back(MakeUnit(record.layout->window, record.Id()));
  for (const UnitRow& row : record.layout->units) record.units.push_back(MakeUnit(row, record.Id()));
}

}  // namespace

bool AddWindowLayout(const WindowLayout& layout) {
  if (FindWindowRecord(layout.windowId)) return false;
  if (!FindComponentType(layout.window.type)) return false;
  for (const UnitRow& row : layout.units) {
    // A type nobody registered (the compression box, say) keeps its row but gets no component.
    if (row.type != kTypeZipBox && !FindComponentType(row.type)) return false;
  }
  auto record = std::make_unique<WindowRecord>();
  record->layout = &layout;
  BuildUnits(*record);
  gRecords.push_back(std::move(record));
  gReleased = false;
  return true;
}

WindowRecord* FindWindowRecord(std::uint32_t windowId) {
  for (auto& record : gRecords) {
    if (record->Id() == windowId) return record.get();
  }
  return nullptr;
}

WindowRecord* FindWindowRecordByHandle(HWND window) {
  if (!window) return nullptr;
  for (auto& record : gRecords) {
    if (record->window == window) return record.get();
  }
  return nullptr;
}

Unit* FindUnit(WindowRecord& record, std::uint32_t unitId) {
  if (unitId == 0) return &record.WindowUnit();
  for (Unit& unit : record.units) {
    if (unit.Id() == unitId) return &unit;
  }
  return nullptr;
}

Unit* FindUnitByControl(WindowRecord& record, HWND control) {
  if (!control) return nullptr;
  for (Unit& unit : record.units) {
    if (unit.component && unit.component->Control() == control) return &unit;
  }
  return nullptr;
}

bool AnyWindowLoaded() {
  return std::any_of(gRecords.begin(), gRecords.end(), [](const auto& r) { return r->window != nullptr; });
}

std::vector<std::unique_ptr<WindowRecord>>& WindowRecords() { return gRecords; }

void ResetWindowRecord(WindowRecord& record) {
  for (Unit& unit : record.units) gRetiredUnits.push_back(std::move(unit));
  record.window = nullptr;
  record.pendingDestroy = false;
  record.pendingFirstShow = false;
  record.modal = false;
  record.topmost = false;
  record.creating = false;
  record.lastFocus = nullptr;
  BuildUnits(record);
}

void ReleaseRetiredUnits() { gRetiredUnits.clear(); }

void ReleaseWindowMap() {
  gReleased = true;
  // Live windows outlive their records by the few steps until the process ends; their components
  // are not freed, so a message that still reaches a control finds its object.
  for (auto& record : gRecords) {
    if (record->window) {
      for (Unit& unit : record->units) (void)unit.component.release();
    }
  }
  gRecords.clear();
  for (Unit& unit : gRetiredUnits) (void)unit.component.release();
  gRetiredUnits.clear();
}

bool WindowMapReleased() { return gReleased; }
