// The two generic entry points through which the program reads and writes numbered properties of
// units, the font value they exchange, and typed conveniences over them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "frame/ground/values.h"

#include "forms/font_record.h"

// Low 32 bits carry integers, truth values, colours, choices and (in the 32-bit program) the
// pointer to a text, buffer or FontRecord the caller then owns. The 64-bit build needs all 64 bits
// for a pointer.
std::uint64_t ReadProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index,
                           std::int32_t subIndex);
void WriteProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex,
                   std::uint64_t value);

// Conveniences for C++ callers; the same checks and conversions apply.
std::int32_t ReadIntProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index);
void WriteIntProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index, std::int32_t value);
Text ReadTextProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index);  // caller frees
void WriteTextProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index, const char* text);

// Font conversions (the vertical resolution is the screen's).
LOGFONTA DefaultGuiFont();
LOGFONTA FontFromRecord(const FontRecord& record);
FontRecord RecordFromFont(const LOGFONTA& font);  // the face is a new text the caller frees
// Replaces one part (sub-index 0 to 6) of a font; the value is a number, or a text for the face.
void WriteFontPart(LOGFONTA& font, std::int32_t subIndex, std::uint64_t value);
std::uint64_t ReadFontPart(const LOGFONTA& font, std::int32_t subIndex);
std::int32_t NormaliseAngle(std::int64_t angle);

// Re-creates a unit's live control from its stored data, in place; no event is delivered meanwhile.
struct WindowRecord;
struct Unit;
void RecreateControl(WindowRecord& record, Unit& unit);
// Where a unit's container's client area starts, in the form's client coordinates.
POINT ContainerOrigin(WindowRecord& record, const Unit& unit);
// Whether a unit should be on screen now: its visible flag and its tab page.
bool UnitShown(WindowRecord& record, const Unit& unit);
// Shows or hides the unit's control, and those of every unit it holds, as UnitShown says. The one
// way units are shown and hidden once their window is up: visibility writes, tab changes and
// re-creations all come here.
void ApplyUnitVisibility(WindowRecord& record, const Unit& unit);
