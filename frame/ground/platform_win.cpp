#include <windows.h>

#include "frame/ground/platform.h"

void* PlatformHeapAllocate(std::size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void* PlatformHeapAllocateZeroed(std::size_t size) {
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void* PlatformHeapResize(void* block, std::size_t size) {
  return HeapReAlloc(GetProcessHeap(), 0, block, size);
}

void PlatformHeapFree(void* block) { HeapFree(GetProcessHeap(), 0, block); }

bool PlatformHeapOwns(const void* block) { return HeapValidate(GetProcessHeap(), 0, block) != FALSE; }

void PlatformShowErrorBox(const char* text, const char* caption) {
  MessageBoxA(nullptr, text, caption, MB_ICONERROR | MB_OK);
}

void PlatformExitProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

std::string PlatformProgramPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, length < sizeof path ? length : 0);
}

bool PlatformSetCurrentDirectory(const char* path) { return SetCurrentDirectoryA(path) != 0; }

unsigned long PlatformCurrentThreadId() { return GetCurrentThreadId(); }
