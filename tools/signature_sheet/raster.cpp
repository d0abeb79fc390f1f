#include "tools/signature_sheet/raster.h"

#include <algorithm>
#include <limits>
#include <new>

Box Union(const Box& a, const Box& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

Box Intersection(const Box& a, const Box& b) {
  const Box both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
  return both.Empty() ? Box{} : both;
}

Box Inflated(const Box& box, int margin) {
  return {box.left - margin, box.top - margin, box.right + margin, box.bottom + margin};
}

Rgba Filled(int width, int height, std::uint32_t colour, std::uint8_t alpha) {
  const std::uint64_t bytes = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4;
  if (bytes > std::numeric_limits<std::size_t>::max()) throw std::bad_alloc();
  Rgba picture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(bytes))};
  for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
    picture.pixels[i] = colour & 0xFF;
    picture.pixels[i + 1] = (colour >> 8) & 0xFF;
    picture.pixels[i + 2] = (colour >> 16) & 0xFF;
    picture.pixels[i + 3] = alpha;
  }
  return picture;
}

namespace {

template <typename Marked>
Box BoundsOf(int width, int height, Marked&& marked) {
  Box box{width, height, 0, 0};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!marked(x, y)) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x + 1);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  return box.Empty() ? Box{} : box;
}

}  // namespace

Box AlphaBounds(const Rgba& picture) {
  return BoundsOf(picture.width, picture.height, [&](int x, int y) { return picture.At(x, y)[3] != 0; });
}

Box DifferenceBounds(const Rgba& a, const Rgba& b) {
  if (a.width != b.width || a.height != b.height) return {0, 0, std::max(a.width, b.width), std::max(a.height, b.height)};
  return BoundsOf(a.width, a.height, [&](int x, int y) { return !std::equal(a.At(x, y), a.At(x, y) + 4, b.At(x, y)); });
}

Rgba Cropped(const Rgba& picture, const Box& box, std::uint32_t outside) {
  Rgba area = Filled(std::max(box.Width(), 0), std::max(box.Height(), 0), outside, 0);
  const Box inside = Intersection(box, {0, 0, picture.width, picture.height});
  for (int y = inside.top; y < inside.bottom; ++y) {
    std::copy_n(picture.At(inside.left, y), static_cast<std::size_t>(inside.Width()) * 4,
                area.At(inside.left - box.left, y - box.top));
  }
  return area;
}

void LayOver(Rgba* target, int x, int y, const Rgba& source) {
  const Box area = Intersection({x, y, x + source.width, y + source.height}, {0, 0, target->width, target->height});
  for (int row = area.top; row < area.bottom; ++row) {
    for (int column = area.left; column < area.right; ++column) {
      const std::uint8_t* from = source.At(column - x, row - y);
      std::uint8_t* to = target->At(column, row);
      const unsigned alpha = from[3];
      if (alpha == 0) continue;
      const unsigned under = to[3] * (255 - alpha) / 255;  // what shows of the target through the source
      const unsigned total = alpha + under;
      for (int c = 0; c < 3; ++c) to[c] = static_cast<std::uint8_t>((from[c] * alpha + to[c] * under + total / 2) / total);
      to[3] = static_cast<std::uint8_t>(total);
    }
  }
}

bool IsOpaque(const Rgba& picture) {
  for (std::size_t i = 3; i < picture.pixels.size(); i += 4) {
    if (picture.pixels[i] != 255) return false;
  }
  return true;
}
