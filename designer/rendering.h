// Drawing a signature: the background picture, the two drawing procedures, the design table and
// the rules that choose a design and redraw it.
#pragma once

#include <array>

#include "forms/layouts/window_ids.h"

void ApplyBackground();
void DrawChineseSignature();
void DrawEnglishSignature();

struct Design {
  const char* caption;  // the tab's caption in the layout
  const char* family;   // the exact face name the font file supplies
  void (*draw)();
};
extern const std::array<Design, kDesignCount> kDesignTable;

enum class DesignForm { kFull, kChineseOnly, kEnglishOnly };
void SelectDesign(DesignForm form);
void RedrawDesign();

// Replaces the current family by a copy of row `row`'s.
void SetCurrentFamily(int row);
