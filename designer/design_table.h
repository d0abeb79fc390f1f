// The thirteen signature designs, one row per tab of 选择夹1 in tab order: the tab's caption, the
// face name the design's font file supplies, the font file, and which of the two names the design
// draws. The program draws from it and so does the signature sheet tool, so that design N looks
// the same in both.
#pragma once

#include <array>

#include "forms/layouts/window_ids.h"

enum class DesignName {
  kChinese,  // the content of 编辑框1
  kEnglish,  // the content of 编辑框2
};

struct Design {
  const char* caption;   // the tab's caption in the layout
  const char* family;    // the exact face name the font file supplies
  const char* fontFile;  // in kFontFolder under the program's folder
  DesignName name;
};

// Under the program's folder; the run directory has no trailing backslash.
inline constexpr const char* kFontFolder = "\\背景图片\\zesel\\";

inline constexpr std::array<Design, kDesignCount> kDesignTable{{
    {"青砚草签", "青砚签名体", "ma1.dat", DesignName::kChinese},
    {"方正篆签", "方正小篆体", "ma2.dat", DesignName::kChinese},
    {"博洋行签", "hakuyoxingshu7000", "ma3.dat", DesignName::kChinese},
    {"博洋草签", "hakuyocaoshu7000", "ma4.dat", DesignName::kChinese},
    {"明星签", "青砚仿明星字体", "ma5.dat", DesignName::kChinese},
    {"领袖签", "草檀斋领袖字体", "ma6.dat", DesignName::kChinese},
    {"隶书签", "青砚蚕燕隶书(新春版)", "ma7.dat", DesignName::kChinese},
    {"创艺细签", "创艺简细圆", "ma8.dat", DesignName::kChinese},
    {"黄草简签", "方正黄草简体", "ma9.dat", DesignName::kChinese},
    {"英文签一", "Kenya Swift", "ma10.dat", DesignName::kEnglish},
    {"英文签二", "Amphi", "ma11.dat", DesignName::kEnglish},
    {"英文签三", "Pavane", "ma12.dat", DesignName::kEnglish},
    {"英文签四", "CommercialScript BT", "ma13.dat", DesignName::kEnglish},
}};
