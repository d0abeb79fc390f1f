// Pictures as the tool composes them: 8-bit RGBA with straight (not premultiplied) alpha, top row
// first, and the rectangles it crops them to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool Empty() const { return right <= left || bottom <= top; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Box&) const = default;
};
Box Union(const Box& a, const Box& b);           // an empty box adds nothing
Box Intersection(const Box& a, const Box& b);
Box Inflated(const Box& box, int margin);

struct Rgba {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width x height x 4
  std::uint8_t* At(int x, int y) { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
  const std::uint8_t* At(int x, int y) const { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
};

// A picture of one colour and alpha. Throws std::bad_alloc when its bytes would not fit in a size_t
// (a 32-bit process) or in memory.
Rgba Filled(int width, int height, std::uint32_t colour, std::uint8_t alpha);

// The smallest box holding every pixel of alpha above 0; empty when there is none.
Box AlphaBounds(const Rgba& picture);
// The smallest box holding every pixel where the two pictures (of one size) differ.
Box DifferenceBounds(const Rgba& a, const Rgba& b);

// The area of `picture` inside `box`, which may reach beyond it: pixels outside are `outside`'s
// colour with alpha 0.
Rgba Cropped(const Rgba& picture, const Box& box, std::uint32_t outside);

// Lays `source` over `target` with its top left at (x, y), blending by the source's alpha; parts
// outside the target are left out. The target keeps its own alpha where it was opaque.
void LayOver(Rgba* target, int x, int y, const Rgba& source);

// Whether every pixel is opaque, so the picture may be stored without alpha.
bool IsOpaque(const Rgba& picture);
