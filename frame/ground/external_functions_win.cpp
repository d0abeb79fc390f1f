#include <windows.h>

#include <cstring>

#include "frame/ground/external_functions.h"
#include "frame/ground/gbk_text_win.h"
#include "frame/ground/system_library_loader.h"

namespace {

// The system's A exports read a path in the system's own code page, which on an English or a
// Taiwanese Windows cannot spell the program's GBK paths. Those the program binds are answered with
// these, which take the same arguments and read them as GBK.
int WINAPI AddFontResourceFromGbk(const char* fileName) {
  return AddFontResourceExW(WideFromGbk(fileName).c_str(), 0, nullptr);
}

BOOL WINAPI RemoveFontResourceFromGbk(const char* fileName) {
  return RemoveFontResourceExW(WideFromGbk(fileName).c_str(), 0, nullptr);
}

struct GbkExport {
  const char* exportName;
  void* address;
};
const GbkExport kGbkGdiExports[] = {
    {"AddFontResourceA", reinterpret_cast<void*>(AddFontResourceFromGbk)},
    {"RemoveFontResourceA", reinterpret_cast<void*>(RemoveFontResourceFromGbk)},
};

void* LoadModule(const char* fileName) { return LoadLibraryW(WideFromGbk(fileName).c_str()); }

void* FindExport(void* module, const char* exportName, int ordinal) {
  const auto library = static_cast<HMODULE>(module);
  if (ordinal < 0 && exportName && library == GetModuleHandleW(L"gdi32.dll")) {
    // Only where the system has the export too: the binding fails exactly where it would.
    void* gbkForm = GbkFormOfSystemExport(exportName);
    if (gbkForm && GetProcAddress(library, exportName)) return gbkForm;
  }
  const LPCSTR name = ordinal >= 0 ? MAKEINTRESOURCEA(ordinal) : exportName;
  return reinterpret_cast<void*>(GetProcAddress(library, name));
}

void ReleaseModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }

}  // namespace

const LibraryLoader& SystemLibraryLoader() {
  static const LibraryLoader loader{LoadModule, FindExport, ReleaseModule};
  return loader;
}

void* GbkFormOfSystemExport(const char* exportName) {
  for (const GbkExport& gbk : kGbkGdiExports) {
    if (exportName && std::strcmp(gbk.exportName, exportName) == 0) return gbk.address;
  }
  return nullptr;
}
