#include <windows.h>

#include "frame/ground/file_services.h"
#include "frame/ground/gbk_text_win.h"

namespace {

// The slot stores the search handle itself; null means no open search.
HANDLE SlotHandle(const FindSlot* slot) { return static_cast<HANDLE>(*slot); }

bool Accepts(const WIN32_FIND_DATAW& entry, std::uint32_t mask, bool maskOmitted) {
  const DWORD attributes = entry.dwFileAttributes;
  if (maskOmitted) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  if (mask == 0) return attributes == 0;
  return (attributes & mask) != 0;
}

// The entry's name as the program can use it: its own when GBK spells it, else its short (8.3)
// name where the volume keeps one; nothing for a file that cannot be named, which the search then
// passes over rather than answer a name with "?" that opens nothing or another file.
std::optional<std::string> UsableName(const WIN32_FIND_DATAW& entry) {
  if (std::optional<std::string> name = GbkFromWide(entry.cFileName)) return name;
  if (!entry.cAlternateFileName[0]) return std::nullopt;
  return GbkFromWide(entry.cAlternateFileName);
}

}  // namespace

void CloseFindHandle(FindSlot* slot) {
  if (*slot) FindClose(SlotHandle(slot));
  *slot = nullptr;
}

Text FindFile(const char* pattern, std::uint32_t mask, bool maskOmitted, FindSlot* slot) {
  mask &= kAttrMaskBits;
  WIN32_FIND_DATAW entry;
  bool haveEntry;
  if (pattern && *pattern) {
    CloseFindHandle(slot);
    const HANDLE search = FindFirstFileW(WideFromGbk(pattern).c_str(), &entry);
    haveEntry = search != INVALID_HANDLE_VALUE;
    if (haveEntry) *slot = search;
  } else {
    if (!*slot) return nullptr;
    haveEntry = FindNextFileW(SlotHandle(slot), &entry) != 0;
  }
  while (haveEntry) {
    if (Accepts(entry, mask, maskOmitted)) {
      if (std::optional<std::string> name = UsableName(entry)) return CopyText(name->c_str());
    }
    haveEntry = FindNextFileW(SlotHandle(slot), &entry) != 0;
  }
  CloseFindHandle(slot);
  return nullptr;
}
