// What the program needs of the drawing panel without Windows: its property and event numbers and
// its operations on the command interface.
#pragma once

#include <cstdint>

#include "frame/event_record.h"
#include "frame/values.h"

// Property numbers of the panel (8 and up are its own).
inline constexpr std::int32_t kDrawPanelBorder = 8;
inline constexpr std::int32_t kDrawPanelBackColor = 9;
inline constexpr std::int32_t kDrawPanelPicture = 10;
inline constexpr std::int32_t kDrawPanelPictureMode = 11;
inline constexpr std::int32_t kDrawPanelAutoRedraw = 12;
inline constexpr std::int32_t kDrawPanelCoordUnit = 13;
inline constexpr std::int32_t kDrawPanelPenStyle = 14;
inline constexpr std::int32_t kDrawPanelDrawMode = 15;
inline constexpr std::int32_t kDrawPanelPenWidth = 16;
inline constexpr std::int32_t kDrawPanelPenColor = 17;
inline constexpr std::int32_t kDrawPanelBrushStyle = 18;
inline constexpr std::int32_t kDrawPanelBrushColor = 19;
inline constexpr std::int32_t kDrawPanelTextColor = 20;
inline constexpr std::int32_t kDrawPanelTextBackColor = 21;
inline constexpr std::int32_t kDrawPanelFont = 22;
inline constexpr std::int32_t kDrawPanelDrawWidth = 23;  // read only
inline constexpr std::int32_t kDrawPanelDrawHeight = 24;  // read only

// The panel's paint event (raised only while autoRedraw is off): left, top, right, bottom of the
// part to paint, in the coordinate unit.
inline constexpr std::int32_t kDrawPanelPaint = 0;

// The panel's operations on the command interface: args[0] is the object reference, then:
void CommandPanelClear(ResultRecord* result, int argCount, const ArgRecord* args);  // left, top, width, height
void CommandPanelSetWritePosition(ResultRecord* result, int argCount, const ArgRecord* args);  // x, y
void CommandPanelWrite(ResultRecord* result, int argCount, const ArgRecord* args);            // values
void CommandPanelWriteLine(ResultRecord* result, int argCount, const ArgRecord* args);        // values
void CommandPanelScrollWriteLine(ResultRecord* result, int argCount, const ArgRecord* args);  // values
void CommandPanelWriteAt(ResultRecord* result, int argCount, const ArgRecord* args);  // x, y, values
void CommandPanelGetPicture(ResultRecord* result, int argCount, const ArgRecord* args);  // width, height

// The canvas library's support-library notice for the program header: registers the DrawPanel type
// when the frame starts the library.
void DrawPanelLibraryNotice(int code, NotificationFunction notify);
