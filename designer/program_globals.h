// The program's state: the current background picture, the current design's family and the font
// handed to the panel at each drawing. One instance, from before the main window loads until the
// clean-up routine.
#pragma once

#include <cstdint>

#include "forms/font_record.h"
#include "frame/ground/values.h"

struct ProgramGlobals {
  Text backgroundPath = nullptr;
  std::int32_t backgroundWidth = 0;
  std::int32_t backgroundHeight = 0;
  ByteBuffer backgroundBytes = nullptr;
  Text currentFamily = nullptr;  // a copy of the selected design's family
  FontRecord* signatureFont = nullptr;
};

ProgramGlobals& Globals();

// Creates the signature font (size 9, "宋体", every other field 0); everything else starts empty.
void ProgramGlobalsInit();
// The clean-up routine: the path, the picture bytes, the family, the face inside the font, then
// the font itself.
void ProgramGlobalsRelease();
