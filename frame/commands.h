// The standard control operations as commands of the command interface. args[0] is the object
// reference: window id in `low`, unit id in `high`, component type in `type`; the method's own
// arguments follow. Each adapter unpacks the records and calls a typed function.
#pragma once

#include "frame/ground/values.h"

void CommandLoadWindow(ResultRecord* result, int argCount, const ArgRecord* args);  // parent, modal
void CommandDestroy(ResultRecord* result, int argCount, const ArgRecord* args);     // immediately
void CommandRefresh(ResultRecord* result, int argCount, const ArgRecord* args);
void CommandPageName(ResultRecord* result, int argCount, const ArgRecord* args);    // page from 1
void CommandOpenDialog(ResultRecord* result, int argCount, const ArgRecord* args);
void CommandItemText(ResultRecord* result, int argCount, const ArgRecord* args);    // index from 0
void CommandAddItem(ResultRecord* result, int argCount, const ArgRecord* args);     // text, data
void CommandClear(ResultRecord* result, int argCount, const ArgRecord* args);
void CommandBalloonPopUp(ResultRecord* result, int argCount, const ArgRecord* args);  // x, y, text, icon, stay
void CommandProcessPendingEvents(ResultRecord* result, int argCount, const ArgRecord* args);

// The object reference record of a unit.
ArgRecord MakeObjectArg(std::uint32_t windowId, std::uint32_t unitId, std::uint32_t typeId);
