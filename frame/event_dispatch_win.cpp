#include <cstring>

#include "forms/window_map.h"
#include "frame/ground/error_report.h"
#include "frame/frame_loop.h"
#include "frame/ground/values.h"

namespace {

// The handler bound to an event of a unit, or null when the event is not delivered. Runtime errors
// for a window or unit that cannot be found, or a type that raises no events.
const HandlerEntry* FindHandler(std::uint32_t windowId, std::uint32_t unitId, std::int32_t eventNumber) {
  WindowRecord* record = FindWindowRecord(windowId);
  if (!record) ReportRuntimeError("未找到引发事件的窗口", 0);
  Unit* unit = FindUnit(*record, unitId);
  if (!unit) ReportRuntimeError("未找到引发事件的窗口组件", 0);
  if (!unit->type || !(unit->type->flags & kTypeRaisesEvents)) ReportRuntimeError("引发事件的窗口组件无效", 0);
  const ProgramHeader* header = TheProgramHeader();
  for (const EventBinding& binding : unit->row->events) {
    if (binding.event != eventNumber) continue;
    if (!header || binding.handler < 0 || static_cast<std::size_t>(binding.handler) >= header->handlers.size()) {
      return nullptr;
    }
    const HandlerEntry& entry = header->handlers[static_cast<std::size_t>(binding.handler)];
    return entry.procedure || entry.function ? &entry : nullptr;
  }
  return nullptr;
}

// Calls the handler with event source set; answers whether it answered a value.
bool CallHandler(const HandlerEntry& handler, std::uint32_t windowId, std::uint32_t unitId,
                 const std::int64_t* args, int argCount, std::int64_t* result) {
  AppFrame& frame = TheFrame();
  frame.eventSourceWindow = windowId;
  frame.eventSourceUnit = unitId;
  bool answered = false;
  if (handler.function) {
    *result = handler.function(args, argCount);
    answered = true;
  } else {
    handler.procedure();
  }
  frame.eventSourceWindow = 0;
  return answered;
}

// A typed argument as the handler receives it: small integers widened, 8-byte values whole,
// by-reference arguments as the pointer they carry.
std::int64_t TypedArgument(const TypedEventArg& arg) {
  if (arg.flags & 1) return static_cast<std::int64_t>(arg.low) | (static_cast<std::int64_t>(arg.high) << 32);
  switch (arg.type) {
    case kTypeDouble:
    case kTypeDateTime: return static_cast<std::int64_t>(arg.low) | (static_cast<std::int64_t>(arg.high) << 32);
    case 0x80000101:  // byte
      return static_cast<std::uint8_t>(arg.low);
    case 0x80000201:  // 16-bit integer
      return static_cast<std::int16_t>(arg.low);
    case 0x80000401:  // 64-bit integer
      return static_cast<std::int64_t>(arg.low) | (static_cast<std::int64_t>(arg.high) << 32);
    case kTypeText:
    case kTypeBuffer:
    case kTypeSubroutine:
      // Pointers: the 64-bit build keeps the upper half in the high word.
      return static_cast<std::int64_t>(arg.low) | (sizeof(void*) > 4 ? static_cast<std::int64_t>(arg.high) << 32 : 0);
    default: return static_cast<std::int32_t>(arg.low);
  }
}

}  // namespace

void DispatchEvent(EventRecord& record) {
  if (TheFrame().eventSuppressionCount >= 1) return;
  const HandlerEntry* handler = FindHandler(record.windowId, record.unitId, record.eventNumber);
  if (!handler) return;
  std::int64_t args[5] = {};
  const int count = record.argCount < 0 ? 0 : record.argCount > 5 ? 5 : record.argCount;
  for (int i = 0; i < count; ++i) args[i] = record.args[i];
  std::int64_t result = 0;
  if (CallHandler(*handler, record.windowId, record.unitId, args, count, &result)) {
    record.hasResult = 1;
    record.result = static_cast<std::int32_t>(result);
  }
}

void DispatchTypedEvent(TypedEventRecord& record) {
  if (TheFrame().eventSuppressionCount >= 1) return;
  const HandlerEntry* handler = FindHandler(record.windowId, record.unitId, record.eventNumber);
  if (!handler) return;
  std::int64_t args[12] = {};
  const int count = record.argCount < 0 ? 0 : record.argCount > 12 ? 12 : record.argCount;
  for (int i = 0; i < count; ++i) args[i] = TypedArgument(record.args[i]);
  std::int64_t result = 0;
  if (CallHandler(*handler, record.windowId, record.unitId, args, count, &result)) {
    record.hasResult = 1;
    record.result = result;
  }
}
