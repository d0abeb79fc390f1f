// The exit status a death test sees when the runtime error report ended the child: exit code -1,
// which Windows reports as 0xFFFFFFFF and a POSIX wait as 255.
#pragma once

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

inline bool EndedByRuntimeError(int status) {
#if defined(_WIN32)
  return static_cast<unsigned>(status) == 0xFFFFFFFFu;
#else
  return WIFEXITED(status) && WEXITSTATUS(status) == 255;
#endif
}
