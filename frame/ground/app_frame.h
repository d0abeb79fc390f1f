// The single frame object of the process. It is created before anything else runs and lives until
// the process ends; the frame's services read and write it, program code never does.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "frame/ground/event_record.h"

// The program's clean-up routine, called once at shutdown unless a runtime error ended the program.
using CleanupRoutine = void (*)();
// Called by the runtime error report before its message box; a non-zero answer skips the box.
using ErrorHook = int (*)(int code, const char* message);
// A routine a component runs on every idle pass while its window exists.
using IdleRoutine = void (*)(void* argument);
// A support library's start (code 1, with the notification function) and end (code 2) notice.
using SupportLibraryNotice = void (*)(int code, NotificationFunction notify);
inline constexpr int kSupportLibraryStart = 1;
inline constexpr int kSupportLibraryEnd = 2;

// The steps of shutdown that need Windows or the component model. The portable core calls them in
// order; the loop installs them when it initialises the frame, so the native build runs without.
struct ShutdownSteps {
  // Another thread asks the main thread to end the program (message 0x83E7 to the hidden window).
  void (*forwardToMainThread)(int exitCode) = nullptr;
  void (*releaseWindowMap)() = nullptr;
  void (*releaseExternalModules)() = nullptr;
  void (*releaseFrameObjects)() = nullptr;  // the hidden window and what else the loop holds
  void (*releaseSystemServices)() = nullptr;  // OLE
};

struct IdleCallback {
  std::uint32_t windowId;
  IdleRoutine routine;
  void* argument;
};

struct AppFrame {
  // The run directory has no trailing backslash; the separator form is used by library search.
  std::string programDirectory;
  std::string programFileName;
  std::string programDirectoryWithSeparator;

  // Address ranges of constant data: [start, end).
  std::vector<std::pair<std::uintptr_t, std::uintptr_t>> staticRegions;

  void* hiddenWindow = nullptr;  // HWND; owned by the loop, destroyed at shutdown
  unsigned long mainThreadId = 0;
  bool messageLoopStarted = false;
  bool shuttingDown = false;
  bool oleInitialised = false;
  std::uint32_t currentModalWindow = 0;

  // Events are not dispatched while this is 1 or more.
  std::int32_t eventSuppressionCount = 0;
  // The event being handled; the window part is cleared after each handler returns.
  std::uint32_t eventSourceWindow = 0;
  std::uint32_t eventSourceUnit = 0;

  CleanupRoutine cleanupRoutine = nullptr;
  ErrorHook errorHook = nullptr;
  bool errorHookRunning = false;

  std::vector<IdleCallback> idleCallbacks;

  std::vector<SupportLibraryNotice> supportLibraries;
  NotificationFunction notify = nullptr;
  ShutdownSteps shutdownSteps;
};

AppFrame& TheFrame();
