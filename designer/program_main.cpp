// The program: its header (constant texts, layouts, support libraries, external functions and
// handlers) and its entry routine, which runs the whole life of the process.
#include "canvas/draw_panel_commands.h"
#include "designer/handlers.h"
#include "designer/program_globals.h"
#include "designer/unit_access.h"
#include "forms/layouts/program_layouts.h"
#include "forms/layouts/window_ids.h"
#include "frame/entry_operations.h"
#include "frame/program_header.h"

namespace {

// Texts the frame may be handed back and free harmlessly.
constexpr char kConstantTexts[] = "载入启动窗口失败\0运行时出错!";
constexpr SupportLibraryNotice kSupportLibraries[] = {DrawPanelLibraryNotice};

const ProgramHeader& Header() {
  static const ProgramHeader header{3,
                                    kConstantTexts,
                                    ProgramWindowLayouts(),
                                    kSupportLibraries,
                                    kProgramExternalFunctions,
                                    kProgramHandlers};
  return header;
}

int ProgramEntry() {
  Frame().initialiseFrame(Header());
  // The program's code assumes the calling convention's clean state: string operations run
  // forwards and the x87 unit has its default control word.
#if defined(__i386__) || defined(__x86_64__)
  asm volatile("cld\n\tfninit" ::: "memory");
#endif
  ProgramGlobalsInit();
  Frame().registerCleanupRoutine(ProgramGlobalsRelease);
  Frame().loadStartWindow(kMainWindow);
  Frame().runMessageLoop();
  return 0;
}

}  // namespace

int main() { RunProgram(ProgramEntry); }
