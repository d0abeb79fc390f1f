// No exception crosses a callback: window procedures run their body through this guard, and a
// failure inside becomes a runtime error report.
#pragma once

#include <windows.h>

#include "frame/ground/error_report.h"

template <typename Body>
LRESULT GuardedCallback(Body&& body) {
  try {
    return body();
  } catch (...) {
    ReportRuntimeError("窗口消息处理出错", 0);
  }
}
