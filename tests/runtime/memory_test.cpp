#include <gtest/gtest.h>

#include <cstring>

#include "frame/ground/memory.h"

namespace {

// A static region holding literal-like data, registered once for the whole test program.
const char kRegion[] = "constant text region\0second literal";

class StaticRegionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!IsInStaticRegion(kRegion)) RegisterStaticRegion(kRegion, sizeof kRegion);
  }
};

TEST_F(StaticRegionTest, FreeingALiteralOrNullDoesNothing) {
  FrameFree(const_cast<char*>(kRegion));
  FrameFree(const_cast<char*>(kRegion + 21));
  FrameFree(nullptr);
  EXPECT_STREQ(kRegion, "constant text region");
}

TEST_F(StaticRegionTest, RegionBoundsAreHalfOpen) {
  EXPECT_TRUE(IsInStaticRegion(kRegion));
  EXPECT_TRUE(IsInStaticRegion(kRegion + sizeof kRegion - 1));
  EXPECT_FALSE(IsInStaticRegion(kRegion + sizeof kRegion));
}

TEST_F(StaticRegionTest, ResizingALiteralCopiesOnlyUpToTheRegionEnd) {
  const char* second = kRegion + 21;  // "second literal" plus its NUL: 15 bytes to the region end
  auto* grown = static_cast<char*>(FrameResize(const_cast<char*>(second), 64));
  ASSERT_NE(grown, nullptr);
  EXPECT_FALSE(IsInStaticRegion(grown));
  EXPECT_STREQ(grown, "second literal");
  FrameFree(grown);

  auto* shrunk = static_cast<char*>(FrameResize(const_cast<char*>(kRegion), 8));
  EXPECT_EQ(std::memcmp(shrunk, "constant", 8), 0);
  FrameFree(shrunk);
}

TEST(FrameMemory, ResizeKeepsContentAndNullAllocates) {
  auto* block = static_cast<char*>(FrameResize(nullptr, 4));
  std::memcpy(block, "abc", 4);
  block = static_cast<char*>(FrameResize(block, 1 << 20));
  EXPECT_STREQ(block, "abc");
  FrameFree(block);
}

TEST(FrameMemory, PlainAllocationAnswersNullForAnImpossibleSize) {
  EXPECT_EQ(FrameAllocatePlain(static_cast<std::size_t>(-1) / 2), nullptr);
}

}  // namespace
