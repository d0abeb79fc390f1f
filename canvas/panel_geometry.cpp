#include "canvas/panel_geometry.h"

#include <algorithm>
#include <utility>

PanelRect ClearRectangle(const PanelRect& client, std::optional<std::int32_t> left, std::optional<std::int32_t> top,
                         std::optional<std::int32_t> width, std::optional<std::int32_t> height) {
  PanelRect rect = client;
  if (left) rect.left = *left;
  if (top) rect.top = *top;
  // 64-bit sums: a caller's extreme width must not wrap into a small rectangle.
  const auto clampSum = [](std::int32_t a, std::int32_t b) {
    const std::int64_t sum = std::int64_t{a} + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
  };
  if (width) rect.right = clampSum(rect.left, *width);
  if (height) rect.bottom = clampSum(rect.top, *height);
  if (rect.left > rect.right) std::swap(rect.left, rect.right);
  if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
  return rect;
}

TileSpan TilesOverlapping(std::int32_t origin, std::int32_t extent, std::int32_t tile, std::int32_t targetLow,
                          std::int32_t targetHigh) {
  if (tile <= 0 || extent <= 0 || targetLow >= targetHigh) return {};
  const std::int64_t end = std::min<std::int64_t>(std::int64_t{origin} + extent, targetHigh);
  // Tile i covers [origin + i * tile, origin + (i + 1) * tile).
  std::int64_t first = 0;
  if (targetLow > origin) first = (std::int64_t{targetLow} - origin) / tile;
  const std::int64_t firstStart = origin + first * tile;
  if (firstStart >= end) return {};
  const std::int64_t count = (end - firstStart + tile - 1) / tile;
  return {static_cast<std::int32_t>(first), static_cast<std::int32_t>(count)};
}
