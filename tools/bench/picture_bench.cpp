// picture_bench FILE...: decodes each picture file from memory, again and again, and prints the
// milliseconds per decode (median and fastest). tools/bench.sh makes the large pictures it times.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "canvas/picture.h"

namespace {

// Enough runs for a stable median without spending more than about two seconds per file.
constexpr int kMinRuns = 5;
constexpr int kMaxRuns = 50;
constexpr double kTimeBudgetMs = 2000;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: picture_bench FILE...\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    std::ifstream file(argv[i], std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<double> times;
    double total = 0;
    DecodeResult last;
    while (times.size() < kMaxRuns && (times.size() < kMinRuns || total < kTimeBudgetMs)) {
      const auto start = std::chrono::steady_clock::now();
      DecodeResult result = DecodePicture(bytes.data(), bytes.size());
      const auto end = std::chrono::steady_clock::now();
      if (!result) {
        std::fprintf(stderr, "%s: %s\n", argv[i], PictureFailureName(result.failure));
        return 1;
      }
      const double ms = std::chrono::duration<double, std::milli>(end - start).count();
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
