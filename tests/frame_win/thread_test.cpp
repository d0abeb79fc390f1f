#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "frame/ground/service_commands.h"
#include "frame/ground/shell_services.h"

namespace {

std::atomic<std::uintptr_t> gSeenParameter{0};
HANDLE gRan = nullptr;

std::uint32_t __stdcall RecordParameter(void* parameter) {
  gSeenParameter = reinterpret_cast<std::uintptr_t>(parameter);
  SetEvent(gRan);
  return 7;
}

class StartThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gRan = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    gSeenParameter = 99;
  }
  void TearDown() override { CloseHandle(gRan); }
};

TEST_F(StartThreadTest, HandleVariableReceivesAnOpenHandle) {
  void* handle = nullptr;
  const ArgRecord args[] = {MakePointerArg(reinterpret_cast<void*>(&RecordParameter)), MakeIntArg(42),
                            MakePointerArg(&handle)};
  ResultRecord result;
  CmdStartThread(&result, 3, args);
  EXPECT_EQ(result.type, kTypeBool);
  EXPECT_EQ(result.low, 1u);
  ASSERT_NE(handle, nullptr);
  ASSERT_EQ(WaitForSingleObject(handle, 5000), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  EXPECT_TRUE(GetExitCodeThread(handle, &exitCode));
  EXPECT_EQ(exitCode, 7u) << "the routine's answer is the thread's exit code";
  EXPECT_EQ(gSeenParameter.load(), 42u);
  EXPECT_TRUE(CloseHandle(handle));
}

// Whether the handle was closed cannot be seen from here: wine reports no process handle count.
TEST_F(StartThreadTest, OmittedParameterAndHandleVariable) {
  const ArgRecord routine = MakePointerArg(reinterpret_cast<void*>(&RecordParameter));
  ResultRecord result;
  CmdStartThread(&result, 1, &routine);
  EXPECT_EQ(result.low, 1u);
  ASSERT_EQ(WaitForSingleObject(gRan, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(gSeenParameter.load(), 0u) << "an omitted parameter is 0";
}

TEST(StartThread, NoRoutineStartsNothing) {
  ResultRecord result;
  const ArgRecord none = MakePointerArg(nullptr);
  CmdStartThread(&result, 1, &none);
  EXPECT_EQ(result.type, kTypeBool);
  EXPECT_EQ(result.low, 0u);
}

TEST(ShellExecute, AnAddressThatCannotBeOpenedHasNoVisibleEffect) {
  const ArgRecord args[] = {MakeOmittedArg(), MakeTextArg("Z:\\no\\such\\file.yj-none")};
  ResultRecord result;
  CmdShellExecute(&result, 2, args);
  EXPECT_EQ(result.type, kTypeOmitted);
}

}  // namespace
