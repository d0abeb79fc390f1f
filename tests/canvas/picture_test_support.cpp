#include "picture_test_support.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

std::string CanvasTestPath(std::string_view folder, std::string_view name) {
  std::string path = YJ_SOURCE_DIR "/tests/canvas/";
  path.append(folder).append("/").append(name);
  return path;
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Rgb RgbImage::At(int x, int y) const {
  const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
  return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

std::string ReadPpm(const std::string& path, RgbImage* image) {
  const Bytes bytes = ReadFileBytes(path);
  if (bytes.empty()) return "cannot read " + path;
  // Header: "P6", width, height, maxval, each separated by whitespace; then one whitespace byte.
  std::size_t at = 0;
  auto field = [&]() -> long {
    while (at < bytes.size() && std::isspace(bytes[at])) ++at;
    long value = 0;
    bool digits = false;
    while (at < bytes.size() && std::isdigit(bytes[at])) {
      value = value * 10 + (bytes[at++] - '0');
      digits = true;
    }
    return digits ? value : -1;
  };
  if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') return path + " is no binary PPM";
  at = 2;
  const long width = field();
  const long height = field();
  const long maxValue = field();
  if (width <= 0 || height <= 0 || (maxValue != 255 && maxValue != 65535)) return path + ": unexpected PPM header";
  ++at;
  const std::size_t sampleBytes = maxValue == 255 ? 1 : 2;
  const std::size_t samples = static_cast<std::size_t>(width) * height * 3;
  if (bytes.size() - at != samples * sampleBytes) return path + ": pixel data has the wrong length";
  image->width = static_cast<int>(width);
  image->height = static_cast<int>(height);
  image->rgb.resize(samples);
  for (std::size_t i = 0; i < samples; ++i) {
    if (sampleBytes == 1) {
      image->rgb[i] = bytes[at + i];
      continue;
    }
    // 16-bit samples (big-endian) to 8 bits with ImageMagick's own rounding of its pixels.
    const std::uint32_t sample = (std::uint32_t{bytes[at + 2 * i]} << 8 | bytes[at + 2 * i + 1]) + 128;
    image->rgb[i] = static_cast<std::uint8_t>((sample - (sample >> 8)) >> 8);
  }
  return "";
}

void PutLe16(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutLe32(Bytes& out, std::uint32_t value) {
  PutLe16(out, value & 0xFFFF);
  PutLe16(out, value >> 16);
}

void PutBytes(Bytes& out, std::initializer_list<std::uint8_t> bytes) { out.insert(out.end(), bytes); }

std::uint32_t LoadLe32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0] | at[1] << 8 | at[2] << 16) | static_cast<std::uint32_t>(at[3]) << 24;
}

Rgb LayoutPixel(const DecodedPicture& picture, int x, int y) {
  const std::uint8_t* block = picture.pixels;
  switch (picture.kind) {
    case PictureKind::kJpeg:
    case PictureKind::kBmp: {
      const std::uint8_t* pixel = block + (static_cast<std::size_t>(picture.height - 1 - y) * picture.width + x) * 3;
      return {pixel[2], pixel[1], pixel[0]};
    }
    case PictureKind::kGif:
    case PictureKind::kPcx8: {
      // Rows run top to bottom; the stride is the block's row area over the header's row count.
      const auto rows = static_cast<std::size_t>(std::abs(static_cast<std::int32_t>(LoadLe32(block + 8))));
      const std::size_t rowArea = picture.pixelBlockSize - 1064 - (picture.kind == PictureKind::kGif ? 24576 : 0);
      const std::size_t stride = rowArea / rows;
      const std::uint8_t index = block[1064 + y * stride + x];
      const std::uint8_t* entry = block + 40 + 4 * index;
      return {entry[2], entry[1], entry[0]};
    }
    case PictureKind::kPcx1: {
      const std::size_t stride = ((picture.width + 15) / 16) * 2;
      const bool white = (block[y * stride + x / 8] >> (7 - x % 8)) & 1;
      const std::uint8_t level = white ? 255 : 0;
      return {level, level, level};
    }
    default:
      std::abort();
  }
}

std::string TestNameFor(std::string_view file) {
  std::string name(file);
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}
