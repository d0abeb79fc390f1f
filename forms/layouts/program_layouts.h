// The program's window layouts in the form the program header takes them.
#pragma once

#include <span>

#include "forms/layout.h"

// The main window, then the splash window.
std::span<const WindowLayout* const> ProgramWindowLayouts();
