#include <windows.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "frame/ground/file_services.h"
#include "frame/ground/gbk_text_win.h"
#include "frame/ground/memory.h"
#include "frame/ground/program_path.h"
#include "frame/ground/replacing_file_win.h"
#include "frame/ground/win_handles.h"

ByteBuffer ReadFileBytes(const char* fileName) {
  if (!fileName || !*fileName) return nullptr;
  UniqueFileHandle file(CreateFileW(WideFromGbk(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0) return nullptr;
  // A buffer records its length in 32 bits; larger files cannot be held.
  if (size.QuadPart > std::numeric_limits<std::int32_t>::max() - static_cast<LONGLONG>(kByteBufferHeaderSize)) {
    return nullptr;
  }
  const auto length = static_cast<std::size_t>(size.QuadPart);
  ByteBuffer buffer = MakeByteBufferPlain(nullptr, length);
  if (!buffer) return nullptr;

  std::size_t received = 0;
  while (received < length) {
    DWORD chunk = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(length - received, 1u << 30));
    if (!ReadFile(file.Get(), buffer + kByteBufferHeaderSize + received, wanted, &chunk, nullptr)) {
      FrameFree(buffer);
      return nullptr;
    }
    if (chunk == 0) break;
    received += chunk;
  }
  if (received == length) return buffer;
  // The file shrank while we read: keep what arrived.
  ByteBuffer shorter = MakeByteBufferPlain(BufferBytes(buffer), received);
  FrameFree(buffer);
  return shorter;
}

namespace {

bool WriteAll(HANDLE file, const std::uint8_t* bytes, std::size_t length) {
  while (length > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    length -= written;
  }
  return true;
}

// The folder that will hold `fileName`, as a full path, so the temporary file lands on the same
// volume and the final rename cannot turn into a copy.
std::wstring FolderOf(const std::wstring& fileName) {
  const DWORD needed = GetFullPathNameW(fileName.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring path(needed, L'\0');
  const DWORD length = GetFullPathNameW(fileName.c_str(), needed, path.data(), nullptr);
  if (length == 0 || length >= needed) return {};
  path.resize(length);
  const std::size_t separator = path.find_last_of(L'\\');
  if (separator == std::wstring::npos) return {};
  // A file in a drive root keeps the backslash: "C:" alone is the drive's current directory.
  return path.substr(0, separator == 2 && path[1] == L':' ? separator + 1 : separator);
}

}  // namespace

ReplacingFile::ReplacingFile(const char* fileName) : target_(WideFromGbk(fileName)) {
  if (target_.empty()) return;
  const std::wstring folder = FolderOf(target_);
  if (folder.empty()) return;
  wchar_t temporary[MAX_PATH];
  if (!GetTempFileNameW(folder.c_str(), L"yj", 0, temporary)) return;
  temporary_ = temporary;
  file_ = UniqueFileHandle(
      CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  good_ = file_.Valid();
}

ReplacingFile::~ReplacingFile() {
  if (committed_ || temporary_.empty()) return;
  file_ = UniqueFileHandle();
  DeleteFileW(temporary_.c_str());
}

bool ReplacingFile::Write(const std::uint8_t* bytes, std::size_t length) {
  good_ = good_ && WriteAll(file_.Get(), bytes, length);
  return good_;
}

bool ReplacingFile::Commit() {
  good_ = good_ && FlushFileBuffers(file_.Get());
  file_ = UniqueFileHandle();  // closed before the rename
  committed_ = good_ && MoveFileExW(temporary_.c_str(), target_.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  return committed_;
}

bool WriteFileBytes(const char* fileName, const ByteBuffer* buffers, int bufferCount) {
  if (!fileName || !*fileName) return false;
  ReplacingFile file(fileName);
  for (int i = 0; file.Good() && i < bufferCount; ++i) {
    file.Write(BufferBytes(buffers[i]), BufferLength(buffers[i]));
  }
  return file.Commit();
}
