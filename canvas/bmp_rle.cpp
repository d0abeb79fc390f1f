#include "canvas/bmp_rle.h"

#include <new>
#include <optional>

#include "canvas/byte_reader.h"
#include "canvas/picture_size.h"

PictureFailure ExpandBmpRle(const std::uint8_t* data, std::size_t length, bool fourBits, std::size_t width,
                            std::size_t height, std::vector<std::uint8_t>* indexes) {
  const std::optional<std::size_t> count = CheckedMulAdd(width, height);
  if (!count) return PictureFailure::kTooLarge;
  try {
    indexes->assign(*count, 0);
  } catch (const std::bad_alloc&) {
    return PictureFailure::kOutOfMemory;
  }
  ByteReader reader(data, length);
  std::size_t x = 0, y = 0;
  // Writes one index where the row still has room; a run longer than its row loses the rest.
  const auto put = [&](std::uint8_t index) {
    if (x < width && y < height) (*indexes)[y * width + x] = index;
    ++x;
  };
  while (y < height && reader.Remaining() >= 2) {
    const std::uint8_t count = reader.U8();
    const std::uint8_t value = reader.U8();
    if (count > 0) {
      // A run: the byte (RLE8), or its two nibbles in turn (RLE4).
      for (unsigned i = 0; i < count && x < width; ++i) {
        put(fourBits ? static_cast<std::uint8_t>(i % 2 ? value & 0x0F : value >> 4) : value);
      }
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return PictureFailure::kNone;
      case 2: {  // delta: right and up (the rows go bottom-up)
        if (reader.Remaining() < 2) return PictureFailure::kNone;
        x += reader.U8();
        y += reader.U8();
        break;
      }
      default: {
        // An absolute run of `value` indexes, padded to a whole number of 16-bit words.
        const std::size_t bytes = fourBits ? (value + 1u) / 2 : value;
        const std::uint8_t* run = reader.Take(bytes);
        if (!run) return PictureFailure::kNone;
        for (unsigned i = 0; i < value; ++i) {
          put(fourBits ? static_cast<std::uint8_t>(i % 2 ? run[i / 2] & 0x0F : run[i / 2] >> 4) : run[i]);
        }
        if (bytes % 2) reader.Skip(1);
        break;
      }
    }
  }
  return PictureFailure::kNone;
}
