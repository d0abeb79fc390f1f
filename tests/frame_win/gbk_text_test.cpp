// The one crossing between the program's GBK texts and Windows' UTF-16: it must convert by code
// page 936 under every system code page (the locale runs repeat these under 1252 and 950), never
// hand on a name with "?" for a character GBK lacks, and reach a folder GBK cannot spell by its
// short name.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <optional>
#include <string>

#include "frame/ground/gbk_text_win.h"
#include "scratch_folder.h"

namespace {

struct TextCase {
  const char* label;
  std::wstring wide;
  std::optional<std::string> gbk;  // nothing: GBK has no code for a character of it
};

TEST(GbkText, TextsRoundTripOrAreRefusedWhole) {
  const TextCase cases[] = {
      {"empty", L"", std::string()},
      {"ASCII", L"Signature 2.0", std::string("Signature 2.0")},
      {"Chinese", L"云笺免费签名设计", std::string("\xD4\xC6\xBC\xE3\xC3\xE2\xB7\xD1\xC7\xA9\xC3\xFB\xC9\xE8\xBC\xC6")},
      {"a trail byte equal to a backslash", L"\u4E57", std::string("\x81\x5C")},
      {"a trail byte equal to \"|\"", L"\u4E85", std::string("\x81\x7C")},
      {"the euro sign, GBK's one single byte above ASCII", L"\u20AC", std::string("\x80")},
      {"full-width punctuation", L"\u201C签名\u201D\uFF01", std::string("\xA1\xB0\xC7\xA9\xC3\xFB\xA1\xB1\xA3\xA1")},
      {"e acute, which GBK has", L"caf\u00E9", std::string("caf\xA8\xA6")},
      {"a Korean syllable", L"\uD55C\uAE00", std::nullopt},
      {"e with diaeresis, which GBK lacks", L"Zo\u00EB", std::nullopt},
      {"an emoji (a surrogate pair)", L"a\U0001F600b", std::nullopt},
      {"a lone surrogate half", std::wstring(L"a") + wchar_t(0xD83D), std::nullopt},
      {"a character of CJK Extension B", L"\U00020000", std::nullopt},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(GbkFromWide(c.wide), c.gbk) << c.label;
    if (c.gbk) {
      EXPECT_EQ(WideFromGbk(*c.gbk), c.wide) << c.label;
    }
  }
}

TEST(GbkText, OneCharacterAtATime) {
  const struct {
    std::wstring character;
    bool inGbk;
  } cases[] = {{L"a", true}, {L"签", true}, {L"\u20AC", true}, {L"\u00E9", true}, {L"\u00EB", false},
               {L"\uD55C", false}, {L"\U0001F600", false}, {L"\U00020000", false}};
  for (const auto& c : cases) {
    EXPECT_EQ(GbkHasCharacter(c.character), c.inGbk) << "U+" << std::hex << static_cast<unsigned>(c.character[0]);
  }
}

TEST(GbkText, AShownTextKeepsWhatGbkHasAndMarksTheRest) {
  const std::string shown = GbkFromWideForDisplay(L"签名\uD55Cx\U0001F600");
  ASSERT_GE(shown.size(), 7u) << shown;
  EXPECT_EQ(shown.substr(0, 4), "签名");
  EXPECT_EQ(shown[4], '?') << "the Korean syllable";
  EXPECT_EQ(shown[5], 'x');
  EXPECT_EQ(shown.substr(6).find_first_not_of('?'), std::string::npos) << "the emoji: " << shown;
}

TEST(GbkText, ATextEndsAtItsFirstZero) {
  EXPECT_EQ(WideFromGbk(std::string_view("签\0x", 4)), L"签");
  EXPECT_EQ(WideFromGbk(static_cast<const char*>(nullptr)), L"");
  EXPECT_EQ(GbkFromWide(std::wstring_view(L"名\0y", 3)), std::optional<std::string>("名"));
}

// ---- paths ----

// A folder whose name GBK spells is named as it is, and so is a file not yet made in it (a save).
TEST(GbkPath, APathGbkSpellsIsItselfWhetherOrNotItExists) {
  ScratchFolder folder(L"云笺签名设计\\背景图片");
  ASSERT_FALSE(folder.Path().empty());
  EXPECT_EQ(GbkPathFromWide(folder.WidePath()), folder.Path());
  EXPECT_EQ(GbkPathFromWide(folder / std::wstring(L"新签名.bmp")), folder / "新签名.bmp");
}

// A folder whose name has a character GBK lacks is reached by its short name: the path answered
// must reach the same folder or file, and a file still to be made keeps its own name inside the
// folder's short one. Where the volume keeps no short names, nothing is answered.
TEST(GbkPath, APathGbkCannotSpellIsReachedByItsShortFormOrNotAtAll) {
  ScratchFolder folder(L"한글 폴더");
  ASSERT_FALSE(GbkOf936(folder.WidePath())) << "GBK spells the folder: no case";
  ASSERT_TRUE(folder.MakeFile(std::wstring(L"签名.bmp"), "chinese"));
  ASSERT_TRUE(folder.MakeFile(std::wstring(L"\uD55C.bmp"), "korean"));
  wchar_t shortForm[MAX_PATH] = L"";
  const bool shortNames = GetShortPathNameW(folder.WidePath().c_str(), shortForm, MAX_PATH) > 0 &&
                          GbkOf936(shortForm).has_value();

  const std::optional<std::string> folderPath = GbkPathFromWide(folder.WidePath());
  if (!shortNames) {
    EXPECT_EQ(folderPath, std::nullopt);
    return;
  }
  ASSERT_TRUE(folderPath);
  EXPECT_EQ(folderPath->find('?'), std::string::npos) << *folderPath;
  EXPECT_TRUE(SameFile(WideOf936(*folderPath), folder.WidePath())) << *folderPath;

  for (const auto& [name, content] : {std::pair{L"签名.bmp", "chinese"}, {L"\uD55C.bmp", "korean"}}) {
    const std::optional<std::string> path = GbkPathFromWide(folder / std::wstring(name));
    ASSERT_TRUE(path) << content;
    EXPECT_EQ(path->find('?'), std::string::npos) << *path;
    EXPECT_EQ(WideFileContents(WideOf936(*path)), std::optional<std::string>(content)) << *path;
  }

  // Files not made yet: the leaf is kept where GBK spells it, inside the folder's short form.
  const std::optional<std::string> newFile = GbkPathFromWide(folder / std::wstring(L"新签名.bmp"));
  ASSERT_TRUE(newFile);
  const std::string leaf = "\\新签名.bmp";
  ASSERT_GT(newFile->size(), leaf.size());
  EXPECT_EQ(newFile->substr(newFile->size() - leaf.size()), leaf) << *newFile;
  EXPECT_TRUE(SameFile(WideOf936(newFile->substr(0, newFile->size() - leaf.size())), folder.WidePath())) << *newFile;
  for (const wchar_t* name : {L"\uD55C\uAE00.bmp", L"a\U0001F600.bmp", L"Zo\u00EB.bmp"}) {
    EXPECT_EQ(GbkPathFromWide(folder / std::wstring(name)), std::nullopt) << "a new file GBK cannot name";
  }
}

// ---- window texts ----

TEST(GbkWindowText, AWindowShowsTheGbkTextAsItsUtf16AndReadsBackAsGbk) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(SetWindowTextGbk(window, "云笺免费签名设计正式版 V2.0"));
  wchar_t shown[64] = L"";
  GetWindowTextW(window, shown, 64);
  EXPECT_STREQ(shown, L"云笺免费签名设计正式版 V2.0");
  EXPECT_EQ(WindowTextGbk(window), "云笺免费签名设计正式版 V2.0");

  // Another program can put there what GBK lacks: read for showing, with "?" in its place.
  SetWindowTextW(window, L"王\uD55C");
  EXPECT_EQ(WindowTextGbk(window), "王?");
  ASSERT_TRUE(SetWindowTextGbk(window, ""));
  EXPECT_EQ(GetWindowTextLengthW(window), 0);
  EXPECT_EQ(WindowTextGbk(window), "");
  DestroyWindow(window);
}

// ---- fonts ----

TEST(GbkFonts, TheFaceIsConvertedAndEveryOtherFieldKept) {
  LOGFONTA gbk{};
  gbk.lfHeight = -14;
  gbk.lfWidth = 3;
  gbk.lfEscapement = 900;
  gbk.lfOrientation = 900;
  gbk.lfWeight = FW_BOLD;
  gbk.lfItalic = 1;
  gbk.lfUnderline = 1;
  gbk.lfStrikeOut = 1;
  gbk.lfCharSet = GB2312_CHARSET;
  gbk.lfOutPrecision = OUT_TT_PRECIS;
  gbk.lfClipPrecision = CLIP_LH_ANGLES;
  gbk.lfQuality = ANTIALIASED_QUALITY;
  gbk.lfPitchAndFamily = FF_ROMAN | VARIABLE_PITCH;
  std::strcpy(gbk.lfFaceName, "宋体");
  const LOGFONTW wide = WideFont(gbk);
  EXPECT_STREQ(wide.lfFaceName, L"宋体");
  const LOGFONTA back = GbkFont(wide);
  EXPECT_EQ(std::memcmp(&back, &gbk, sizeof back), 0) << "everything comes back as it went";
}

// A face of the system's may be longer as GBK than a LOGFONTA holds (31 bytes): it is cut before
// a whole character, never through one.
TEST(GbkFonts, ALongFaceIsCutBeforeAWholeCharacter) {
  const struct {
    const wchar_t* face;
    const char* kept;
  } cases[] = {
      {L"青砚签名体青砚签名体青砚签名体青", "青砚签名体青砚签名体青砚签名体"},  // 32 bytes: 30 kept
      {L"a青砚签名体青砚签名体青砚签名体", "a青砚签名体青砚签名体青砚签名体"},  // 31 bytes: all
      {L"ab青砚签名体青砚签名体青砚签名体", "ab青砚签名体青砚签名体青砚签名"},  // 32 bytes: 30 kept
  };
  for (const auto& c : cases) {
    LOGFONTW wide{};
    wcsncpy(wide.lfFaceName, c.face, LF_FACESIZE - 1);
    const LOGFONTA gbk = GbkFont(wide);
    EXPECT_STREQ(gbk.lfFaceName, c.kept);
  }
}

}  // namespace
