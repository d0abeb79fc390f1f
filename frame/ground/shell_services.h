// Handing documents and web addresses to the shell, and running a program routine on a thread of
// its own.
#pragma once

#include <cstdint>

#include "frame/ground/values.h"

// The verb for a shell operation code: 1 "edit", 2 "explore", 3 "find", 4 "open", 5 "print";
// omitted or any other code gives null, the shell's default verb.
const char* ShellVerb(const ArgRecord& operation);
// The show command for a window mode: 1 hide, 2 normal, 3 minimised, 4 maximised, 5 show without
// activating, 6 minimise; omitted or outside 1-6 gives normal (1).
int ShellShowCommand(const ArgRecord& windowMode);

// Asks the shell to open `file` (a document or web address) and does not wait; the outcome is not
// reported. A null working directory is passed as the empty text.
void ShellExecuteRequest(const char* verb, const char* file, const char* parameters,
                         const char* workingDirectory, int showCommand);

// A routine that runs on a thread of its own: it receives the parameter and its answer becomes the
// thread's exit code. It uses the system's standard calling convention.
#if defined(_WIN32)
using ThreadRoutine = std::uint32_t(__stdcall*)(void* parameter);
#else
using ThreadRoutine = std::uint32_t (*)(void* parameter);
#endif

// Starts `routine` at once. When `handleVariable` is given the thread's handle is stored there and
// stays open for the caller to close; otherwise it is closed at once and the thread runs on alone.
bool StartThread(ThreadRoutine routine, std::uintptr_t parameter, void** handleVariable);

// Commands. Shell execute: operation code, file or address, parameters, working directory, window
// mode (all but the address may be omitted); no result.
void CmdShellExecute(ResultRecord* result, int argCount, const ArgRecord* args);
// Start thread: routine (subroutine), parameter, address of the handle variable; boolean result.
void CmdStartThread(ResultRecord* result, int argCount, const ArgRecord* args);
