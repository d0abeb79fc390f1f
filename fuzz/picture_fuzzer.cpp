// libFuzzer target: any bytes through DecodePicture and, when they decode, through the RGB view,
// which reads every pixel of the block by the layout its kind promises (for pictures of up to 65,536
// pixels; larger ones have their layout checked against the block). The same bytes also go
// through DibToBmpBytes as a packed bitmap, and through the icon directory (which DecodePicture
// reaches only for bytes that look like an icon or cursor file).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "canvas/bmp_packing.h"
#include "canvas/icon_directory.h"
#include "canvas/picture.h"
#include "canvas/picture_rgb.h"
#include "frame/ground/memory.h"

namespace {

// Pictures up to this many pixels are converted whole to RGB, every pixel read through its layout.
constexpr std::int64_t kFullyReadPixels = std::int64_t{1} << 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const DecodeResult result = DecodePicture(data, size);
  if (result) {
    // A decoded picture always has a block that matches its kind's layout.
    const DecodedPicture& picture = result.picture;
    if (std::int64_t{picture.width} * picture.height <= kFullyReadPixels) {
      std::vector<std::uint8_t> rgb;
      if (!PictureToRgb(picture, &rgb)) std::abort();
      std::uint32_t sum = 0;
      for (std::uint8_t level : rgb) sum += level;
      volatile std::uint32_t keep = sum;  // every byte was read
      (void)keep;
    } else {
      // Reading every pixel of a large picture would cost far more than decoding it (a few bytes of
      // GIF can claim a screen of millions of pixels). Its layout is checked against the block, and
      // the block's last byte read, which shows the block really is as large as it says.
      if (!PictureBlockFitsLayout(picture)) std::abort();
      volatile std::uint8_t last = picture.pixels[picture.pixelBlockSize - 1];
      (void)last;
    }
  } else if (result.picture.pixels || result.picture.kind != PictureKind::kNone) {
    std::abort();  // a failure carries no picture
  }

  // A chosen icon image lies inside the file.
  const IconImage image = ChooseIconImage(data, size);
  if (image.data && (image.data < data || image.size > size ||
                     image.data - data > static_cast<std::ptrdiff_t>(size - image.size))) {
    std::abort();
  }

  ByteBuffer file = nullptr;
  if (DibToBmpBytes(&file, data, size)) {
    if (BufferLength(file) != size + kBmpFileHeaderSize) std::abort();
    FrameFree(file);
  } else if (file) {
    std::abort();  // a refusal leaves the buffer as it was
  }
  return 0;
}
