// The 32-bit stack check, run natively: built with -m32 on the Linux host, since the 32-bit Windows
// program cannot run here. The call in frame/external_call.cpp is the same code in both.
#include <cstdint>
#include <cstdio>

#include "frame/external_functions.h"

namespace {

extern "C" __attribute__((stdcall)) std::uintptr_t TakesTwo(std::uintptr_t a, std::uintptr_t b) {
  return a * 10 + b;
}
// Removes one argument word: the caller pushed two.
extern "C" __attribute__((stdcall)) std::uintptr_t TakesOne(std::uintptr_t a) { return a; }
// Removes three: the caller pushed two.
extern "C" __attribute__((stdcall)) std::uintptr_t TakesThree(std::uintptr_t a, std::uintptr_t,
                                                              std::uintptr_t) {
  return a;
}
// Removes none, as the C convention does.
extern "C" __attribute__((cdecl)) std::uintptr_t LeavesArguments(std::uintptr_t a, std::uintptr_t b) {
  return a + b;
}

struct Case {
  const char* name;
  void* function;
  std::uintptr_t result;
  int stackDelta;  // after minus before
};

}  // namespace

int main() {
  const Case cases[] = {
      {"balanced", reinterpret_cast<void*>(&TakesTwo), 42, 0},
      {"removes too few", reinterpret_cast<void*>(&TakesOne), 4, -4},
      {"removes too many", reinterpret_cast<void*>(&TakesThree), 4, 4},
      {"removes none", reinterpret_cast<void*>(&LeavesArguments), 6, -8},
  };
  const std::uintptr_t args[] = {4, 2};
  int passed = 0, failed = 0;
  for (const Case& c : cases) {
    std::uintptr_t before = 0, after = 0;
    const std::uintptr_t result = CallStandardFunction(c.function, args, 2, &before, &after);
    const int delta = static_cast<int>(after - before);
    if (result == c.result && delta == c.stackDelta) {
      ++passed;
    } else {
      ++failed;
      std::printf("%s: result %u (want %u), stack moved %d (want %d)\n", c.name,
                  static_cast<unsigned>(result), static_cast<unsigned>(c.result), delta, c.stackDelta);
    }
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
