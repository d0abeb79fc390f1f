#include <gtest/gtest.h>

#include "frame/ground/date_time.h"
#include "frame/ground/owned.h"
#include "frame/ground/service_commands.h"

namespace {

// The shutdown check of the program, made the way the program makes it: through the commands.
TEST(ServiceCommands, IntervalFromTheReferenceMomentToNowIsNegativeInSeconds) {
  ResultRecord reference, now, interval;
  const ArgRecord text = MakeTextArg("2011年04月13日22时56分29秒");
  CmdTextToDateTime(&reference, 1, &text);
  ASSERT_EQ(reference.type, kTypeDateTime);
  CmdNow(&now, 0, nullptr);
  ASSERT_EQ(now.type, kTypeDateTime);

  const ArgRecord args[] = {MakeDateTimeArg(ResultDouble(reference)),
                            MakeDateTimeArg(ResultDouble(now)), MakeIntArg(kIntervalSeconds)};
  CmdTimeInterval(&interval, 3, args);
  EXPECT_EQ(interval.type, kTypeDouble);
  EXPECT_LT(ResultDouble(interval), -0.0000001);
}

TEST(ServiceCommands, ToNumberTakesAnyValueAndMissingArgumentsReadAsOmitted) {
  ResultRecord result;
  const ArgRecord text = MakeTextArg("\xA3\xB1\xA3\xB2");  // full-width "12"
  CmdToNumber(&result, 1, &text);
  EXPECT_EQ(ResultDouble(result), 12.0);
  CmdToNumber(&result, 0, nullptr);
  EXPECT_EQ(ResultDouble(result), 0.0);
  CmdTextToDateTime(&result, 0, nullptr);
  EXPECT_EQ(ResultDouble(result), kInvalidDateTime);
}

}  // namespace
