// A window holding two drawing panels (one with a BackingBitmap, one painting through its paint
// event), pictures made in memory, and a reader for the BMP files the panels export.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include "canvas/draw_panel_win.h"
#include "forms/type_ids.h"
#include "frame/commands.h"
#include "frame/ground/values.h"

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* out) {
  *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}
inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
inline void PrintTo(const POINT& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

inline constexpr std::uint32_t kPanelWindow = 0x52030001;
inline constexpr std::uint32_t kPanelWindowUnit = 0x06030001;
inline constexpr std::uint32_t kPanel = 0x16030010;         // 333 x 200, white, tiled, auto redraw
inline constexpr std::uint32_t kPaintedPanel = 0x16030011;  // 100 x 50, auto redraw off

// Colours as 0x00BBGGRR.
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kOpaqueGreen = 0x00C000;
inline constexpr Colour kBrown = 0x336699;  // red 0x99, green 0x66, blue 0x33

using PixelRule = std::function<Colour(int x, int y)>;

// The bytes of a 24-bit BMP file whose pixel (x, y) (y from the top) has rule(x, y).
std::vector<std::uint8_t> MakeBmpFile(int width, int height, const PixelRule& rule);

// A parsed BMP file as the export writes it.
struct ExportedBmp {
  std::vector<std::uint8_t> bytes;
  int width = 0;
  int height = 0;
  int stride = 0;
  // The pixel at (x, y), y counted from the top of the picture, as 0x00BBGGRR.
  Colour At(int x, int y) const;
};
// Takes ownership of the buffer and frees it. An empty buffer gives an empty record.
ExportedBmp ReadExport(ByteBuffer buffer);
// The smallest rectangle holding every pixel of that colour within `area` (empty when none).
RECT BoxOf(const ExportedBmp& bmp, Colour colour, const RECT& area);
RECT BoxOf(const ExportedBmp& bmp, Colour colour);

// What the paint event handler saw; it also runs the test's action.
struct PaintLog {
  int calls = 0;
  std::int64_t args[4] = {};
  std::function<void()> action;
};
PaintLog& ThePaintLog();

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static ArgRecord Object(std::uint32_t unit = kPanel);
  static DrawPanel& Panel(std::uint32_t unit = kPanel);
  static HWND PanelWindow(std::uint32_t unit = kPanel);
  // Command helpers: each calls the panel's command with the object reference in front.
  static void Call(CommandFunction command, std::vector<ArgRecord> args, std::uint32_t unit = kPanel);
  static ExportedBmp Export(std::vector<ArgRecord> args = {}, std::uint32_t unit = kPanel);
  // What the panel's window shows on the screen now, as a BMP file like the export's.
  static ExportedBmp Screen(std::uint32_t unit = kPanel);
  static void SetPicture(const std::vector<std::uint8_t>& file, std::uint32_t unit = kPanel);
  static void SetSize(int width, int height, std::uint32_t unit = kPanel);
  static void SetInt(std::int32_t index, std::int32_t value, std::uint32_t unit = kPanel);
};
