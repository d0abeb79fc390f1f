// The frame's loop: initialisation from the program header, loading and destroying windows, the
// message loop with its idle phase and modal nesting, pending-event processing and event dispatch.
// The entry operations the program calls; components reach these through the frame's notification
// function instead.
#pragma once

#include <cstdint>

#include "frame/ground/event_record.h"
#include "frame/program_header.h"

// Heap, OLE, program directory, hidden window, main thread, static regions, external-function
// slots, support libraries and the window layouts. A second call does nothing.
void InitialiseFrame(const ProgramHeader& header);
const ProgramHeader* TheProgramHeader();

// Loads the start window (no owner, not modal, shown); a failure is the runtime error
// "载入启动窗口失败".
void LoadStartWindow(std::uint32_t windowId);
// Loads a window; with `modal` it returns only once that window is gone. False when there is no
// such layout, the owner is not loaded, or creation failed.
bool LoadWindow(std::uint32_t windowId, std::uint32_t ownerWindowId, bool modal);
// Marks the window pending destroy and posts the private destroy message, or destroys it at once.
// A unit id naming a control destroys that control. A window or control that is not loaded is a
// runtime error.
void DestroyObject(std::uint32_t windowId, std::uint32_t unitId, bool immediately);

// Returns when the loop meets WM_QUIT (left for nobody) or fails.
void RunMessageLoop();
// Pumps what is waiting in this thread's queue, leaving WM_QUIT there for the main loop.
void ProcessPendingEvents();

void RegisterIdleCallback(std::uint32_t windowId, IdleRoutine routine, void* argument);

// Event dispatch (notification codes 2008 and 2031).
void DispatchEvent(EventRecord& record);
void DispatchTypedEvent(TypedEventRecord& record);
