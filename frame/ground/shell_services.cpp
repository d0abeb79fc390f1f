#include "frame/ground/shell_services.h"


const char* ShellVerb(const ArgRecord& operation) {
  if (ArgOmitted(operation)) return nullptr;
  switch (ArgInt(operation)) {
    case 1: return "edit";
    case 2: return "explore";
    case 3: return "find";
    case 4: return "open";
    case 5: return "print";
    default: return nullptr;
  }
}

int ShellShowCommand(const ArgRecord& windowMode) {
  constexpr int kShowNormal = 1;
  // Indexed by window mode 1-6: hide, normal, minimised, maximised, show without activating,
  // minimise.
  constexpr int kShowCommands[] = {0, kShowNormal, 2, 3, 8, 6};
  if (ArgOmitted(windowMode)) return kShowNormal;
  const int mode = ArgInt(windowMode);
  return mode >= 1 && mode <= 6 ? kShowCommands[mode - 1] : kShowNormal;
}
