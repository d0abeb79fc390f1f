#include "canvas/picture_layout.h"

#include <algorithm>

PictureRect FitPictureCentred(const PictureRect& area, int pictureWidth, int pictureHeight) {
  PictureRect current = area;
  if (pictureWidth <= current.width) {
    current.x += (current.width - pictureWidth) / 2;
    current.width = pictureWidth;
  }
  if (pictureHeight <= current.height) {
    current.y += (current.height - pictureHeight) / 2;
    current.height = pictureHeight;
  }
  if (pictureWidth <= current.width && pictureHeight <= current.height) return current;

  const double scale = std::min(static_cast<double>(current.width) / pictureWidth,
                                static_cast<double>(current.height) / pictureHeight);
  const int width = static_cast<int>(pictureWidth * scale);
  const int height = static_cast<int>(pictureHeight * scale);
  return {current.x + (current.width - width) / 2, current.y + (current.height - height) / 2, width,
          height};
}
