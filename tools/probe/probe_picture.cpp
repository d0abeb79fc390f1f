// probe picture FILE [OUT.ppm]: decodes FILE as the program would and prints "KIND WIDTH HEIGHT"
// ("0 0 0" when it does not decode); with OUT, also writes the decoded pixels as a binary PPM, top
// row first. Exit code 0 when the picture decoded (and OUT was written), 1 when it did not decode,
// 2 for wrong arguments or an output that cannot be written.
#include <cstdio>
#include <vector>

#include "canvas/picture.h"
#include "canvas/picture_rgb.h"

namespace {

// The whole file, or nothing when it cannot be read (which decodes as nothing, like an empty file).
std::vector<std::uint8_t> ReadWholeFile(const char* path) {
  std::vector<std::uint8_t> bytes;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return bytes;
  std::uint8_t chunk[65536];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + count);
  std::fclose(file);
  return bytes;
}

bool WritePpm(const char* path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  std::FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const bool written = std::fprintf(file, "P6\n%d %d\n255\n", width, height) > 0 &&
                       std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int ProbePicture(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: probe picture FILE [OUT.ppm]\n");
    return 2;
  }
  const std::vector<std::uint8_t> bytes = ReadWholeFile(argv[2]);
  const DecodeResult result = DecodePicture(bytes.data(), bytes.size());
  if (!result) {
    std::printf("0 0 0\n");
    std::fprintf(stderr, "%s\n", PictureFailureName(result.failure));
    return 1;
  }
  const DecodedPicture& picture = result.picture;
  std::printf("%d %d %d\n", static_cast<int>(picture.kind), picture.width, picture.height);
  if (argc == 4) {
    std::vector<std::uint8_t> rgb;
    if (!PictureToRgb(picture, &rgb)) {
      std::fprintf(stderr, "kind %d has no pixel rows to write\n", static_cast<int>(picture.kind));
      return 2;
    }
    if (!WritePpm(argv[3], picture.width, picture.height, rgb)) {
      std::fprintf(stderr, "cannot write %s\n", argv[3]);
      return 2;
    }
  }
  return 0;
}
