#include "tools/signature_sheet/signature_renderer_win.h"

#include <algorithm>
#include <vector>

#include "canvas/picture.h"
#include "canvas/prepared_picture_win.h"
#include "frame/ground/gbk_text_win.h"

namespace {

// The most pixels one picture may have: 256 MiB of RGBA.
constexpr long long kMaxPixels = 1LL << 26;

// The face of a sheet's headings and captions.
constexpr wchar_t kCaptionFace[] = L"宋体";

// Names, face names and font paths go to GDI as UTF-16 widened from GBK with code page 936, never
// through an A function: GDI would read the bytes in the system's code page, and an English or a
// Taiwanese Windows would find no font or draw other characters than the program does.
SIZE TextCell(HDC surface, const std::wstring& text) {
  SIZE cell{};
  GetTextExtentPoint32W(surface, text.data(), static_cast<int>(text.size()), &cell);
  return cell;
}

}  // namespace

PrivateDesignFonts::PrivateDesignFonts(const std::string& folder) {
  for (int design = 0; design < kDesignCount; ++design) {
    paths_[design] = folder + "\\" + kDesignTable[design].fontFile;
    added_[design] = AddFontResourceExW(WideFromGbk(paths_[design]).c_str(), FR_PRIVATE, nullptr) > 0;
  }
}

PrivateDesignFonts::~PrivateDesignFonts() {
  for (int design = 0; design < kDesignCount; ++design) {
    if (added_[design]) RemoveFontResourceExW(WideFromGbk(paths_[design]).c_str(), FR_PRIVATE, nullptr);
  }
}

SignatureRenderer::SignatureRenderer(const PrivateDesignFonts& fonts, const Settings& settings)
    : fonts_(fonts), settings_(settings), surface_(screen_.Get()) {
  if (screen_) dotsPerInch_ = GetDeviceCaps(screen_.Get(), LOGPIXELSY);
}

SignatureRenderer::~SignatureRenderer() = default;

HFONT SignatureRenderer::FontOf(int design, DWORD quality) {
  UniqueFont& font = quality == PROOF_QUALITY ? programFonts_[design] : coverageFonts_[design];
  if (!font.Get()) {
    // As the panel makes the program's font: the size in points at the display's resolution,
    // weight and every flag 0, the default character set.
    font.Reset(CreateFontW(-MulDiv(settings_.points * settings_.scale, dotsPerInch_, 72), 0, 0, 0, 0, 0, 0, 0,
                           DEFAULT_CHARSET, 0, 0, quality, 0, WideFromGbk(kDesignTable[design].family).c_str()));
  }
  return font.Get();
}

bool SignatureRenderer::CanDraw(int design, const std::string& text, std::string* why) {
  if (!fonts_.Added(design)) {
    *why = "字体文件无法载入：" + fonts_.PathOf(design);
    return false;
  }
  const HFONT font = FontOf(design, PROOF_QUALITY);
  ScopedSelect select(surface_.Get(), font);
  if (!faceFound_[design]) {
    // A family the system does not find is silently replaced by another: that is no design.
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(surface_.Get(), LF_FACESIZE, face);
    faceFound_[design] = WideFromGbk(kDesignTable[design].family) == face;
  }
  if (!*faceFound_[design]) {
    *why = std::string("字体文件里没有字体“") + kDesignTable[design].family + "”：" + fonts_.PathOf(design);
    return false;
  }
  const std::wstring wide = WideFromGbk(text);
  std::vector<WORD> glyphs(wide.size());
  if (!wide.empty() &&
      GetGlyphIndicesW(surface_.Get(), wide.data(), static_cast<int>(wide.size()), glyphs.data(),
                       GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
    *why = "无法查询字形";
    return false;
  }
  std::wstring missing;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const bool space = wide[i] == L' ' || wide[i] == 0x3000;
    if (glyphs[i] == 0xFFFF && !space && missing.find(wide[i]) == std::wstring::npos) missing += wide[i];
  }
  if (missing.empty()) return true;
  *why = "字体缺少“" + GbkFromWideForDisplay(missing) + "”";
  return false;
}

std::vector<std::uint8_t> SignatureRenderer::ReadBgra(HBITMAP bitmap, int width, int height) {
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  if (GetDIBits(surface_.Get(), bitmap, 0, height, bgra.data(), &info, DIB_RGB_COLORS) != height) return {};
  return bgra;
}

Rgba SignatureRenderer::Read(HBITMAP bitmap, int width, int height) {
  Rgba picture{width, height, ReadBgra(bitmap, width, height)};
  if (picture.pixels.empty()) return {};
  for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
    std::swap(picture.pixels[i], picture.pixels[i + 2]);  // BGRA to RGBA
    picture.pixels[i + 3] = 255;
  }
  return picture;
}

bool SignatureRenderer::SetBackground(const std::uint8_t* bytes, std::size_t length, std::string* why) {
  DecodeResult decoded = DecodePicture(bytes, length);
  if (!decoded || decoded.picture.width <= 0 || decoded.picture.height <= 0) {
    *why = std::string("不是可以显示的图片（") + PictureFailureName(decoded.failure) + "）";
    return false;
  }
  const long long width = static_cast<long long>(decoded.picture.width) * settings_.scale;
  const long long height = static_cast<long long>(decoded.picture.height) * settings_.scale;
  if (width * height > kMaxPixels) {
    *why = "图片放大后太大（超过 6700 万像素）";
    return false;
  }
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen_.Get(), static_cast<int>(width), static_cast<int>(height)));
  if (!bitmap.Get()) {
    *why = "内存不足，无法放下底图";
    return false;
  }
  {
    ScopedSelect select(surface_.Get(), bitmap.Get());
    // The panel's back colour, white, lies under the picture, which shows through transparent pixels.
    PatBlt(surface_.Get(), 0, 0, static_cast<int>(width), static_cast<int>(height), WHITENESS);
    const PreparedPicture prepared = PreparePicture(surface_.Get(), &decoded.picture);
    DrawPreparedPicture(prepared, 0, 0, static_cast<int>(width), static_cast<int>(height), SRCCOPY);
  }
  background_ = Read(bitmap.Get(), static_cast<int>(width), static_cast<int>(height));
  if (background_.width == 0) {
    *why = "无法读出底图的像素";
    return false;
  }
  backgroundBitmap_ = std::move(bitmap);
  return true;
}

DrawnSignature SignatureRenderer::Coverage(HFONT font, const std::string& gbk, std::uint32_t colour) {
  ScopedSelect selectFont(surface_.Get(), font);
  const std::wstring text = WideFromGbk(gbk);
  const SIZE cell = TextCell(surface_.Get(), text);
  // Swashes and slanted strokes reach beyond the cell. Half a line height of room all round holds
  // nearly all of them; ink that reaches the edge is drawn again with room of two line heights.
  const int line = std::max<int>(cell.cy, 1);
  bool clipped = false;
  DrawnSignature drawn = CoverageWithRoom(text, cell, colour, (line + 1) / 2, &clipped);
  if (clipped) drawn = CoverageWithRoom(text, cell, colour, 2 * line, &clipped);
  return drawn;
}

// The text in the surface's font at (pad, pad) of a black area `pad` larger than its cell all round.
DrawnSignature SignatureRenderer::CoverageWithRoom(const std::wstring& text, SIZE cell, std::uint32_t colour, int pad,
                                                   bool* clipped) {
  const int width = cell.cx + 2 * pad;
  const int height = cell.cy + 2 * pad;
  if (static_cast<long long>(width) * height > kMaxPixels) return {};
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen_.Get(), width, height));
  if (!bitmap.Get()) return {};
  {
    ScopedSelect selectBitmap(surface_.Get(), bitmap.Get());
    PatBlt(surface_.Get(), 0, 0, width, height, BLACKNESS);
    SetBkMode(surface_.Get(), TRANSPARENT);
    SetTextColor(surface_.Get(), RGB(255, 255, 255));
    TextOutW(surface_.Get(), pad, pad, text.data(), static_cast<int>(text.size()));
  }
  const std::vector<std::uint8_t> white = ReadBgra(bitmap.Get(), width, height);
  if (white.empty()) return {};
  // White on black: each pixel's level is how much of it the glyphs cover. Only the area holding
  // the cell and the ink is kept; trimming may reach beyond it with transparent pixels.
  const auto level = [&](int x, int y) {
    const std::uint8_t* pixel = white.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    return std::max({pixel[0], pixel[1], pixel[2]});
  };
  Box ink{width, height, 0, 0};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (level(x, y) == 0) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x + 1);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y + 1);
    }
  }
  if (ink.Empty()) ink = {};
  *clipped = !ink.Empty() && (ink.left == 0 || ink.top == 0 || ink.right == width || ink.bottom == height);
  const Box cellBox{pad, pad, pad + cell.cx, pad + cell.cy};
  const Box kept = Union(cellBox, ink);
  // Ink of the exact colour everywhere, its alpha the coverage: edges carry no fringe of what the
  // glyphs were drawn on.
  DrawnSignature drawn;
  drawn.picture = Filled(kept.Width(), kept.Height(), colour, 0);
  for (int y = kept.top; y < kept.bottom; ++y) {
    for (int x = kept.left; x < kept.right; ++x) {
      drawn.picture.At(x - kept.left, y - kept.top)[3] = level(x, y);
    }
  }
  const auto shifted = [&](const Box& box) {
    return box.Empty() ? Box{} : Box{box.left - kept.left, box.top - kept.top, box.right - kept.left, box.bottom - kept.top};
  };
  drawn.ink = shifted(ink);
  drawn.cell = shifted(cellBox);
  return drawn;
}

DrawnSignature SignatureRenderer::Draw(int design, const std::string& gbk) {
  if (!HasBackground()) return Coverage(FontOf(design, ANTIALIASED_QUALITY), gbk, settings_.colour);

  // Over the background exactly as the panel writes: the text cell's top left at the write
  // position, transparent background mode, the pen's copy mode.
  const int width = background_.width;
  const int height = background_.height;
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen_.Get(), width, height));
  MemorySurface backgroundSurface(screen_.Get());
  if (!bitmap.Get() || !backgroundSurface) return {};
  const int x = settings_.atX * settings_.scale;
  const int y = settings_.atY * settings_.scale;
  const std::wstring text = WideFromGbk(gbk);
  SIZE cell{};
  {
    ScopedSelect selectBitmap(surface_.Get(), bitmap.Get());
    {
      ScopedSelect selectBackground(backgroundSurface.Get(), backgroundBitmap_.Get());
      BitBlt(surface_.Get(), 0, 0, width, height, backgroundSurface.Get(), 0, 0, SRCCOPY);
    }
    ScopedSelect selectFont(surface_.Get(), FontOf(design, PROOF_QUALITY));
    SetMapMode(surface_.Get(), MM_TEXT);
    SetBkMode(surface_.Get(), TRANSPARENT);
    SetTextColor(surface_.Get(), settings_.colour);
    SetROP2(surface_.Get(), R2_COPYPEN);
    TextOutW(surface_.Get(), x, y, text.data(), static_cast<int>(text.size()));
    cell = TextCell(surface_.Get(), text);
  }
  DrawnSignature drawn;
  drawn.picture = Read(bitmap.Get(), width, height);
  if (drawn.picture.width == 0) return {};
  drawn.ink = DifferenceBounds(drawn.picture, background_);
  drawn.cell = {x, y, x + cell.cx, y + cell.cy};
  return drawn;
}

DrawnSignature SignatureRenderer::Caption(const std::string& text, int points, std::uint32_t colour) {
  UniqueFont& font = captionFonts_[points];
  if (!font.Get()) {
    font.Reset(CreateFontW(-MulDiv(points * settings_.scale, dotsPerInch_, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                           DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, kCaptionFace));
  }
  return Coverage(font.Get(), text, colour);
}
