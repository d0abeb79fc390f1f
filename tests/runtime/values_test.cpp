#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

#include "frame/ground/error_report.h"
#include "frame/ground/owned.h"
#include "frame/ground/values.h"
#include "runtime_error_exit.h"

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

// Memory exhausted while a buffer is made ends the program through the runtime error report, as
// every exhausted allocation does; the plain maker (for a file's content) answers null instead.
[[maybe_unused]] int AllocationHook(int, const char* message) {
  std::fprintf(stderr, "hook %s\n", message && std::string(message).find(" 2147483632 ") != std::string::npos
                                         ? "with the size" : "with another message");
  return 1;  // skip the box
}

TEST(ByteBufferDeathTest, MemoryExhaustedIsReportedAndThePlainMakerAnswersNull) {
#if defined(_WIN32) && defined(_WIN64)
  GTEST_SKIP() << "a 64-bit process under wine gets a 2 GiB block: nothing here exhausts its memory";
#else
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  constexpr std::size_t kLength = 0x7FFFFFF0 - 8;  // with its header, 2 GiB less 16 bytes
  const auto exhaust = [] {
#if !defined(_WIN32)
    // A 512 MiB address space cannot hold a 2 GiB block; a 32-bit process has no room for one
    // beside its program either.
    const rlimit limit{std::size_t{512} << 20, std::size_t{512} << 20};
    setrlimit(RLIMIT_AS, &limit);
#endif
  };
  EXPECT_EXIT(
      {
        exhaust();
        if (MakeByteBufferPlain(nullptr, kLength) != nullptr) std::fputs("plain maker answered a buffer\n", stderr);
        SetErrorHook(AllocationHook);
        MakeByteBuffer(nullptr, kLength);
      },
      EndedByRuntimeError, "^hook with the size\n$");
#endif
}

}  // namespace
