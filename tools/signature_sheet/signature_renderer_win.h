// Draws one name in one design as the program draws it: the design's family at the size in points
// at the display's resolution, the default character set, normal weight, written at the write
// position over the background picture; or, without a background, as ink whose alpha is the
// glyphs' coverage. The design fonts are installed for this process alone while it lives.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "canvas/dc_owners_win.h"
#include "designer/design_table.h"
#include "tools/signature_sheet/signature_picture.h"

using UniqueFont = UniqueGdiObject<HFONT>;

// The design font files added with FR_PRIVATE, so no other program sees them and nothing needs
// announcing; removed again when this goes (the system would drop them at exit anyway).
class PrivateDesignFonts {
 public:
  explicit PrivateDesignFonts(const std::string& folder);
  ~PrivateDesignFonts();
  PrivateDesignFonts(const PrivateDesignFonts&) = delete;
  PrivateDesignFonts& operator=(const PrivateDesignFonts&) = delete;
  bool Added(int design) const { return added_[design]; }
  const std::string& PathOf(int design) const { return paths_[design]; }

 private:
  std::array<std::string, kDesignCount> paths_;
  std::array<bool, kDesignCount> added_{};
};

class SignatureRenderer {
 public:
  struct Settings {
    int points = 70;
    std::uint32_t colour = 0;  // 0x00BBGGRR
    int scale = 1;
    int atX = 165, atY = 130;  // on the background, before scaling
  };
  SignatureRenderer(const PrivateDesignFonts& fonts, const Settings& settings);
  ~SignatureRenderer();

  // Lays the background picture (a whole file's bytes) at the scale over the panel's white. False,
  // and *why says why, when it is no picture the program can show or too large at this scale.
  bool SetBackground(const std::uint8_t* bytes, std::size_t length, std::string* why);
  bool HasBackground() const { return background_.width > 0; }
  int BackgroundWidth() const { return background_.width; }

  // Whether the design can draw `text`: its font is there and has every character (spaces aside).
  // When not, *why says what is missing.
  bool CanDraw(int design, const std::string& text, std::string* why);
  // The text in the design; an empty picture when it cannot be made (too large, no memory).
  DrawnSignature Draw(int design, const std::string& text);

  // Plain text for captions: 宋体 at `points` (before scaling), as transparent ink.
  DrawnSignature Caption(const std::string& text, int points, std::uint32_t colour);

  int DotsPerInch() const { return dotsPerInch_; }

 private:
  HFONT FontOf(int design, DWORD quality);
  DrawnSignature Coverage(HFONT font, const std::string& gbk, std::uint32_t colour);
  DrawnSignature CoverageWithRoom(const std::wstring& text, SIZE cell, std::uint32_t colour, int pad, bool* clipped);
  std::vector<std::uint8_t> ReadBgra(HBITMAP bitmap, int width, int height);
  Rgba Read(HBITMAP bitmap, int width, int height);

  const PrivateDesignFonts& fonts_;
  Settings settings_;
  ScreenSurface screen_;
  MemorySurface surface_;
  int dotsPerInch_ = 96;
  std::array<UniqueFont, kDesignCount> programFonts_;   // PROOF_QUALITY, as the panel asks
  std::array<UniqueFont, kDesignCount> coverageFonts_;  // ANTIALIASED_QUALITY: grey levels for alpha
  std::array<std::optional<bool>, kDesignCount> faceFound_;
  std::map<int, UniqueFont> captionFonts_;
  UniqueBitmap backgroundBitmap_;
  Rgba background_;
};
