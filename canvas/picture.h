// Pictures as the program meets them: the complete bytes of a picture file, recognised by their
// first bytes and decoded into one in-memory record whose pixel block layout depends on the format.
// Everything here is portable; icons and cursors are recognised here but only the Windows build can
// turn them into platform icons (icon_decoder_win.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

enum class PictureKind : std::int32_t {
  kNone = 0,    // not recognised
  kJpeg = 1,    // 24-bit rows
  kBmp = 2,     // 24-bit rows
  kIcon = 3,    // platform icon
  kCursor = 4,  // platform icon
  kGif = 5,     // 8-bit palette image of the first image
  kPcx8 = 6,    // 8-bit palette image
  kPcx1 = 7,    // 1-bit rows
};

// Why a picture did not decode. Decoders answer exactly one of these, so tests and tools can tell a
// refused file from a broken one.
enum class PictureFailure : std::int32_t {
  kNone = 0,
  kEmpty,          // no bytes at all
  kUnrecognised,   // the first bytes name no format we know
  kTruncated,      // the data ends inside something the decoder needs
  kBadHeader,      // a header field is impossible (signature, window, offsets)
  kUnsupported,    // a compression or bit depth this decoder does not handle
  kBadSize,        // a width or height of 0
  kTooLarge,       // above the picture limits, or a size that does not fit the arithmetic
  kOutOfMemory,    // the frame heap refused the pixel block
  kCorruptData,    // compressed data breaks its own rules
  kNoImage,        // a GIF whose block stream holds no image
  kJpegError,      // libjpeg gave up on the stream
  kNeedsPlatform,  // icons and cursors: this build cannot create platform icons
};

// A short stable name ("truncated", "too-large", ...), for messages and test tables.
const char* PictureFailureName(PictureFailure failure);

// HICON on Windows. Owned by the DecodedPicture holding it.
using PictureIcon = void*;

// One decoded picture. Move-only: it owns its pixel block (frame heap) and its icon.
//
// Pixel block layouts by kind:
// - 1, 2: width x height x 3 bytes, no row padding, bottom row first, each pixel blue, green, red.
// - 5: a 40-byte bitmap-info header for the first image (height negative: rows top to bottom;
//   8 bits; 256 colours used and important), 256 colour-table entries (blue, green, red, 0) at 40,
//   rows at 1064 padded to a multiple of 4 bytes, then kGifCodeTableBytes of the decoder's code
//   table area. width and height of the record are the GIF's logical screen, which may differ from
//   the image's.
// - 6: the same header and colour table (planes = the file's plane count, colour counts 0), rows at
//   1064 with a stride of the file's bytes per line x planes rounded up to 4.
// - 7: 1-bit rows, top row first, each row ceil(width / 8) bytes rounded up to an even count.
// - 3, 4: no block, an icon.
struct DecodedPicture {
  PictureKind kind = PictureKind::kNone;
  std::int32_t width = 0;
  std::int32_t height = 0;
  PictureIcon icon = nullptr;
  std::uint8_t* pixels = nullptr;
  std::int32_t pixelBlockSize = 0;

  DecodedPicture() = default;
  DecodedPicture(const DecodedPicture&) = delete;
  DecodedPicture& operator=(const DecodedPicture&) = delete;
  DecodedPicture(DecodedPicture&& other) noexcept;
  DecodedPicture& operator=(DecodedPicture&& other) noexcept;
  ~DecodedPicture();

  // Destroys the icon and frees the block; the record is empty afterwards.
  void Reset();
  explicit operator bool() const { return kind != PictureKind::kNone; }
};

// A picture or the reason there is none.
struct DecodeResult {
  DecodedPicture picture;
  PictureFailure failure = PictureFailure::kNone;

  explicit operator bool() const { return failure == PictureFailure::kNone; }
};

// Offsets inside the blocks of kinds 5 and 6.
inline constexpr std::size_t kDibHeaderSize = 40;
inline constexpr std::size_t kDibColourEntries = 256;
inline constexpr std::size_t kDibRowsOffset = kDibHeaderSize + 4 * kDibColourEntries;  // 1064
inline constexpr std::size_t kGifCodeTableBytes = 4096 * 6;

PictureKind DetectPictureKind(const std::uint8_t* bytes, std::size_t length);
DecodeResult DecodePicture(const std::uint8_t* bytes, std::size_t length);
