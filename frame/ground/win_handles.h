// Owners for kernel handles. Move-only; each closes its handle with the one call that fits it.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueKernelHandle {
 public:
  using Handle = typename Traits::Handle;
  UniqueKernelHandle() = default;
  explicit UniqueKernelHandle(Handle handle) : handle_(handle) {}
  UniqueKernelHandle(const UniqueKernelHandle&) = delete;
  UniqueKernelHandle& operator=(const UniqueKernelHandle&) = delete;
  UniqueKernelHandle(UniqueKernelHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueKernelHandle& operator=(UniqueKernelHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~UniqueKernelHandle() { Reset(); }

  Handle Get() const { return handle_; }
  bool Valid() const { return handle_ != Traits::Invalid(); }
  explicit operator bool() const { return Valid(); }
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) {
    const Handle old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { CloseHandle(handle); }
};

struct ObjectHandleTraits {  // threads, events: null when absent
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { CloseHandle(handle); }
};

struct ModuleHandleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { FreeLibrary(handle); }
};

using UniqueFileHandle = UniqueKernelHandle<FileHandleTraits>;
using UniqueObjectHandle = UniqueKernelHandle<ObjectHandleTraits>;
using UniqueModule = UniqueKernelHandle<ModuleHandleTraits>;
