#include <windows.h>

#include "frame/ground/platform.h"

#include <vector>

#include "frame/ground/gbk_text_win.h"

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
  MessageBoxW(nullptr, WideFromGbk(text).c_str(), WideFromGbk(caption).c_str(), MB_ICONERROR | MB_OK);
}

void PlatformExitProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

std::optional<std::string> PlatformProgramPath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) return GbkPathFromWide(std::wstring(path.data(), length));
    if (path.size() >= 32768) return std::string();
    path.resize(path.size() * 2);
  }
}

bool PlatformSetCurrentDirectory(const char* path) {
  return SetCurrentDirectoryW(WideFromGbk(path).c_str()) != 0;
}

unsigned long PlatformCurrentThreadId() { return GetCurrentThreadId(); }
