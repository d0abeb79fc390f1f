#include "canvas/picture_box_paint_win.h"

#include "canvas/picture_layout.h"
#include "canvas/prepared_picture_win.h"
#include "forms/operations.h"

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

namespace {

void* DecodeForPictureBox(const std::uint8_t* bytes, std::size_t length) {
  DecodeResult decoded = DecodePicture(bytes, length);
  return decoded ? new DecodedPicture(std::move(decoded.picture)) : nullptr;
}

void ReleaseForPictureBox(void* decoded) { delete static_cast<DecodedPicture*>(decoded); }

// The box has filled its background already.
void PaintForPictureBox(HDC dc, const RECT& rect, const void* decoded, std::int32_t displayMode) {
  PaintPictureBox(dc, rect, nullptr, static_cast<const DecodedPicture*>(decoded), displayMode);
}

}  // namespace

const PictureService& PictureBoxService() {
  static constexpr PictureService kService{DecodeForPictureBox, ReleaseForPictureBox, PaintForPictureBox};
  return kService;
}
