#include "frame/ground/external_functions.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "frame/ground/error_report.h"

int ExportOrdinal(const char* exportName) {
  if (!exportName || exportName[0] != '#') return -1;
  return static_cast<int>(std::strtoul(exportName + 1, nullptr, 10) & 0xFFFF);
}

void ExternalFunctionTable::Init(std::span<const ExternalFunctionEntry> entries,
                                 const LibraryLoader& loader, std::string programDirectory,
                                 std::string programDirectoryWithSeparator) {
  loader_ = loader;
  programDirectory_ = std::move(programDirectory);
  programDirectoryWithSeparator_ = std::move(programDirectoryWithSeparator);
  libraryFileNames_.clear();
  exportNames_.clear();
  for (const ExternalFunctionEntry& entry : entries) {
    libraryFileNames_.emplace_back(entry.libraryFileName ? entry.libraryFileName : "");
    exportNames_.emplace_back(entry.exportName ? entry.exportName : "");
  }
  addresses_ = std::vector<std::atomic<void*>>(entries.size());
  modules_ = std::vector<std::atomic<void*>>(entries.size());
}

void* ExternalFunctionTable::LoadNamedLibrary(const std::string& fileName) const {
  // A drive or full path is loaded as written.
  if (fileName.find(':') != std::string::npos) return loader_.load(fileName.c_str());
  // Otherwise the program's own folder comes before the system's search order.
  std::vector<std::string> candidates;
  if (!programDirectory_.empty()) candidates.push_back(programDirectory_ + "\\" + fileName);
  if (!programDirectoryWithSeparator_.empty()) {
    candidates.push_back(programDirectoryWithSeparator_ + fileName);
  }
  candidates.push_back(fileName);
  for (const std::string& candidate : candidates) {
    if (void* module = loader_.load(candidate.c_str())) return module;
  }
  return nullptr;
}

ExternalFunctionTable::Resolution ExternalFunctionTable::TryResolve(int number) {
  if (number < 0 || number >= Count()) return {nullptr, "外部函数编号无效"};
  if (void* address = addresses_[number].load()) return {address, {}};

  const std::string& exportName = exportNames_[number];
  const std::string& libraryFileName = libraryFileNames_[number];
  const int ordinal = ExportOrdinal(exportName.c_str());

  void* module = nullptr;
  void* address = nullptr;
  if (libraryFileName.empty()) {
    for (const char* library : kSystemLibraries) {
      module = loader_.load(library);
      if (!module) continue;
      address = loader_.find(module, exportName.c_str(), ordinal);
      if (address) break;
      loader_.release(module);  // libraries that lack the export are not kept
      module = nullptr;
    }
  } else {
    module = LoadNamedLibrary(libraryFileName);
    if (module) address = loader_.find(module, exportName.c_str(), ordinal);
  }

  if (address) {
    modules_[number].store(module);
    addresses_[number].store(address);
    return {address, {}};
  }
  if (module) loader_.release(module);

  char message[600];
  if (libraryFileName.empty()) {
    std::snprintf(message, sizeof message, "无法找到指定DLL库文件中的输出命令“%s”", exportName.c_str());
  } else {
    std::snprintf(message, sizeof message, "无法找到指定DLL库文件“%s”中的输出命令“%s”",
                  libraryFileName.c_str(), exportName.c_str());
  }
  return {nullptr, message};
}

void* ExternalFunctionTable::Resolve(int number) {
  Resolution resolution = TryResolve(number);
  if (!resolution.address) ReportRuntimeError(resolution.error.c_str(), 0);
  return resolution.address;
}

void ExternalFunctionTable::Release() {
  for (auto& module : modules_) {
    if (void* handle = module.exchange(nullptr)) loader_.release(handle);
  }
  libraryFileNames_.clear();
  exportNames_.clear();
  addresses_.clear();
  modules_.clear();
}

ExternalFunctionTable& TheExternalFunctions() {
  static ExternalFunctionTable table;
  return table;
}

std::uint32_t CallExternalFunctionWords(int number, int argCount, const std::uintptr_t* words) {
  std::uintptr_t before = 0, after = 0;
  const std::uintptr_t result =
      CallStandardFunction(TheExternalFunctions().Resolve(number), words, argCount, &before, &after);
  CheckStackAfterExternalCall(before, after);
  return static_cast<std::uint32_t>(result);
}

void CheckStackAfterExternalCall(std::uintptr_t stackBefore, std::uintptr_t stackAfter) {
  if (stackBefore != stackAfter) ReportRuntimeErrorByCode(kErrorStackImbalance);
}
