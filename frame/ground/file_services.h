// Whole-file read and write and the file search of the program's commands. Failures are answers,
// never errors: an empty buffer, false, an empty name.
#pragma once

#include <cstdint>

#include "frame/ground/values.h"

// The search a routine has open, or null. Each searching routine owns one slot, starts it at null
// and passes it to every call; the search is closed when a listing runs out.
using FindSlot = void*;

inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrMaskBits = 0x37;

// A non-empty pattern starts a new search (closing the slot's open one); an empty pattern continues
// the slot's search. Answers the next matching name without its directory, or null at the end.
// With the mask omitted every entry but directories matches.
Text FindFile(const char* pattern, std::uint32_t mask, bool maskOmitted, FindSlot* slot);
void CloseFindHandle(FindSlot* slot);

// The whole file, or null when it is missing, empty or unreadable. Others may read it meanwhile but
// not write.
ByteBuffer ReadFileBytes(const char* fileName);

// Replaces the file with the buffers' bytes in order (null buffers add nothing). The new content
// goes to a temporary file in the same folder first, so a failed write leaves the old file as it
// was; true once the new file is in place.
bool WriteFileBytes(const char* fileName, const ByteBuffer* buffers, int bufferCount);
