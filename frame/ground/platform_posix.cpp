// The native build hosts the portable core for tests and tools; it has no windows, so the error
// box becomes a line on stderr.
#include <pthread.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "frame/ground/platform.h"

void* PlatformHeapAllocate(std::size_t size) { return std::malloc(size ? size : 1); }

void* PlatformHeapAllocateZeroed(std::size_t size) { return std::calloc(size ? size : 1, 1); }

void* PlatformHeapResize(void* block, std::size_t size) { return std::realloc(block, size ? size : 1); }

void PlatformHeapFree(void* block) { std::free(block); }

bool PlatformHeapOwns(const void*) { return true; }

void PlatformShowErrorBox(const char* text, const char* caption) {
  std::fprintf(stderr, "[%s] %s\n", caption, text);
}

void PlatformExitProcess(int exitCode) { std::_Exit(exitCode); }

std::optional<std::string> PlatformProgramPath() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

bool PlatformSetCurrentDirectory(const char* path) { return chdir(path) == 0; }

unsigned long PlatformCurrentThreadId() {
  return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(pthread_self()));
}
