// The few operating-system services the portable frame core needs, with one implementation per
// platform (platform_win.cpp on Windows, platform_posix.cpp for the native test build).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

void* PlatformHeapAllocate(std::size_t size);
void* PlatformHeapAllocateZeroed(std::size_t size);
void* PlatformHeapResize(void* block, std::size_t size);
void PlatformHeapFree(void* block);
// Whether `block` is a live block of the heap; natively always true (the C heap cannot tell).
bool PlatformHeapOwns(const void* block);

// A modal error box (no owner, icon "error", one OK button). Natively the text goes to stderr.
void PlatformShowErrorBox(const char* text, const char* caption);
[[noreturn]] void PlatformExitProcess(int exitCode);

// Full path of the running program as the system reports it, as GBK (on Windows its short form
// where GBK cannot spell the long one); nothing when GBK can spell neither, empty when the system
// gives no path.
std::optional<std::string> PlatformProgramPath();
bool PlatformSetCurrentDirectory(const char* path);
unsigned long PlatformCurrentThreadId();
