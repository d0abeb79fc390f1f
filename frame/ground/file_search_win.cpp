#include <windows.h>

#include "frame/ground/file_services.h"

namespace {

// The slot stores the search handle itself; null means no open search.
HANDLE SlotHandle(const FindSlot* slot) { return static_cast<HANDLE>(*slot); }

bool Accepts(const WIN32_FIND_DATAA& entry, std::uint32_t mask, bool maskOmitted) {
  const DWORD attributes = entry.dwFileAttributes;
  if (maskOmitted) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  if (mask == 0) return attributes == 0;
  return (attributes & mask) != 0;
}

}  // namespace

void CloseFindHandle(FindSlot* slot) {
  if (*slot) FindClose(SlotHandle(slot));
  *slot = nullptr;
}

Text FindFile(const char* pattern, std::uint32_t mask, bool maskOmitted, FindSlot* slot) {
  mask &= kAttrMaskBits;
  WIN32_FIND_DATAA entry;
  bool haveEntry;
  if (pattern && *pattern) {
    CloseFindHandle(slot);
    const HANDLE search = FindFirstFileA(pattern, &entry);
    haveEntry = search != INVALID_HANDLE_VALUE;
    if (haveEntry) *slot = search;
  } else {
    if (!*slot) return nullptr;
    haveEntry = FindNextFileA(SlotHandle(slot), &entry) != 0;
  }
  while (haveEntry) {
    if (Accepts(entry, mask, maskOmitted)) return CopyText(entry.cFileName);
    haveEntry = FindNextFileA(SlotHandle(slot), &entry) != 0;
  }
  CloseFindHandle(slot);
  return nullptr;
}
