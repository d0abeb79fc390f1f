#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "frame/ground/error_report.h"
#include "runtime_error_exit.h"

namespace {

TEST(RuntimeErrorText, LinesAppearOnlyForACodeAndAMessage) {
  EXPECT_EQ(FormatRuntimeErrorText(0, nullptr), "运行时出错!\r\n\r\n");
  EXPECT_EQ(FormatRuntimeErrorText(0, ""), "运行时出错!\r\n\r\n");
  EXPECT_EQ(FormatRuntimeErrorText(0, "载入启动窗口失败"),
            "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
  EXPECT_EQ(FormatRuntimeErrorText(6, RuntimeErrorMessage(6)),
            "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n");
  EXPECT_EQ(FormatRuntimeErrorText(-3, nullptr), "运行时出错!\r\n\r\n错误代码：-3\r\n\r\n");
}

TEST(RuntimeErrorText, CodeTableCoversOneToEleven) {
  EXPECT_EQ(RuntimeErrorMessage(0), nullptr);
  EXPECT_STREQ(RuntimeErrorMessage(1), "数组成员引用下标超出定义范围");
  EXPECT_STREQ(RuntimeErrorMessage(11), "所提供参数的数据类型不符合要求");
  EXPECT_EQ(RuntimeErrorMessage(12), nullptr);
}

// The report ends the process: run it in a death test and check the exit code and that the clean-up
// routine was skipped (it would print a marker).
void CleanupThatMustNotRun() { std::fputs("clean-up ran\n", stderr); }
int QuietHook(int code, const char* message) {
  const bool expected = message && std::string(message) == RuntimeErrorMessage(kErrorStackImbalance);
  std::fprintf(stderr, "hook %d %s\n", code, expected ? "with its message" : "with a wrong message");
  return 1;  // skip the box
}

TEST(RuntimeErrorReportDeathTest, EndsWithMinusOneAndSkipsTheCleanUpRoutine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        RegisterCleanupRoutine(CleanupThatMustNotRun);
        SetErrorHook(QuietHook);
        ReportRuntimeErrorByCode(kErrorStackImbalance);
      },
      EndedByRuntimeError,
      "^hook 6 with its message\n$");
}

}  // namespace
