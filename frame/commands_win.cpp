#include "frame/commands.h"

#include <windows.h>

#include "forms/component.h"
#include "forms/operations.h"
#include "forms/window_map.h"
#include "frame/ground/event_record.h"
#include "frame/frame_loop.h"

namespace {

const ArgRecord kOmitted{0, 0, kTypeOmitted};

const ArgRecord& Arg(int argCount, const ArgRecord* args, int index) {
  return index < argCount ? args[index] : kOmitted;
}

// The live component of the object reference, or null.
Component* FindObject(const ArgRecord& object) {
  return reinterpret_cast<Component*>(NotifyFrame(kNoticeFindObject, object.low, object.high));
}

}  // namespace

ArgRecord MakeObjectArg(std::uint32_t windowId, std::uint32_t unitId, std::uint32_t typeId) {
  return {windowId, unitId, typeId};
}

void CommandLoadWindow(ResultRecord* result, int argCount, const ArgRecord* args) {
  const ArgRecord& parent = Arg(argCount, args, 1);
  const bool modal = ArgInt(Arg(argCount, args, 2)) != 0;
  const auto parentId = ArgOmitted(parent) ? 0u : static_cast<std::uint32_t>(ArgInt(parent));
  SetResultBool(result, LoadWindow(args[0].low, parentId, modal));
}

void CommandDestroy(ResultRecord* result, int argCount, const ArgRecord* args) {
  const ArgRecord& immediately = Arg(argCount, args, 1);
  DestroyObject(args[0].low, args[0].high, !ArgOmitted(immediately) && ArgInt(immediately) != 0);
  SetResultInt(result, 0);
}

void CommandRefresh(ResultRecord* result, int, const ArgRecord* args) {
  if (Component* component = FindObject(args[0]); component && component->Control()) {
    UpdateWindow(component->Control());
  }
  SetResultInt(result, 0);
}

void CommandPageName(ResultRecord* result, int argCount, const ArgRecord* args) {
  Component* component = FindObject(args[0]);
  SetResultText(result, component ? TabPageName(*component, ArgInt(Arg(argCount, args, 1))) : nullptr);
}

void CommandOpenDialog(ResultRecord* result, int, const ArgRecord* args) {
  Component* component = FindObject(args[0]);
  SetResultBool(result, component && OpenFileDialog(*component));
}

void CommandItemText(ResultRecord* result, int argCount, const ArgRecord* args) {
  Component* component = FindObject(args[0]);
  SetResultText(result, component ? ComboItemText(*component, ArgInt(Arg(argCount, args, 1))) : nullptr);
}

void CommandAddItem(ResultRecord* result, int argCount, const ArgRecord* args) {
  Component* component = FindObject(args[0]);
  const ArgRecord& data = Arg(argCount, args, 2);
  SetResultInt(result, component ? ComboAddItem(*component, ArgText(Arg(argCount, args, 1)),
                                                ArgOmitted(data) ? 0 : ArgInt(data))
                                 : -1);
}

void CommandClear(ResultRecord* result, int, const ArgRecord* args) {
  if (Component* component = FindObject(args[0])) ComboClear(*component);
  SetResultInt(result, 0);
}

void CommandBalloonPopUp(ResultRecord* result, int argCount, const ArgRecord* args) {
  Component* component = FindObject(args[0]);
  // The stay-mode counts only when it was passed: with it omitted the tip stays up.
  const ArgRecord& stay = Arg(argCount, args, 5);
  const std::int32_t stayMode = argCount >= 6 && !ArgOmitted(stay) ? ArgInt(stay) : 0;
  SetResultBool(result, component && PopUpBalloon(*component, ArgInt(Arg(argCount, args, 1)),
                                                  ArgInt(Arg(argCount, args, 2)), ArgText(Arg(argCount, args, 3)),
                                                  ArgInt(Arg(argCount, args, 4)), stayMode));
}

void CommandProcessPendingEvents(ResultRecord* result, int, const ArgRecord*) {
  ProcessPendingEvents();
  SetResultInt(result, 0);
}
