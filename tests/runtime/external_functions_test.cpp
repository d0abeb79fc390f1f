#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "frame/ground/error_report.h"
#include "frame/ground/external_functions.h"
#include "runtime_error_exit.h"
#include "stack_check_cases.h"

namespace {

// A loader over a made-up file system: which names load, what each module exports, and a log of
// every load and release.
struct FakeLibraries {
  std::map<std::string, std::vector<std::string>> exportsByFile;
  std::vector<std::string> log;
};
FakeLibraries* gFake = nullptr;

struct FakeModule {
  std::string fileName;
};

void* FakeLoad(const char* fileName) {
  gFake->log.push_back(std::string("load ") + fileName);
  if (!gFake->exportsByFile.count(fileName)) return nullptr;
  return new FakeModule{fileName};
}

void* FakeFind(void* module, const char* exportName, int ordinal) {
  const std::string wanted = ordinal >= 0 ? "#" + std::to_string(ordinal) : exportName;
  const auto& exports = gFake->exportsByFile[static_cast<FakeModule*>(module)->fileName];
  for (const std::string& name : exports) {
    if (name == wanted) return const_cast<std::string*>(&name);
  }
  return nullptr;
}

void FakeRelease(void* module) {
  auto* fake = static_cast<FakeModule*>(module);
  gFake->log.push_back("release " + fake->fileName);
  delete fake;
}

constexpr LibraryLoader kFakeLoader{FakeLoad, FakeFind, FakeRelease};

constexpr ExternalFunctionEntry kProgramTable[] = {
    {"", "SendMessageA"},
    {"gdi32", "RemoveFontResourceA"},
    {"SkinH_EL.dll", "SkinH_Attach_Ex"},
    {"", "AddFontResourceA"},
};

class ExternalFunctionTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gFake = &fake_;
    fake_.exportsByFile = {
        {"Kernel32.dll", {"GetTickCount"}},
        {"Gdi32.dll", {"AddFontResourceA"}},
        {"User32.dll", {"SendMessageA", "#12"}},
        {"gdi32", {"RemoveFontResourceA"}},
        {"C:\\prog\\SkinH_EL.dll", {"SkinH_Attach_Ex"}},
        {"SkinH_EL.dll", {"SkinH_Attach_Ex"}},
        {"D:\\other\\x.dll", {"X"}},
    };
    table_.Init(kProgramTable, kFakeLoader, "C:\\prog", "C:\\prog\\");
  }
  void TearDown() override {
    table_.Release();
    gFake = nullptr;
  }

  FakeLibraries fake_;
  ExternalFunctionTable table_;
};

TEST_F(ExternalFunctionTableTest, UnnamedLibraryIsTheFirstSystemLibraryWithTheExport) {
  ASSERT_NE(table_.TryResolve(0).address, nullptr);
  EXPECT_EQ(fake_.log, (std::vector<std::string>{"load Kernel32.dll", "release Kernel32.dll",
                                                  "load Gdi32.dll", "release Gdi32.dll",
                                                  "load User32.dll"}));
  fake_.log.clear();
  ASSERT_NE(table_.TryResolve(3).address, nullptr);
  EXPECT_EQ(fake_.log, (std::vector<std::string>{"load Kernel32.dll", "release Kernel32.dll",
                                                  "load Gdi32.dll"}));
}

TEST_F(ExternalFunctionTableTest, LaterCallsLoadNothing) {
  void* first = table_.TryResolve(2).address;
  ASSERT_NE(first, nullptr);
  fake_.log.clear();
  EXPECT_EQ(table_.TryResolve(2).address, first);
  EXPECT_EQ(table_.TryResolve(2).address, first);
  EXPECT_TRUE(fake_.log.empty());
}

TEST_F(ExternalFunctionTableTest, NamedLibraryComesFromTheProgramFolderFirst) {
  ASSERT_NE(table_.TryResolve(2).address, nullptr);
  EXPECT_EQ(fake_.log, std::vector<std::string>{"load C:\\prog\\SkinH_EL.dll"});
  fake_.log.clear();
  ASSERT_NE(table_.TryResolve(1).address, nullptr);
  EXPECT_EQ(fake_.log, (std::vector<std::string>{"load C:\\prog\\gdi32", "load C:\\prog\\gdi32",
                                                  "load gdi32"}));
}

TEST_F(ExternalFunctionTableTest, PathsWithADriveAndOrdinalsAreTakenAsWritten) {
  constexpr ExternalFunctionEntry kTable[] = {{"D:\\other\\x.dll", "X"}, {"", "#12"}, {"", "#65548"}};
  table_.Init(kTable, kFakeLoader, "C:\\prog", "C:\\prog\\");
  ASSERT_NE(table_.TryResolve(0).address, nullptr);
  EXPECT_EQ(fake_.log, std::vector<std::string>{"load D:\\other\\x.dll"});
  EXPECT_NE(table_.TryResolve(1).address, nullptr);
  EXPECT_NE(table_.TryResolve(2).address, nullptr) << "only the low 16 bits of an ordinal count";
}

TEST_F(ExternalFunctionTableTest, FailuresNameLibraryAndExportAndKeepNothingLoaded) {
  constexpr ExternalFunctionEntry kTable[] = {
      {"SkinH_EL.dll", "SkinH_Missing"}, {"nowhere.dll", "X"}, {"", "NoSuchExport"}};
  table_.Init(kTable, kFakeLoader, "C:\\prog", "C:\\prog\\");

  ExternalFunctionTable::Resolution missingExport = table_.TryResolve(0);
  EXPECT_EQ(missingExport.address, nullptr);
  EXPECT_EQ(missingExport.error, "无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_Missing”");
  EXPECT_EQ(fake_.log.back(), "release C:\\prog\\SkinH_EL.dll");

  EXPECT_EQ(table_.TryResolve(1).error, "无法找到指定DLL库文件“nowhere.dll”中的输出命令“X”");
  EXPECT_EQ(table_.TryResolve(2).error, "无法找到指定DLL库文件中的输出命令“NoSuchExport”");

  int loads = 0, releases = 0;
  for (const std::string& line : fake_.log) {
    loads += line.rfind("load ", 0) == 0 && fake_.exportsByFile.count(line.substr(5));
    releases += line.rfind("release ", 0) == 0;
  }
  EXPECT_EQ(loads, releases);
}

TEST_F(ExternalFunctionTableTest, ReleaseFreesEachBoundModuleOnce) {
  for (int i = 0; i < 4; ++i) ASSERT_NE(table_.TryResolve(i).address, nullptr) << i;
  fake_.log.clear();
  table_.Release();
  EXPECT_EQ(fake_.log, (std::vector<std::string>{"release User32.dll", "release gdi32",
                                                  "release C:\\prog\\SkinH_EL.dll",
                                                  "release Gdi32.dll"}));
  EXPECT_EQ(table_.Count(), 0);
}

// The bound functions use the system's standard calling convention, so the callee does too.
YJ_STDCALL std::uintptr_t Combine(std::uintptr_t a, std::uintptr_t b, std::uintptr_t c,
                                  std::uintptr_t d) {
  return a * 1000 + b * 100 + c * 10 + d;
}

TEST(ExternalCall, ArgumentsArriveInOrderAndTheStackStaysPut) {
  const std::uintptr_t args[] = {1, 2, 3, 4};
  std::uintptr_t before = 1, after = 2;
  EXPECT_EQ(CallStandardFunction(reinterpret_cast<void*>(&Combine), args, 4, &before, &after), 1234u);
  EXPECT_EQ(before, after);
}

#if defined(__i386__)
// Only the 32-bit convention lets a callee unbalance the stack; the positions must show by how much.
TEST(ExternalCall, TheStackPositionsShowWhatTheCalleeRemoved) {
  for (const stack_check_cases::Case& c : stack_check_cases::kCases) {
    std::uintptr_t before = 0, after = 0;
    EXPECT_EQ(CallStandardFunction(c.function, stack_check_cases::kArguments, 2, &before, &after),
              c.result)
        << c.name;
    EXPECT_EQ(static_cast<int>(after - before), c.stackDelta) << c.name;
  }
}
#endif

int ReportCodeHook(int code, const char*) {
  std::fprintf(stderr, "error code %d\n", code);
  return 1;
}

TEST(ExternalCallDeathTest, AMovedStackIsRuntimeErrorSix) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  CheckStackAfterExternalCall(0x1000, 0x1000);  // balanced: returns
  EXPECT_EXIT(
      {
        SetErrorHook(ReportCodeHook);
        CheckStackAfterExternalCall(0x1000, 0x1008);
      },
      EndedByRuntimeError,
      "error code 6");
}

}  // namespace
