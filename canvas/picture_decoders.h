// The per-format decoders behind DecodePicture; internal to canvas/. Each takes the whole file and
// answers a picture or the reason there is none, and frees whatever it allocated on the way.
#pragma once

#include <cstddef>
#include <cstdint>

#include "canvas/picture.h"

DecodeResult DecodeJpegPicture(const std::uint8_t* bytes, std::size_t length);
DecodeResult DecodeBmpPicture(const std::uint8_t* bytes, std::size_t length);
DecodeResult DecodeGifPicture(const std::uint8_t* bytes, std::size_t length);
// Kinds 6 and 7; which one follows from the header.
DecodeResult DecodePcxPicture(const std::uint8_t* bytes, std::size_t length);

// Icons and cursors (kinds 3 and 4) become platform icons. The Windows build defines these in
// icon_decoder_win.cpp; the native build in icon_decoder_posix.cpp, which has no icons to make.
DecodeResult DecodeIconPicture(const std::uint8_t* bytes, std::size_t length, PictureKind kind);
void DestroyPictureIcon(PictureIcon icon);

inline DecodeResult PictureFailed(PictureFailure failure) {
  DecodeResult result;
  result.failure = failure;
  return result;
}
