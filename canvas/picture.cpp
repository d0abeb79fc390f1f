#include "canvas/picture.h"

#include <utility>

#include "canvas/byte_reader.h"
#include "canvas/picture_decoders.h"
#include "frame/ground/memory.h"

const char* PictureFailureName(PictureFailure failure) {
  switch (failure) {
    case PictureFailure::kNone: return "none";
    case PictureFailure::kEmpty: return "empty";
    case PictureFailure::kUnrecognised: return "unrecognised";
    case PictureFailure::kTruncated: return "truncated";
    case PictureFailure::kBadHeader: return "bad-header";
    case PictureFailure::kUnsupported: return "unsupported";
    case PictureFailure::kBadSize: return "bad-size";
    case PictureFailure::kTooLarge: return "too-large";
    case PictureFailure::kOutOfMemory: return "out-of-memory";
    case PictureFailure::kCorruptData: return "corrupt-data";
    case PictureFailure::kNoImage: return "no-image";
    case PictureFailure::kJpegError: return "jpeg-error";
    case PictureFailure::kNeedsPlatform: return "needs-platform";
  }
  return "unknown";
}

DecodedPicture::DecodedPicture(DecodedPicture&& other) noexcept
    : kind(std::exchange(other.kind, PictureKind::kNone)),
      width(std::exchange(other.width, 0)),
      height(std::exchange(other.height, 0)),
      icon(std::exchange(other.icon, nullptr)),
      pixels(std::exchange(other.pixels, nullptr)),
      pixelBlockSize(std::exchange(other.pixelBlockSize, 0)) {}

DecodedPicture& DecodedPicture::operator=(DecodedPicture&& other) noexcept {
  if (this != &other) {
    Reset();
    kind = std::exchange(other.kind, PictureKind::kNone);
    width = std::exchange(other.width, 0);
    height = std::exchange(other.height, 0);
    icon = std::exchange(other.icon, nullptr);
    pixels = std::exchange(other.pixels, nullptr);
    pixelBlockSize = std::exchange(other.pixelBlockSize, 0);
  }
  return *this;
}

DecodedPicture::~DecodedPicture() { Reset(); }

void DecodedPicture::Reset() {
  if (icon) DestroyPictureIcon(std::exchange(icon, nullptr));
  FrameFree(std::exchange(pixels, nullptr));
  pixelBlockSize = 0;
  kind = PictureKind::kNone;
  width = 0;
  height = 0;
}

PictureKind DetectPictureKind(const std::uint8_t* bytes, std::size_t length) {
  if (!bytes || length < 6) return PictureKind::kNone;
  const std::uint8_t* b = bytes;
  if (b[0] == 'B' && b[1] == 'M') return PictureKind::kBmp;
  if (b[0] == 0xFF && b[1] == 0xD8) return PictureKind::kJpeg;
  const std::uint16_t reserved = ByteReader::LoadLe16(b);
  const std::uint16_t type = ByteReader::LoadLe16(b + 2);
  const std::uint16_t count = ByteReader::LoadLe16(b + 4);
  if (reserved == 0 && type == 1 && count != 0) return PictureKind::kIcon;
  if (reserved == 0 && type == 2 && count != 0) return PictureKind::kCursor;
  if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8' && (b[4] == '7' || b[4] == '9') &&
      b[5] == 'a') {
    return PictureKind::kGif;
  }
  if (b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8) return PictureKind::kPcx8;
  if (b[0] == 0x0A && b[1] == 3 && b[2] == 1 && b[3] == 1) return PictureKind::kPcx1;
  return PictureKind::kNone;
}

DecodeResult DecodePicture(const std::uint8_t* bytes, std::size_t length) {
  if (!bytes || length == 0) return PictureFailed(PictureFailure::kEmpty);
  switch (const PictureKind kind = DetectPictureKind(bytes, length)) {
    case PictureKind::kJpeg: return DecodeJpegPicture(bytes, length);
    case PictureKind::kBmp: return DecodeBmpPicture(bytes, length);
    case PictureKind::kIcon:
    case PictureKind::kCursor: return DecodeIconPicture(bytes, length, kind);
    case PictureKind::kGif: return DecodeGifPicture(bytes, length);
    case PictureKind::kPcx8:
    case PictureKind::kPcx1: return DecodePcxPicture(bytes, length);
    case PictureKind::kNone: break;
  }
  return PictureFailed(PictureFailure::kUnrecognised);
}
