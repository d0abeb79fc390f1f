#include <gtest/gtest.h>

#include "frame/ground/shell_services.h"

namespace {

TEST(ShellArguments, VerbsByOperationCode) {
  EXPECT_EQ(ShellVerb(MakeOmittedArg()), nullptr);
  const char* expected[] = {nullptr, "edit", "explore", "find", "open", "print", nullptr};
  for (int code = 0; code <= 6; ++code) {
    const char* verb = ShellVerb(MakeIntArg(code));
    if (expected[code]) {
      EXPECT_STREQ(verb, expected[code]) << code;
    } else {
      EXPECT_EQ(verb, nullptr) << code;
    }
  }
  EXPECT_EQ(ShellVerb(MakeIntArg(-1)), nullptr);
}

TEST(ShellArguments, ShowCommandsByWindowMode) {
  EXPECT_EQ(ShellShowCommand(MakeOmittedArg()), 1);
  const int expected[] = {1, 0, 1, 2, 3, 8, 6, 1};  // modes 0 to 7; 0 and 7 count as omitted
  for (int mode = 0; mode <= 7; ++mode) EXPECT_EQ(ShellShowCommand(MakeIntArg(mode)), expected[mode]) << mode;
}

}  // namespace
