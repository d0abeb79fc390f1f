// Writing the tool's pictures. Every file is written whole beside its target and then put in its
// place, so a failure leaves any older file of that name as it was.
#pragma once

#include <memory>
#include <string>

#include "canvas/png_packing.h"
#include "frame/ground/replacing_file_win.h"
#include "tools/signature_sheet/raster.h"
#include "tools/signature_sheet/sheet_options.h"

// A PNG keeps the alpha (and drops it when every pixel is opaque) and records the print resolution;
// a BMP is the program's 24-bit layout, over white where the picture is transparent.
bool WritePicture(const std::string& path, const Rgba& picture, OutputFormat format, int dotsPerInch);

// A PNG written as its rows come, for a contact sheet taller than memory would hold.
class StreamedPng {
 public:
  explicit StreamedPng(const std::string& path);
  bool Begin(int width, int height, int dotsPerInch);
  // The picture's rows (all opaque), appended below the rows before.
  bool Append(const Rgba& rows);
  bool Finish();

 private:
  ReplacingFile file_;
  PngWriter writer_;
  std::vector<std::uint8_t> row_;
};
