// What the form tests share: the frame initialised once per process from the test layouts, a clean
// handler log per test, and pumping the message queue until something has happened.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "forms/window_map.h"
#include "frame/frame_loop.h"
#include "tests/forms_win/test_layouts.h"

// Pumps this thread's messages until `done` answers true or the time is up; answers `done()`.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    ProcessPendingEvents();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

inline void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

inline HWND LiveWindow(std::uint32_t windowId) {
  WindowRecord* record = FindWindowRecord(windowId);
  return record ? record->window : nullptr;
}

inline HWND ControlOf(std::uint32_t windowId, std::uint32_t unitId) {
  WindowRecord* record = FindWindowRecord(windowId);
  Unit* unit = record ? FindUnit(*record, unitId) : nullptr;
  return unit && unit->component ? unit->component->Control() : nullptr;
}

inline Component* ComponentOf(std::uint32_t windowId, std::uint32_t unitId) {
  WindowRecord* record = FindWindowRecord(windowId);
  Unit* unit = record ? FindUnit(*record, unitId) : nullptr;
  return unit ? unit->component.get() : nullptr;
}

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitialiseFrame(TestProgramHeader());
    ResetTestHandlers();
  }
  void TearDown() override {
    ResetTestHandlers();
    for (auto& record : WindowRecords()) {
      if (record->window) DestroyWindow(record->window);
    }
    ProcessPendingEvents();
    ResetTestHandlers();
  }
  // Sends a control's notification to its form as the control itself would.
  static void SendCommand(std::uint32_t windowId, std::uint32_t unitId, int code) {
    HWND control = ControlOf(windowId, unitId);
    SendMessageA(LiveWindow(windowId), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
  }
};
