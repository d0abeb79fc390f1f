#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <utility>

#include "frame/entry_operations.h"
#include "frame/ground/error_report.h"
#include "frame/ground/external_functions.h"
#include "frame/ground/memory.h"
#include "frame/ground/platform.h"
#include "frame/ground/program_path.h"
#include "frame/ground/system_library_loader.h"
#include "runtime_error_exit.h"
#include "scratch_folder.h"

namespace {

constexpr ExternalFunctionEntry kProgramTable[] = {
    {"", "SendMessageA"},
    {"gdi32", "RemoveFontResourceA"},
    {"SkinH_EL.dll", "SkinH_Attach_Ex"},
    {"", "AddFontResourceA"},
};

// The build puts the skin library into "skin" beside this test program, out of the system's own
// search path, so only the table's program folder can find it.
std::string SkinFolder() { return SplitProgramPath(PlatformProgramPath().value_or("")).directory + "\\skin"; }

void BindProgramTable(const std::string& programDirectory) {
  TheExternalFunctions().Release();
  TheExternalFunctions().Init(kProgramTable, SystemLibraryLoader(), programDirectory,
                              programDirectory + "\\");
}

// SendMessageA is bound as the system has it; the font file functions, whose A forms would read
// the program's GBK paths in the system's code page, are bound to the frame's own GBK forms.
TEST(ExternalFunctionsWin, SystemFunctionsBindToTheirOwnLibrariesOrTheFramesGbkForms) {
  BindProgramTable(SkinFolder());
  EXPECT_EQ(TheExternalFunctions().Resolve(0),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SendMessageA")));
  for (const auto& [number, name] : {std::pair{3, "AddFontResourceA"}, {1, "RemoveFontResourceA"}}) {
    ASSERT_NE(GbkFormOfSystemExport(name), nullptr) << name;
    EXPECT_EQ(TheExternalFunctions().Resolve(number), GbkFormOfSystemExport(name)) << name;
    EXPECT_NE(GbkFormOfSystemExport(name),
              reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), name)))
        << name << ": not the system's own";
  }
  EXPECT_EQ(GbkFormOfSystemExport("SendMessageA"), nullptr);
  TheExternalFunctions().Release();
}

// A window of the test's own that counts the font change notices it is sent.
int gFontChanges = 0;
LRESULT CALLBACK CountFontChanges(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_FONTCHANGE) ++gFontChanges;
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeFontChangeListener() {
  static const ATOM kClass = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CountFontChanges;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"yj-font-change-listener";
    return RegisterClassW(&windowClass);
  }();
  if (!kClass) return nullptr;
  return CreateWindowExW(0, L"yj-font-change-listener", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

TEST(ExternalFunctionsWin, CallsGoThroughWithTheirResults) {
  BindProgramTable(SkinFolder());
  const std::string skinFile = SkinFolder() + "\\pifu.she";
  EXPECT_EQ(CallExternalFunction(2, skinFile.c_str(), ""), 1u) << "the skin file is readable";
  EXPECT_EQ(CallExternalFunction(2, (SkinFolder() + "\\missing.she").c_str(), ""), 0u);
  // The font change notice the program sends after adding its fonts, sent here to a window of the
  // test's own: a broadcast would reach every window of the desktop, other tests' among them.
  HWND listener = MakeFontChangeListener();
  ASSERT_NE(listener, nullptr);
  gFontChanges = 0;
  CallExternalFunction(0, listener, WM_FONTCHANGE, 0, 0);
  EXPECT_EQ(gFontChanges, 1) << "the call reached the window";
  DestroyWindow(listener);
  EXPECT_NE(GetModuleHandleW(WideOf936(SkinFolder() + "\\SkinH_EL.dll").c_str()), nullptr);
  TheExternalFunctions().Release();
  EXPECT_EQ(GetModuleHandleW(WideOf936(SkinFolder() + "\\SkinH_EL.dll").c_str()), nullptr)
      << "released at shutdown";
}

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// Whether the system knows a font family of that name. (Asked by enumeration: a font made by name
// before the family was added would be answered again from wine's cache of realised fonts.)
bool FamilyIsInstalled(const wchar_t* family) {
  LOGFONTW font{};
  font.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(font.lfFaceName, family, LF_FACESIZE - 1);
  HDC dc = CreateCompatibleDC(nullptr);
  bool found = false;
  EnumFontFamiliesExW(dc, &font, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  DeleteDC(dc);
  return found;
}

// The program adds its design fonts from its own folder, whose name is Chinese on every user's
// machine, by their GBK paths (rows 3 and 1 of its table): they must be found whatever the
// system's code page.
TEST(ExternalFunctionsWin, AFontFileInAChineseFolderIsAddedAndRemovedByItsGbkPath) {
  // The face that ma10.dat supplies (the designs' table, designer/design_table.h).
  constexpr const wchar_t* kFamily = L"Kenya Swift";
  const std::wstring source = WideOf936(YJ_SOURCE_DIR) + L"\\build\\fonts\\zesel\\ma10.dat";
  ScratchFolder folder(L"云笺签名设计\\背景图片\\zesel");
  ASSERT_TRUE(CopyFileW(source.c_str(), (folder / std::wstring(L"ma10.dat")).c_str(), FALSE))
      << "the build's design fonts (tools/make-fonts.sh)";
  ASSERT_FALSE(FamilyIsInstalled(kFamily)) << "installed before the test added it: the test shows nothing";

  BindProgramTable(SkinFolder());
  const std::string gbkPath = folder / "ma10.dat";
  EXPECT_EQ(gbkPath.find('?'), std::string::npos);
  EXPECT_GT(static_cast<int>(CallExternalFunction(3, gbkPath.c_str())), 0) << "added";
  EXPECT_TRUE(FamilyIsInstalled(kFamily));
  EXPECT_NE(CallExternalFunction(1, gbkPath.c_str()), 0u) << "removed";
  EXPECT_FALSE(FamilyIsInstalled(kFamily));
  EXPECT_EQ(CallExternalFunction(3, (folder / "缺少.dat").c_str()), 0u) << "a missing file adds nothing";
  TheExternalFunctions().Release();
}

// The program reaches both through its entry operations: the external call and the file search.
TEST(ExternalFunctionsWin, TheEntryOperationsCallAndSearch) {
  BindProgramTable(SkinFolder());
  const std::string skinFile = SkinFolder() + "\\pifu.she";
  const std::uintptr_t words[] = {reinterpret_cast<std::uintptr_t>(skinFile.c_str()),
                                  reinterpret_cast<std::uintptr_t>("")};
  EXPECT_EQ(TheEntryOperations().callExternalFunction(2, 2, words), 1u);
  TheExternalFunctions().Release();

  FindSlot slot = nullptr;
  Text name = TheEntryOperations().findFile(skinFile.c_str(), 0, true, &slot);
  EXPECT_STREQ(name, "pifu.she");
  FrameFree(name);
  EXPECT_NE(slot, nullptr) << "the search stays open for the next name";
  TheEntryOperations().closeFindHandle(&slot);
  EXPECT_EQ(slot, nullptr);
}

int PrintMessageHook(int code, const char* message) {
  std::fprintf(stderr, "code %d: %s\n", code,
               message && std::string(message) ==
                                  "无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_Attach_Ex”"
                   ? "names the library and the export"
                   : "wrong message");
  return 1;
}

TEST(ExternalFunctionsWinDeathTest, AMissingSkinLibraryEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The test program's own folder: the library sits in "skin" beside it, not in it. (A scratch
  // folder would be made again by the child that runs the statement, which ends without removing it.)
  const std::string folderWithoutTheLibrary = SplitProgramPath(PlatformProgramPath().value_or("")).directory;
  ASSERT_EQ(GetFileAttributesW(WideOf936(folderWithoutTheLibrary + "\\SkinH_EL.dll").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EXIT(
      {
        SetErrorHook(PrintMessageHook);
        BindProgramTable(folderWithoutTheLibrary);
        CallExternalFunction(2, "pifu.she", "");
      },
      EndedByRuntimeError,
      "code 0: names the library and the export");
}

}  // namespace
