// picture_bench [--reuse-heap] FILE...: decodes each picture file from memory, again and again,
// and prints the milliseconds per decode (median and fastest). tools/bench.sh makes the large
// pictures it times.
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

#include "canvas/picture.h"

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
    std::sort(times.begin(), times.end());
    std::printf("%s kind %d %dx%d: %.2f ms per decode (median of %zu, fastest %.2f)\n", argv[i],
                static_cast<int>(last.picture.kind), last.picture.width, last.picture.height,
                times[times.size() / 2], times.size(), times.front());
  }
  return 0;
}
