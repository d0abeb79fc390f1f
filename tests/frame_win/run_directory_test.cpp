#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "frame/ground/app_frame.h"
#include "frame/ground/owned.h"
#include "frame/ground/program_path.h"
#include "scratch_folder.h"

namespace {

std::wstring ModulePath() {
  wchar_t path[32768] = L"";
  const DWORD length = GetModuleFileNameW(nullptr, path, 32768);
  return std::wstring(path, length < 32768 ? length : 0);
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

// Run here from the test program's own folder, and again by the test below from a copy of the
// program in a folder whose name GBK cannot spell: the run directory must then be a name of the
// same folder (its short form) that the program can join its file names to, never one with "?".
TEST(RunDirectory, IsTheProgramFolderAndBecomesTheCurrentDirectory) {
  const std::wstring modulePath = ModulePath();
  ASSERT_FALSE(modulePath.empty());
  const std::wstring folder = FolderOf(modulePath);
  const std::optional<std::string> gbkFolder = GbkOf936(folder);
  wchar_t shortFolder[32768] = L"";
  const DWORD shortLength = GetShortPathNameW(folder.c_str(), shortFolder, 32768);
  const bool nameable = gbkFolder || (shortLength > 0 && GbkOf936(std::wstring(shortFolder, shortLength)));

  SetCurrentDirectoryW(L"C:\\");
  if (!nameable) {
    EXPECT_FALSE(RecordProgramDirectory()) << "a folder GBK cannot name is refused";
    return;
  }
  ASSERT_TRUE(RecordProgramDirectory());

  OwnedText runDirectory(RunDirectory());
  ASSERT_TRUE(runDirectory);
  const std::string directory = runDirectory.Get();
  if (gbkFolder) {
    EXPECT_EQ(directory, *gbkFolder) << "a folder GBK spells keeps its own name";
    EXPECT_EQ(TheFrame().programFileName, "frame_win_tests.exe");
  }
  EXPECT_EQ(directory.find('?'), std::string::npos) << directory;
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), '\\');
  EXPECT_TRUE(SameFile(WideOf936(directory), folder)) << directory << " is another folder";
  EXPECT_EQ(TheFrame().programDirectoryWithSeparator, directory + "\\");
  EXPECT_TRUE(SameFile(WideOf936(TheFrame().programDirectoryWithSeparator + TheFrame().programFileName), modulePath))
      << "the directory and the file name together name the program";

  wchar_t current[32768] = L"";
  GetCurrentDirectoryW(32768, current);
  EXPECT_TRUE(SameFile(current, folder)) << "the current directory";
}

// Runs the test above in a copy of this program placed in `folder`; answers its exit code, or -1
// when it could not run or reported no test run.
int RunDirectoryTestFrom(const ScratchFolder& folder, const ScratchFolder& report) {
  const std::wstring copy = folder / std::wstring(L"frame_win_tests.exe");
  // A copy, not a hard link: a link is the same file as the running test program, which cannot be
  // deleted while that runs.
  if (!CopyFileW(ModulePath().c_str(), copy.c_str(), TRUE)) {
    ADD_FAILURE() << "could not place the program copy: error " << GetLastError();
    return -1;
  }
  const std::string reportFile = report / "result.json";
  std::wstring commandLine = L"\"" + copy +
                             L"\" --gtest_filter=RunDirectory.IsTheProgramFolderAndBecomesTheCurrentDirectory"
                             L" --gtest_output=json:" + WideOf936(reportFile);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\", &startup, &process)) {
    ADD_FAILURE() << "could not start the program copy, error " << GetLastError();
    return -1;
  }
  DWORD exitCode = 0;
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    ADD_FAILURE() << "the program copy did not end within 60 s";
  }
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // A filter that selects nothing passes too: the report must show the one test run.
  const std::string result = WideFileContents(WideOf936(reportFile)).value_or("");
  if (result.find("\"tests\": 1,") == std::string::npos) {
    ADD_FAILURE() << "the program copy ran no test: " << result;
    return -1;
  }
  return static_cast<int>(exitCode);
}

TEST(RunDirectory, AProgramInAFolderGbkCannotSpellIsGivenANameThatReachesItsFolder) {
  ScratchFolder folder(L"한글 폴더\\签名设计");
  ScratchFolder report;
  ASSERT_FALSE(GbkOf936(folder.WidePath())) << "GBK spells the folder: no case";
  EXPECT_EQ(RunDirectoryTestFrom(folder, report), 0);
}

}  // namespace
