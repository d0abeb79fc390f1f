#include "canvas/bmp_rle.h"

#include <algorithm>
#include <cstdint>

#include "canvas/byte_reader.h"

void ExpandBmpRle(const std::uint8_t* data, std::size_t length, bool fourBits, std::size_t width,
                  std::size_t height, RleIndexSink& sink) {
  // The decoder has checked the size; a product that cannot be formed has nothing to expand into.
  if (width != 0 && height > UINT64_MAX / width) return;
  ByteReader reader(data, length);
  // The indexes are one run of width x height, laid as ImageMagick lays them: a run that passes the
  // end of its row goes on at the start of the next, and every run is cut at the last index. 64-bit
  // positions: y stays below height + 256 and x grows by at most 255 a code, so nothing wraps.
  const std::uint64_t total = std::uint64_t{width} * height;
  std::uint64_t x = 0, y = 0, at = 0;
  std::uint8_t run[255];
  const auto room = [&](unsigned wanted) { return static_cast<unsigned>(std::min<std::uint64_t>(wanted, total - at)); };
  const auto nibble = [](std::uint8_t byte, unsigned i) {
    return static_cast<std::uint8_t>(i % 2 ? byte & 0x0F : byte >> 4);
  };
  while (y < height && at <= total && reader.Remaining() >= 2) {
    const std::uint8_t count = reader.U8();
    const std::uint8_t value = reader.U8();
    if (count > 0) {
      // A run: the byte (RLE8), or its two nibbles in turn (RLE4).
      const unsigned n = room(count);
      for (unsigned i = 0; i < n; ++i) run[i] = fourBits ? nibble(value, i) : value;
      if (n) sink.Put(static_cast<std::size_t>(at), run, n);
      at += n;
      x += n;
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        at = y * width;
        break;
      case 1:  // end of bitmap
        return;
      case 2: {  // delta: right and up (the rows go bottom-up)
        if (reader.Remaining() < 2) return;
        x += reader.U8();
        y += reader.U8();
        at = y * width + x;
        break;
      }
      default: {
        // An absolute run of `value` indexes (as many as fit), its bytes padded to a whole number of
        // 16-bit words. Data that ends inside it keeps what was there.
        const unsigned n = room(value);
        const std::size_t bytes = fourBits ? (n + 1u) / 2 : n;
        const std::size_t available = std::min(bytes, reader.Remaining());
        const std::uint8_t* stored = reader.Take(available);
        const unsigned written = fourBits ? std::min<unsigned>(n, static_cast<unsigned>(available * 2))
                                          : static_cast<unsigned>(available);
        for (unsigned i = 0; i < written; ++i) run[i] = fourBits ? nibble(stored[i / 2], i) : stored[i];
        if (written) sink.Put(static_cast<std::size_t>(at), run, written);
        if (written < n) return;
        at += n;
        x += n;
        if (bytes % 2) reader.Skip(1);
        break;
      }
    }
  }
}
