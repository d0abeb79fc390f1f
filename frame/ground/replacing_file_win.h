// A file written in place of another only once it is whole: the bytes go to a temporary file in the
// same folder, and Commit renames it over the target. Until then, or when anything fails, the old
// file stays as it was and the temporary file is deleted.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/ground/win_handles.h"

class ReplacingFile {
 public:
  explicit ReplacingFile(const char* fileName);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // False once opening or any write failed; later writes then do nothing.
  bool Write(const std::uint8_t* bytes, std::size_t length);
  // Flushes and puts the new file in place; true once it is there.
  bool Commit();
  bool Good() const { return good_; }

 private:
  std::wstring target_;  // as Windows names them: GBK paths widened once
  std::wstring temporary_;
  UniqueFileHandle file_;
  bool good_ = false;
  bool committed_ = false;
};
