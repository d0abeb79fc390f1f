#include "canvas/picture_box_paint_win.h"

#include "canvas/picture_layout.h"
#include "canvas/prepared_picture_win.h"

void PaintPictureBox(HDC dc, const RECT& client, HBRUSH background, const DecodedPicture* picture,
                     int displayMode) {
  if (background) FillRect(dc, &client, background);
  PreparedPicture prepared = PreparePicture(dc, picture);
  if (!prepared) return;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  switch (displayMode) {
    case 0:
      DrawPreparedPicture(prepared, client.left, client.top, -1, -1, SRCCOPY);
      break;
    case 2: {
      const PictureRect at =
          FitPictureCentred({client.left, client.top, width, height}, prepared.width, prepared.height);
      DrawPreparedPicture(prepared, at.x, at.y, at.width, at.height, SRCCOPY);
      break;
    }
    default:
      DrawPreparedPicture(prepared, client.left, client.top, width, height, SRCCOPY);
      break;
  }
}
