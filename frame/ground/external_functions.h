// Functions of other libraries that the program calls by number. Each entry names a library (or
// none: the system libraries are searched) and an export (or "#n", an ordinal); it is bound at its
// first call and stays bound until shutdown. A binding that fails ends the program.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

struct ExternalFunctionEntry {
  const char* libraryFileName;  // "" or null: search kSystemLibraries
  const char* exportName;
};

// Searched in this order for entries without a library file name.
inline constexpr const char* kSystemLibraries[] = {"Kernel32.dll", "Gdi32.dll",   "User32.dll",
                                                   "Advapi32.dll", "Mpr.dll", "Shell32.dll"};

// How modules are loaded; the Windows build uses the system's loader, tests may count or fake it.
struct LibraryLoader {
  void* (*load)(const char* fileName);
  // `ordinal` is -1 when the export is looked up by name.
  void* (*find)(void* module, const char* exportName, int ordinal);
  void (*release)(void* module);
};

// The export name "#123" stands for ordinal 123 (low 16 bits); -1 for a plain name.
int ExportOrdinal(const char* exportName);

class ExternalFunctionTable {
 public:
  struct Resolution {
    void* address = nullptr;
    std::string error;  // the runtime error message when address is null
  };

  // Fills the library and export names; addresses and modules start unbound.
  void Init(std::span<const ExternalFunctionEntry> entries, const LibraryLoader& loader,
            std::string programDirectory, std::string programDirectoryWithSeparator);
  int Count() const { return static_cast<int>(libraryFileNames_.size()); }

  // The cached address, or a new binding; nothing is left loaded when binding fails.
  Resolution TryResolve(int number);
  // As TryResolve, but a failure is reported as a runtime error and does not return.
  void* Resolve(int number);
  // Frees every module loaded for an entry and empties the table.
  void Release();

 private:
  void* LoadNamedLibrary(const std::string& fileName) const;

  LibraryLoader loader_{};
  std::string programDirectory_;
  std::string programDirectoryWithSeparator_;
  std::vector<std::string> libraryFileNames_;
  std::vector<std::string> exportNames_;
  // Written once per entry, possibly on the font thread while the main thread binds another entry.
  std::vector<std::atomic<void*>> addresses_;
  std::vector<std::atomic<void*>> modules_;
};

ExternalFunctionTable& TheExternalFunctions();

// The call protocol's stack check: a function that removed more or fewer argument bytes than were
// pushed leaves the stack elsewhere, which is runtime error 6.
inline constexpr int kMaxExternalArgs = 8;
void CheckStackAfterExternalCall(std::uintptr_t stackBefore, std::uintptr_t stackAfter);

// Calls `function` with the standard calling convention and the given arguments (each one machine
// word, at most kMaxExternalArgs), and reports the stack position before the arguments were pushed and after the call.
std::uintptr_t CallStandardFunction(void* function, const std::uintptr_t* args, int count,
                                    std::uintptr_t* stackBefore, std::uintptr_t* stackAfter);

template <typename T>
std::uintptr_t WordOf(T value) {
  if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<std::uintptr_t>(value);
  } else {
    return static_cast<std::uintptr_t>(value);
  }
}

// A call site: bind entry `number`, push the arguments, call, check the stack. Arguments are
// integers or pointers (texts), passed as machine words.
std::uint32_t CallExternalFunctionWords(int number, int argCount, const std::uintptr_t* words);

template <typename... Args>
std::uint32_t CallExternalFunction(int number, Args... args) {
  const std::uintptr_t words[] = {WordOf(args)..., 0};
  return CallExternalFunctionWords(number, static_cast<int>(sizeof...(Args)), words);
}
