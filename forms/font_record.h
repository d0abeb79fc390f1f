// The seven-field font value that crosses ReadProperty and WriteProperty. Kept apart from
// forms/properties.h so that the program's logic can hold one without seeing windows.h.
#pragma once

#include <cstdint>

#include "frame/ground/values.h"

struct FontRecord {
  std::int32_t angle;  // tenths of a degree
  std::int32_t bold;
  std::int32_t italic;
  std::int32_t strikeOut;
  std::int32_t underline;
  std::int32_t size;  // points
  Text face;
};
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(FontRecord) == 28);
#endif
