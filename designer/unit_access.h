// How the program's logic reaches the frame: through its entry operations only, with the main
// window's units named by their ids. Texts and buffers handed back are owned here, and given back
// through the frame's free operation.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

#include "designer/procedures.h"
#include "forms/property_ids.h"
#include "frame/entry_operations.h"
#include "frame/ground/owned.h"
#include "frame/ground/values.h"

inline const EntryOperations& Frame() { return TheEntryOperations(); }

// Owners of texts and buffers the frame handed out, given back through its free operation.
inline void GiveBackToFrame(void* block) { Frame().free(block); }
template <typename T>
using Held = FrameOwned<T, GiveBackToFrame>;
using HeldText = Held<Text>;
using HeldBuffer = Held<ByteBuffer>;

// The given texts one after another in a new text from the frame (null when all are empty).
inline Text JoinTexts(const char* first, const char* second, const char* third = nullptr) {
  return JoinTextsWith(Frame().allocate, first, second, third);
}
inline Text CopyOfText(const char* text) { return JoinTexts(text, nullptr); }

// Entry `number` of the program's external-function table; integers and texts go as words.
template <typename... Args>
std::uint32_t CallExternal(int number, Args... args) {
  const std::uintptr_t words[] = {[](auto value) {
    if constexpr (std::is_pointer_v<decltype(value)>) {
      return reinterpret_cast<std::uintptr_t>(value);
    } else {
      return static_cast<std::uintptr_t>(value);
    }
  }(args)..., 0};
  return Frame().callExternalFunction(number, static_cast<int>(sizeof...(Args)), words);
}

inline std::int32_t ReadInt(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property) {
  return static_cast<std::int32_t>(Frame().readProperty(windowId, unitId, property, kWholeValue));
}
inline void WriteInt(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property, std::int32_t value) {
  Frame().writeProperty(windowId, unitId, property, kWholeValue, static_cast<std::uint32_t>(value));
}
// A text property as a new text the caller owns.
inline HeldText ReadText(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property) {
  return HeldText(reinterpret_cast<Text>(
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
inline HeldText CallForText(CommandFunction command, std::initializer_list<ArgRecord> args) {
  return HeldText(static_cast<Text>(ResultPointer(Call(command, args))));
}
inline HeldBuffer CallForBuffer(CommandFunction command, std::initializer_list<ArgRecord> args) {
  return HeldBuffer(static_cast<ByteBuffer>(ResultPointer(Call(command, args))));
}
