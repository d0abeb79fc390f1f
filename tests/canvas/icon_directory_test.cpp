// Icon and cursor directories: which image is chosen, and the directories that yield none.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas/icon_directory.h"
#include "picture_test_support.h"

namespace {

struct Entry {
  std::uint8_t width;
  std::uint8_t colours;
  // Where the entry's image lies; by default the next image behind the directory.
  std::int64_t size = -1;
  std::int64_t offset = -1;
};

// A directory of `entries` (the header counting `count`, or the entries when negative), followed
// by one 20-byte image for each, whose header says width w, height 2w and bit count 4 + i. The file
// is cut after `cut` bytes when that is not negative.
Bytes MakeIconFile(const std::vector<Entry>& entries, int count = -1, std::int64_t cut = -1) {
  constexpr std::uint32_t kImageBytes = 20;
  Bytes file;
  PutLe16(file, 0);
  PutLe16(file, 1);
  PutLe16(file, count < 0 ? static_cast<std::uint32_t>(entries.size()) : static_cast<std::uint32_t>(count));
  const auto imagesAt = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    PutBytes(file, {e.width, e.width, e.colours, 0});
    PutLe16(file, 1);
    PutLe16(file, 4);
    PutLe32(file, e.size < 0 ? kImageBytes : static_cast<std::uint32_t>(e.size));
    PutLe32(file, e.offset < 0 ? imagesAt + kImageBytes * static_cast<std::uint32_t>(i)
                               : static_cast<std::uint32_t>(e.offset));
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    PutLe32(file, 40);
    PutLe32(file, entries[i].width);
    PutLe32(file, entries[i].width * 2u);
    PutLe16(file, 1);
    PutLe16(file, 4 + static_cast<std::uint32_t>(i));
    PutLe32(file, 0);
  }
  if (cut >= 0) file.resize(static_cast<std::size_t>(cut));
  return file;
}

struct ChoiceCase {
  const char* name;
  Bytes file;
  std::ptrdiff_t chosenAt;  // where the chosen image starts in the file, or -1 for none
  std::size_t chosenSize = 20;
};

// Where MakeIconFile puts image i of a directory of `entries`.
std::ptrdiff_t ImageAt(int entries, int i) { return 6 + 16 * entries + 20 * i; }

// A directory counting three entries that ends 8 bytes into the third; the second entry's image is
// the whole file, the only data there is.
Bytes DirectoryCutShort() {
  Bytes file = MakeIconFile({{16, 16}, {24, 16, 46, 0}}, 3);
  file.resize(6 + 16 * 2);
  PutBytes(file, {48, 48, 16, 0, 1, 0, 4, 0});
  return file;
}

void PrintTo(const ChoiceCase& c, std::ostream* out) { *out << c.name; }

std::vector<ChoiceCase> ChoiceCases() {
  return {
      {"the 32-pixel 16-colour entry after a 16-pixel one", MakeIconFile({{16, 16}, {32, 16}, {48, 16}}), ImageAt(3, 1)},
      {"the first of two that qualify", MakeIconFile({{32, 16}, {32, 255}}), ImageAt(2, 0)},
      {"the last entry when none qualifies", MakeIconFile({{32, 2}, {16, 16}, {48, 0}}), ImageAt(3, 2)},
      {"the last entry read from a directory cut short", DirectoryCutShort(), 0, 46},
      {"none for a count of 0", MakeIconFile({{32, 16}}, 0), -1},
      {"none for a header cut short", MakeIconFile({{32, 16}}, -1, 5), -1},
      {"none for an image offset past the end", MakeIconFile({{32, 16, 20, 5000}}), -1},
      {"none for an image running past the end", MakeIconFile({{32, 16, 21}}), -1},
      {"none for an empty image", MakeIconFile({{32, 16, 0}}), -1},
      {"none for an offset and size that wrap", MakeIconFile({{32, 16, 0xFFFFFFF0, 0x20}}), -1},
  };
}

class IconDirectory : public testing::TestWithParam<ChoiceCase> {};

TEST_P(IconDirectory, ChoosesTheImage) {
  const ChoiceCase& c = GetParam();
  const IconImage image = ChooseIconImage(c.file.data(), c.file.size());
  if (c.chosenAt < 0) {
    EXPECT_EQ(image.data, nullptr);
    return;
  }
  ASSERT_NE(image.data, nullptr);
  EXPECT_EQ(image.data - c.file.data(), c.chosenAt);
  EXPECT_EQ(image.size, c.chosenSize);
}

INSTANTIATE_TEST_SUITE_P(Cases, IconDirectory, testing::ValuesIn(ChoiceCases()),
                         [](const testing::TestParamInfo<ChoiceCase>& info) { return TestNameFor(info.param.name); });

TEST(IconDirectoryImage, TheImageHeaderGivesTheSizeWithTheHeightHalved) {
  const Bytes file = MakeIconFile({{16, 16}, {32, 16}});
  const IconImage image = ChooseIconImage(file.data(), file.size());
  ASSERT_NE(image.data, nullptr);
  EXPECT_EQ(image.width, 32);
  EXPECT_EQ(image.height, 32);  // the header's 64 counts the colour rows and the mask rows
  EXPECT_EQ(image.bitCount, 5u);
}

TEST(IconDirectoryImage, AnImageShorterThanItsHeaderHasNoSize) {
  const Bytes file = MakeIconFile({{32, 16, 15}});
  const IconImage image = ChooseIconImage(file.data(), file.size());
  ASSERT_NE(image.data, nullptr);
  EXPECT_EQ(image.size, 15u);
  EXPECT_EQ(image.width, 0);
  EXPECT_EQ(image.height, 0);
}

TEST(IconDirectoryImage, TheFixtureChoosesItsThirtyTwoPixelImage) {
  const Bytes file = ReadFileBytes(CanvasTestPath("fixtures", "icon_32_16.ico"));
  const IconImage image = ChooseIconImage(file.data(), file.size());
  ASSERT_NE(image.data, nullptr);
  EXPECT_EQ(image.width, 32);
  EXPECT_EQ(image.height, 32);
}

}  // namespace
