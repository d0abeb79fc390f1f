#include "frame/app_frame.h"
#include "frame/error_report.h"
#include "frame/platform.h"

AppFrame& TheFrame() {
  // Constructed on first use, so services called during static initialisation find it ready.
  static AppFrame frame;
  return frame;
}

void Shutdown(int /*exitCode*/) {
  AppFrame& frame = TheFrame();
  ++frame.eventSuppressionCount;
  if (frame.shuttingDown) return;
  frame.shuttingDown = true;
  // The routine is cleared before it runs, so a runtime error inside it cannot run it again.
  if (CleanupRoutine cleanup = frame.cleanupRoutine) {
    frame.cleanupRoutine = nullptr;
    cleanup();
  }
}

void EndProgram(int exitCode) {
  Shutdown(exitCode);
  PlatformExitProcess(exitCode);
}
