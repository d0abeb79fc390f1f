// The stack check's cases on 32-bit x86, shared by the Windows test suite and the -m32 program run
// on the Linux host: callees of the standard calling convention that remove as many argument bytes
// as the caller pushed, too few and too many, and one of the C convention that removes none.
#pragma once

#include <cstdint>

#if defined(__i386__)

#define YJ_STDCALL __attribute__((stdcall))

namespace stack_check_cases {

extern "C" inline YJ_STDCALL std::uintptr_t TakesTwo(std::uintptr_t a, std::uintptr_t b) {
  return a * 10 + b;
}
extern "C" inline YJ_STDCALL std::uintptr_t TakesOne(std::uintptr_t a) { return a; }
extern "C" inline YJ_STDCALL std::uintptr_t TakesThree(std::uintptr_t a, std::uintptr_t,
                                                       std::uintptr_t) {
  return a;
}
extern "C" inline __attribute__((cdecl)) std::uintptr_t LeavesArguments(std::uintptr_t a,
                                                                        std::uintptr_t b) {
  return a + b;
}

struct Case {
  const char* name;
  void* function;
  std::uintptr_t result;
  int stackDelta;  // position after the call minus position before the pushes
};

// Every case is called with these two argument words.
inline const std::uintptr_t kArguments[] = {4, 2};

inline const Case kCases[] = {
    {"balanced", reinterpret_cast<void*>(&TakesTwo), 42, 0},
    {"removes too few", reinterpret_cast<void*>(&TakesOne), 4, -4},
    {"removes too many", reinterpret_cast<void*>(&TakesThree), 4, 4},
    {"removes none", reinterpret_cast<void*>(&LeavesArguments), 6, -8},
};

}  // namespace stack_check_cases

#else

#define YJ_STDCALL

#endif
