#include "frame/ground/memory.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "frame/ground/app_frame.h"
#include "frame/ground/error_report.h"
#include "frame/ground/platform.h"

namespace {

[[noreturn]] void ReportAllocationFailure(std::size_t size) {
  char message[64];
  std::snprintf(message, sizeof message, "分配 %zu 字节内存失败!", size);
  ReportRuntimeError(message, 0);
}

// The end of the static region holding `pointer`, or 0 when it lies in none.
std::uintptr_t StaticRegionEnd(const void* pointer) {
  const auto address = reinterpret_cast<std::uintptr_t>(pointer);
  for (const auto& [start, end] : TheFrame().staticRegions) {
    if (address >= start && address < end) return end;
  }
  return 0;
}

void* CopyOutOfStaticRegion(void* block, std::uintptr_t regionEnd, std::size_t size, bool plain) {
  void* copy = plain ? FrameAllocatePlain(size) : FrameAllocate(size);
  if (!copy) return nullptr;
  const auto available = static_cast<std::size_t>(regionEnd - reinterpret_cast<std::uintptr_t>(block));
  std::memcpy(copy, block, std::min(size, available));
  return copy;
}

}  // namespace

void* FrameAllocatePlain(std::size_t size) { return PlatformHeapAllocate(size); }

void* FrameAllocateZeroedPlain(std::size_t size) { return PlatformHeapAllocateZeroed(size); }

void* FrameAllocate(std::size_t size) {
  void* block = PlatformHeapAllocate(size);
  if (!block) ReportAllocationFailure(size);
  return block;
}

void* FrameResizePlain(void* block, std::size_t size) {
  if (!block) return FrameAllocatePlain(size);
  if (const std::uintptr_t end = StaticRegionEnd(block)) {
    return CopyOutOfStaticRegion(block, end, size, true);
  }
  return PlatformHeapResize(block, size);
}

void* FrameResize(void* block, std::size_t size) {
  if (!block) return FrameAllocate(size);
  if (const std::uintptr_t end = StaticRegionEnd(block)) {
    return CopyOutOfStaticRegion(block, end, size, false);
  }
  void* resized = PlatformHeapResize(block, size);
  if (!resized) ReportAllocationFailure(size);
  return resized;
}

void FrameFree(void* block) {
  if (!block || StaticRegionEnd(block)) return;
  PlatformHeapFree(block);
}

void RegisterStaticRegion(const void* start, std::size_t length) {
  const auto begin = reinterpret_cast<std::uintptr_t>(start);
  TheFrame().staticRegions.emplace_back(begin, begin + length);
}

bool IsInStaticRegion(const void* pointer) { return StaticRegionEnd(pointer) != 0; }

bool IsFrameBlock(const void* pointer) {
  return pointer && (IsInStaticRegion(pointer) || PlatformHeapOwns(pointer));
}
