// The drawing panel's operations as commands: each finds the panel of the object reference,
// unpacks its arguments and calls the typed operation. A reference to anything but a live panel
// does nothing and answers the empty result.
#include "canvas/draw_panel_commands.h"

#include <new>
#include <optional>

#include "canvas/draw_panel_win.h"
#include "frame/ground/error_report.h"
#include "frame/ground/service_commands.h"
#include "frame/ground/to_number.h"

namespace {

DrawPanel* FindPanel(int argCount, const ArgRecord* args) {
  if (argCount < 1) return nullptr;
  auto* component = reinterpret_cast<Component*>(NotifyFrame(kNoticeFindObject, args[0].low, args[0].high));
  return dynamic_cast<DrawPanel*>(component);
}

// An integer argument: omitted stays omitted; a value of another kind goes through the standard
// conversion and is truncated.
std::optional<std::int32_t> OptionalInt(int argCount, const ArgRecord* args, int index) {
  const ArgRecord arg = ArgAt(argCount, args, index);
  if (ArgOmitted(arg)) return std::nullopt;
  if (arg.type == kTypeInt || arg.type == kTypeBool) return ArgInt(arg);
  const double number = ToNumber(arg);
  if (!(number > INT32_MIN - 1.0 && number < INT32_MAX + 1.0)) return 0;
  return static_cast<std::int32_t>(number);
}

std::span<const ArgRecord> ValuesFrom(int argCount, const ArgRecord* args, int first) {
  if (argCount <= first) return {};
  return {args + first, static_cast<std::size_t>(argCount - first)};
}

void WriteCommand(ResultRecord* result, int argCount, const ArgRecord* args, WriteKind kind) {
  SetResultInt(result, 0);
  DrawPanel* panel = FindPanel(argCount, args);
  if (!panel) return;
  try {
    if (kind == WriteKind::kWriteAt) {
      panel->WriteText(kind, OptionalInt(argCount, args, 1), OptionalInt(argCount, args, 2),
                       ValuesFrom(argCount, args, 3));
    } else {
      panel->WriteText(kind, std::nullopt, std::nullopt, ValuesFrom(argCount, args, 1));
    }
  } catch (const std::bad_alloc&) {
    ReportRuntimeError("内存不足，画板无法绘制", 0);
  }
}

}  // namespace

void CommandPanelClear(ResultRecord* result, int argCount, const ArgRecord* args) {
  SetResultInt(result, 0);
  if (DrawPanel* panel = FindPanel(argCount, args)) {
    panel->Clear(OptionalInt(argCount, args, 1), OptionalInt(argCount, args, 2), OptionalInt(argCount, args, 3),
                 OptionalInt(argCount, args, 4));
  }
}

void CommandPanelSetWritePosition(ResultRecord* result, int argCount, const ArgRecord* args) {
  SetResultInt(result, 0);
  if (DrawPanel* panel = FindPanel(argCount, args)) {
    panel->SetWritePosition(OptionalInt(argCount, args, 1), OptionalInt(argCount, args, 2));
  }
}

void CommandPanelWrite(ResultRecord* result, int argCount, const ArgRecord* args) {
  WriteCommand(result, argCount, args, WriteKind::kWrite);
}

void CommandPanelWriteLine(ResultRecord* result, int argCount, const ArgRecord* args) {
  WriteCommand(result, argCount, args, WriteKind::kWriteLine);
}

void CommandPanelScrollWriteLine(ResultRecord* result, int argCount, const ArgRecord* args) {
  WriteCommand(result, argCount, args, WriteKind::kScrollWriteLine);
}

void CommandPanelWriteAt(ResultRecord* result, int argCount, const ArgRecord* args) {
  WriteCommand(result, argCount, args, WriteKind::kWriteAt);
}

void CommandPanelGetPicture(ResultRecord* result, int argCount, const ArgRecord* args) {
  DrawPanel* panel = FindPanel(argCount, args);
  SetResultBuffer(result, panel ? panel->GetPicture(OptionalInt(argCount, args, 1), OptionalInt(argCount, args, 2))
                                : nullptr);
}
