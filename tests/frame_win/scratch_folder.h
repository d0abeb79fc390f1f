// A fresh folder under the system's temporary folder for one test, removed with its files after.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ScratchFolder {
 public:
  ScratchFolder() {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    path_ = std::string(base) + "yj-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(counter_++);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() { RemoveTree(path_); }

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  void MakeFile(const std::string& name, const std::string& content = "x") const {
    HANDLE file = CreateFileA((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (!content.empty()) WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
  }
  void MakeFolder(const std::string& name) const { CreateDirectoryA((*this / name).c_str(), nullptr); }

  // Names in the folder, "." and ".." left out.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
  }

 private:
  static void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string child = path + "\\" + name;
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(child);
        } else {
          DeleteFileA(child.c_str());
        }
      } while (FindNextFileA(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
  }

  static inline int counter_ = 0;
  std::string path_;
};
