// The constant table a program hands to the frame: its constant texts, its window layouts, its
// support libraries, its external functions and the table that turns the layouts' handler numbers
// into procedures.
#pragma once

#include <cstdint>
#include <span>

#include "frame/ground/app_frame.h"
#include "frame/ground/external_functions.h"
#include "forms/layout.h"

// A handler either takes nothing and answers nothing, or takes the event's arguments and answers a
// value (a window's MayClose answering 0 refuses the close).
using EventProcedure = void (*)();
using EventFunction = std::int32_t (*)(const std::int64_t* args, int argCount);
struct HandlerEntry {
  EventProcedure procedure = nullptr;
  EventFunction function = nullptr;
};

struct ProgramHeader {
  // When not 0, a window is shown in its layout's initial state (normal, minimised, maximised).
  std::int32_t runMode = 3;
  std::span<const char> constantTexts;
  std::span<const WindowLayout* const> windows;
  std::span<const SupportLibraryNotice> supportLibraries;
  std::span<const ExternalFunctionEntry> externalFunctions;
  // Indexed by the handler numbers the layouts' event tables hold.
  std::span<const HandlerEntry> handlers;
};
