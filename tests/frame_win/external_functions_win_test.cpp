#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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

TEST(ExternalFunctionsWin, SystemFunctionsBindToTheirOwnLibraries) {
  BindProgramTable(SkinFolder());
  EXPECT_EQ(TheExternalFunctions().Resolve(0),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SendMessageA")));
  EXPECT_EQ(TheExternalFunctions().Resolve(3),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), "AddFontResourceA")));
  EXPECT_EQ(TheExternalFunctions().Resolve(1),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), "RemoveFontResourceA")));
  TheExternalFunctions().Release();
}

TEST(ExternalFunctionsWin, CallsGoThroughWithTheirResults) {
  BindProgramTable(SkinFolder());
  const std::string skinFile = SkinFolder() + "\\pifu.she";
  EXPECT_EQ(CallExternalFunction(2, skinFile.c_str(), ""), 1u) << "the skin file is readable";
  EXPECT_EQ(CallExternalFunction(2, (SkinFolder() + "\\missing.she").c_str(), ""), 0u);
  // The broadcast the program makes before every drawing.
  CallExternalFunction(0, HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
  EXPECT_NE(GetModuleHandleA((SkinFolder() + "\\SkinH_EL.dll").c_str()), nullptr);
  TheExternalFunctions().Release();
  EXPECT_EQ(GetModuleHandleA((SkinFolder() + "\\SkinH_EL.dll").c_str()), nullptr)
      << "released at shutdown";
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
  ScratchFolder emptyFolder;
  EXPECT_EXIT(
      {
        SetErrorHook(PrintMessageHook);
        BindProgramTable(emptyFolder.Path());
        CallExternalFunction(2, "pifu.she", "");
      },
      EndedByRuntimeError,
      "code 0: names the library and the export");
}

}  // namespace
