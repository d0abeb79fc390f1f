// What a component hands to the frame to raise an event, and the frame's notification interface
// through which components reach the loop without including it.
#pragma once

#include <cstddef>
#include <cstdint>

// Integer form: up to five 32-bit arguments and a 32-bit result.
struct EventRecord {
  std::uint32_t windowId;
  std::uint32_t unitId;
  std::int32_t eventNumber;
  std::int32_t argCount;
  std::int32_t args[5];
  std::int32_t hasResult;
  std::int32_t result;
};

// Typed form: up to twelve 16-byte arguments; flags bit 0 means "passed by reference".
struct TypedEventArg {
  std::uint32_t low;
  std::uint32_t high;
  std::uint32_t type;
  std::uint32_t flags;
};
struct TypedEventRecord {
  std::uint32_t windowId;
  std::uint32_t unitId;
  std::int32_t eventNumber;
  std::int32_t argCount;
  TypedEventArg args[12];
  std::int32_t hasResult;
  std::int64_t result;
};

// Codes of the frame's notification function.
enum FrameNotice : int {
  kNoticeWindowMap = 1001,
  kNoticePictureToBitmap = 1003,   // data pointer, length; answers a device bitmap or 0
  kNoticeObjectDestroyed = 2000,   // window id, unit id
  kNoticeRunDirectory = 2003,
  kNoticeProgramFileName = 2004,
  kNoticeLoadWindow = 2005,        // pointer to a LoadWindowRequest
  kNoticeFindObject = 2006,        // window id, unit id
  kNoticeFindObjectMustExist = 2007,
  kNoticeRaiseEvent = 2008,        // pointer to an EventRecord
  kNoticeProcessPendingEvents = 2018,
  kNoticeAllocate = 2024,          // size, plain flag
  kNoticeFree = 2025,
  kNoticeResize = 2026,
  kNoticeRuntimeError = 2027,      // message
  kNoticeEndProgram = 2028,        // exit code
  kNoticeRaiseTypedEvent = 2031,   // pointer to a TypedEventRecord
};

struct LoadWindowRequest {
  std::uint32_t windowId;
  void* owner;  // the owner's live window, or null
  bool modal;
};

using NotificationFunction = std::intptr_t (*)(int code, std::intptr_t first, std::intptr_t second);

// Picture bytes to a device bitmap the caller owns. The picture library supplies it when it starts
// (the frame itself decodes nothing); until then the notification answers 0.
using PictureToBitmapFunction = void* (*)(const std::uint8_t* bytes, std::size_t length);
void SetPictureToBitmap(PictureToBitmapFunction function);

// Calls the notification function the loop installed; 0 when none is installed (a process without
// a loop, such as a service test).
std::intptr_t NotifyFrame(int code, std::intptr_t first = 0, std::intptr_t second = 0);
