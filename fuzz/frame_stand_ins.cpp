// What the frame's heap needs from the rest of the frame, for the fuzzer alone: the frame object
// (no static regions are registered here) and a runtime error report that ends the run loudly.
#include <cstdio>
#include <cstdlib>

#include "frame/ground/app_frame.h"
#include "frame/ground/error_report.h"

AppFrame& TheFrame() {
  static AppFrame frame;
  return frame;
}

void ReportRuntimeError(const char* message, int code) {
  std::fprintf(stderr, "runtime error %d: %s\n", code, message ? message : "");
  std::abort();
}
