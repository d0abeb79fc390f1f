// A fresh folder under the system's temporary folder for one test, removed with its files after.
// Everything here speaks to Windows through the W functions and converts with code page 936 by
// itself: the fixtures must not rest on the system's code page (an English or a Taiwanese Windows
// would read GBK names as something else), nor on the conversions of the program they test.
#pragma once

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

// A GBK text as UTF-16, by code page 936.
inline std::wstring WideOf936(const std::string& gbk) {
  if (gbk.empty()) return std::wstring();
  const int length = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), length);
  return wide;
}

// A UTF-16 text as GBK by code page 936, or nothing when a character has no code there.
inline std::optional<std::string> GbkOf936(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  BOOL lacking = FALSE;
  const int length = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, &lacking);
  if (length <= 0 || lacking) return std::nullopt;
  std::string gbk(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), gbk.data(), length,
                      nullptr, nullptr);
  return gbk;
}

namespace scratch_detail {

inline std::vector<std::wstring> NamesIn(const std::wstring& folder, bool filesOnly) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (!filesOnly || !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(name);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace scratch_detail

// The names in `folder`, "." and ".." left out, sorted.
inline std::vector<std::wstring> WideEntriesIn(const std::wstring& folder) {
  return scratch_detail::NamesIn(folder, false);
}

// The names of the files (not folders) in `folder`, sorted.
inline std::vector<std::wstring> WideFilesIn(const std::wstring& folder) {
  return scratch_detail::NamesIn(folder, true);
}

// The contents of a file named in UTF-16, or nothing when it cannot be opened.
inline std::optional<std::string> WideFileContents(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

// A file or folder as the file system tells it apart, whatever name reached it (long or short).
struct FileIdentity {
  DWORD volume;
  DWORD indexHigh;
  DWORD indexLow;
  bool operator==(const FileIdentity&) const = default;
};

inline std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  const BOOL known = GetFileInformationByHandle(file, &information);
  CloseHandle(file);
  if (!known) return std::nullopt;
  return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

// Whether two paths reach the same file or folder; false when either reaches nothing.
inline bool SameFile(const std::wstring& one, const std::wstring& other) {
  const std::optional<FileIdentity> first = IdentityOf(one);
  const std::optional<FileIdentity> second = IdentityOf(other);
  return first && second && *first == *second;
}

class ScratchFolder {
 public:
  // `inside`, when given, is made inside the fresh folder (it may name several levels, "a\\b") and is
  // the folder the test works in; the whole tree goes at the end.
  explicit ScratchFolder(const std::wstring& inside = std::wstring()) {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    // Process ids come round again, and a run that was stopped leaves its folders: a name already
    // taken is passed over, so that no test starts among another one's files.
    do {
      root_ = std::wstring(base) + L"yj-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(counter_++);
    } while (!CreateDirectoryW(root_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
    widePath_ = root_;
    for (std::size_t start = 0; start < inside.size();) {
      const std::size_t end = std::min(inside.find(L'\\', start), inside.size());
      widePath_ += L"\\" + inside.substr(start, end - start);
      CreateDirectoryW(widePath_.c_str(), nullptr);
      start = end + 1;
    }
    path_ = GbkOf936(widePath_).value_or(std::string());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() { RemoveTree(root_); }

  // The folder as the program names it, GBK; empty when GBK cannot spell it.
  const std::string& Path() const { return path_; }
  const std::wstring& WidePath() const { return widePath_; }
  std::string operator/(const std::string& gbkName) const { return path_ + "\\" + gbkName; }
  std::wstring operator/(const std::wstring& name) const { return widePath_ + L"\\" + name; }

  bool MakeFile(const std::wstring& name, const std::string& content = "x") const {
    HANDLE file = CreateFileW((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = content.empty() || WriteFile(file, content.data(), static_cast<DWORD>(content.size()),
                                                    &written, nullptr);
    CloseHandle(file);
    return wrote && written == content.size();
  }
  bool MakeFile(const std::string& gbkName, const std::string& content = "x") const {
    return MakeFile(WideOf936(gbkName), content);
  }
  bool MakeFolder(const std::wstring& name) const { return CreateDirectoryW((*this / name).c_str(), nullptr) != 0; }
  bool MakeFolder(const std::string& gbkName) const { return MakeFolder(WideOf936(gbkName)); }

  // Names in the folder, "." and ".." left out, as GBK ("?" for a character GBK lacks).
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const std::wstring& name : WideEntriesIn(widePath_)) names.push_back(GbkOf936(name).value_or("?"));
    return names;
  }

 private:
  static void RemoveTree(const std::wstring& path) {
    for (const std::wstring& name : WideEntriesIn(path)) {
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
  std::wstring root_;
  std::wstring widePath_;
  std::string path_;
};
