#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "designer/procedures.h"
#include "frame/ground/memory.h"
#include "frame/ground/owned.h"

namespace {

TEST(JoinTexts, JoinsTwoOrThreeAndTreatsMissingTextsAsEmpty) {
  EXPECT_STREQ(OwnedText(JoinTextsWith(FrameAllocate, "C:\\yj", "\\背景图片\\")).Get(), "C:\\yj\\背景图片\\");
  EXPECT_STREQ(OwnedText(JoinTextsWith(FrameAllocate, "[", "签名", "]")).Get(), "[签名]");
  EXPECT_STREQ(OwnedText(JoinTextsWith(FrameAllocate, nullptr, "b", nullptr)).Get(), "b");
  EXPECT_STREQ(OwnedText(JoinTextsWith(FrameAllocate, "[", nullptr, "]")).Get(), "[]");
  EXPECT_EQ(OwnedText(JoinTextsWith(FrameAllocate, nullptr, "", nullptr)).Get(), nullptr);
}

TEST(TextsDiffer, ComparesBytesUnsignedWithNullAsEmpty) {
  struct Case {
    const char* first;
    const char* second;
    int expected;
  };
  const Case cases[] = {
      {nullptr, "", 0},
      {"", nullptr, 0},
      {nullptr, nullptr, 0},
      {"a.jpg", "", 1},
      {nullptr, "a", -1},
      {"abc", "abd", -1},
      {"abc", "ab", 1},  // a longer text sorts after its prefix
      {"签", "a", 1},     // GBK lead bytes are above 0x80: unsigned, they sort after ASCII
      {"a", "签", -1},
      {"背景", "背景", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextsDiffer(c.first, c.second), c.expected)
        << (c.first ? c.first : "(null)") << " vs " << (c.second ? c.second : "(null)");
  }
}

TEST(TruncateToInt, TruncatesTowardZeroAndKeepsTheLow32Bits) {
  struct Case {
    double value;
    std::int32_t expected;
  };
  const Case cases[] = {
      {12.9, 12},
      {-16.5, -16},
      {-0.9, 0},
      {2147483647.9, 2147483647},
      {2147483648.0, static_cast<std::int32_t>(0x80000000u)},
      {4294967296.0 + 5.0, 5},  // 2^32 + 5: only the low word survives
      {-4294967297.0, -1},
      {9223372036854774784.0, -1024},  // 2^63 - 1024, the largest double below 2^63
      {9223372036854775808.0, 0},  // 2^63 is outside the 64-bit range
      {-9223372036854775808.0, 0},  // -2^63 is inside; its low 32 bits are 0
      {1e300, 0},
      {-1e300, 0},
      {std::numeric_limits<double>::infinity(), 0},
      {std::nan(""), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TruncateToInt(c.value), c.expected) << c.value;
}

}  // namespace
