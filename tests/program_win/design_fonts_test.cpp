// Each design's font as the drawing panel selects it: the program folder's own font files installed
// as the program installs them, the family asked for by name with the default character set, on a
// code page 936 system. The face GDI gives must be the design's, a Chinese design must read the
// program's GBK texts as GB2312, every character of the names people have must have a glyph that
// draws, and what GDI draws must be the glyphs the font file holds for the characters asked for
// (compared with the same file rendered by FreeType outside GDI, see render_references.py).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "designer/rendering.h"
#include "forms/gdi_owners.h"

namespace {

std::string FontFile(int design) {
  return std::string(YJ_PROGRAM_DIR) + "\\背景图片\\zesel\\ma" + std::to_string(design + 1) + ".dat";
}

bool IsChinese(int design) { return design <= 8; }

int DisplayDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// Common surnames (the hundred commonest and some more) and characters of given names, GBK.
constexpr char kSurnames[] =
    "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕"
    "丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃"
    "武戴莫孔向汤欧阳司马上官诸葛东方皇甫尉迟公孙慕容令狐宇文长孙轩辕";
constexpr char kGivenNameCharacters[] =
    "小伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超兰霞平刚桂华建国文辉力鹏宇浩然子涵欣怡梓轩雨萱晨博一诺"
    "嘉俊佳琪思远志红玉珍凤玲芬燕彬斌海波宁亮飞鑫雪梅琳晶颖婷倩瑶璐蕾薇菲妍媛蓉莉萍慧婉淑德善忠孝"
    "仁义礼智信天地春夏秋冬松柏竹兴旺福禄寿喜庆安康泰瑞祥麟凯旭昊睿哲航铭晨熙皓辰逸泽锦瀚钰琦"
    "彤妮馨悦萌雅晗诗韵琴墨云龙虎豹鹤鹰燕鸿翔腾跃奇峰岩山川河湖江溪";
constexpr char kLatinNames[] =
    "Xiaoming Liu Dehua Wu Hao Zhang Wei Wang Fang Li Na Chen Jing Michael Elizabeth Olivia "
    "Jacqueline Quentin Yvonne Kevin 0123456789";

// The characters of a GBK text, one string each.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = IsDBCSLeadByteEx(936, static_cast<BYTE>(text[i])) ? 2 : 1;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

UINT CharacterCode(const std::string& character) {
  UINT code = 0;
  for (unsigned char byte : character) code = code << 8 | byte;
  return code;
}

std::string Utf8ToGbk(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  std::string gbk(wide.size() * 2, '\0');
  gbk.resize(WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(),
                                 static_cast<int>(gbk.size()), nullptr, nullptr));
  return gbk;
}

// A memory surface with a design's font selected, made as the panel makes its font: the family by
// name, weight normal, no italic, the default character set.
class DesignSurface {
 public:
  DesignSurface(int design, int height)
      : dc_(CreateCompatibleDC(nullptr)),
        font_(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                          ANTIALIASED_QUALITY, 0, kDesignTable[design].family)),
        previous_(SelectObject(dc_, font_.Get())) {}
  DesignSurface(const DesignSurface&) = delete;
  DesignSurface& operator=(const DesignSurface&) = delete;
  ~DesignSurface() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  UniqueFont font_;
  HGDIOBJ previous_;
};

// A black-on-white 32-bit picture that text is drawn into.
class WhitePicture {
 public:
  WhitePicture(HDC dc, int width, int height) : dc_(dc), width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels_ = static_cast<std::uint32_t*>(bits);
    previous_ = SelectObject(dc, bitmap_.Get());
    if (pixels_) std::fill(pixels_, pixels_ + width * height, 0x00FFFFFFu);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
  }
  WhitePicture(const WhitePicture&) = delete;
  WhitePicture& operator=(const WhitePicture&) = delete;
  ~WhitePicture() { SelectObject(dc_, previous_); }

  bool Valid() const { return pixels_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Ink: a pixel at least half dark.
  bool Ink(int x, int y) const {
    GdiFlush();
    const std::uint32_t pixel = pixels_[y * width_ + x];
    const int light = ((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) / 3;
    return light < 128;
  }
  const std::uint32_t* Pixels() const {
    GdiFlush();
    return pixels_;
  }

 private:
  HDC dc_;
  int width_, height_;
  UniqueGdiObject<HBITMAP> bitmap_;
  std::uint32_t* pixels_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// A glyph as a mask cropped to its ink.
struct InkMask {
  int width = 0, height = 0;
  std::vector<bool> ink;
  bool At(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && ink[y * width + x]; }
};

InkMask CropToInk(const WhitePicture& picture) {
  int left = picture.Width(), top = picture.Height(), right = -1, bottom = -1;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      if (!picture.Ink(x, y)) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  InkMask mask;
  if (right < 0) return mask;
  mask.width = right - left + 1, mask.height = bottom - top + 1;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) mask.ink.push_back(picture.Ink(x, y));
  }
  return mask;
}

// A binary PGM (P5) as render_references.py writes it: ink is 255.
InkMask ReadPgm(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maximum = 0;
  file >> magic >> width >> height >> maximum;
  file.get();
  InkMask mask;
  if (!file || magic != "P5" || width <= 0 || height <= 0 || maximum != 255) return mask;
  std::vector<char> bytes(static_cast<std::size_t>(width) * height);
  if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return mask;
  mask.width = width, mask.height = height;
  for (char byte : bytes) mask.ink.push_back(static_cast<unsigned char>(byte) >= 128);
  return mask;
}

// The mask grown by a pixel in every direction, one pixel larger on each side: its (x + 1, y + 1)
// is whether (x, y) lies within a pixel of the mask's ink.
InkMask Grown(const InkMask& mask) {
  InkMask grown;
  grown.width = mask.width + 2, grown.height = mask.height + 2;
  grown.ink.assign(static_cast<std::size_t>(grown.width) * grown.height, false);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      if (!mask.At(x, y)) continue;
      for (int dy = 0; dy <= 2; ++dy) {
        for (int dx = 0; dx <= 2; ++dx) grown.ink[(y + dy) * grown.width + x + dx] = true;
      }
    }
  }
  return grown;
}

// The share of a's ink within a pixel of b's, with b placed (dx, dy) from a.
double ShareNear(const InkMask& a, const InkMask& grownB, int dx, int dy) {
  int ink = 0, nearby = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (!a.At(x, y)) continue;
      ++ink;
      nearby += grownB.At(x - dx + 1, y - dy + 1);
    }
  }
  return ink ? static_cast<double>(nearby) / ink : 0;
}

// How far two glyph masks agree, from 0 to 1: the share of each one's ink that lies within a pixel
// of the other's ink, the smaller of the two, at the best of the small shifts by which rasterisers
// place a glyph differently. Thin script strokes that two rasterisers draw a pixel apart still agree;
// another character does not.
double Likeness(const InkMask& a, const InkMask& b) {
  if (a.ink.empty() || b.ink.empty()) return 0;
  const InkMask grownA = Grown(a), grownB = Grown(b);
  double best = 0;
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      best = std::max(best, std::min(ShareNear(a, grownB, dx, dy), ShareNear(b, grownA, -dx, -dy)));
    }
  }
  return best;
}

constexpr int kReferenceEm = 128;  // the em in pixels render_references.py renders at
constexpr double kSameGlyph = 0.88;  // the same glyph scores 0.90 and more

InkMask RenderWithGdi(int design, const std::string& character) {
  DesignSurface surface(design, -kReferenceEm);
  WhitePicture picture(surface.Get(), kReferenceEm * 3, kReferenceEm * 3);
  if (!picture.Valid()) return {};
  SetTextAlign(surface.Get(), TA_BASELINE | TA_LEFT);
  TextOutA(surface.Get(), kReferenceEm, kReferenceEm * 2, character.data(), static_cast<int>(character.size()));
  return CropToInk(picture);
}

struct Reference {
  int design;
  std::string character;  // GBK
  std::string file;
};

std::vector<Reference> References() {
  std::vector<Reference> references;
  std::ifstream index(std::string(YJ_GLYPH_REFERENCES) + "/index.txt");
  int design = 0;
  std::string hex;
  while (index >> design >> hex) {
    std::string character;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
      character += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    char number[3];
    wsprintfA(number, "%02d", design);
    references.push_back({design, character, std::string(YJ_GLYPH_REFERENCES) + "/d" + number + "-" + hex + ".pgm"});
  }
  return references;
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

TEST_P(DesignFontTest, TheFaceIsTheDesignsAndReadsTheNameInItsCharacterSet) {
  const int design = GetParam();
  const char* family = kDesignTable[design].family;
  // As the panel's font is made: 70 points at the display's resolution.
  DesignSurface surface(design, -MulDiv(70, DisplayDpi(), 72));

  char face[LF_FACESIZE] = "";
  GetTextFaceA(surface.Get(), sizeof face, face);
  EXPECT_STREQ(face, family) << "design " << design;
  if (IsChinese(design)) {
    EXPECT_EQ(GetTextCharset(surface.Get()), GB2312_CHARSET) << "design " << design;
  }
}

TEST_P(DesignFontTest, EveryCharacterOfCommonNamesHasAGlyphThatDraws) {
  const int design = GetParam();
  DesignSurface surface(design, -48);
  std::string text = kLatinNames;
  if (IsChinese(design)) {
    text += std::string(kSurnames) + kGivenNameCharacters;
  } else {
    for (char c = 0x21; c < 0x7F; ++c) text += c;  // an English design draws all of printable ASCII
  }
  const std::vector<std::string> characters = Characters(text);

  std::vector<WORD> glyphs(text.size(), 0);
  const DWORD count = GetGlyphIndicesA(surface.Get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                                       GGI_MARK_NONEXISTING_GLYPHS);
  ASSERT_EQ(count, characters.size()) << "design " << design << ": the text's bytes read as other characters";
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  for (std::size_t i = 0; i < characters.size(); ++i) {
    const std::string& character = characters[i];
    if (character == " ") continue;
    EXPECT_NE(glyphs[i], 0xFFFF) << "design " << design << " has no glyph for " << character;
    GLYPHMETRICS metrics{};
    const DWORD outline =
        GetGlyphOutlineA(surface.Get(), CharacterCode(character), GGO_NATIVE, &metrics, 0, nullptr, &identity);
    EXPECT_TRUE(outline != GDI_ERROR && outline > 0) << "design " << design << " draws nothing for " << character;
  }
}

TEST_P(DesignFontTest, DrawsTheGlyphsItsFileHoldsForTheCharactersAsked) {
  const int design = GetParam();
  std::vector<Reference> references;
  for (const Reference& reference : References()) {
    if (reference.design == design) references.push_back(reference);
  }
  ASSERT_GE(references.size(), 5u) << "no references for design " << design << " in " << YJ_GLYPH_REFERENCES;

  std::vector<InkMask> drawn;
  for (const Reference& reference : references) {
    const InkMask expected = ReadPgm(reference.file);
    ASSERT_FALSE(expected.ink.empty()) << reference.file;
    drawn.push_back(RenderWithGdi(design, reference.character));
    EXPECT_GE(Likeness(drawn.back(), expected), kSameGlyph)
        << "design " << design << " draws " << reference.character << " unlike its font file";
  }
  // The measure tells glyphs apart: each drawing is liker its own character's reference than any
  // other character's, so a face that draws other characters cannot pass.
  for (std::size_t i = 0; i < references.size(); ++i) {
    const double own = Likeness(drawn[i], ReadPgm(references[i].file));
    for (std::size_t j = 0; j < references.size(); ++j) {
      if (j == i) continue;
      EXPECT_LT(Likeness(drawn[i], ReadPgm(references[j].file)), own)
          << "design " << design << ": " << references[i].character << " looks like " << references[j].character;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryDesign, DesignFontTest, ::testing::Range(0, kDesignCount));

// The sample names in every design, one row a design, as a 24-bit BMP beside the test: the picture
// tools/screenshots.sh puts in the README. Every row must hold ink.
TEST(DesignSheet, EveryDesignDrawsItsSampleNames) {
  std::vector<std::string> chinese, english;
  std::ifstream names(YJ_SAMPLE_NAMES);
  for (std::string line; std::getline(names, line);) {
    if (line.rfind("zh ", 0) == 0) chinese.push_back(Utf8ToGbk(line.substr(3)));
    if (line.rfind("en ", 0) == 0) english.push_back(Utf8ToGbk(line.substr(3)));
  }
  ASSERT_FALSE(chinese.empty());
  ASSERT_FALSE(english.empty());
  for (int design = 0; design < kDesignCount; ++design) AddFontResourceA(FontFile(design).c_str());

  constexpr int kRow = 84, kWidth = 920, kCaption = 150;
  HDC dc = CreateCompatibleDC(nullptr);
  {
    WhitePicture sheet(dc, kWidth, kRow * kDesignCount);
    ASSERT_TRUE(sheet.Valid());
    UniqueFont caption(CreateFontA(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                   ANTIALIASED_QUALITY, 0, "宋体"));
    for (int design = 0; design < kDesignCount; ++design) {
      const int top = design * kRow;
      HGDIOBJ old = SelectObject(dc, caption.Get());
      const std::string label = std::to_string(design) + " " + kDesignTable[design].caption;
      SetTextColor(dc, RGB(0x50, 0x50, 0x50));
      TextOutA(dc, 8, top + kRow / 2 - 8, label.data(), static_cast<int>(label.size()));
      UniqueFont font(CreateFontA(-56, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                  ANTIALIASED_QUALITY, 0, kDesignTable[design].family));
      SelectObject(dc, font.Get());
      SetTextColor(dc, RGB(0, 0, 0));
      int x = kCaption;
      for (const std::string& name : IsChinese(design) ? chinese : english) {
        SIZE size{};
        GetTextExtentPoint32A(dc, name.data(), static_cast<int>(name.size()), &size);
        TextOutA(dc, x, top + (kRow - size.cy) / 2, name.data(), static_cast<int>(name.size()));
        x += size.cx + 40;
      }
      SelectObject(dc, old);
      int ink = 0;
      for (int y = top; y < top + kRow; ++y) {
        for (int px = kCaption; px < kWidth; ++px) ink += sheet.Ink(px, y);
      }
      EXPECT_GT(ink, 500) << "design " << design << " drew nothing";
    }

    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    const int stride = (kWidth * 3 + 3) & ~3;
    header.biSize = sizeof header, header.biWidth = kWidth, header.biHeight = kRow * kDesignCount;
    header.biPlanes = 1, header.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + stride * header.biHeight;
    std::string rows;
    for (int y = header.biHeight - 1; y >= 0; --y) {
      std::string row(stride, '\0');
      for (int x = 0; x < kWidth; ++x) {
        const std::uint32_t pixel = sheet.Pixels()[y * kWidth + x];
        row[x * 3] = static_cast<char>(pixel & 0xFF);
        row[x * 3 + 1] = static_cast<char>(pixel >> 8 & 0xFF);
        row[x * 3 + 2] = static_cast<char>(pixel >> 16 & 0xFF);
      }
      rows += row;
    }
    std::ofstream out("design-sheet.bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(rows.data(), static_cast<std::streamsize>(rows.size()));
    EXPECT_TRUE(out.good());
  }
  DeleteDC(dc);
  for (int design = 0; design < kDesignCount; ++design) RemoveFontResourceA(FontFile(design).c_str());
}

}  // namespace
