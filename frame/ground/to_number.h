// The "to number" command: any basic value as a double. Text is read as a decimal number the way
// the user types one, full-width digits included.
#pragma once

#include "frame/ground/values.h"

// Reads the normalised text (null is the empty text) as a C-style decimal number: leading white
// space, an optional sign, digits with an optional point and fraction, an optional exponent.
// Reading stops at the first character that does not fit; no digits give 0. Hexadecimal, "inf"
// and "nan" are not numbers here. The decimal point is always '.', whatever the C locale says.
double TextToNumber(const char* text);

// Integers and booleans by their integer value, a subroutine by its unsigned address, a double
// unchanged, a text through TextToNumber; every other type gives 0.
double ToNumber(const ArgRecord& value);
