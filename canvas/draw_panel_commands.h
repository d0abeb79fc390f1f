// What the program needs of the drawing panel without Windows: its operations on the command
// interface. Its property and event numbers are with every type's, in forms/.
#pragma once

#include <cstdint>

#include "forms/event_ids.h"
#include "forms/property_ids.h"
#include "frame/ground/event_record.h"
#include "frame/ground/values.h"

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
