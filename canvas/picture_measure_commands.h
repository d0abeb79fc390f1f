// The picture size commands for the program's logic, which sees no windows.h: each takes a file
// name and answers its width or height in pixels, 0 when the file cannot be read or decoded.
#pragma once

#include "frame/ground/values.h"

void CmdPictureWidth(ResultRecord* result, int argCount, const ArgRecord* args);
void CmdPictureHeight(ResultRecord* result, int argCount, const ArgRecord* args);
