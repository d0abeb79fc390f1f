#include "canvas/picture_rgb.h"

#include <cstdlib>

#include "canvas/byte_reader.h"
#include "canvas/picture_size.h"

namespace {

// Rows of 8-bit indexes behind a bitmap-info header and a 256-entry colour table, placed at the top
// left of the output and clipped to it.
bool PaletteRowsToRgb(const DecodedPicture& picture, std::size_t stride, std::vector<std::uint8_t>* rgb) {
  const std::uint8_t* block = picture.pixels;
  const std::size_t blockSize = static_cast<std::size_t>(picture.pixelBlockSize);
  const std::int64_t imageWidth = static_cast<std::int32_t>(ByteReader::LoadLe32(block + 4));
  const std::int64_t imageHeight = std::llabs(static_cast<std::int32_t>(ByteReader::LoadLe32(block + 8)));
  const auto rowBytes = RowBytes(static_cast<std::size_t>(imageWidth), 8, 1);
  const auto needed = rowBytes ? CheckedMulAdd(stride, static_cast<std::size_t>(imageHeight), kDibRowsOffset)
                               : std::nullopt;
  if (imageWidth < 0 || !needed || *needed > blockSize || *rowBytes > stride) return false;

  const std::size_t width = static_cast<std::size_t>(picture.width);
  const std::size_t height = static_cast<std::size_t>(picture.height);
  const std::uint8_t* palette = block + kDibHeaderSize;
  for (std::size_t y = 0; y < height && y < static_cast<std::size_t>(imageHeight); ++y) {
    const std::uint8_t* row = block + kDibRowsOffset + y * stride;
    std::uint8_t* out = rgb->data() + y * width * 3;
    for (std::size_t x = 0; x < width && x < static_cast<std::size_t>(imageWidth); ++x, out += 3) {
      const std::uint8_t* entry = palette + 4 * row[x];
      out[0] = entry[2];
      out[1] = entry[1];
      out[2] = entry[0];
    }
  }
  return true;
}

}  // namespace

bool PictureToRgb(const DecodedPicture& picture, std::vector<std::uint8_t>* rgb) {
  rgb->clear();
  // Within the limits, width x height x 3 fits in size_t even in 32 bits.
  if (!picture.pixels || !WithinPictureLimits(picture.width, picture.height)) return false;
  const auto width = static_cast<std::size_t>(picture.width);
  const auto height = static_cast<std::size_t>(picture.height);
  const auto blockSize = static_cast<std::size_t>(picture.pixelBlockSize);
  const std::size_t outSize = width * height * 3;
  rgb->assign(outSize, 0);

  bool ok = false;
  switch (picture.kind) {
    case PictureKind::kJpeg:
    case PictureKind::kBmp: {
      // Bottom row first, blue-green-red.
      if (blockSize < outSize) break;
      for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* in = picture.pixels + (height - 1 - y) * width * 3;
        std::uint8_t* out = rgb->data() + y * width * 3;
        for (std::size_t x = 0; x < width; ++x, in += 3, out += 3) {
          out[0] = in[2];
          out[1] = in[1];
          out[2] = in[0];
        }
      }
      ok = true;
      break;
    }
    case PictureKind::kGif: {
      if (blockSize < kDibRowsOffset + kGifCodeTableBytes) break;
      const std::int64_t imageWidth = static_cast<std::int32_t>(ByteReader::LoadLe32(picture.pixels + 4));
      const auto stride = imageWidth >= 0 ? RowBytes(static_cast<std::size_t>(imageWidth), 8, 4) : std::nullopt;
      ok = stride && PaletteRowsToRgb(picture, *stride, rgb);
      break;
    }
    case PictureKind::kPcx8: {
      // The stride follows from the file's bytes per line, so take it from the block's size.
      if (blockSize < kDibRowsOffset || height == 0) break;
      ok = PaletteRowsToRgb(picture, (blockSize - kDibRowsOffset) / height, rgb);
      break;
    }
    case PictureKind::kPcx1: {
      const auto stride = RowBytes(width, 1, 2);
      const auto needed = stride ? CheckedMulAdd(*stride, height) : std::nullopt;
      if (!needed || *needed > blockSize) break;
      for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* row = picture.pixels + y * *stride;
        std::uint8_t* out = rgb->data() + y * width * 3;
        for (std::size_t x = 0; x < width; ++x, out += 3) {
          const bool white = (row[x / 8] >> (7 - x % 8)) & 1;
          out[0] = out[1] = out[2] = white ? 255 : 0;
        }
      }
      ok = true;
      break;
    }
    default:
      break;
  }
  if (!ok) rgb->clear();
  return ok;
}
