// The table of entry operations the program's routines call, and the process entry that runs the
// program's entry routine. The program calls nothing else of the frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/ground/app_frame.h"
#include "frame/ground/file_services.h"
#include "frame/program_header.h"
#include "frame/ground/values.h"

struct EntryOperations {
  void (*initialiseFrame)(const ProgramHeader& header);
  void (*registerCleanupRoutine)(CleanupRoutine routine);
  void (*loadStartWindow)(std::uint32_t windowId);
  void (*runMessageLoop)();
  void (*endProgram)(int exitCode);                // does not return
  void (*reportRuntimeErrorByCode)(int code);      // does not return
  void* (*allocate)(std::size_t size);
  void* (*resize)(void* block, std::size_t size);
  void (*free)(void* block);
  ResultRecord (*callCommand)(CommandFunction command, int argCount, const ArgRecord* args);
  std::uint64_t (*readProperty)(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex);
  void (*writeProperty)(std::uint32_t windowId, std::uint32_t unitId, std::int32_t index, std::int32_t subIndex,
                        std::uint64_t value);
  // Entry `number` of the program's external-function table with its arguments as words; the
  // function's own result.
  std::uint32_t (*callExternalFunction)(int number, int argCount, const std::uintptr_t* words);
  Text (*findFile)(const char* pattern, std::uint32_t mask, bool maskOmitted, FindSlot* slot);
  void (*closeFindHandle)(FindSlot* slot);
  void (*processPendingEvents)();
};

const EntryOperations& TheEntryOperations();

// Runs a command and answers its result record.
ResultRecord CallCommand(CommandFunction command, int argCount, const ArgRecord* args);

// The exit code the main loop's WM_QUIT carried (0 until it ended).
int LoopExitCode();

// The process: the program's entry routine initialises the frame, loads the start window and runs
// the loop itself; when it returns, shutdown runs with the quit message's exit code and the
// process ends.
[[noreturn]] void RunProgram(int (*entryRoutine)());
