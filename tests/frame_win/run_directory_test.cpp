#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "frame/ground/app_frame.h"
#include "frame/ground/owned.h"
#include "frame/ground/program_path.h"

namespace {

TEST(RunDirectory, IsTheProgramFolderAndBecomesTheCurrentDirectory) {
  char modulePath[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
  ASSERT_GT(length, 0u);
  const std::string path(modulePath, length);
  const std::string folder = path.substr(0, path.rfind('\\'));

  SetCurrentDirectoryA("C:\\");
  RecordProgramDirectory();

  OwnedText runDirectory(RunDirectory());
  ASSERT_TRUE(runDirectory);
  EXPECT_EQ(std::string(runDirectory.Get()), folder);
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(TheFrame().programFileName, "frame_win_tests.exe");
  EXPECT_EQ(TheFrame().programDirectoryWithSeparator, folder + "\\");

  char current[MAX_PATH];
  GetCurrentDirectoryA(sizeof current, current);
  EXPECT_STREQ(current, folder.c_str());
}

}  // namespace
