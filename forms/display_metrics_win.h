// What the drawing code needs to know of the display: looked up once, not on every drawing (each
// look-up takes and gives back the screen's surface), and looked up again after the display changed.
#pragma once

#include <windows.h>

struct DisplayMetrics {
  int pixelsPerInchY = 96;
  int bitsPerPixel = 32;
};

// The display's metrics as last looked up.
const DisplayMetrics& CurrentDisplayMetrics();

// The display's resolution or colour depth changed: the next CurrentDisplayMetrics looks again, and
// every control of every loaded window hears of it (it is sent only to top-level windows).
void OnDisplayChanged(HWND topLevel, WPARAM wParam, LPARAM lParam);

// Halftone above 16 bits per pixel on the display, else colour-on-colour.
int DisplayStretchMode();
// Sets the display's stretch mode on `dc` (with the brush origin halftoning needs).
void ApplyDisplayStretchMode(HDC dc);
