// picture_bench [--reuse-heap] FILE...: decodes each picture file from memory, again and again,
// and prints one figure line (tools/bench/figures.h) for the decoding and one for a memcpy of the
// decoded picture's size, its floor. tools/bench.sh makes the large pictures it times.
//
// Each decode allocates a fresh pixel block, and a block of many megabytes comes from fresh pages
// that the kernel must map and clear on first touch (about half a millisecond per megabyte on a
// virtual machine). --reuse-heap keeps freed blocks in the heap, so that the figure shows the
// decoding alone, as in a program that decodes pictures again and again.
#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string_view>
#include <fstream>
#include <iterator>
#include <vector>

#include <cstring>
#include <string>

#include "canvas/picture.h"
#include "tools/bench/figures.h"

namespace {

// Enough runs for a stable median without spending more than about two seconds per file.
constexpr int kMinRuns = 5;
constexpr int kMaxRuns = 50;
constexpr double kTimeBudgetMs = 2000;

// Milliseconds on the monotonic clock. (<chrono> cannot be compiled with the GBK execution
// character set: its duration suffixes include the micro sign.)
double NowMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  if (argc > 1 && std::string_view(argv[1]) == "--reuse-heap") {
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    first = 2;
  }
  if (argc <= first) {
    std::fprintf(stderr, "usage: picture_bench [--reuse-heap] FILE...\n");
    return 2;
  }
  for (int i = first; i < argc; ++i) {
    std::ifstream file(argv[i], std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<double> times;
    double total = 0;
    DecodeResult last;
    while (times.size() < kMaxRuns && (times.size() < kMinRuns || total < kTimeBudgetMs)) {
      const double start = NowMs();
      DecodeResult result = DecodePicture(bytes.data(), bytes.size());
      const double ms = NowMs() - start;
      if (!result) {
        std::fprintf(stderr, "%s: %s\n", argv[i], PictureFailureName(result.failure));
        return 1;
      }
      times.push_back(ms);
      total += ms;
      last = std::move(result);
    }
    const std::string kind = last.picture.kind == PictureKind::kJpeg  ? "jpeg"
                             : last.picture.kind == PictureKind::kGif ? "gif"
                             : last.picture.kind == PictureKind::kBmp ? "bmp"
                                                                      : "picture";
    const std::string size = std::to_string(last.picture.width) + "x" + std::to_string(last.picture.height);
    const std::string suffix = first == 2 ? "-reused" : "";
    PrintFigure(("decode-" + kind + "-" + size + suffix).c_str(), times);

    // The floor: copying as many bytes as the decoded rows hold.
    const std::size_t rowBytes = static_cast<std::size_t>(last.picture.width) * 3;
    std::vector<std::uint8_t> from(rowBytes * static_cast<std::size_t>(last.picture.height), 1);
    std::vector<std::uint8_t> to(from.size());
    std::vector<double> copies;
    for (int run = 0; run < kMaxRuns; ++run) {
      const double start = NowMs();
      std::memcpy(to.data(), from.data(), from.size());
      copies.push_back(NowMs() - start);
      from[static_cast<std::size_t>(run) % from.size()] = to[0];  // the copies are not optimised away
    }
    PrintFigure(("memcpy-" + kind + "-" + size + suffix).c_str(), copies);
  }
  return 0;
}
