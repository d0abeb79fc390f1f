// A fresh folder under the system's temporary folder for one test, removed with its files after.
// Every name goes through the W functions, so files named in Chinese or Korean are listed and
// removed the same under any code page (an A listing would give "?" for what the code page lacks,
// and such a file could not be removed by that name).
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

// The names of the files (not folders) in `folder`, sorted.
inline std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

// The names of everything in `folder`, "." and ".." left out, sorted.
inline std::vector<std::wstring> EntriesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

class WideScratchFolder {
 public:
  WideScratchFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"yj-sheet-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter_++);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  WideScratchFolder(const WideScratchFolder&) = delete;
  WideScratchFolder& operator=(const WideScratchFolder&) = delete;
  ~WideScratchFolder() { RemoveTree(path_); }

  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  bool MakeFile(const std::wstring& name, const std::string& bytes) const {
    HANDLE file = CreateFileW((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == bytes.size();
  }
  bool MakeFolder(const std::wstring& name) const { return CreateDirectoryW((*this / name).c_str(), nullptr) != 0; }

 private:
  static void RemoveTree(const std::wstring& path) {
    for (const std::wstring& name : EntriesIn(path)) {
      const std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      const DWORD attributes = GetFileAttributesW(child.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        RemoveTree(child);
      } else {
        DeleteFileW(child.c_str());
      }
    }
    RemoveDirectoryW(path.c_str());
  }

  static inline int counter_ = 0;
  std::wstring path_;
};
