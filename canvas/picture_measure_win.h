// Pictures as device bitmaps, and the width and height of picture files.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "frame/ground/values.h"

// A screen-compatible bitmap of the picture, owned by the caller; null when the bytes decode to
// nothing. Icons and cursors are drawn onto white.
HBITMAP PictureToBitmap(const std::uint8_t* bytes, std::size_t length);

// The picture file's size in pixels: through our decoders, else through the system's own bitmap
// loading (which knows compressed BMPs); 0 when neither reads it.
std::int32_t PictureWidth(const char* fileName);
std::int32_t PictureHeight(const char* fileName);

// Commands: one text argument, the file name; an int32 result.
void CmdPictureWidth(ResultRecord* result, int argCount, const ArgRecord* args);
void CmdPictureHeight(ResultRecord* result, int argCount, const ArgRecord* args);
