// Runs the signature sheet tool as a user's console would, and keeps what it said and its exit code.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

struct ToolRun {
  DWORD exitCode = 0xFFFFFFFF;  // stays so when the tool did not start or did not end in time
  std::string output;           // stdout and stderr together, GBK
};

// `arguments` as one command line after the program's quoted path, run in `workFolder`. Its output
// goes to a new temporary file of its own (a finished process may still hold the last one's handle
// for a moment), read back and deleted when the tool has ended.
inline ToolRun RunTool(const std::string& program, const std::string& arguments, const std::string& workFolder) {
  ToolRun run;
  char temporaryFolder[MAX_PATH];
  char outputPath[MAX_PATH];
  if (!GetTempPathA(MAX_PATH, temporaryFolder) || !GetTempFileNameA(temporaryFolder, "sst", 0, outputPath)) return run;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE output = CreateFileA(outputPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) return run;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output;
  startup.hStdError = output;
  std::string commandLine = "\"" + program + "\" " + arguments;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                      nullptr, workFolder.c_str(), &startup, &process);
  CloseHandle(output);
  if (!started) return run;
  // Messages are pumped meanwhile, so a broadcast from the tool would reach this thread's windows.
  const DWORD deadline = GetTickCount() + 120000;
  for (;;) {
    const DWORD now = GetTickCount();
    const DWORD left = static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0;
    const DWORD woken = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, left, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &run.exitCode);
      break;
    }
    if (woken != WAIT_OBJECT_0 + 1) {
      TerminateProcess(process.hProcess, 99);
      break;
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  {
    std::ifstream file(outputPath, std::ios::binary);
    run.output.assign(std::istreambuf_iterator<char>(file), {});
  }
  DeleteFileA(outputPath);
  return run;
}
