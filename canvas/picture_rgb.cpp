#include "canvas/picture_rgb.h"

#include <cstdlib>
#include <optional>

#include "canvas/byte_reader.h"
#include "canvas/picture_size.h"

namespace {

// Where a record's pixels lie in its block, read from the record (and, for palette images, the
// bitmap-info header at the block's start); nothing when the block is too small for it.
struct BlockLayout {
  std::size_t stride = 0;       // bytes from one row to the next
  std::size_t rowsWidth = 0;    // pixels in each stored row (a GIF's first image may be narrower)
  std::size_t rowsHeight = 0;   // stored rows
};

// Rows of 8-bit indexes behind a bitmap-info header and a 256-entry colour table.
std::optional<BlockLayout> PaletteRowsLayout(const DecodedPicture& picture, std::size_t stride) {
  const std::size_t blockSize = static_cast<std::size_t>(picture.pixelBlockSize);
  if (blockSize < kDibRowsOffset) return std::nullopt;
  const std::int64_t imageWidth = static_cast<std::int32_t>(ByteReader::LoadLe32(picture.pixels + 4));
  const std::int64_t imageHeight = std::llabs(static_cast<std::int32_t>(ByteReader::LoadLe32(picture.pixels + 8)));
  if (imageWidth < 0) return std::nullopt;
  const auto rowBytes = RowBytes(static_cast<std::size_t>(imageWidth), 8, 1);
  const auto needed = rowBytes ? CheckedMulAdd(stride, static_cast<std::size_t>(imageHeight), kDibRowsOffset)
                               : std::nullopt;
  if (!needed || *needed > blockSize || *rowBytes > stride) return std::nullopt;
  return BlockLayout{stride, static_cast<std::size_t>(imageWidth), static_cast<std::size_t>(imageHeight)};
}

std::optional<BlockLayout> LayoutOf(const DecodedPicture& picture) {
  // Within the limits, width x height x 3 fits in size_t even in 32 bits.
  if (!picture.pixels || !WithinPictureLimits(picture.width, picture.height)) return std::nullopt;
  const auto width = static_cast<std::size_t>(picture.width);
  const auto height = static_cast<std::size_t>(picture.height);
  const auto blockSize = static_cast<std::size_t>(picture.pixelBlockSize);
  switch (picture.kind) {
    case PictureKind::kJpeg:
    case PictureKind::kBmp:
      if (blockSize < width * height * 3) return std::nullopt;
      return BlockLayout{width * 3, width, height};
    case PictureKind::kGif: {
      if (blockSize < kDibRowsOffset + kGifCodeTableBytes) return std::nullopt;
      const std::int64_t imageWidth = static_cast<std::int32_t>(ByteReader::LoadLe32(picture.pixels + 4));
      const auto stride = imageWidth >= 0 ? RowBytes(static_cast<std::size_t>(imageWidth), 8, 4) : std::nullopt;
      return stride ? PaletteRowsLayout(picture, *stride) : std::nullopt;
    }
    case PictureKind::kPcx8:
      // The stride follows from the file's bytes per line, so take it from the block's size.
      if (blockSize < kDibRowsOffset || height == 0) return std::nullopt;
      return PaletteRowsLayout(picture, (blockSize - kDibRowsOffset) / height);
    case PictureKind::kPcx1: {
      const auto stride = RowBytes(width, 1, 2);
      const auto needed = stride ? CheckedMulAdd(*stride, height) : std::nullopt;
      if (!needed || *needed > blockSize) return std::nullopt;
      return BlockLayout{*stride, width, height};
    }
    default:
      return std::nullopt;
  }
}

// Palette rows placed at the top left of the output and clipped to it.
void PaletteRowsToRgb(const DecodedPicture& picture, const BlockLayout& layout, std::uint8_t* rgb) {
  const std::size_t width = static_cast<std::size_t>(picture.width);
  const std::size_t height = static_cast<std::size_t>(picture.height);
  const std::uint8_t* palette = picture.pixels + kDibHeaderSize;
  for (std::size_t y = 0; y < height && y < layout.rowsHeight; ++y) {
    const std::uint8_t* row = picture.pixels + kDibRowsOffset + y * layout.stride;
    std::uint8_t* out = rgb + y * width * 3;
    for (std::size_t x = 0; x < width && x < layout.rowsWidth; ++x, out += 3) {
      const std::uint8_t* entry = palette + 4 * row[x];
      out[0] = entry[2];
      out[1] = entry[1];
      out[2] = entry[0];
    }
  }
}

}  // namespace

bool PictureBlockFitsLayout(const DecodedPicture& picture) { return LayoutOf(picture).has_value(); }

bool PictureToRgb(const DecodedPicture& picture, std::vector<std::uint8_t>* rgb) {
  rgb->clear();
  const std::optional<BlockLayout> layout = LayoutOf(picture);
  if (!layout) return false;
  const auto width = static_cast<std::size_t>(picture.width);
  const auto height = static_cast<std::size_t>(picture.height);
  rgb->assign(width * height * 3, 0);

  switch (picture.kind) {
    case PictureKind::kJpeg:
    case PictureKind::kBmp:
      // Bottom row first, blue-green-red.
      for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* in = picture.pixels + (height - 1 - y) * layout->stride;
        std::uint8_t* out = rgb->data() + y * width * 3;
        for (std::size_t x = 0; x < width; ++x, in += 3, out += 3) {
          out[0] = in[2];
          out[1] = in[1];
          out[2] = in[0];
        }
      }
      break;
    case PictureKind::kGif:
    case PictureKind::kPcx8:
      PaletteRowsToRgb(picture, *layout, rgb->data());
      break;
    default:  // kPcx1
      for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* row = picture.pixels + y * layout->stride;
        std::uint8_t* out = rgb->data() + y * width * 3;
        for (std::size_t x = 0; x < width; ++x, out += 3) {
          const bool white = (row[x / 8] >> (7 - x % 8)) & 1;
          out[0] = out[1] = out[2] = white ? 255 : 0;
        }
      }
      break;
  }
  return true;
}
