#include "canvas/panel_geometry.h"

#include <gtest/gtest.h>

namespace {

constexpr PanelRect kClient{0, 0, 333, 200};

TEST(ClearRectangle, ArgumentsReplaceTheClientSidesAndAreNormalised) {
  struct Case {
    const char* name;
    std::optional<std::int32_t> left, top, width, height;
    PanelRect expected;
  } const cases[] = {
      {"all omitted", {}, {}, {}, {}, kClient},
      {"negative width", 10, 10, -5, 20, {5, 10, 10, 30}},
      {"negative height", 10, 10, 5, -20, {10, -10, 15, 10}},
      {"left alone keeps the client's right", 50, {}, {}, {}, {50, 0, 333, 200}},
      {"left beyond the right is swapped", 400, {}, {}, {}, {333, 0, 400, 200}},
      {"width alone starts at the client's left", {}, {}, 20, {}, {0, 0, 20, 200}},
      {"extreme width does not wrap", 10, 0, INT32_MAX, 1, {10, 0, INT32_MAX, 1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClearRectangle(kClient, c.left, c.top, c.width, c.height), c.expected) << c.name;
  }
}

TEST(TilesOverlapping, OnlyTilesThatMeetTheTarget) {
  struct Case {
    const char* name;
    std::int32_t origin, extent, tile, low, high;
    TileSpan expected;
  } const cases[] = {
      {"one tile exactly", 0, 333, 333, 0, 333, {0, 1}},
      {"partial last tile", 0, 868, 300, 0, 868, {0, 3}},
      {"target inside the second tile", 0, 868, 300, 310, 320, {1, 1}},
      {"target across a seam", 0, 868, 300, 299, 301, {0, 2}},
      {"target starting on a seam", 0, 868, 300, 300, 301, {1, 1}},
      {"target beyond the area", 0, 200, 100, 250, 300, {0, 0}},
      {"target left of the area", 0, 200, 100, -50, 0, {0, 0}},
      {"empty target", 0, 200, 100, 40, 40, {0, 0}},
      {"empty area", 0, 0, 100, 0, 10, {0, 0}},
      {"target reaching before the origin", 0, 200, 100, -50, 150, {0, 2}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TilesOverlapping(c.origin, c.extent, c.tile, c.low, c.high), c.expected) << c.name;
  }
}

}  // namespace
