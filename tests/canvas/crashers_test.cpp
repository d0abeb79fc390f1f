// Inputs that once broke a decoder (most found by fuzz/picture_fuzzer.cpp), replayed with the
// outcome each must have now. Every file of tests/canvas/crashers needs a row here.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas/picture.h"
#include "canvas/picture_rgb.h"
#include "picture_test_support.h"

namespace {

struct Crasher {
  const char* file;
  const char* fault;         // what went wrong before the fix
  PictureFailure failure;    // kNone: it decodes, to
  PictureKind kind;
};

const std::vector<Crasher> kCrashers = {
    {"gif_image_larger_than_its_data.gif",
     "420 bytes claiming a 12837 x 5888 image got a 72 MiB block, zeroed, before decoding ran dry",
     PictureFailure::kTruncated, PictureKind::kNone},
};

TEST(PictureCrashers, EachDecodesToItsOutcome) {
  for (const Crasher& c : kCrashers) {
    const Bytes bytes = ReadFileBytes(CanvasTestPath("crashers", c.file));
    ASSERT_FALSE(bytes.empty()) << "crasher missing: " << c.file;
    const DecodeResult result = Decode(bytes);
    EXPECT_EQ(result.failure, c.failure) << c.file << " (" << c.fault << ") answered "
                                         << PictureFailureName(result.failure);
    EXPECT_EQ(result.picture.kind, c.kind) << c.file << " (" << c.fault << ")";
    if (result) {
      std::vector<std::uint8_t> rgb;
      EXPECT_TRUE(PictureToRgb(result.picture, &rgb)) << "RGB view of " << c.file;
    }
  }
}

TEST(PictureCrashers, EveryFileHasAnOutcome) {
  std::set<std::string> listed;
  for (const Crasher& c : kCrashers) listed.insert(c.file);
  for (const auto& entry : std::filesystem::directory_iterator(CanvasTestPath("crashers", ""))) {
    const std::string name = entry.path().filename().string();
    if (name == "README") continue;
    EXPECT_TRUE(listed.count(name)) << "crasher without an outcome: " << name;
  }
}

}  // namespace
