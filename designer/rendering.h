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
// One row per tab of 选择夹1, in tab order.
inline constexpr std::array<Design, kDesignCount> kDesignTable{{
    {"青砚草签", "青砚签名体", DrawChineseSignature},
    {"方正篆签", "方正小篆体", DrawChineseSignature},
    {"博洋行签", "hakuyoxingshu7000", DrawChineseSignature},
    {"博洋草签", "hakuyocaoshu7000", DrawChineseSignature},
    {"明星签", "青砚仿明星字体", DrawChineseSignature},
    {"领袖签", "草檀斋领袖字体", DrawChineseSignature},
    {"隶书签", "青砚蚕燕隶书(新春版)", DrawChineseSignature},
    {"创艺细签", "创艺简细圆", DrawChineseSignature},
    {"黄草简签", "方正黄草简体", DrawChineseSignature},
    {"英文签一", "Kenya Swift", DrawEnglishSignature},
    {"英文签二", "Amphi", DrawEnglishSignature},
    {"英文签三", "Pavane", DrawEnglishSignature},
    {"英文签四", "CommercialScript BT", DrawEnglishSignature},
}};

enum class DesignForm { kFull, kChineseOnly, kEnglishOnly };
void SelectDesign(DesignForm form);
void RedrawDesign();

// Replaces the current family by a copy of row `row`'s.
void SetCurrentFamily(int row);
