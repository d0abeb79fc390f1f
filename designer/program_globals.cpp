#include "designer/program_globals.h"

#include <utility>

#include "designer/unit_access.h"

ProgramGlobals& Globals() {
  static ProgramGlobals globals;
  return globals;
}

void ProgramGlobalsInit() {
  ProgramGlobals& g = Globals();
  g = ProgramGlobals{};
  auto* font = static_cast<FontRecord*>(Frame().allocate(sizeof(FontRecord)));
  *font = FontRecord{0, 0, 0, 0, 0, 9, CopyOfText("宋体")};
  g.signatureFont = font;
}

void ProgramGlobalsRelease() {
  ProgramGlobals& g = Globals();
  Frame().free(std::exchange(g.backgroundPath, nullptr));
  Frame().free(std::exchange(g.backgroundBytes, nullptr));
  Frame().free(std::exchange(g.currentFamily, nullptr));
  if (g.signatureFont) Frame().free(std::exchange(g.signatureFont->face, nullptr));
  Frame().free(std::exchange(g.signatureFont, nullptr));
}
