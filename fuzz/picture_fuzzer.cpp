// libFuzzer target: any bytes through DecodePicture and, when they decode, through the RGB view,
// which reads every pixel of the block by the layout its kind promises. The same bytes also go
// through DibToBmpBytes as a packed bitmap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "canvas/bmp_packing.h"
#include "canvas/picture.h"
#include "canvas/picture_rgb.h"
#include "frame/memory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const DecodeResult result = DecodePicture(data, size);
  if (result) {
    // A decoded picture always has a block that matches its kind's layout.
    std::vector<std::uint8_t> rgb;
    if (!PictureToRgb(result.picture, &rgb)) std::abort();
    std::uint32_t sum = 0;
    for (std::uint8_t level : rgb) sum += level;
    volatile std::uint32_t keep = sum;  // every byte was read
    (void)keep;
  } else if (result.picture.pixels || result.picture.kind != PictureKind::kNone) {
    std::abort();  // a failure carries no picture
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
