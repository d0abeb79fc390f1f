#include "frame/ground/app_frame.h"
#include "frame/ground/error_report.h"
#include "frame/ground/event_record.h"
#include "frame/ground/platform.h"

AppFrame& TheFrame() {
  // Constructed on first use, so services called during static initialisation find it ready.
  static AppFrame frame;
  return frame;
}

std::intptr_t NotifyFrame(int code, std::intptr_t first, std::intptr_t second) {
  NotificationFunction notify = TheFrame().notify;
  return notify ? notify(code, first, second) : 0;
}

void Shutdown(int exitCode) {
  AppFrame& frame = TheFrame();
  ++frame.eventSuppressionCount;
  // The clean-up routine and the module releases always run on the main thread: another thread
  // hands the request over and waits; the main thread then ends the process. If nothing answered,
  // this thread ends it.
  if (frame.mainThreadId != 0 && PlatformCurrentThreadId() != frame.mainThreadId) {
    if (frame.shutdownSteps.forwardToMainThread) frame.shutdownSteps.forwardToMainThread(exitCode);
    if (!frame.shuttingDown) PlatformExitProcess(exitCode);
    return;
  }
  if (frame.shuttingDown) return;
  frame.shuttingDown = true;

  frame.idleCallbacks.clear();
  if (frame.shutdownSteps.releaseWindowMap) frame.shutdownSteps.releaseWindowMap();
  // The routine is cleared before it runs, so a runtime error inside it cannot run it again.
  if (CleanupRoutine cleanup = frame.cleanupRoutine) {
    frame.cleanupRoutine = nullptr;
    cleanup();
  }
  for (SupportLibraryNotice library : frame.supportLibraries) library(kSupportLibraryEnd, frame.notify);
  frame.supportLibraries.clear();
  if (frame.shutdownSteps.releaseExternalModules) frame.shutdownSteps.releaseExternalModules();
  if (frame.shutdownSteps.releaseFrameObjects) frame.shutdownSteps.releaseFrameObjects();
  if (frame.shutdownSteps.releaseSystemServices) frame.shutdownSteps.releaseSystemServices();
}

void EndProgram(int exitCode) {
  Shutdown(exitCode);
  PlatformExitProcess(exitCode);
}
