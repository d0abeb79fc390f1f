// Small procedures of the program used wherever captions and sizes are worked out.
#pragma once

#include <cstdint>

#include "frame/ground/values.h"

// A new text holding the given texts one after another, from `allocate`; a null text counts as
// empty. The caller frees the result (null when all are empty).
Text JoinTextsWith(void* (*allocate)(std::size_t), const char* first, const char* second,
                   const char* third = nullptr);
// Truncation toward zero through a 64-bit integer, keeping its low 32 bits. A value outside the
// 64-bit range (or not a number) gives 0.
std::int32_t TruncateToInt(double value);

// 0 when the texts are equal, -1 when `first` sorts first, 1 otherwise; bytes compare as unsigned
// values and a null text equals the empty text.
int TextsDiffer(const char* first, const char* second);
