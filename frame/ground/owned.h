// Move-only owners for frame heap blocks, for C++ code that holds a text or buffer for a while.
// They free through FrameFree (or the `Free` given), so they may hold literals from a static region
// too.
#pragma once

#include <utility>

#include "frame/ground/memory.h"
#include "frame/ground/values.h"

template <typename T, void (*Free)(void*) = FrameFree>
class FrameOwned {
 public:
  FrameOwned() = default;
  explicit FrameOwned(T value) : value_(value) {}
  FrameOwned(const FrameOwned&) = delete;
  FrameOwned& operator=(const FrameOwned&) = delete;
  FrameOwned(FrameOwned&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
  FrameOwned& operator=(FrameOwned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.value_, nullptr));
    return *this;
  }
  ~FrameOwned() { Free(value_); }

  T Get() const { return value_; }
  T Release() { return std::exchange(value_, nullptr); }
  void Reset(T value = nullptr) { Free(std::exchange(value_, value)); }
  explicit operator bool() const { return value_ != nullptr; }

 private:
  T value_ = nullptr;
};

using OwnedText = FrameOwned<Text>;
using OwnedBuffer = FrameOwned<ByteBuffer>;
