// Drawing a signature: the background picture, the two drawing procedures and the rules that
// choose a design from the design table and redraw it.
#pragma once

#include "designer/design_table.h"

void ApplyBackground();
void DrawChineseSignature();
void DrawEnglishSignature();

enum class DesignForm { kFull, kChineseOnly, kEnglishOnly };
void SelectDesign(DesignForm form);
void RedrawDesign();

// Replaces the current family by a copy of row `row`'s.
void SetCurrentFamily(int row);
