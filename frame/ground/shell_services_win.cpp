#include <windows.h>
#include <shellapi.h>

#include "frame/ground/gbk_text_win.h"
#include "frame/ground/service_commands.h"
#include "frame/ground/shell_services.h"

void ShellExecuteRequest(const char* verb, const char* file, const char* parameters,
                         const char* workingDirectory, int showCommand) {
  // An omitted verb or parameter list stays a null pointer: the shell reads null as "the default".
  const std::wstring wideVerb = WideFromGbk(verb), wideParameters = WideFromGbk(parameters);
  ShellExecuteW(nullptr, verb ? wideVerb.c_str() : nullptr, WideFromGbk(file).c_str(),
                parameters ? wideParameters.c_str() : nullptr, WideFromGbk(workingDirectory).c_str(),
                showCommand);
}

bool StartThread(ThreadRoutine routine, std::uintptr_t parameter, void** handleVariable) {
  HANDLE thread = CreateThread(nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(routine),
                               reinterpret_cast<void*>(parameter), 0, nullptr);
  if (!thread) return false;
  if (handleVariable) {
    *handleVariable = thread;  // the caller's to close
  } else {
    CloseHandle(thread);
  }
  return true;
}

void CmdShellExecute(ResultRecord* result, int argCount, const ArgRecord* args) {
  const ArgRecord parameters = ArgAt(argCount, args, 2);
  const ArgRecord workingDirectory = ArgAt(argCount, args, 3);
  ShellExecuteRequest(ShellVerb(ArgAt(argCount, args, 0)), ArgText(ArgAt(argCount, args, 1)),
                      ArgOmitted(parameters) ? nullptr : ArgText(parameters),
                      ArgOmitted(workingDirectory) ? nullptr : ArgText(workingDirectory),
                      ShellShowCommand(ArgAt(argCount, args, 4)));
  *result = {0, 0, kTypeOmitted};
}

void CmdStartThread(ResultRecord* result, int argCount, const ArgRecord* args) {
  const ArgRecord parameter = ArgAt(argCount, args, 1);
  const ArgRecord handleVariable = ArgAt(argCount, args, 2);
  const auto routine = reinterpret_cast<ThreadRoutine>(ArgPointer(ArgAt(argCount, args, 0)));
  const std::uintptr_t value = ArgOmitted(parameter) ? 0 : static_cast<std::uint32_t>(ArgInt(parameter));
  SetResultBool(result, routine && StartThread(routine, value,
                                               ArgOmitted(handleVariable)
                                                   ? nullptr
                                                   : static_cast<void**>(ArgPointer(handleVariable))));
}
