#include "canvas/text_segments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/ground/memory.h"

namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> runs;  // each run's text, with "|" appended when a break follows it
};

std::vector<std::string> Runs(const std::string& text) {
  std::vector<std::string> runs;
  for (const TextSegment& segment : SplitTextSegments(text)) {
    runs.push_back(text.substr(segment.start, segment.length) + (segment.breakFollows ? "|" : ""));
  }
  return runs;
}

TEST(SplitTextSegments, EachBreakFormIsOneBreak) {
  const SplitCase cases[] = {
      {"empty", "", {}},
      {"no break", "AB", {"AB"}},
      {"CR LF", "AB\r\nCD", {"AB|", "CD"}},
      {"lone CR", "AB\rCD", {"AB|", "CD"}},
      {"lone LF", "AB\nCD", {"AB|", "CD"}},
      {"LF LF is one break", "AB\n\nCD", {"AB|", "CD"}},
      {"CR CR is two", "AB\r\rCD", {"AB|", "|", "CD"}},
      {"LF CR is two", "AB\n\rCD", {"AB|", "|", "CD"}},
      {"CR LF LF is one, the second LF starts an empty run", "AB\r\n\nCD", {"AB|", "|", "CD"}},
      {"break at the start", "\r\nCD", {"|", "CD"}},
      {"ends with a break", "AB\r\n", {"AB|"}},
      {"only a break", "\n", {"|"}},
      {"GBK bytes are not breaks", "王\r小明", {"王|", "小明"}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(Runs(c.text), c.runs) << c.name;
}

TEST(ArgumentText, TextsNumbersAndOtherKinds) {
  EXPECT_EQ(ArgumentText(MakeTextArg("名字")), "名字");
  EXPECT_EQ(ArgumentText(MakeTextArg(nullptr)), "");
  EXPECT_EQ(ArgumentText(MakeOmittedArg()), "");
  EXPECT_EQ(ArgumentText(MakeIntArg(-42)), "-42");
  EXPECT_EQ(ArgumentText(MakeDoubleArg(2.5)), "2.5");
  EXPECT_EQ(ArgumentText(MakeDoubleArg(0.1)), "0.1");
  EXPECT_EQ(ArgumentText(MakeBoolArg(true)), "真");
  EXPECT_EQ(ArgumentText(MakeBoolArg(false)), "假");
  EXPECT_EQ(ArgumentText(MakeDateTimeArg(40646.0)), "2011年4月13日");
  EXPECT_EQ(ArgumentText(MakeDateTimeArg(40646.5)), "2011年4月13日12时0分0秒");
  std::uint8_t bytes[] = {1, 2};
  ByteBuffer buffer = MakeByteBuffer(bytes, sizeof bytes);
  EXPECT_EQ(ArgumentText(MakeBufferArg(buffer)), std::nullopt) << "a byte buffer is skipped";
  FrameFree(buffer);
}

}  // namespace
