// The directory of an icon or cursor file (kinds 3 and 4): which of its images becomes the picture.
// Portable, so the native build and the fuzzer read directories exactly as the Windows build does;
// only making the platform icon from the image is left to icon_decoder_win.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

struct IconImage {
  const std::uint8_t* data = nullptr;  // inside the file's bytes; null when there is no image
  std::size_t size = 0;
  // From the image's own header (zero when the image is shorter than it): the width, half the
  // height (which counts the colour rows and the mask rows) and the bits per pixel.
  int width = 0;
  int height = 0;
  unsigned bitCount = 0;
};

// The first entry whose width byte is 32 and whose colour count byte is at least 16, else the last
// entry read (a directory that ends early stops the reading there). None when the directory counts
// no entries, none can be read, or the chosen entry's data is empty or lies outside the file.
IconImage ChooseIconImage(const std::uint8_t* bytes, std::size_t length);
