// Splitting the program's path into its run directory and file name, and the frame state built
// from it. Paths are GBK: a trail byte equal to '\\' (0x5C) belongs to its character and is no
// separator.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "frame/ground/values.h"

// Index of the last backslash that is a separator, or npos.
std::size_t FindLastSeparator(std::string_view gbkPath);

struct ProgramPathParts {
  std::string directory;  // without the trailing backslash; empty when the path has none
  std::string fileName;   // the part after the last backslash, or the whole path
};
ProgramPathParts SplitProgramPath(std::string_view gbkPath);

// Records the running program's directory and file name in the frame and makes the directory the
// process's current directory, so relative paths resolve against the program's folder. False, and
// nothing recorded, when the program's folder has a name GBK cannot spell and no short name that
// it can: every path the program would join to it would name another file or none.
bool RecordProgramDirectory();

// The run directory command: a new text holding the program directory (null when it is empty).
Text RunDirectory();
