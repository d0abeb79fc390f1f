#include <windows.h>

#include "frame/ground/external_functions.h"
#include "frame/ground/system_library_loader.h"

namespace {

void* LoadModule(const char* fileName) { return LoadLibraryA(fileName); }

void* FindExport(void* module, const char* exportName, int ordinal) {
  const LPCSTR name = ordinal >= 0 ? MAKEINTRESOURCEA(ordinal) : exportName;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void ReleaseModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }

}  // namespace

const LibraryLoader& SystemLibraryLoader() {
  static const LibraryLoader loader{LoadModule, FindExport, ReleaseModule};
  return loader;
}
