// What becomes of a drawn name: the picture that is written, and the contact sheet that shows
// every design of each name in rows.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "tools/signature_sheet/raster.h"

struct DrawnSignature {
  Rgba picture;  // the whole background, or a transparent area around the text
  Box ink;       // what the text changed; empty when it drew nothing
  Box cell;      // the text's cell, as the system measures it
};

// The picture to write. Over a background: the whole picture, or with a trim margin the ink and
// that many pixels around it, as far as the picture reaches. Transparent: the text's cell and any
// ink beyond it, or with a trim margin the ink and exactly that margin of transparent pixels.
// Empty when a trim is asked for and there is no ink.
Rgba FinishedPicture(const DrawnSignature& drawn, std::optional<int> trimMargin, bool overBackground,
                     std::uint32_t inkColour);

// One design's row of a sheet: its caption, and the signature or a note why there is none.
struct SheetRow {
  Rgba caption;
  Rgba picture;
};
// One name: a heading, then a row per design.
struct SheetBlock {
  Rgba heading;
  std::vector<SheetRow> rows;
};

// Spacing of a sheet, in pixels at scale 1.
struct SheetSpacing {
  int margin = 16;       // around the sheet and between blocks
  int rowGap = 8;        // between rows and after the heading
  int columnGap = 16;    // between caption and picture
};

class SheetLayout {
 public:
  SheetLayout(int scale, int captionWidth, int pictureWidth);
  int Width() const;
  int BlockHeight(const SheetBlock& block) const;
  // The block on white, Width() wide and BlockHeight() high: the heading, then each row with its
  // caption centred on the row's height and the picture laid over white.
  Rgba Compose(const SheetBlock& block) const;

 private:
  SheetSpacing spacing_;
  int captionWidth_;
  int pictureWidth_;
};
