#include <gtest/gtest.h>

#include <cstring>

#include "frame/owned.h"
#include "frame/values.h"

namespace {

TEST(ByteBuffer, LayoutIsDimensionCountLengthThenBytes) {
  OwnedBuffer buffer(MakeByteBuffer("abc", 3));
  ASSERT_TRUE(buffer);
  std::uint32_t header[2];
  std::memcpy(header, buffer.Get(), sizeof header);
  EXPECT_EQ(header[0], 1u);
  EXPECT_EQ(header[1], 3u);
  EXPECT_EQ(std::memcmp(BufferBytes(buffer.Get()), "abc", 3), 0);
}

TEST(ByteBuffer, EmptyIsNeverAllocated) {
  EXPECT_EQ(MakeByteBuffer("x", 0), nullptr);
  EXPECT_EQ(BufferLength(nullptr), 0u);
  EXPECT_EQ(BufferBytes(nullptr), nullptr);
}

TEST(ByteBuffer, AppendCreatesThenGrows) {
  ByteBuffer buffer = nullptr;
  ASSERT_TRUE(AppendToBuffer(&buffer, "BM", 2));
  ASSERT_TRUE(AppendToBuffer(&buffer, "", 0));
  ASSERT_TRUE(AppendToBuffer(&buffer, "xyz", 3));
  OwnedBuffer owned(buffer);
  ASSERT_EQ(BufferLength(buffer), 5u);
  EXPECT_EQ(std::memcmp(BufferBytes(buffer), "BMxyz", 5), 0);
}

TEST(Texts, CopyOfTheEmptyTextIsNull) {
  EXPECT_EQ(CopyText(nullptr), nullptr);
  EXPECT_EQ(CopyText(""), nullptr);
  EXPECT_STREQ(OwnedText(CopyText("背景")).Get(), "背景");
}

TEST(ArgRecords, ValuesRoundTripThroughTheTwoWords) {
  EXPECT_EQ(ArgInt(MakeIntArg(-7)), -7);
  EXPECT_EQ(MakeBoolArg(true).low, 1u);
  EXPECT_DOUBLE_EQ(ArgDouble(MakeDoubleArg(-657434.0)), -657434.0);
  EXPECT_EQ(MakeDateTimeArg(1.5).type, kTypeDateTime);
  const char* text = "文本";
  EXPECT_EQ(ArgText(MakeTextArg(text)), text);
  const ArgRecord omitted = MakeOmittedArg();
  EXPECT_TRUE(ArgOmitted(omitted));
  EXPECT_EQ(omitted.low | omitted.high, 0u);

  ResultRecord result;
  SetResultDouble(&result, 40646.955891203706);
  EXPECT_EQ(result.type, kTypeDouble);
  EXPECT_DOUBLE_EQ(ResultDouble(result), 40646.955891203706);
}

}  // namespace
