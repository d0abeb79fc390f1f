#include "frame/ground/service_commands.h"

#include "frame/ground/date_time.h"
#include "frame/ground/program_path.h"
#include "frame/ground/to_number.h"

ArgRecord ArgAt(int argCount, const ArgRecord* args, int index) {
  return index < argCount ? args[index] : MakeOmittedArg();
}

void CmdRunDirectory(ResultRecord* result, int, const ArgRecord*) {
  SetResultText(result, RunDirectory());
}

void CmdToNumber(ResultRecord* result, int argCount, const ArgRecord* args) {
  SetResultDouble(result, ToNumber(ArgAt(argCount, args, 0)));
}

void CmdTextToDateTime(ResultRecord* result, int argCount, const ArgRecord* args) {
  SetResultDateTime(result, TextToDateTime(ArgAt(argCount, args, 0)));
}

void CmdNow(ResultRecord* result, int, const ArgRecord*) {
  SetResultDateTime(result, CurrentDateTime());
}

void CmdTimeInterval(ResultRecord* result, int argCount, const ArgRecord* args) {
  SetResultDouble(result, TimeInterval(ArgDouble(ArgAt(argCount, args, 0)),
                                       ArgDouble(ArgAt(argCount, args, 1)),
                                       ArgInt(ArgAt(argCount, args, 2))));
}
