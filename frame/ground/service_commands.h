// The file, text and time services as commands of the command interface: each unpacks its
// ArgRecords, calls the typed service and fills the result record. A missing argument reads as an
// omitted one.
#pragma once

#include "frame/ground/values.h"

void CmdRunDirectory(ResultRecord* result, int argCount, const ArgRecord* args);
void CmdToNumber(ResultRecord* result, int argCount, const ArgRecord* args);
void CmdTextToDateTime(ResultRecord* result, int argCount, const ArgRecord* args);
void CmdNow(ResultRecord* result, int argCount, const ArgRecord* args);
// first date-time, second date-time, unit
void CmdTimeInterval(ResultRecord* result, int argCount, const ArgRecord* args);

// Windows builds only.
// pattern (text; empty continues), attribute mask (omitted: every entry but folders), the address
// of the calling routine's FindSlot
void CmdFindFile(ResultRecord* result, int argCount, const ArgRecord* args);
// the address of the FindSlot
void CmdCloseFindHandle(ResultRecord* result, int argCount, const ArgRecord* args);
// file name
void CmdReadFile(ResultRecord* result, int argCount, const ArgRecord* args);
// file name, then one or more byte buffers
void CmdWriteFile(ResultRecord* result, int argCount, const ArgRecord* args);

// The argument at `index`, or an omitted one past the end.
ArgRecord ArgAt(int argCount, const ArgRecord* args, int index);
