#include <windows.h>

#include <gtest/gtest.h>

// Every text of the program is GBK; the test machine must run with the same ANSI code page.
TEST(TestEnvironment, AnsiCodePageIsGbk) { EXPECT_EQ(GetACP(), 936u); }
