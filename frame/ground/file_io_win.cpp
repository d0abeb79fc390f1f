#include <windows.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "frame/ground/file_services.h"
#include "frame/ground/memory.h"
#include "frame/ground/program_path.h"
#include "frame/ground/replacing_file_win.h"
#include "frame/ground/win_handles.h"

ByteBuffer ReadFileBytes(const char* fileName) {
  if (!fileName || !*fileName) return nullptr;
  UniqueFileHandle file(CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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
std::string FolderOf(const char* fileName) {
  char full[MAX_PATH * 2];
  char* namePart = nullptr;
  const DWORD length = GetFullPathNameA(fileName, sizeof full, full, &namePart);
  if (length == 0 || length >= sizeof full) return {};
  const std::string path(full, length);
  const std::size_t separator = FindLastSeparator(path);
  if (separator == std::string::npos) return {};
  // A file in a drive root keeps the backslash: "C:" alone is the drive's current directory.
  return path.substr(0, separator == 2 && path[1] == ':' ? separator + 1 : separator);
}

}  // namespace

ReplacingFile::ReplacingFile(const char* fileName) : target_(fileName ? fileName : "") {
  if (target_.empty()) return;
  const std::string folder = FolderOf(target_.c_str());
  if (folder.empty()) return;
  char temporary[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), "yj", 0, temporary)) return;
  temporary_ = temporary;
  file_ = UniqueFileHandle(
      CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  good_ = file_.Valid();
}

ReplacingFile::~ReplacingFile() {
  if (committed_ || temporary_.empty()) return;
  file_ = UniqueFileHandle();
  DeleteFileA(temporary_.c_str());
}

bool ReplacingFile::Write(const std::uint8_t* bytes, std::size_t length) {
  good_ = good_ && WriteAll(file_.Get(), bytes, length);
  return good_;
}

bool ReplacingFile::Commit() {
  good_ = good_ && FlushFileBuffers(file_.Get());
  file_ = UniqueFileHandle();  // closed before the rename
  committed_ = good_ && MoveFileExA(temporary_.c_str(), target_.c_str(),
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
