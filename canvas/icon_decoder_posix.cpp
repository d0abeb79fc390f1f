// The native build makes no platform icons: icon and cursor files are recognised but not decoded.
#include "canvas/picture_decoders.h"

DecodeResult DecodeIconPicture(const std::uint8_t*, std::size_t, PictureKind) {
  return PictureFailed(PictureFailure::kNeedsPlatform);
}

// Nothing here ever makes an icon, so there is nothing to destroy.
void DestroyPictureIcon(PictureIcon) {}
