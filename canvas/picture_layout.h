// Where a picture lands when it is centred in an area and shrunk to fit, never enlarged: the rule of
// the drawing panel's picture mode 2 and of a picture box's display mode 2.
#pragma once

struct PictureRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool operator==(const PictureRect&) const = default;
};

// On each axis where the picture fits it is centred at natural size (halving truncates toward zero)
// and that axis of the area shrinks to the picture. If it is still larger on an axis, it is scaled
// by min(area width / picture width, area height / picture height), truncated, and centred again.
PictureRect FitPictureCentred(const PictureRect& area, int pictureWidth, int pictureHeight);
