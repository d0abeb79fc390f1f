// How the program's logic reaches units and commands: through the frame's entry operations only,
// with the main window's units named by their ids. Texts and buffers handed back are owned here.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "forms/property_ids.h"
#include "frame/entry_operations.h"
#include "frame/owned.h"
#include "frame/values.h"

inline const EntryOperations& Frame() { return TheEntryOperations(); }

inline std::int32_t ReadInt(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property) {
  return static_cast<std::int32_t>(Frame().readProperty(windowId, unitId, property, kWholeValue));
}
inline void WriteInt(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property, std::int32_t value) {
  Frame().writeProperty(windowId, unitId, property, kWholeValue, static_cast<std::uint32_t>(value));
}
// A text property as a new text the caller owns.
inline OwnedText ReadText(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property) {
  return OwnedText(reinterpret_cast<Text>(
      static_cast<std::uintptr_t>(Frame().readProperty(windowId, unitId, property, kWholeValue))));
}
// Texts, buffers and font records are written by address; the unit copies what it keeps.
inline void WritePointer(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property,
                         std::int32_t subIndex, const void* value) {
  Frame().writeProperty(windowId, unitId, property, subIndex, reinterpret_cast<std::uintptr_t>(value));
}

inline ResultRecord Call(CommandFunction command, std::initializer_list<ArgRecord> args) {
  return Frame().callCommand(command, static_cast<int>(args.size()), args.begin());
}
inline OwnedText CallForText(CommandFunction command, std::initializer_list<ArgRecord> args) {
  return OwnedText(static_cast<Text>(ResultPointer(Call(command, args))));
}
inline OwnedBuffer CallForBuffer(CommandFunction command, std::initializer_list<ArgRecord> args) {
  return OwnedBuffer(static_cast<ByteBuffer>(ResultPointer(Call(command, args))));
}
