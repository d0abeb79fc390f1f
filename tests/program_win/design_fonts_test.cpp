// Each design's font as the drawing panel selects it: the program folder's own font files installed
// as the program installs them, the family asked for by name with the default character set, on a
// code page 936 system. The face GDI gives must be the design's, and a Chinese design must read the
// program's GBK texts as GB2312: a face that declares another character set draws other characters.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "designer/rendering.h"

namespace {

std::string FontFile(int design) {
  return std::string(YJ_PROGRAM_DIR) + "\\背景图片\\zesel\\ma" + std::to_string(design + 1) + ".dat";
}

class DesignFontTest : public ::testing::TestWithParam<int> {
 protected:
  static void SetUpTestSuite() {
    for (int design = 0; design < kDesignCount; ++design) AddFontResourceA(FontFile(design).c_str());
  }
  static void TearDownTestSuite() {
    for (int design = 0; design < kDesignCount; ++design) RemoveFontResourceA(FontFile(design).c_str());
  }
};

bool IsChinese(int design) { return design <= 8; }

TEST_P(DesignFontTest, TheFaceIsTheDesignsAndReadsTheNameInItsCharacterSet) {
  const int design = GetParam();
  const char* family = kDesignTable[design].family;
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  // As the panel's font is made: 70 points, weight and style from the stored font, default set.
  HFONT font = CreateFontA(-MulDiv(70, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE,
                           FALSE, FALSE, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, 0, family);
  ASSERT_NE(font, nullptr);
  HGDIOBJ old = SelectObject(dc, font);

  char face[LF_FACESIZE] = "";
  GetTextFaceA(dc, sizeof face, face);
  EXPECT_STREQ(face, family) << "design " << design;
  if (IsChinese(design)) {
    EXPECT_EQ(GetTextCharset(dc), GB2312_CHARSET) << "design " << design;
  }

  // The names the program starts with, read in the face's character set: no glyph missing.
  const std::string name = IsChinese(design) ? "王小明" : "Xiaoming";
  std::vector<WORD> glyphs(name.size(), 0);
  const DWORD count = GetGlyphIndicesA(dc, name.c_str(), static_cast<int>(name.size()), glyphs.data(),
                                       GGI_MARK_NONEXISTING_GLYPHS);
  ASSERT_NE(count, GDI_ERROR) << "design " << design;
  const std::size_t characters = IsChinese(design) ? 3 : name.size();
  EXPECT_EQ(count, characters) << "design " << design << ": the name's bytes read as other characters";
  for (DWORD i = 0; i < count; ++i) {
    EXPECT_NE(glyphs[i], 0xFFFF) << "design " << design << " character " << i << " has no glyph";
  }

  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
}

INSTANTIATE_TEST_SUITE_P(EveryDesign, DesignFontTest, ::testing::Range(0, kDesignCount));

}  // namespace
