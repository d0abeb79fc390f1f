// Calling a bound external function. On 32-bit x86 the standard calling convention lets the callee
// remove its arguments, so a function declared with the wrong argument list unbalances the stack:
// the call is made in assembly, with the stack position taken before the pushes and after the call.
// On x86-64 the caller owns the stack and the convention cannot unbalance it; the positions are
// reported equal and the call site reads the same in both builds.
#include "frame/ground/external_functions.h"

#if defined(__i386__)

std::uintptr_t CallStandardFunction(void* function, const std::uintptr_t* args, int count,
                                    std::uintptr_t* stackBefore, std::uintptr_t* stackAfter) {
  std::uintptr_t result, before, after;
  // edi keeps the position across the call (callee-saved); arguments are pushed last first.
  asm volatile(
      "movl %%esp, %%edi\n\t"
      "movl %[count], %%ecx\n\t"
      "1:\n\t"
      "testl %%ecx, %%ecx\n\t"
      "jz 2f\n\t"
      "pushl -4(%[args],%%ecx,4)\n\t"
      "decl %%ecx\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "call *%[function]\n\t"
      "movl %%esp, %%ecx\n\t"
      "movl %%edi, %%edx\n\t"
      "movl %%edi, %%esp\n\t"  // put the stack back whatever the callee did
      : "=&a"(result), "=&c"(after), "=&d"(before)
      : [function] "b"(function), [args] "S"(args), [count] "m"(count)
      : "edi", "memory", "cc");
  *stackBefore = before;
  *stackAfter = after;
  return result;
}

#else

std::uintptr_t CallStandardFunction(void* function, const std::uintptr_t* a, int count,
                                    std::uintptr_t* stackBefore, std::uintptr_t* stackAfter) {
  using W = std::uintptr_t;
  *stackBefore = *stackAfter = 0;
  switch (count) {
    case 0: return reinterpret_cast<W (*)()>(function)();
    case 1: return reinterpret_cast<W (*)(W)>(function)(a[0]);
    case 2: return reinterpret_cast<W (*)(W, W)>(function)(a[0], a[1]);
    case 3: return reinterpret_cast<W (*)(W, W, W)>(function)(a[0], a[1], a[2]);
    case 4: return reinterpret_cast<W (*)(W, W, W, W)>(function)(a[0], a[1], a[2], a[3]);
    case 5: return reinterpret_cast<W (*)(W, W, W, W, W)>(function)(a[0], a[1], a[2], a[3], a[4]);
    case 6:
      return reinterpret_cast<W (*)(W, W, W, W, W, W)>(function)(a[0], a[1], a[2], a[3], a[4], a[5]);
    case 7:
      return reinterpret_cast<W (*)(W, W, W, W, W, W, W)>(function)(a[0], a[1], a[2], a[3], a[4],
                                                                    a[5], a[6]);
    case 8:
      return reinterpret_cast<W (*)(W, W, W, W, W, W, W, W)>(function)(a[0], a[1], a[2], a[3], a[4],
                                                                       a[5], a[6], a[7]);
    default:
      // More words than any call site pushes: an imbalance by definition.
      *stackAfter = 1;
      return 0;
  }
}

#endif
