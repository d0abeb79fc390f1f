// Helpers shared by the picture tests: fixture files, PPM references, little-endian byte building,
// and an independent reading of the pixel block layouts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/picture.h"

using Bytes = std::vector<std::uint8_t>;
using Rgb = std::array<std::uint8_t, 3>;

// YJ_SOURCE_DIR/tests/canvas/<folder>/<name>.
std::string CanvasTestPath(std::string_view folder, std::string_view name);
// The whole file; empty when it cannot be read.
Bytes ReadFileBytes(const std::string& path);

struct RgbImage {
  int width = 0;
  int height = 0;
  Bytes rgb;  // top row first
  Rgb At(int x, int y) const;
};
// A binary PPM (P6, maxval 255, or 65535 reduced to 8 bits as ImageMagick reduces its pixels).
// Empty message on success, else what was wrong.
std::string ReadPpm(const std::string& path, RgbImage* image);

inline DecodeResult Decode(const Bytes& bytes) { return DecodePicture(bytes.data(), bytes.size()); }

void PutLe16(Bytes& out, std::uint32_t value);
void PutLe32(Bytes& out, std::uint32_t value);
void PutBytes(Bytes& out, std::initializer_list<std::uint8_t> bytes);
std::uint32_t LoadLe32(const std::uint8_t* at);

// The colour of pixel (x, y), top row 0, read straight from the block as the record's layout
// describes it: kinds 1 and 2 bottom row first blue-green-red; 5 and 6 an index into the colour
// table behind the 40-byte header, rows from 1064; 7 one bit per pixel, 1 white. For a GIF, (x, y)
// must lie in the first image.
Rgb LayoutPixel(const DecodedPicture& picture, int x, int y);

// "gif87a.gif" -> "gif87a_gif": a test name.
std::string TestNameFor(std::string_view file);
