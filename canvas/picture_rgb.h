// A decoded picture as plain top-row-first RGB triplets, whatever its kind's block layout: for tools
// that write picture files (the probe's PPM output) and for comparing pictures in tests.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas/picture.h"

// width x height x 3 bytes of the record's size. Palette images go through their colour table,
// 1-bit rows show 1 as white and 0 as black, and a GIF's logical screen is black outside its first
// image. False (and `rgb` empty) for kinds without a pixel block or a block too small for its kind.
bool PictureToRgb(const DecodedPicture& picture, std::vector<std::uint8_t>* rgb);

// Whether PictureToRgb would succeed: the record has a block large enough for its kind's layout.
bool PictureBlockFitsLayout(const DecodedPicture& picture);
