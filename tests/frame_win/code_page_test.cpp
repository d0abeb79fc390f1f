#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// The code page the run was started for: YJ_EXPECTED_ACP where the harness runs the tests under
// another locale than zh_CN (wine falls back to 1252 for a locale it cannot load, and a run that
// meant to show the program's texts survive Big5 or Latin-1 must not pass under GBK by mistake),
// GBK otherwise.
TEST(TestEnvironment, AnsiCodePageIsTheOneTheRunWasStartedFor) {
  const char* expected = std::getenv("YJ_EXPECTED_ACP");
  const UINT wanted = expected && *expected ? static_cast<UINT>(std::stoul(expected)) : 936u;
  EXPECT_EQ(GetACP(), wanted) << "YJ_EXPECTED_ACP=" << (expected ? expected : "(not set)");
}
