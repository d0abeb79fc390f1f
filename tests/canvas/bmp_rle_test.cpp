// Run-length expansion of BMP rows: runs, absolute runs and their padding, the three escape codes,
// and data that runs past its row, its picture or its own end.
#include <algorithm>
#include <cctype>
#include <string>

#include <gtest/gtest.h>

#include "canvas/bmp_rle.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct RleCase {
  const char* name;
  bool fourBits;
  std::size_t width, height;
  Bytes data;
  Bytes expected;  // bottom row first
};

const RleCase kCases[] = {
    {"RLE8 runs and end of line", false, 3, 2, {3, 7, 0, 0, 2, 5, 0, 1}, {7, 7, 7, 5, 5, 0}},
    {"RLE8 absolute run with its pad byte", false, 3, 1, {0, 3, 1, 2, 3, 0xEE, 0, 1}, {1, 2, 3}},
    // A delta moves right and up; the pixels it skips keep index 0.
    {"RLE8 delta", false, 3, 3, {1, 9, 0, 2, 1, 1, 1, 8, 0, 1}, {9, 0, 0, 0, 0, 8, 0, 0, 0}},
    // The picture is one run of indexes: a long run goes on in the next row and stops at the end.
    {"RLE8 run longer than its row", false, 3, 2, {4, 4, 0, 0, 1, 6, 0, 1}, {4, 4, 4, 6, 0, 0}},
    {"RLE8 run cut at the last index", false, 2, 2, {5, 4, 0, 0, 1, 6, 0, 1}, {4, 4, 6, 4}},
    {"RLE8 absolute run longer than its row", false, 2, 2, {0, 3, 1, 2, 3, 0, 0, 0, 1, 6, 0, 1}, {1, 2, 6, 0}},
    {"RLE8 without an end of bitmap", false, 2, 2, {2, 3}, {3, 3, 0, 0}},
    {"RLE8 absolute run cut by the end of data", false, 4, 1, {0, 4, 1, 2}, {1, 2, 0, 0}},
    {"RLE8 delta past the picture", false, 2, 2, {0, 2, 200, 200, 1, 5, 0, 1}, {0, 0, 0, 0}},
    // A delta past the last index ends the expansion, even though an end of line would come back.
    {"RLE8 delta past the last index", false, 2, 2, {0, 2, 5, 0, 0, 0, 1, 7, 0, 1}, {0, 0, 0, 0}},
    {"RLE8 end of line past the last row", false, 1, 1, {1, 3, 0, 0, 0, 0, 1, 4}, {3}},
    // RLE4 runs alternate the byte's two nibbles, high first; absolute runs are padded to a word.
    {"RLE4 runs", true, 5, 1, {5, 0x12, 0, 1}, {1, 2, 1, 2, 1}},
    {"RLE4 absolute run cut by the end of data", true, 4, 1, {0, 4, 0x12}, {1, 2, 0, 0}},
    {"RLE4 absolute runs", true, 5, 2, {0, 3, 0x34, 0x50, 0, 0, 0, 5, 0x67, 0x89, 0xA0, 0xEE, 0, 1},
     {3, 4, 5, 0, 0, 6, 7, 8, 9, 10}},
};

// Collects the indexes into a picture of index 0, and checks every position it is given.
class IndexPicture final : public RleIndexSink {
 public:
  explicit IndexPicture(std::size_t size) : indexes(size, 0) {}
  void Put(std::size_t at, const std::uint8_t* run, unsigned count) override {
    ASSERT_LE(at + count, indexes.size()) << "a run past the picture";
    std::copy(run, run + count, indexes.begin() + static_cast<std::ptrdiff_t>(at));
  }
  Bytes indexes;
};

class BmpRle : public testing::TestWithParam<RleCase> {};

TEST_P(BmpRle, ExpandsToTheIndexes) {
  const RleCase& c = GetParam();
  IndexPicture picture(c.width * c.height);
  ExpandBmpRle(c.data.data(), c.data.size(), c.fourBits, c.width, c.height, picture);
  EXPECT_EQ(picture.indexes, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BmpRle, testing::ValuesIn(kCases), [](const auto& info) {
  std::string name;
  for (const char* p = info.param.name; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
});

}  // namespace
