// Rectangle and tile arithmetic of the drawing panel, portable so its rules are tested natively.
#pragma once

#include <cstdint>
#include <optional>

struct PanelRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool Empty() const { return left >= right || top >= bottom; }
  bool operator==(const PanelRect&) const = default;
};

// The rectangle Clear erases: the client rectangle, with left and top replaced by the arguments
// given, right = left + width and bottom = top + height when those are given, then normalised so
// that left <= right and top <= bottom.
PanelRect ClearRectangle(const PanelRect& client, std::optional<std::int32_t> left, std::optional<std::int32_t> top,
                         std::optional<std::int32_t> width, std::optional<std::int32_t> height);

// Tiles of `tile` pixels laid from `origin` while a tile starts before origin + extent: the first
// index and the count of those that overlap [targetLow, targetHigh). Count 0 when none does.
struct TileSpan {
  std::int32_t first = 0;
  std::int32_t count = 0;

  bool operator==(const TileSpan&) const = default;
};
TileSpan TilesOverlapping(std::int32_t origin, std::int32_t extent, std::int32_t tile, std::int32_t targetLow,
                          std::int32_t targetHigh);
