// The program's event handlers, indexed by the layouts' handler numbers, and the procedures only
// they use.
#pragma once

#include <array>
#include <cstdint>

#include "forms/layouts/window_ids.h"
#include "frame/program_header.h"

extern const std::array<HandlerEntry, kProgramHandlerCount> kProgramHandlers;

// The external functions the program calls by number, in the numbering the call sites use.
extern const std::array<ExternalFunctionEntry, 4> kProgramExternalFunctions;

void FillBackgroundList();
void SaveSignature();

void InstallFonts();
void RemoveFonts();

// Where the program's pages lie: its folder holds them, so the addresses are file addresses.
inline constexpr const char* kHomePage = "\\pages\\index.html";
inline constexpr const char* kProgramPage = "\\pages\\program.html";
