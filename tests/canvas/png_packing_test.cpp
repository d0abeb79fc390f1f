// PNG packing: files written row by row through libpng, read back with libpng's own reader (natively
// Debian's libpng, under wine the static one the program links).
#include <png.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas/png_packing.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Pixels that do not compress: every byte from a linear congruential sequence.
Bytes NoisyPixels(std::uint32_t width, std::uint32_t height, std::size_t channels, std::uint32_t seed) {
  Bytes pixels(std::size_t{width} * height * channels);
  for (std::uint8_t& byte : pixels) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(seed >> 24);
  }
  return pixels;
}

// ---- Reading back with libpng's classic reader -------------------------------------------------

struct PngHeader {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colorType = -1;
  int interlace = -1;
  bool hasPhys = false;
  png_uint_32 physX = 0;
  png_uint_32 physY = 0;
  int physUnit = -1;
};

struct MemoryInput {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at;
};

void PNGCBAPI ReadFromMemory(png_structp png, png_bytep out, std::size_t size) {
  MemoryInput* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (size > input->size - input->at) png_error(png, "the file ends early");
  std::memcpy(out, input->data + input->at, size);
  input->at += size;
}

void PNGCBAPI QuietWarning(png_structp, png_const_charp) {}

// The setjmps live in frames that hold nothing with a destructor.
bool GuardedReadInfo(png_structp png, png_infop info, PngHeader* header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  png_get_IHDR(png, info, &header->width, &header->height, &header->bitDepth, &header->colorType,
               &header->interlace, nullptr, nullptr);
  header->hasPhys = png_get_pHYs(png, info, &header->physX, &header->physY, &header->physUnit) != 0;
  return true;
}

bool GuardedReadRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

struct ReadBack {
  std::string error;  // empty when the whole file read cleanly
  PngHeader header;
  Bytes pixels;  // top row first, rows packed
  bool endedAtIend = false;  // nothing after the IEND chunk
};

ReadBack ReadPng(const Bytes& file) {
  ReadBack result;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, QuietWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_read_struct(png ? &png : nullptr, nullptr, nullptr);
    result.error = "libpng could not start";
    return result;
  }
  MemoryInput input{file.data(), file.size(), 0};
  png_set_read_fn(png, &input, ReadFromMemory);
  if (!GuardedReadInfo(png, info, &result.header)) {
    result.error = "the header did not read";
  } else {
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    result.pixels.resize(rowBytes * result.header.height);
    std::vector<png_bytep> rows(result.header.height);
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = result.pixels.data() + y * rowBytes;
    if (!GuardedReadRows(png, info, rows.data())) result.error = "the rows did not read";
    result.endedAtIend = input.at == input.size;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return result;
}

// Appends every piece the writer hands over, counting the calls.
struct Collector {
  Bytes file;
  int calls = 0;
  PngWriter::Sink Sink() {
    return [this](const std::uint8_t* bytes, std::size_t size) {
      ++calls;
      file.insert(file.end(), bytes, bytes + size);
      return true;
    };
  }
};

// ---- Kinds, sizes and pixels --------------------------------------------------------------------

// A 256 x 2 RGBA gradient: alpha x on the top row and 255 - x below, the colours vary too, and pixel
// (0, 0), fully transparent, keeps a colour that must survive.
Bytes AlphaGradient() {
  Bytes pixels;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 256; ++x) {
      pixels.push_back(static_cast<std::uint8_t>(x));
      pixels.push_back(static_cast<std::uint8_t>(255 - x));
      pixels.push_back(static_cast<std::uint8_t>(x * 7 + y));
      pixels.push_back(static_cast<std::uint8_t>(y == 0 ? x : 255 - x));
    }
  }
  pixels[0] = 200;  // (0, 0): alpha 0 with a colour
  pixels[1] = 10;
  pixels[2] = 30;
  return pixels;
}

TEST(PngPack, ReadsBackWithItsSizeKindAndExactPixels) {
  struct Case {
    const char* name;
    std::uint32_t width;
    std::uint32_t height;
    PngPixels pixels;
    std::size_t padding;  // bytes after each row in the source
    Bytes data;           // packed rows; padded below
  };
  const Case cases[] = {
      {"one RGB pixel", 1, 1, PngPixels::kRgb, 0, {12, 34, 56}},
      {"odd-sized RGB", 7, 5, PngPixels::kRgb, 0, NoisyPixels(7, 5, 3, 1)},
      {"RGB rows with padding", 5, 4, PngPixels::kRgb, 3, NoisyPixels(5, 4, 3, 2)},
      {"RGBA alpha gradient", 256, 2, PngPixels::kRgba, 0, AlphaGradient()},
      {"one tall RGBA column", 1, 300, PngPixels::kRgba, 4, NoisyPixels(1, 300, 4, 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t rowBytes = PngRowBytes(c.width, c.pixels);
    ASSERT_EQ(c.data.size(), rowBytes * c.height);
    Bytes source;
    for (std::uint32_t y = 0; y < c.height; ++y) {
      source.insert(source.end(), c.data.begin() + y * rowBytes, c.data.begin() + (y + 1) * rowBytes);
      source.insert(source.end(), c.padding, 0xEE);
    }
    const Bytes file = PackPng(c.width, c.height, c.pixels, source.data(), rowBytes + c.padding, 0);
    ASSERT_FALSE(file.empty());
    const ReadBack back = ReadPng(file);
    ASSERT_EQ(back.error, "");
    EXPECT_EQ(back.header.width, c.width);
    EXPECT_EQ(back.header.height, c.height);
    EXPECT_EQ(back.header.bitDepth, 8);
    EXPECT_EQ(back.header.colorType, c.pixels == PngPixels::kRgba ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(back.header.interlace, PNG_INTERLACE_NONE);
    EXPECT_FALSE(back.header.hasPhys) << "no resolution asked for";
    EXPECT_EQ(back.pixels, c.data);
    EXPECT_TRUE(back.endedAtIend);
  }
}

TEST(PngPack, TransparentPixelAndAlphaRampSurviveExactly) {
  const Bytes gradient = AlphaGradient();
  const ReadBack back = ReadPng(PackPng(256, 2, PngPixels::kRgba, gradient.data(), 256 * 4, 0));
  ASSERT_EQ(back.error, "");
  ASSERT_EQ(back.pixels.size(), gradient.size());
  for (int x = 0; x < 256; ++x) {
    EXPECT_EQ(back.pixels[x * 4 + 3], x) << "top row alpha at " << x;
    EXPECT_EQ(back.pixels[(256 + x) * 4 + 3], 255 - x) << "bottom row alpha at " << x;
  }
  EXPECT_EQ(back.pixels[0], 200) << "colour under alpha 0";
  EXPECT_EQ(back.pixels[1], 10);
  EXPECT_EQ(back.pixels[2], 30);
}

TEST(PngWriter, ResolutionGoesIntoPhysInPixelsPerMetre) {
  struct Case {
    int dotsPerInch;
    bool hasPhys;
    png_uint_32 perMetre;
  };
  // dpi / 0.0254, rounded: 96 -> 3779.53, 384 (96 x 4) -> 15118.11, 300 -> 11811.02, 72 -> 2834.65.
  const Case cases[] = {{96, true, 3780}, {384, true, 15118}, {300, true, 11811},
                        {72, true, 2835}, {0, false, 0},      {-96, false, 0}};
  const Bytes pixels = NoisyPixels(3, 2, 3, 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dotsPerInch);
    EXPECT_EQ(PngPixelsPerMetre(c.dotsPerInch), c.perMetre);
    const ReadBack back = ReadPng(PackPng(3, 2, PngPixels::kRgb, pixels.data(), 9, c.dotsPerInch));
    ASSERT_EQ(back.error, "");
    EXPECT_EQ(back.header.hasPhys, c.hasPhys);
    if (!c.hasPhys) continue;
    EXPECT_EQ(back.header.physX, c.perMetre);
    EXPECT_EQ(back.header.physY, c.perMetre);
    EXPECT_EQ(back.header.physUnit, PNG_RESOLUTION_METER);
  }
}

TEST(PngWriter, RowsStreamedOneByOneMakeTheSameFileAsPackPng) {
  // 300 x 200 of noise is some 180 KB of deflate output: libpng hands it over in many pieces.
  const std::uint32_t width = 300;
  const std::uint32_t height = 200;
  const Bytes pixels = NoisyPixels(width, height, 3, 5);
  Collector collector;
  PngWriter writer(collector.Sink());
  ASSERT_TRUE(writer.Begin(width, height, PngPixels::kRgb, 384)) << writer.Error();
  for (std::uint32_t y = 0; y < height; ++y) {
    Bytes row(pixels.begin() + y * width * 3, pixels.begin() + (y + 1) * width * 3);
    ASSERT_TRUE(writer.WriteRow(row.data())) << "row " << y << ": " << writer.Error();
  }
  ASSERT_TRUE(writer.Finish()) << writer.Error();
  EXPECT_EQ(writer.Error(), "");
  EXPECT_GT(collector.calls, 10) << "the file arrives piece by piece";
  EXPECT_EQ(collector.file, PackPng(width, height, PngPixels::kRgb, pixels.data(), width * 3, 384));
  const ReadBack back = ReadPng(collector.file);
  ASSERT_EQ(back.error, "");
  EXPECT_EQ(back.pixels, pixels);
  EXPECT_EQ(back.header.physX, 15118u);
}

// ---- Failures: false, a reason, no crash ---------------------------------------------------------

enum class Op { kBegin, kRow, kRowsToEnd, kFinish };
struct Step {
  Op op;
  bool succeeds;
  const char* reason;  // found in Error() when the step fails
};
enum class SinkKind { kTakes, kRefusesFirst, kRefusesAfter4k, kThrows };

TEST(PngWriter, FailuresAnswerFalseWithAReason) {
  struct Case {
    const char* name;
    std::uint32_t width;
    std::uint32_t height;
    SinkKind sink;
    std::vector<Step> steps;
    bool fileIsWhole;  // the steps end with a file that reads back as the picture
  };
  const Case cases[] = {
      {"sink refuses the first bytes", 4, 4, SinkKind::kRefusesFirst,
       {{Op::kBegin, false, "sink"}, {Op::kRow, false, "failed earlier: the sink"}}, false},
      {"sink throws", 4, 4, SinkKind::kThrows, {{Op::kBegin, false, "sink"}}, false},
      {"sink refuses midway", 300, 200, SinkKind::kRefusesAfter4k,
       {{Op::kBegin, true, ""}, {Op::kRowsToEnd, false, "sink"}, {Op::kFinish, false, "failed earlier"}},
       false},
      {"rows missing at Finish, then supplied", 4, 3, SinkKind::kTakes,
       {{Op::kBegin, true, ""}, {Op::kRow, true, ""}, {Op::kFinish, false, "1 of 3"},
        {Op::kRowsToEnd, true, ""}, {Op::kFinish, true, ""}},
       true},
      {"a row after the last one", 4, 2, SinkKind::kTakes,
       {{Op::kBegin, true, ""}, {Op::kRowsToEnd, true, ""}, {Op::kRow, false, "all 2 rows"},
        {Op::kFinish, true, ""}},
       true},
      {"a row after Finish", 4, 1, SinkKind::kTakes,
       {{Op::kBegin, true, ""}, {Op::kRowsToEnd, true, ""}, {Op::kFinish, true, ""},
        {Op::kRow, false, "after Finish"}, {Op::kFinish, false, "already"}},
       true},
      {"rows before Begin", 4, 1, SinkKind::kTakes,
       {{Op::kRow, false, "before Begin"}, {Op::kFinish, false, "before Begin"}, {Op::kBegin, true, ""},
        {Op::kRowsToEnd, true, ""}, {Op::kFinish, true, ""}},
       true},
      {"Begin twice", 4, 1, SinkKind::kTakes, {{Op::kBegin, true, ""}, {Op::kBegin, false, "already"}},
       false},
      {"zero width", 0, 5, SinkKind::kTakes, {{Op::kBegin, false, "0 x 5"}, {Op::kRow, false, "before Begin"}},
       false},
      {"zero height", 5, 0, SinkKind::kTakes, {{Op::kBegin, false, "5 x 0"}}, false},
      {"width over 2^31 - 1", 0x80000000u, 1, SinkKind::kTakes, {{Op::kBegin, false, "at most"}}, false},
      {"height over 2^31 - 1", 1, 0x80000000u, SinkKind::kTakes, {{Op::kBegin, false, "at most"}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes file;
    PngWriter::Sink sink = [&file, kind = c.sink](const std::uint8_t* bytes, std::size_t size) -> bool {
      if (kind == SinkKind::kThrows) throw std::runtime_error("disk gone");
      if (kind == SinkKind::kRefusesFirst) return false;
      if (kind == SinkKind::kRefusesAfter4k && file.size() + size > 4096) return false;
      file.insert(file.end(), bytes, bytes + size);
      return true;
    };
    const Bytes pixels = NoisyPixels(c.width > 1000 ? 1 : c.width, c.height > 1000 ? 1 : c.height, 3, 6);
    const std::size_t rowBytes = std::size_t{c.width} * 3;
    PngWriter writer(sink);
    std::uint32_t nextRow = 0;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const Step& step = c.steps[i];
      SCOPED_TRACE("step " + std::to_string(i));
      bool result = false;
      switch (step.op) {
        case Op::kBegin: result = writer.Begin(c.width, c.height, PngPixels::kRgb, 0); break;
        case Op::kRow:
          // Past the last row the first one is offered again: the writer must refuse it anyway.
          result = writer.WriteRow(pixels.data() + std::size_t{nextRow < c.height ? nextRow : 0} * rowBytes);
          if (result) ++nextRow;
          break;
        case Op::kRowsToEnd:
          result = true;
          while (result && nextRow < c.height) {
            result = writer.WriteRow(pixels.data() + std::size_t{nextRow} * rowBytes);
            if (result) ++nextRow;
          }
          break;
        case Op::kFinish: result = writer.Finish(); break;
      }
      EXPECT_EQ(result, step.succeeds);
      if (step.succeeds) {
        EXPECT_EQ(writer.Error(), "");
      } else {
        EXPECT_NE(writer.Error().find(step.reason), std::string::npos) << "error: " << writer.Error();
      }
    }
    if (c.sink == SinkKind::kRefusesAfter4k) {
      EXPECT_LT(nextRow, c.height) << "the refusal came while rows were written";
      EXPECT_GT(nextRow, 0u);
    }
    if (c.fileIsWhole) {
      const ReadBack back = ReadPng(file);
      ASSERT_EQ(back.error, "");
      EXPECT_EQ(back.pixels, pixels);
    }
  }
}

TEST(PngWriter, RefusesRowsLongerThanTheAddressSpace) {
  PngWriter writer([](const std::uint8_t*, std::size_t) { return true; });
  if (sizeof(std::size_t) == 4) {
    // 2^31 - 1 RGBA pixels are 8 GiB a row: beyond a 32-bit process whatever its memory.
    EXPECT_EQ(PngRowBytes(0x7FFFFFFFu, PngPixels::kRgba), 0u);
    EXPECT_FALSE(writer.Begin(0x7FFFFFFFu, 1, PngPixels::kRgba, 0));
    EXPECT_NE(writer.Error().find("memory"), std::string::npos) << writer.Error();
    EXPECT_TRUE(writer.Begin(1, 1, PngPixels::kRgb, 0)) << "the refusal leaves the writer unused";
  } else {
    EXPECT_EQ(PngRowBytes(0x7FFFFFFFu, PngPixels::kRgba), std::size_t{0x7FFFFFFFu} * 4);
    // The header of such a picture is valid; only its rows would need the memory.
    EXPECT_TRUE(writer.Begin(0x7FFFFFFFu, 1, PngPixels::kRgba, 0)) << writer.Error();
    EXPECT_FALSE(writer.Begin(1, 1, PngPixels::kRgb, 0)) << "one header per writer";
  }
}

TEST(PngPack, EmptyWhenThePictureCannotBeMade) {
  struct Case {
    const char* name;
    std::uint32_t width;
    std::uint32_t height;
    bool withData;
    std::size_t stride;
    int dotsPerInch;
  };
  const Case cases[] = {
      {"no pixel data", 2, 2, false, 6, 0},      {"stride shorter than a row", 2, 2, true, 5, 0},
      {"zero width", 0, 2, true, 6, 0},          {"zero height", 2, 0, true, 6, 0},
      {"resolution beyond pHYs", 2, 2, true, 6, 2000000000},
  };
  const Bytes pixels = NoisyPixels(2, 2, 3, 7);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(PackPng(c.width, c.height, PngPixels::kRgb, c.withData ? pixels.data() : nullptr, c.stride,
                        c.dotsPerInch)
                    .empty());
  }
  EXPECT_FALSE(PackPng(2, 2, PngPixels::kRgb, pixels.data(), 6, 96).empty()) << "the same picture, made";
}

}  // namespace
