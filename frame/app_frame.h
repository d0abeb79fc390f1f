// The single frame object of the process. It is created before anything else runs and lives until
// the process ends; the frame's services read and write it, program code never does.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The program's clean-up routine, called once at shutdown unless a runtime error ended the program.
using CleanupRoutine = void (*)();
// Called by the runtime error report before its message box; a non-zero answer skips the box.
using ErrorHook = int (*)(int code, const char* message);

struct AppFrame {
  // The run directory has no trailing backslash; the separator form is used by library search.
  std::string programDirectory;
  std::string programFileName;
  std::string programDirectoryWithSeparator;

  // Address ranges of constant data: [start, end).
  std::vector<std::pair<std::uintptr_t, std::uintptr_t>> staticRegions;

  unsigned long mainThreadId = 0;
  bool messageLoopStarted = false;
  bool shuttingDown = false;
  bool oleInitialised = false;

  // Events are not dispatched while this is 1 or more.
  std::int32_t eventSuppressionCount = 0;

  CleanupRoutine cleanupRoutine = nullptr;
  ErrorHook errorHook = nullptr;
  bool errorHookRunning = false;
};

AppFrame& TheFrame();
