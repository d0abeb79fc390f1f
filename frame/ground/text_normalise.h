// Folding of the full-width forms a Chinese keyboard produces into plain ASCII, so that numbers and
// dates read the same whichever way the user typed them.
#pragma once

#include <string>

// A GBK copy of `text` (null is the empty text) in which full-width ASCII (lead byte 0xA3, trail
// 0xA1-0xFE) becomes its ASCII character, the ideographic space a space, 0xA1AB "~" and 0xA1EE /
// 0xA1EF "*". Every other character, single- or double-byte, is copied unchanged.
std::string NormaliseText(const char* text);
