// The 32-bit stack check on the Linux host, built with -m32: it runs wherever the kernel runs
// 32-bit programs, directly or in emulation, also where 32-bit wine cannot start. The call in
// frame/ground/external_call.cpp is the same code in both builds.
#include <cstdio>

#include "frame/ground/external_functions.h"
#include "stack_check_cases.h"

int main() {
  int passed = 0, failed = 0;
  for (const stack_check_cases::Case& c : stack_check_cases::kCases) {
    std::uintptr_t before = 0, after = 0;
    const std::uintptr_t result =
        CallStandardFunction(c.function, stack_check_cases::kArguments, 2, &before, &after);
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
