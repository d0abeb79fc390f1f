// How a picture box paints its picture, for the picture box component.
#pragma once

#include <windows.h>

#include "canvas/picture.h"

// Display modes: 0 natural size at the top-left corner; 2 centred and shrunk to fit, never
// enlarged; any other value stretched over the whole client area. The background brush, when the
// box has one, fills the client area first.
void PaintPictureBox(HDC dc, const RECT& client, HBRUSH background, const DecodedPicture* picture,
                     int displayMode);

struct PictureService;
// Decoding, releasing and painting picture box pictures with the decoders above, for the picture
// box component (installed by the canvas library when it starts).
const PictureService& PictureBoxService();
