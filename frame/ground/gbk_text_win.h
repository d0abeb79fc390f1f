// The one crossing between the program's texts and Windows. Every text inside is GBK (code page
// 936), whatever code page the user's Windows runs with; Windows is spoken to in UTF-16 through
// the W functions, converted here with code page 936 by name, never with the system's own code
// page (an English Windows would read GBK bytes as Latin-1, a Taiwanese one as Big5).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// A GBK text as UTF-16. Null and empty texts give an empty string. A byte sequence that is not
// GBK comes out as code page 936 reads it (an invalid pair as U+30FB, like every Windows does).
std::wstring WideFromGbk(std::string_view gbk);
inline std::wstring WideFromGbk(const char* gbk) {
  return gbk ? WideFromGbk(std::string_view(gbk)) : std::wstring();
}

// A UTF-16 text as GBK, or nothing when it holds a character that GBK has no code for (an emoji,
// a Korean syllable, "ë" has one): such a text is never handed on with "?" in its place.
std::optional<std::string> GbkFromWide(std::wstring_view wide);

// The same, with each character GBK lacks as "?": only for texts shown to a person, never for
// a name a file is found by.
std::string GbkFromWideForDisplay(std::wstring_view wide);

// Whether one UTF-16 character (a surrogate pair counts as one) has a GBK code.
bool GbkHasCharacter(std::wstring_view character);

// A file system path as GBK: the path itself when GBK can spell it, otherwise its folder's short
// (8.3) form with the file's own name where GBK spells that name (so it serves a file not made yet),
// otherwise the whole path's short form, where the volume keeps short names and GBK spells them. Nothing when neither can be named, so
// that no other file is ever reached by a name with "?" in it.
std::optional<std::string> GbkPathFromWide(const std::wstring& path);

// A window's or control's text as GBK (a character GBK lacks, which only another program could
// have put there, as "?"), and a GBK text as a window's text.
std::string WindowTextGbk(HWND window);
bool SetWindowTextGbk(HWND window, std::string_view text);

// The program keeps a font as a LOGFONTA whose face name is GBK; Windows is given the same font
// with its face widened, and a font Windows describes comes back with its face as GBK.
LOGFONTW WideFont(const LOGFONTA& font);
LOGFONTA GbkFont(const LOGFONTW& font);
