#include "frame/ground/gbk_text_win.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {

constexpr UINT kGbk = 936;

}  // namespace

std::wstring WideFromGbk(std::string_view gbk) {
  if (gbk.empty() || gbk.size() > INT_MAX) return std::wstring();
  const int size = static_cast<int>(gbk.size());
  const int length = MultiByteToWideChar(kGbk, 0, gbk.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), size, wide.data(), length);
  // A text ends at its first zero, as the program's texts always do.
  if (const std::size_t zero = wide.find(L'\0'); zero != std::wstring::npos) wide.resize(zero);
  return wide;
}

namespace {

// Converts with WC_NO_BEST_FIT_CHARS, so that no character turns into a look-alike ("ë" into
// "e"); `lossless` tells whether every character had its own code.
std::string Narrowed(std::wstring_view wide, bool* lossless) {
  *lossless = true;
  if (wide.empty() || wide.size() > INT_MAX / 2) return std::string();
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                         nullptr, &usedDefault);
  if (length <= 0) {
    *lossless = false;
    return std::string();
  }
  std::string gbk(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, gbk.data(), length, nullptr,
                      &usedDefault);
  if (usedDefault) *lossless = false;
  if (const std::size_t zero = gbk.find('\0'); zero != std::string::npos) gbk.resize(zero);
  return gbk;
}

}  // namespace

std::optional<std::string> GbkFromWide(std::wstring_view wide) {
  bool lossless = true;
  std::string gbk = Narrowed(wide, &lossless);
  if (!lossless) return std::nullopt;
  return gbk;
}

std::string GbkFromWideForDisplay(std::wstring_view wide) {
  bool lossless = true;
  return Narrowed(wide, &lossless);
}

bool GbkHasCharacter(std::wstring_view character) {
  if (character.empty()) return true;
  return GbkFromWide(character).has_value();
}

namespace {

std::optional<std::wstring> ShortPath(const std::wstring& path) {
  const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::vector<wchar_t> shortPath(needed);
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
  if (length == 0 || length >= needed) return std::nullopt;
  return std::wstring(shortPath.data(), length);
}

}  // namespace

std::optional<std::string> GbkPathFromWide(const std::wstring& path) {
  if (std::optional<std::string> gbk = GbkFromWide(path)) return gbk;
  // The file's own name is kept where GBK spells it, inside its folder's short form: a saved
  // "王小明.bmp" stays that, and a file not made yet has no short name of its own anyway.
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos && slash > 0) {
    if (std::optional<std::string> leaf = GbkFromWide(std::wstring_view(path).substr(slash))) {
      if (std::optional<std::wstring> folder = ShortPath(path.substr(0, slash))) {
        if (std::optional<std::string> gbkFolder = GbkFromWide(*folder)) return *gbkFolder + *leaf;
      }
    }
  }
  if (std::optional<std::wstring> shortPath = ShortPath(path)) return GbkFromWide(*shortPath);
  return std::nullopt;
}

std::string WindowTextGbk(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::string();
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, wide.data(), length + 1);
  wide.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return GbkFromWideForDisplay(wide);
}

bool SetWindowTextGbk(HWND window, std::string_view text) {
  return SetWindowTextW(window, WideFromGbk(text).c_str()) != FALSE;
}

namespace {

// Everything of a LOGFONT but its face name, which is all that differs between the two forms.
template <typename To, typename From>
To WithoutFace(const From& font) {
  To to{};
  to.lfHeight = font.lfHeight;
  to.lfWidth = font.lfWidth;
  to.lfEscapement = font.lfEscapement;
  to.lfOrientation = font.lfOrientation;
  to.lfWeight = font.lfWeight;
  to.lfItalic = font.lfItalic;
  to.lfUnderline = font.lfUnderline;
  to.lfStrikeOut = font.lfStrikeOut;
  to.lfCharSet = font.lfCharSet;
  to.lfOutPrecision = font.lfOutPrecision;
  to.lfClipPrecision = font.lfClipPrecision;
  to.lfQuality = font.lfQuality;
  to.lfPitchAndFamily = font.lfPitchAndFamily;
  return to;
}

}  // namespace

LOGFONTW WideFont(const LOGFONTA& font) {
  LOGFONTW wide = WithoutFace<LOGFONTW>(font);
  const std::wstring face = WideFromGbk(std::string_view(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)));
  face.copy(wide.lfFaceName, std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  return wide;
}

LOGFONTA GbkFont(const LOGFONTW& font) {
  LOGFONTA gbk = WithoutFace<LOGFONTA>(font);
  const std::string face =
      GbkFromWideForDisplay(std::wstring_view(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE)));
  // Cut before a whole character only: a face of 31 bytes never ends in half of one.
  std::size_t length = 0;
  for (std::size_t i = 0; i < face.size();) {
    const std::size_t width = static_cast<unsigned char>(face[i]) >= 0x81 && i + 1 < face.size() ? 2 : 1;
    if (i + width > LF_FACESIZE - 1) break;
    i += width;
    length = i;
  }
  face.copy(gbk.lfFaceName, length);
  return gbk;
}
