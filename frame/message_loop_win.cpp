#include <windows.h>
#include <ole2.h>

#include <algorithm>

#include "forms/component.h"
#include "forms/form.h"
#include "forms/type_ids.h"
#include "forms/window_map.h"
#include "frame/entry_operations.h"
#include "frame/ground/error_report.h"
#include "frame/frame_loop.h"
#include "frame/ground/memory.h"
#include "frame/ground/program_path.h"
#include "frame/ground/system_library_loader.h"

namespace {

constexpr const wchar_t* kHiddenWindowClass = L"YjFrameHidden";
// Another thread asks the main thread to end the program; the exit code travels in wParam.
constexpr UINT kEndProgramMessage = 0x83E7;

const ProgramHeader* gHeader = nullptr;
int gLoopDepth = 0;
int gLoopExitCode = 0;

LRESULT OnEndProgramMessage(WPARAM exitCode) { EndProgram(static_cast<int>(exitCode)); }

LRESULT CALLBACK HiddenWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kEndProgramMessage: return OnEndProgramMessage(wParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND CreateHiddenWindow() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = HiddenWindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = kHiddenWindowClass;
  RegisterClassExW(&windowClass);
  return CreateWindowExW(WS_EX_TOOLWINDOW, kHiddenWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

void ForwardShutdownToMainThread(int exitCode) {
  if (HWND hidden = static_cast<HWND>(TheFrame().hiddenWindow)) {
    SendMessageW(hidden, kEndProgramMessage, static_cast<WPARAM>(exitCode), 0);
  }
}

void ReleaseExternalModules() { TheExternalFunctions().Release(); }

void ReleaseFrameObjects() {
  AppFrame& frame = TheFrame();
  if (frame.hiddenWindow) DestroyWindow(static_cast<HWND>(frame.hiddenWindow));
  frame.hiddenWindow = nullptr;
}

void ReleaseSystemServices() {
  AppFrame& frame = TheFrame();
  if (frame.oleInitialised) OleUninitialize();
  frame.oleInitialised = false;
}

// A window or a control is gone. Only a window's own unit resets its record; a control that went
// leaves its window as it is, its unit no longer live.
void ObjectDestroyed(std::uint32_t windowId, std::uint32_t unitId) {
  AppFrame& frame = TheFrame();
  WindowRecord* record = FindWindowRecord(windowId);
  if (!record) return;
  Unit* unit = FindUnit(*record, unitId);
  if (!unit) return;
  if (unit != &record->WindowUnit()) {
    unit->live = false;
    return;
  }
  // The layout rows are the pristine copy: the next load starts from them.
  ResetWindowRecord(*record);
  if (frame.currentModalWindow == windowId) frame.currentModalWindow = 0;
  if (!AnyWindowLoaded() && frame.messageLoopStarted) PostQuitMessage(0);
}

PictureToBitmapFunction gPictureToBitmap = nullptr;

std::intptr_t FrameNotification(int code, std::intptr_t first, std::intptr_t second) {
  switch (code) {
    case kNoticeWindowMap: return reinterpret_cast<std::intptr_t>(&WindowRecords());
    case kNoticePictureToBitmap:
      return gPictureToBitmap ? reinterpret_cast<std::intptr_t>(gPictureToBitmap(
                                    reinterpret_cast<const std::uint8_t*>(first), static_cast<std::size_t>(second)))
                              : 0;
    case kNoticeObjectDestroyed:
      ObjectDestroyed(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(second));
      return 0;
    case kNoticeLoadWindow: {
      const auto* request = reinterpret_cast<const LoadWindowRequest*>(first);
      WindowRecord* owner = FindWindowRecordByHandle(static_cast<HWND>(request->owner));
      return LoadWindow(request->windowId, owner ? owner->Id() : 0, request->modal) ? 0 : -1;
    }
    case kNoticeFindObject:
    case kNoticeFindObjectMustExist: {
      WindowRecord* record = FindWindowRecord(static_cast<std::uint32_t>(first));
      Unit* unit = record && record->window ? FindUnit(*record, static_cast<std::uint32_t>(second)) : nullptr;
      Component* component = unit && unit->live ? unit->component.get() : nullptr;
      if (!component && code == kNoticeFindObjectMustExist) {
        ReportRuntimeError("指定窗口或窗口组件不存在或尚未载入", 0);
      }
      return reinterpret_cast<std::intptr_t>(component);
    }
    case kNoticeRaiseEvent: DispatchEvent(*reinterpret_cast<EventRecord*>(first)); return 0;
    case kNoticeRaiseTypedEvent: DispatchTypedEvent(*reinterpret_cast<TypedEventRecord*>(first)); return 0;
    case kNoticeRunDirectory: return reinterpret_cast<std::intptr_t>(RunDirectory());
    case kNoticeProgramFileName: return reinterpret_cast<std::intptr_t>(CopyText(TheFrame().programFileName.c_str()));
    case kNoticeProcessPendingEvents: ProcessPendingEvents(); return 0;
    case kNoticeAllocate:
      return reinterpret_cast<std::intptr_t>(second ? FrameAllocatePlain(static_cast<std::size_t>(first))
                                                    : FrameAllocate(static_cast<std::size_t>(first)));
    case kNoticeFree: FrameFree(reinterpret_cast<void*>(first)); return 0;
    case kNoticeResize:
      return reinterpret_cast<std::intptr_t>(FrameResize(reinterpret_cast<void*>(first), static_cast<std::size_t>(second)));
    case kNoticeRuntimeError: ReportRuntimeError(reinterpret_cast<const char*>(first), 0);
    case kNoticeEndProgram: EndProgram(static_cast<int>(first));
    default: return 0;
  }
}

// The idle step: components' idle routines, last registered first, dropping those whose window is
// gone. Answers whether more idle work is wanted (only the first step of an idle phase does work).
bool RunIdleStep(long count) {
  auto& callbacks = TheFrame().idleCallbacks;
  for (std::size_t i = callbacks.size(); i-- > 0;) {
    const WindowRecord* record = FindWindowRecord(callbacks[i].windowId);
    if (!record || !record->window) {
      callbacks.erase(callbacks.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    callbacks[i].routine(callbacks[i].argument);
  }
  return count < 1;
}

// Paint and timer messages and mouse moves do not end an idle period.
bool ResetsIdle(const MSG& message) {
  return message.message != WM_PAINT && message.message != WM_TIMER && message.message != 0x0118 &&
         message.message != WM_MOUSEMOVE && message.message != WM_NCMOUSEMOVE;
}

// Messages are taken from the queue and dispatched as Unicode: the system then converts a typed
// character to the ANSI windows' code page itself (a Chinese character reaches an ANSI edit box as
// its two GBK bytes). Taken as ANSI, a character typed outside the input method arrives as "?".
void Pump(const MSG& message) {
  if (!PreTranslateFormMessage(message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Runs until WM_QUIT (main loop) or until the modal window is no longer the current modal window.
// A modal loop leaves a waiting WM_QUIT in the queue for the loop outside it.
void RunLoop(std::uint32_t modalWindow) {
  AppFrame& frame = TheFrame();
  const bool modal = modalWindow != 0;
  ++gLoopDepth;
  bool idle = true;
  long idleCount = 0;
  MSG message{};
  for (;;) {
    while (idle && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      idle = RunIdleStep(idleCount++);
      if (modal && frame.currentModalWindow != modalWindow) goto done;
    }
    do {
      if (modal && PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message == WM_QUIT) goto done;
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == -1 || got == 0) {
        // -1 is a failure of the queue, not a quit; either way this loop cannot go on. A quit taken
        // by a modal loop is put back for the loop outside.
        if (got == 0 && modal) PostQuitMessage(static_cast<int>(message.wParam));
        if (got == 0 && !modal) gLoopExitCode = static_cast<int>(message.wParam);
        goto done;
      }
      Pump(message);
      if (gLoopDepth == 1) ReleaseRetiredUnits();
      if (ResetsIdle(message)) {
        idle = true;
        idleCount = 0;
      }
      if (modal && frame.currentModalWindow != modalWindow) goto done;
    } while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
  }
done:
  --gLoopDepth;
}

}  // namespace

const ProgramHeader* TheProgramHeader() { return gHeader; }

int LoopExitCode() { return gLoopExitCode; }

void InitialiseFrame(const ProgramHeader& header) {
  AppFrame& frame = TheFrame();
  if (gHeader) return;
  gHeader = &header;
  if (!frame.oleInitialised && SUCCEEDED(OleInitialize(nullptr))) frame.oleInitialised = true;
  if (!RecordProgramDirectory()) {
    ReportRuntimeError("程序所在文件夹的路径含有 GBK 编码无法表示的字符，程序无法找到它的字体和背景图片。"
                       "请把程序文件夹移到路径只含中文、英文和数字的位置（如 C:\\云笺签名设计）后再运行。", 0);
  }
  frame.hiddenWindow = CreateHiddenWindow();
  frame.mainThreadId = GetCurrentThreadId();
  frame.notify = FrameNotification;
  frame.shutdownSteps = {ForwardShutdownToMainThread, ReleaseWindowMap, ReleaseExternalModules,
                         ReleaseFrameObjects, ReleaseSystemServices};
  if (!header.constantTexts.empty()) RegisterStaticRegion(header.constantTexts.data(), header.constantTexts.size());
  TheExternalFunctions().Init(header.externalFunctions, SystemLibraryLoader(), frame.programDirectory,
                              frame.programDirectoryWithSeparator);
  RegisterStandardComponentTypes();
  // Support libraries start before the layouts are read, so the types they register are known.
  for (SupportLibraryNotice library : header.supportLibraries) {
    frame.supportLibraries.push_back(library);
    library(kSupportLibraryStart, FrameNotification);
  }
  for (const WindowLayout* layout : header.windows) {
    bool readable = layout && AddWindowLayout(*layout);
    // Every handler number must name a row of the handler table.
    const auto handlersOk = [&](const UnitRow& row) {
      return std::all_of(row.events.begin(), row.events.end(), [&](const EventBinding& binding) {
        return binding.handler < 0 || static_cast<std::size_t>(binding.handler) < header.handlers.size();
      });
    };
    if (readable) {
      readable = handlersOk(layout->window) && std::all_of(layout->units.begin(), layout->units.end(), handlersOk);
    }
    if (!readable) ReportRuntimeError("载入窗口模板数据段出错!", 0);
  }
}

void RegisterIdleCallback(std::uint32_t windowId, IdleRoutine routine, void* argument) {
  TheFrame().idleCallbacks.push_back({windowId, routine, argument});
}

bool LoadWindow(std::uint32_t windowId, std::uint32_t ownerWindowId, bool modal) {
  AppFrame& frame = TheFrame();
  WindowRecord* record = FindWindowRecord(windowId);
  if (!record) return false;
  // A window already loaded is brought forward rather than loaded twice.
  if (record->window) {
    SetForegroundWindow(record->window);
    return true;
  }
  WindowRecord* owner = nullptr;
  if (ownerWindowId != 0) {
    owner = FindWindowRecord(ownerWindowId);
    if (!owner || !owner->window) return false;
  }
  record->modal = modal;
  if (!CreateForm(*record, owner ? owner->window : nullptr)) return false;
  if (!record->window) return true;  // its Created handler destroyed it at once
  if (record->WindowUnit().flags & kUnitVisible) {
    if (owner && owner->topmost) {
      SetWindowPos(record->window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
      record->topmost = true;
    }
    // The control that takes the focus raises its GotFocus itself.
    ShowForm(*record, gHeader ? gHeader->runMode : 3);
  }
  if (modal && record->window) {
    const std::uint32_t saved = frame.currentModalWindow;
    frame.currentModalWindow = windowId;
    RunLoop(windowId);
    frame.currentModalWindow = saved;
  }
  return true;
}

void LoadStartWindow(std::uint32_t windowId) {
  if (!LoadWindow(windowId, 0, false)) ReportRuntimeError("载入启动窗口失败", 0);
}

void DestroyObject(std::uint32_t windowId, std::uint32_t unitId, bool immediately) {
  auto* component = reinterpret_cast<Component*>(FrameNotification(kNoticeFindObjectMustExist, windowId, unitId));
  WindowRecord* record = FindWindowRecord(windowId);
  Unit* unit = FindUnit(*record, unitId);
  if (unit == &record->WindowUnit()) {
    record->pendingDestroy = true;
    if (immediately) {
      record->pendingDestroy = false;
      DestroyWindow(record->window);
    } else {
      PostMessageW(record->window, kDeferredDestroyMessage, 0, 0);
    }
    return;
  }
  // A control: its window goes; the unit stays in the layout but is no longer live.
  component->DestroyControl();
  unit->live = false;
}

void RunMessageLoop() {
  AppFrame& frame = TheFrame();
  frame.messageLoopStarted = true;
  if (!AnyWindowLoaded()) return;
  RunLoop(0);
  ReleaseRetiredUnits();
}

void ProcessPendingEvents() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) break;
    Pump(message);
  }
}

void SetPictureToBitmap(PictureToBitmapFunction function) { gPictureToBitmap = function; }
