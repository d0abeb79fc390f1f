// The runtime error report: the one way a fatal condition ends the program. It shows the error box,
// skips the program's clean-up routine and ends the process with exit code -1.
#pragma once

#include <string>

#include "frame/ground/app_frame.h"

inline constexpr int kRuntimeErrorExitCode = -1;
// The codes of the runtime error table; this program raises only the stack check's.
inline constexpr int kErrorStackImbalance = 6;

// The text of the error box for (code, message); code 0 and an empty message leave their lines out.
std::string FormatRuntimeErrorText(int code, const char* message);
// The table's message for codes 1 to 11, else null.
const char* RuntimeErrorMessage(int code);

[[noreturn]] void ReportRuntimeError(const char* message, int code);
[[noreturn]] void ReportRuntimeErrorByCode(int code);

void SetErrorHook(ErrorHook hook);
void RegisterCleanupRoutine(CleanupRoutine routine);

// Shutdown with the given exit code, then the process ends.
[[noreturn]] void EndProgram(int exitCode);
// The ordered teardown; safe to call more than once, later calls do nothing.
void Shutdown(int exitCode);
