#include <gtest/gtest.h>

#include "frame/ground/program_path.h"

namespace {

struct SplitCase {
  const char* label;
  const char* path;
  const char* directory;
  const char* fileName;
};

const SplitCase kSplitCases[] = {
    {"ordinary", "C:\\Program Files\\yj\\app.exe", "C:\\Program Files\\yj", "app.exe"},
    {"drive root", "C:\\app.exe", "C:", "app.exe"},
    {"folder below root", "D:\\tools\\app.exe", "D:\\tools", "app.exe"},
    {"no backslash", "app.exe", "", "app.exe"},
    // "\x95\x5C" is one GBK character whose trail byte is a backslash.
    {"trail byte 0x5C is no separator", "C:\\a\x95\x5C" "b\\x.exe", "C:\\a\x95\x5C" "b", "x.exe"},
    {"trail byte 0x5C at the end", "C:\\dir\\\x95\x5C", "C:\\dir", "\x95\x5C"},
    {"GBK folder name", "C:\\签名\\签名设计.exe", "C:\\签名", "签名设计.exe"},
};

TEST(ProgramPath, SplitsAtTheLastSeparatorThatIsNotATrailByte) {
  for (const SplitCase& c : kSplitCases) {
    const ProgramPathParts parts = SplitProgramPath(c.path);
    EXPECT_EQ(parts.directory, c.directory) << c.label;
    EXPECT_EQ(parts.fileName, c.fileName) << c.label;
  }
}

TEST(ProgramPath, RootDirectoryJoinsBackToAValidPath) {
  const ProgramPathParts parts = SplitProgramPath("C:\\app.exe");
  EXPECT_EQ(parts.directory + "\\背景图片\\a.jpg", "C:\\背景图片\\a.jpg");
}

}  // namespace
