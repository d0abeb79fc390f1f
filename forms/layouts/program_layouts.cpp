#include "forms/layouts/program_layouts.h"

#include "forms/layouts/main_window_layout.h"
#include "forms/layouts/splash_window_layout.h"

std::span<const WindowLayout* const> ProgramWindowLayouts() {
  // Built on first use: the layouts live in other files, so their addresses are not constant here.
  static const WindowLayout* const layouts[] = {&MainWindowLayout(), &SplashWindowLayout()};
  return layouts;
}
