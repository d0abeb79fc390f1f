// The native build makes no platform icons: an icon or cursor file's directory is read as on
// Windows (so a broken one fails alike), and a good one is answered with "needs the platform".
#include "canvas/icon_directory.h"
#include "canvas/picture_decoders.h"

DecodeResult DecodeIconPicture(const std::uint8_t* bytes, std::size_t length, PictureKind) {
  if (!ChooseIconImage(bytes, length).data) return PictureFailed(PictureFailure::kTruncated);
  return PictureFailed(PictureFailure::kNeedsPlatform);
}

// Nothing here ever makes an icon, so there is nothing to destroy.
void DestroyPictureIcon(PictureIcon) {}
