#include "forms/properties.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "forms/display_metrics_win.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "forms/window_map.h"
#include "frame/ground/error_report.h"
#include "frame/ground/gbk_text_win.h"
#include "frame/ground/memory.h"

namespace {

constexpr std::int32_t kPositionLimit = 32627;
constexpr const char* kDefaultFace = "宋体";

[[noreturn]] void WindowNotLoaded() { ReportRuntimeError("未载入欲访问窗口组件所在的窗口", 0); }
[[noreturn]] void ControlNotLive() { ReportRuntimeError("指定窗口尚未载入", 0); }
[[noreturn]] void ObjectMissing() { ReportRuntimeError("指定窗口或窗口组件不存在或尚未载入", 0); }

// Every property, the common ones too, belongs to a loaded window: a record whose window is not
// loaded (or no longer is) has only the layout's values, which are nobody's to read or write.
WindowRecord& RecordOrFail(std::uint32_t windowId) {
  WindowRecord* record = FindWindowRecord(windowId);
  if (!record || !record->window) WindowNotLoaded();
  return *record;
}

Unit& UnitOrFail(WindowRecord& record, std::uint32_t unitId) {
  Unit* unit = FindUnit(record, unitId);
  if (!unit) ObjectMissing();
  return *unit;
}

HWND LiveHandle(const WindowRecord& record, const Unit& unit) {
  if (&unit == &record.units.front()) return record.window;
  return unit.LiveControl();
}

std::int32_t ScreenDpiY() { return CurrentDisplayMetrics().pixelsPerInchY; }

const char* TextOf(std::uint64_t value) {
  return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(value));
}
std::uint64_t FromPointer(const void* pointer) {
  return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

// The bytes a buffer-valued write carries: null writes the empty value, and a value that is no
// buffer at all (an integer written to a buffer property, say) is refused instead of read.
std::optional<std::vector<std::uint8_t>> BufferOf(std::uint64_t value) {
  const auto buffer = reinterpret_cast<ByteBuffer>(static_cast<std::uintptr_t>(value));
  if (!buffer) return std::vector<std::uint8_t>();
  if (!IsFrameBlock(buffer)) return std::nullopt;
  const std::uint8_t* bytes = BufferBytes(buffer);
  return std::vector<std::uint8_t>(bytes, bytes + BufferLength(buffer));
}

RECT RectInForm(const WindowRecord& record, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, record.window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Contains(WindowRecord& record, const Unit& container, const Unit& unit) {
  const Unit* at = &unit;
  for (int depth = 0; at->row->container && depth < 16; ++depth) {
    if (at->row->container == container.Id()) return true;
    at = FindUnit(record, at->row->container);
    if (!at) return false;
  }
  return false;
}

// The controls are all children of the form, so the units a container holds follow it by hand.
void MoveContainedUnits(WindowRecord& record, const Unit& container) {
  for (std::size_t i = record.units.size(); i-- > 1;) {
    Unit& unit = record.units[i];
    const HWND handle = unit.LiveControl();
    if (!handle || !Contains(record, container, unit)) continue;
    const POINT origin = ContainerOrigin(record, unit);
    SetWindowPos(handle, nullptr, origin.x + unit.left, origin.y + unit.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The common properties 0 to 3 of a live unit.
std::int32_t ReadGeometry(WindowRecord& record, const Unit& unit, HWND handle, std::int32_t index) {
  RECT rect{};
  if (&unit == &record.units.front()) {
    GetWindowRect(handle, &rect);
  } else {
    rect = RectInForm(record, handle);
    const POINT origin = ContainerOrigin(record, unit);
    OffsetRect(&rect, -origin.x, -origin.y);
  }
  switch (index) {
    case kPropLeft: return rect.left;
    case kPropTop: return rect.top;
    case kPropWidth: return rect.right - rect.left;
    default: return rect.bottom - rect.top;
  }
}

void ApplyGeometry(WindowRecord& record, Unit& unit, HWND handle, std::int32_t index) {
  const bool isWindow = &unit == &record.units.front();
  if (index == kPropLeft || index == kPropTop) {
    POINT at{unit.left, unit.top};
    if (!isWindow) {
      const POINT origin = ContainerOrigin(record, unit);
      at.x += origin.x;
      at.y += origin.y;
      // Keep the coordinate the caller did not write as the control has it now.
      const RECT now = RectInForm(record, handle);
      if (index == kPropLeft) at.y = now.top; else at.x = now.left;
    } else {
      RECT now{};
      GetWindowRect(handle, &now);
      if (index == kPropLeft) at.y = now.top; else at.x = now.left;
    }
    SetWindowPos(handle, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
    InvalidateRect(handle, nullptr, TRUE);
    if (!isWindow) MoveContainedUnits(record, unit);
  } else {
    RECT now{};
    GetWindowRect(handle, &now);
    const int width = index == kPropWidth ? unit.width : now.right - now.left;
    const int height = index == kPropHeight ? unit.height : now.bottom - now.top;
    SetWindowPos(handle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
  }
}

std::uint64_t ReadCommon(WindowRecord& record, Unit& unit, std::int32_t index) {
  const HWND handle = LiveHandle(record, unit);
  switch (index) {
    case kPropLeft: case kPropTop: case kPropWidth: case kPropHeight:
      if (handle) return static_cast<std::uint32_t>(ReadGeometry(record, unit, handle, index));
      return static_cast<std::uint32_t>(index == kPropLeft ? unit.left : index == kPropTop ? unit.top
                                        : index == kPropWidth ? unit.width : unit.height);
    case kPropTag:
      return FromPointer(CopyText(unit.tag.c_str()));
    case kPropVisible:
      return handle ? (IsWindowVisible(handle) ? 1 : 0) : (unit.flags & kUnitVisible ? 1 : 0);
    case kPropDisabled:
      return handle ? (IsWindowEnabled(handle) ? 0 : 1) : (unit.flags & kUnitDisabled ? 1 : 0);
    case kPropMousePointer:
      return FromPointer(MakeByteBuffer(unit.mousePointer.data(), unit.mousePointer.size()));
    default:  // no such property
      return 0;
  }
}

void WriteCommon(WindowRecord& record, Unit& unit, std::int32_t index, std::uint64_t value) {
  const HWND handle = LiveHandle(record, unit);
  const auto number = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  switch (index) {
    case kPropLeft: case kPropTop: case kPropWidth: case kPropHeight: {
      const bool position = index == kPropLeft || index == kPropTop;
      const std::int32_t clamped = std::clamp(number, position ? -kPositionLimit : 0, kPositionLimit);
      (index == kPropLeft ? unit.left : index == kPropTop ? unit.top : index == kPropWidth ? unit.width
                                                                                        : unit.height) = clamped;
      if (handle) ApplyGeometry(record, unit, handle, index);
      return;
    }
    case kPropTag: {
      const char* text = TextOf(value);
      unit.tag = text ? text : "";
      return;
    }
    case kPropVisible:
      unit.flags = number ? (unit.flags | kUnitVisible) : (unit.flags & ~kUnitVisible);
      if (handle && &unit == &record.units.front()) {
        ShowWindow(handle, number ? SW_SHOW : SW_HIDE);
      } else {
        ApplyUnitVisibility(record, unit);
      }
      return;
    case kPropDisabled:
      unit.flags = number ? (unit.flags | kUnitDisabled) : (unit.flags & ~kUnitDisabled);
      if (handle) EnableWindow(handle, number ? FALSE : TRUE);
      return;
    case kPropMousePointer:
      if (auto bytes = BufferOf(value)) unit.mousePointer = std::move(*bytes);
      return;
    default:  // no such property
      return;
  }
}

const PropertyRow* RowOf(const Unit& unit, std::int32_t index) {
  if (!unit.type) return nullptr;
  const std::size_t k = static_cast<std::size_t>(index - kFirstOwnProperty);
  return k < unit.type->properties.size() ? &unit.type->properties[k] : nullptr;
}

bool IsTextKind(ValueKind kind) { return kind == ValueKind::kText || kind == ValueKind::kFileName; }
bool IsBufferKind(ValueKind kind) {
  return kind == ValueKind::kPicture || kind == ValueKind::kIcon || kind == ValueKind::kMousePointer ||
         kind == ValueKind::kSound || kind == ValueKind::kCustom;
}

}  // namespace

std::int32_t NormaliseAngle(std::int64_t angle) {
  std::int64_t remainder = angle % 3600;
  if (remainder < 0) remainder += 3600;
  return static_cast<std::int32_t>(remainder);
}

LOGFONTA DefaultGuiFont() {
  LOGFONTW font{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  return GbkFont(font);
}

LOGFONTA FontFromRecord(const FontRecord& record) {
  LOGFONTA font{};
  font.lfHeight = -MulDiv(std::max(record.size, 0), ScreenDpiY(), 72);
  font.lfWeight = record.bold ? FW_BOLD : 0;
  font.lfItalic = record.italic ? 1 : 0;
  font.lfUnderline = record.underline ? 1 : 0;
  font.lfStrikeOut = record.strikeOut ? 1 : 0;
  font.lfEscapement = font.lfOrientation = NormaliseAngle(record.angle);
  font.lfCharSet = DEFAULT_CHARSET;
  // A missing face, or one too long for the 32-byte field with room to spare, becomes 宋体; an
  // empty one stays empty (the system then picks).
  const char* face = record.face;
  if (!face || std::strlen(face) >= 31) face = kDefaultFace;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  return font;
}

FontRecord RecordFromFont(const LOGFONTA& font) {
  FontRecord record{};
  record.angle = font.lfEscapement;
  record.bold = font.lfWeight >= FW_BOLD ? 1 : 0;
  record.italic = font.lfItalic ? 1 : 0;
  record.strikeOut = font.lfStrikeOut ? 1 : 0;
  record.underline = font.lfUnderline ? 1 : 0;
  record.size = MulDiv(font.lfHeight < 0 ? -font.lfHeight : font.lfHeight, 72, ScreenDpiY());
  record.face = CopyText(font.lfFaceName);
  return record;
}

void WriteFontPart(LOGFONTA& font, std::int32_t subIndex, std::uint64_t value) {
  const auto number = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  switch (subIndex) {
    case kFontAngle: font.lfEscapement = font.lfOrientation = NormaliseAngle(number); break;
    case kFontBold: font.lfWeight = number ? FW_BOLD : 0; break;
    case kFontItalic: font.lfItalic = number ? 1 : 0; break;
    case kFontStrikeOut: font.lfStrikeOut = number ? 1 : 0; break;
    case kFontUnderline: font.lfUnderline = number ? 1 : 0; break;
    case kFontSize: font.lfHeight = -MulDiv(std::max(number, 0), ScreenDpiY(), 72); break;
    case kFontFace: {
      const char* face = TextOf(value);
      if (!face || !*face || std::strlen(face) >= 32) face = kDefaultFace;
      lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
      break;
    }
    default: break;
  }
}

std::uint64_t ReadFontPart(const LOGFONTA& font, std::int32_t subIndex) {
  if (subIndex == kFontFace) return FromPointer(CopyText(font.lfFaceName));
  FontRecord record = RecordFromFont(font);
  FrameFree(record.face);
  const std::int32_t parts[] = {record.angle, record.bold, record.italic, record.strikeOut,
                                record.underline, record.size};
  return subIndex >= 0 && subIndex < 6 ? static_cast<std::uint32_t>(parts[subIndex]) : 0;
}

POINT ContainerOrigin(WindowRecord& record, const Unit& unit) {
  POINT origin{0, 0};
  const Unit* container = unit.row->container ? FindUnit(record, unit.row->container) : nullptr;
  // Containers nest at most a few deep; the guard stops a layout that names itself.
  for (int depth = 0; container && depth < 16; ++depth) {
    const HWND handle = container->LiveControl();
    if (handle && record.window) {
      const RECT rect = RectInForm(record, handle);
      origin.x += rect.left;
      origin.y += rect.top;
      break;
    }
    origin.x += container->left;
    origin.y += container->top;
    container = container->row->container ? FindUnit(record, container->row->container) : nullptr;
  }
  return origin;
}

bool UnitShown(WindowRecord& record, const Unit& unit) {
  if (!(unit.flags & kUnitVisible)) return false;
  // A hidden container hides what it holds; a tab box shows only its current page.
  const Unit* at = &unit;
  for (int depth = 0; at->row->container && depth < 16; ++depth) {
    const Unit* container = FindUnit(record, at->row->container);
    if (!container) break;
    if (!(container->flags & kUnitVisible)) return false;
    if (container->component && !container->component->ShowsUnit(at->Id())) return false;
    at = container;
  }
  return true;
}

void ApplyUnitVisibility(WindowRecord& record, const Unit& unit) {
  if (&unit == &record.WindowUnit()) return;
  // The unit, then whatever it holds, however deep: a container shown or hidden takes its units
  // along, and each of them shows only where every container above it lets it.
  for (std::size_t i = 1; i < record.units.size(); ++i) {
    const Unit& each = record.units[i];
    if (&each != &unit && !Contains(record, unit, each)) continue;
    if (const HWND handle = each.LiveControl()) ShowWindow(handle, UnitShown(record, each) ? SW_SHOWNA : SW_HIDE);
  }
}

void RecreateControl(WindowRecord& record, Unit& unit) {
  Component& component = *unit.component;
  const HWND old = component.Control();
  if (!old) return;
  ControlPlace place{record.window, RectInForm(record, old), GetDlgCtrlID(old), IsWindowEnabled(old) != 0};
  const HWND before = GetWindow(old, GW_HWNDPREV);
  BeginRecreation();
  component.DestroyControl();
  if (component.Create(place) && component.Control()) {
    SetWindowPos(component.Control(), before ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Shown as the unit is, not as the old control was: a control of a form not yet shown, or
    // hidden, is not visible on screen, yet its unit may be.
    ApplyUnitVisibility(record, unit);
  }
  EndRecreation();
}

std::uint64_t ReadProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index,
                           std::int32_t subIndex) {
  WindowRecord& record = RecordOrFail(windowId);
  Unit& unit = UnitOrFail(record, unitId);
  if (index < kFirstOwnProperty) return ReadCommon(record, unit, index);
  if (!unit.live || !unit.component) ControlNotLive();
  const PropertyRow* row = RowOf(unit, index);
  if (!row) return 0;
  const RawValue raw = unit.component->Read(index - kFirstOwnProperty);
  switch (row->kind) {
    case ValueKind::kTruth:
      return raw.number == 1 ? 1 : 0;
    case ValueKind::kText: case ValueKind::kFileName:
      return FromPointer(CopyText(raw.text.c_str()));
    case ValueKind::kFont: {
      const LOGFONTA font = raw.font ? *raw.font : DefaultGuiFont();
      if (subIndex != kWholeValue) return ReadFontPart(font, subIndex);
      auto* record = static_cast<FontRecord*>(FrameAllocate(sizeof(FontRecord)));
      *record = RecordFromFont(font);
      return FromPointer(record);
    }
    default:
      if (IsBufferKind(row->kind)) return FromPointer(MakeByteBuffer(raw.bytes.data(), raw.bytes.size()));
      return static_cast<std::uint64_t>(raw.number);
  }
}

void WriteProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex,
                   std::uint64_t value) {
  WindowRecord& record = RecordOrFail(windowId);
  Unit& unit = UnitOrFail(record, unitId);
  if (index < kFirstOwnProperty) {
    WriteCommon(record, unit, index, value);
    return;
  }
  if (!unit.live || !unit.component) ControlNotLive();
  const PropertyRow* row = RowOf(unit, index);
  if (!row) return;
  const int k = index - kFirstOwnProperty;
  RawValue raw;
  const auto number = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  if (row->kind == ValueKind::kTruth) {
    raw.number = number ? 1 : 0;
  } else if (IsTextKind(row->kind)) {
    const char* text = TextOf(value);
    raw.text = text ? text : "";
  } else if (IsBufferKind(row->kind)) {
    auto bytes = BufferOf(value);
    if (!bytes) return;
    raw.bytes = std::move(*bytes);
  } else if (row->kind == ValueKind::kFont) {
    if (subIndex == kWholeValue) {
      const auto* font = reinterpret_cast<const FontRecord*>(static_cast<std::uintptr_t>(value));
      if (font) raw.font = FontFromRecord(*font);
    } else {
      const RawValue stored = unit.component->Read(k);
      LOGFONTA font = stored.font ? *stored.font : DefaultGuiFont();
      WriteFontPart(font, subIndex, value);
      raw.font = font;
    }
  } else {
    raw.number = row->clamped ? std::clamp(number, row->minimum, row->maximum) : number;
  }
  if (unit.component->Write(k, raw) == WriteOutcome::kRecreate) RecreateControl(record, unit);
}

std::int32_t ReadIntProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadProperty(windowId, unitId, index, kWholeValue)));
}

void WriteIntProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index, std::int32_t value) {
  WriteProperty(windowId, unitId, index, kWholeValue, static_cast<std::uint32_t>(value));
}

Text ReadTextProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index) {
  return reinterpret_cast<Text>(static_cast<std::uintptr_t>(ReadProperty(windowId, unitId, index, kWholeValue)));
}

void WriteTextProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index, const char* text) {
  WriteProperty(windowId, unitId, index, kWholeValue, FromPointer(text));
}
