// PNG files from 8-bit RGB or RGBA rows, written through libpng as the rows come, so a picture
// taller than memory allows can be streamed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum class PngPixels { kRgb, kRgba };

// Bytes in one row of `width` pixels of the kind, or 0 when that does not fit in a size_t.
std::size_t PngRowBytes(std::uint32_t width, PngPixels pixels);

// Pixels per metre for a resolution in dots per inch, rounded (96 dpi: 3780); 0 for no resolution
// (0 or less) and for one beyond what a pHYs chunk holds (2^31 - 1).
std::uint32_t PngPixelsPerMetre(int dotsPerInch);

class PngWriter {
 public:
  // Receives the file's bytes as libpng makes them; false stops the writing (an error).
  using Sink = std::function<bool(const std::uint8_t* bytes, std::size_t size)>;

  explicit PngWriter(Sink sink);
  ~PngWriter();
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;

  // The header: size, pixel kind and, when dotsPerInch > 0, a pHYs chunk of that resolution (pixels
  // per metre, rounded). Width and height run from 1 to 2^31 - 1.
  bool Begin(std::uint32_t width, std::uint32_t height, PngPixels pixels, int dotsPerInch);
  // One row of width x 3 or x 4 bytes, top row first.
  bool WriteRow(const std::uint8_t* row);
  // After exactly `height` rows: the end of the file. False if rows are missing.
  bool Finish();

  // Why the last call failed, in plain English; empty when nothing failed. A call refused for
  // coming out of order, or with rows missing or one too many, leaves the writer as it was; once
  // libpng or the sink has failed, every later call fails too.
  const std::string& Error() const;

 private:
  struct State;
  bool Fail(std::string why);
  bool FailFromLibpng();

  std::unique_ptr<State> state_;
  std::string error_;
};

// A whole picture at once (rows `stride` bytes apart); empty on failure.
std::vector<std::uint8_t> PackPng(std::uint32_t width, std::uint32_t height, PngPixels pixels,
                                  const std::uint8_t* data, std::size_t stride, int dotsPerInch);
