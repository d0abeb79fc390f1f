#include "canvas/png_packing.h"

#include <png.h>

#include <cstdio>
#include <limits>
#include <utility>

// libpng reports its errors (and the sink's, raised from the write callback) by longjmp. Every
// setjmp sits in one of the small Guarded* functions below, which hold nothing with a destructor,
// and the callbacks the jump starts from hold nothing either, so a jump never skips a destructor.
// Nothing is read back from a Guarded* frame after a jump: it only answers false.

namespace {

constexpr std::uint32_t kLargestSide = 0x7FFFFFFFu;  // PNG's own limit, 2^31 - 1

// What the libpng callbacks reach through the io and error pointers: plain data, since the
// callbacks end in a jump.
struct Channel {
  PngWriter::Sink* sink = nullptr;
  char message[256] = {};
};

void Note(Channel* channel, const char* text) {
  std::snprintf(channel->message, sizeof channel->message, "%s", text ? text : "");
}

[[noreturn]] void PNGCBAPI OnError(png_structp png, png_const_charp message) {
  Channel* channel = static_cast<Channel*>(png_get_error_ptr(png));
  // The sink's refusal is already noted; libpng's own errors arrive here first.
  if (channel->message[0] == '\0') {
    std::snprintf(channel->message, sizeof channel->message, "libpng stopped: %s", message);
  }
  png_longjmp(png, 1);
}

void PNGCBAPI OnWarning(png_structp, png_const_charp) {}

void PNGCBAPI WriteBytes(png_structp png, png_bytep bytes, std::size_t size) {
  Channel* channel = static_cast<Channel*>(png_get_io_ptr(png));
  bool taken = false;
  // An exception must not travel through libpng's C frames: it counts as a refusal.
  try {
    taken = (*channel->sink)(bytes, size);
  } catch (...) {
    taken = false;
  }
  if (!taken) {
    Note(channel, "the sink did not take the file's bytes");
    png_error(png, "write failed");
  }
}

void PNGCBAPI FlushNothing(png_structp) {}

bool GuardedWriteHeader(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height,
                        int colorType, png_uint_32 pixelsPerMetre) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, width, height, 8, colorType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (pixelsPerMetre > 0) png_set_pHYs(png, info, pixelsPerMetre, pixelsPerMetre, PNG_RESOLUTION_METER);
  png_write_info(png, info);
  return true;
}

bool GuardedWriteRow(png_structp png, const std::uint8_t* row) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_write_row(png, row);
  return true;
}

bool GuardedWriteEnd(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_write_end(png, info);
  return true;
}

}  // namespace

std::size_t PngRowBytes(std::uint32_t width, PngPixels pixels) {
  const std::size_t channels = pixels == PngPixels::kRgba ? 4 : 3;
  if (width > std::numeric_limits<std::size_t>::max() / channels) return 0;
  return std::size_t{width} * channels;
}

std::uint32_t PngPixelsPerMetre(int dotsPerInch) {
  if (dotsPerInch <= 0) return 0;
  // An inch is 0.0254 m: dots x 10000 / 254, to the nearest.
  const std::uint64_t perMetre = (std::uint64_t(dotsPerInch) * 10000 + 127) / 254;
  return perMetre > kLargestSide ? 0 : static_cast<std::uint32_t>(perMetre);
}

enum class PngStage { kFresh, kRows, kFinished, kBroken };

struct PngWriter::State {
  Sink sink;
  Channel channel;
  png_structp png = nullptr;
  png_infop info = nullptr;
  PngStage stage = PngStage::kFresh;
  std::uint32_t height = 0;
  std::uint32_t rowsWritten = 0;
  std::string brokenBy;  // why the writing stopped, for every later call

  void Release() {
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    png = nullptr;
    info = nullptr;
  }
};

PngWriter::PngWriter(Sink sink) : state_(std::make_unique<State>()) {
  state_->sink = std::move(sink);
  state_->channel.sink = &state_->sink;
}

PngWriter::~PngWriter() { state_->Release(); }

const std::string& PngWriter::Error() const { return error_; }

bool PngWriter::Fail(std::string why) {
  error_ = std::move(why);
  return false;
}

bool PngWriter::FailFromLibpng() {
  State& s = *state_;
  s.stage = PngStage::kBroken;
  s.brokenBy = s.channel.message[0] ? s.channel.message : "libpng stopped";
  s.Release();
  return Fail(s.brokenBy);
}

bool PngWriter::Begin(std::uint32_t width, std::uint32_t height, PngPixels pixels, int dotsPerInch) {
  State& s = *state_;
  if (s.stage == PngStage::kBroken) return Fail("the writing failed earlier: " + s.brokenBy);
  if (s.stage != PngStage::kFresh) return Fail("Begin was called already");
  if (!s.sink) return Fail("there is no sink for the file's bytes");
  if (width == 0 || height == 0) {
    return Fail("a PNG picture needs at least one pixel, not " + std::to_string(width) + " x " +
                std::to_string(height));
  }
  if (width > kLargestSide || height > kLargestSide) {
    return Fail("PNG pictures are at most 2147483647 pixels a side, not " + std::to_string(width) +
                " x " + std::to_string(height));
  }
  if (PngRowBytes(width, pixels) == 0) {
    return Fail("a row " + std::to_string(width) + " pixels wide does not fit in this machine's memory");
  }
  const std::uint32_t pixelsPerMetre = PngPixelsPerMetre(dotsPerInch);
  if (dotsPerInch > 0 && pixelsPerMetre == 0) {
    return Fail("a resolution of " + std::to_string(dotsPerInch) + " dpi is beyond what PNG records");
  }

  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s.channel, OnError, OnWarning);
  if (s.png) s.info = png_create_info_struct(s.png);
  if (!s.png || !s.info) {
    s.Release();
    return Fail("libpng could not start (out of memory)");
  }
  // libpng's default limit for pictures it makes is a million pixels a side; PNG allows more.
  png_set_user_limits(s.png, kLargestSide, kLargestSide);
  png_set_write_fn(s.png, &s.channel, WriteBytes, FlushNothing);
  s.channel.message[0] = '\0';
  const int colorType = pixels == PngPixels::kRgba ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  if (!GuardedWriteHeader(s.png, s.info, width, height, colorType, pixelsPerMetre)) return FailFromLibpng();
  s.stage = PngStage::kRows;
  s.height = height;
  s.rowsWritten = 0;
  error_.clear();
  return true;
}

bool PngWriter::WriteRow(const std::uint8_t* row) {
  State& s = *state_;
  switch (s.stage) {
    case PngStage::kBroken: return Fail("the writing failed earlier: " + s.brokenBy);
    case PngStage::kFresh: return Fail("WriteRow came before Begin");
    case PngStage::kFinished: return Fail("WriteRow came after Finish");
    case PngStage::kRows: break;
  }
  if (s.rowsWritten == s.height) {
    return Fail("all " + std::to_string(s.height) + " rows are written already");
  }
  if (!row) return Fail("WriteRow was given no row");
  if (!GuardedWriteRow(s.png, row)) return FailFromLibpng();
  ++s.rowsWritten;
  error_.clear();
  return true;
}

bool PngWriter::Finish() {
  State& s = *state_;
  switch (s.stage) {
    case PngStage::kBroken: return Fail("the writing failed earlier: " + s.brokenBy);
    case PngStage::kFresh: return Fail("Finish came before Begin");
    case PngStage::kFinished: return Fail("Finish was called already");
    case PngStage::kRows: break;
  }
  if (s.rowsWritten < s.height) {
    return Fail("rows are missing: " + std::to_string(s.rowsWritten) + " of " + std::to_string(s.height) +
                " written");
  }
  if (!GuardedWriteEnd(s.png, s.info)) return FailFromLibpng();
  s.stage = PngStage::kFinished;
  s.Release();
  error_.clear();
  return true;
}

std::vector<std::uint8_t> PackPng(std::uint32_t width, std::uint32_t height, PngPixels pixels,
                                  const std::uint8_t* data, std::size_t stride, int dotsPerInch) {
  const std::size_t rowBytes = PngRowBytes(width, pixels);
  if (!data || rowBytes == 0 || stride < rowBytes) return {};
  std::vector<std::uint8_t> file;
  // A failed append (no memory) throws, which the writer takes as the sink's refusal.
  PngWriter writer([&file](const std::uint8_t* bytes, std::size_t size) {
    file.insert(file.end(), bytes, bytes + size);
    return true;
  });
  if (!writer.Begin(width, height, pixels, dotsPerInch)) return {};
  for (std::uint32_t y = 0; y < height; ++y) {
    if (!writer.WriteRow(data + std::size_t{y} * stride)) return {};
  }
  if (!writer.Finish()) return {};
  return file;
}
