// The signature sheet tool from the assembled program folder: its pictures read back with libpng.
// The tool is started with a UTF-16 command line, its files are found by their UTF-16 names and
// what it says is read as UTF-8: nothing here goes through the system's code page, so the same
// runs must pass under every locale (ctest -L locale).
#include <windows.h>

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/signature_sheet_win/tool_process_win.h"
#include "tests/frame_win/scratch_folder.h"

namespace {

const std::wstring kTool = std::wstring(L"" YJ_PROGRAM_DIR) + L"\\signsheet.exe";

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
  const std::uint8_t* At(int x, int y) const { return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
};

Picture ReadPng(const std::wstring& path) {
  const std::vector<std::uint8_t> bytes = ReadFileWhole(path);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (bytes.empty() || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
  image.format = PNG_FORMAT_RGBA;
  Picture picture{static_cast<int>(image.width), static_cast<int>(image.height),
                  std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) return {};
  return picture;
}

// Every name under `folder`, folders included, as paths below it.
void CollectTree(const std::wstring& folder, const std::wstring& below, std::vector<std::wstring>* names) {
  for (const std::wstring& name : WideEntriesIn(folder)) {
    names->push_back(below + name);
    const DWORD attributes = GetFileAttributesW((folder + L"\\" + name).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      CollectTree(folder + L"\\" + name, below + name + L"\\", names);
    }
  }
}

std::string Shown(const std::vector<std::wstring>& names) {
  std::string shown;
  for (const std::wstring& name : names) shown += Utf8FromUtf16(name) + "\n";
  return shown;
}

// Counts WM_FONTCHANGE reaching a top-level window of this thread.
int g_fontChanges = 0;
LRESULT CALLBACK ListenerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_FONTCHANGE) ++g_fontChanges;
  return DefWindowProcW(window, message, wParam, lParam);
}

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

class Signsheet : public ::testing::Test {
 protected:
  ToolRun Run(const std::wstring& arguments) { return RunTool(kTool, arguments, folder_.WidePath()); }
  std::wstring In(const std::wstring& name) const { return folder_ / name; }
  std::vector<std::wstring> Files() const { return WideFilesIn(folder_.WidePath()); }
  std::vector<std::wstring> Tree() const {
    std::vector<std::wstring> names;
    CollectTree(folder_.WidePath(), L"", &names);
    return names;
  }

  ScratchFolder folder_;  // the tool's working folder, removed after each test
};

TEST_F(Signsheet, EachScaleGrowsThePictureWithRealAlphaAndTheExactInkColour) {
  int baseWidth = 0, baseHeight = 0;
  for (const int scale : {1, 2, 4}) {
    const std::wstring out = L"scale" + std::to_wstring(scale);
    const ToolRun run = Run(L"--design 0 --color 1A2B3C --scale " + std::to_wstring(scale) + L" --out " + out + L" 王小明");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    const Picture picture = ReadPng(In(out + L"\\王小明_00_青砚草签.png"));
    ASSERT_GT(picture.width, 0) << "no PNG for scale " << scale;
    if (scale == 1) {
      baseWidth = picture.width;
      baseHeight = picture.height;
      EXPECT_GT(baseHeight, 70) << "70 points at 96 dpi are 93 pixels";
    } else {
      // Hinting moves each scale's extent by a few pixels; the size is the scale's all the same.
      EXPECT_NEAR(picture.width, baseWidth * scale, 3 * scale) << "scale " << scale;
      EXPECT_NEAR(picture.height, baseHeight * scale, 3 * scale) << "scale " << scale;
    }
    int opaque = 0, partial = 0, wrongColour = 0;
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const std::uint8_t* pixel = picture.At(x, y);
        if (pixel[3] == 255) ++opaque;
        if (pixel[3] > 0 && pixel[3] < 255) ++partial;
        if (pixel[3] > 0 && (pixel[0] != 0x1A || pixel[1] != 0x2B || pixel[2] != 0x3C)) ++wrongColour;
      }
    }
    EXPECT_EQ(picture.At(0, 0)[3], 0) << "a corner, far from the ink, is transparent";
    EXPECT_EQ(picture.At(picture.width - 1, picture.height - 1)[3], 0);
    EXPECT_GT(opaque, 200 * scale * scale) << "strokes are fully covered inside";
    EXPECT_GT(partial, 50 * scale) << "edges are anti-aliased";
    EXPECT_EQ(wrongColour, 0) << "every inked pixel has the ink's colour: no fringe of another";
  }
}

TEST_F(Signsheet, EveryDesignWritesItsFileUnderTheNameItDraws) {
  const ToolRun run = Run(L"王小明/Xiaoming");
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  const std::vector<std::wstring> expected = {
      L"Xiaoming_09_英文签一.png", L"Xiaoming_10_英文签二.png", L"Xiaoming_11_英文签三.png",
      L"Xiaoming_12_英文签四.png", L"王小明_00_青砚草签.png",   L"王小明_01_方正篆签.png",
      L"王小明_02_博洋行签.png",   L"王小明_03_博洋草签.png",   L"王小明_04_明星签.png",
      L"王小明_05_领袖签.png",     L"王小明_06_隶书签.png",     L"王小明_07_创艺细签.png",
      L"王小明_08_黄草简签.png",
  };
  std::vector<std::wstring> sorted = expected;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(Files(), sorted) << "written:\n" << Shown(Files());
  for (const std::wstring& name : expected) EXPECT_GT(ReadPng(In(name)).width, 0) << Utf8FromUtf16(name);
}

TEST_F(Signsheet, TrimLeavesExactlyTheMarginAsked) {
  const ToolRun run = Run(L"--design 9 --trim 7 --out . Xiaoming");
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  const Picture picture = ReadPng(In(L"Xiaoming_09_英文签一.png"));
  ASSERT_GT(picture.width, 14);
  int left = picture.width, top = picture.height, right = -1, bottom = -1;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.At(x, y)[3] == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  EXPECT_EQ(left, 7);
  EXPECT_EQ(top, 7);
  EXPECT_EQ(picture.width - 1 - right, 7);
  EXPECT_EQ(picture.height - 1 - bottom, 7);
}

TEST_F(Signsheet, TheSheetHasARowPerDesignForEachName) {
  const ToolRun run = Run(L"--sheet sheet.png 王小明/Xiaoming \"刘德华/Liu Dehua\"");
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(Files(), std::vector<std::wstring>({L"sheet.png"})) << "only the sheet is written";
  const Picture sheet = ReadPng(In(L"sheet.png"));
  ASSERT_GT(sheet.height, 0);
  // Down the caption column each heading and caption is one run of dark pixels: a heading and 13
  // captions per name.
  int runs = 0;
  bool inText = false;
  for (int y = 0; y < sheet.height; ++y) {
    bool dark = false;
    for (int x = 16; x < 40 && !dark; ++x) dark = sheet.At(x, y)[1] < 128;
    runs += dark && !inText;
    inText = dark;
  }
  EXPECT_EQ(runs, 2 * 14);
  for (int y = 0; y < sheet.height; y += 7) ASSERT_EQ(sheet.At(sheet.width - 1, y)[3], 255) << "the sheet is opaque";
}

TEST_F(Signsheet, AListWithABadLineReportsItsNumberAndDrawsTheRest) {
  // GBK bytes: 王小明, a line that is no GBK, 李娜.
  ASSERT_TRUE(folder_.MakeFile(L"names.txt", "\xCD\xF5\xD0\xA1\xC3\xF7\r\n\xFF\xFF\r\n\xC0\xEE\xC4\xC8\r\n"));
  const ToolRun run = Run(L"--list names.txt --design 0 --out pictures");
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_TRUE(run.Says(L"names.txt 第 2 行")) << run.output;
  EXPECT_EQ(WideFilesIn(In(L"pictures")), std::vector<std::wstring>({L"李娜_00_青砚草签.png", L"王小明_00_青砚草签.png"}));
}

TEST_F(Signsheet, WhatTheToolSaysIntoAFileOrPipeIsUtf8) {
  const ToolRun help = Run(L"--help");
  EXPECT_EQ(help.exitCode, 0u) << help.output;
  EXPECT_TRUE(help.utf8) << "not UTF-8: " << help.output;
  EXPECT_TRUE(help.Says(L"用法：signsheet 名字 [名字…] [选项]\r\n")) << help.output;
  // A long list's progress, one line a tenth of the way, no "\r" for a console.
  std::string list;
  for (int i = 0; i < 12; ++i) list += "\xC0\xEE\xC4\xC8\r\n";  // 李娜, GBK
  ASSERT_TRUE(folder_.MakeFile(L"twelve.txt", list));
  const ToolRun progress = Run(L"--list twelve.txt --design 9 --out pictures");
  EXPECT_EQ(progress.exitCode, 1u) << progress.output;
  EXPECT_TRUE(progress.utf8) << progress.output;
  EXPECT_TRUE(progress.Says(L"李娜：没有英文名，英文设计不画\r\n")) << progress.output;
  EXPECT_TRUE(progress.Says(L"\r\n进度：12/12\r\n")) << progress.output;
  EXPECT_FALSE(progress.Says(L"\r进")) << "a progress line for a console went into a file: " << progress.output;
}

TEST_F(Signsheet, AConsoleShowsTheChineseWhateverItsCodePage) {
  std::string list;
  for (int i = 0; i < 12; ++i) list += "\xC0\xEE\xC4\xC8\r\n";  // 李娜, GBK
  ASSERT_TRUE(folder_.MakeFile(L"twelve.txt", list));
  // 437 cannot write a Chinese character in its bytes at all, 936 is the tool's own.
  for (const UINT codePage : {437u, 1252u, 936u}) {
    const ConsoleRun run = RunToolInConsole(kTool, L"--list twelve.txt --design 9 --out pictures", folder_.WidePath(), codePage);
    ASSERT_TRUE(run.console) << "no console for code page " << codePage;
    EXPECT_EQ(run.exitCode, 1u) << codePage;
    std::string shown;
    for (const std::wstring& row : run.rows) shown += Utf8FromUtf16(row) + "\n";
    int reports = 0, progressRows = 0;
    for (const std::wstring& row : run.rows) {
      reports += row == L"李娜：没有英文名，英文设计不画";
      if (row.find(L"进度") != std::wstring::npos) {
        ++progressRows;
        EXPECT_EQ(row, L"进度：12/12") << "the progress line is rewritten in its place, code page " << codePage;
      }
    }
    EXPECT_EQ(reports, 12) << "code page " << codePage << ", the console shows:\n" << shown;
    EXPECT_EQ(progressRows, 1) << "code page " << codePage << ", the console shows:\n" << shown;
  }
}

TEST_F(Signsheet, ANameGbkCannotHoldIsReportedAndNeverDrawnWithQuestionMarks) {
  // 한 (U+D55C) and 😀 (U+1F600, a surrogate pair) have no GBK code; 王小明 has.
  const ToolRun run = Run(L"--design 0 --out pictures 한/Han 王小明 李😀");
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_TRUE(run.Says(L"第 5 个参数含有 GBK 没有编码的字符 U+D55C")) << run.output;
  EXPECT_TRUE(run.Says(L"第 7 个参数含有 GBK 没有编码的字符 U+1F600")) << run.output;
  EXPECT_EQ(WideFilesIn(In(L"pictures")), std::vector<std::wstring>({L"王小明_00_青砚草签.png"}));
  for (const std::wstring& name : Tree()) {
    EXPECT_EQ(name.find(L'?'), std::wstring::npos) << Utf8FromUtf16(name);
    EXPECT_EQ(name.find(L"Han"), std::wstring::npos) << "the name's other form was drawn: " << Utf8FromUtf16(name);
  }
}

TEST_F(Signsheet, APathGbkCannotSpellIsReachedByItsShortNameOrRefused) {
  // Korean, which GBK has no code for (kept out of the assertions: they spell their arguments in GBK).
  const std::wstring korean = L"한글";
  ASSERT_TRUE(folder_.MakeFolder(korean));
  ASSERT_TRUE(folder_.MakeFile(korean + L"\\名单.txt", "\xC0\xEE\xC4\xC8\r\n"));  // 李娜, GBK
  // Where the volume keeps short names, 한글 has one GBK can spell; where not, it cannot be named.
  wchar_t shortName[MAX_PATH] = {};
  const DWORD length = GetShortPathNameW(In(korean).c_str(), shortName, MAX_PATH);
  const std::wstring shortPath(shortName, length);
  const bool reachable = length > 0 && length < MAX_PATH &&
                         std::all_of(shortPath.begin(), shortPath.end(), [](wchar_t c) { return c < 0x80; });
  const struct {
    const wchar_t* arguments;
    const wchar_t* drawn;  // the picture it must make, where the path can be reached
    const wchar_t* says;   // what it must say where not
  } cases[] = {
      {L"--design 0 --out 한글 王小明", L"한글\\王小明_00_青砚草签.png",
       L"第 4 个参数（--out 的路径）含有 GBK 没有编码的字符 U+D55C、U+AE00"},
      {L"--design 0 --out=한글 刘德华", L"한글\\刘德华_00_青砚草签.png", L"第 3 个参数（--out 的路径）"},
      {L"--list 한글\\名单.txt --design 0 --out list", L"list\\李娜_00_青砚草签.png", L"第 2 个参数（--list 的路径）"},
      {L"--list=한글\\名单.txt --design 0 --sheet sheet.png", L"sheet.png", L"第 1 个参数（--list 的路径）"},
  };
  for (const auto& c : cases) {
    const ToolRun run = Run(c.arguments);
    if (!reachable) {
      EXPECT_EQ(run.exitCode, 2u) << Utf8FromUtf16(c.arguments) << "\n" << run.output;
      EXPECT_TRUE(run.Says(c.says)) << Utf8FromUtf16(c.arguments) << "\n" << run.output;
      continue;
    }
    EXPECT_EQ(run.exitCode, 0u) << Utf8FromUtf16(c.arguments) << "\n" << run.output;
    EXPECT_GT(ReadPng(In(c.drawn)).width, 0) << Utf8FromUtf16(c.arguments) << "\n" << Shown(Tree());
  }
  if (reachable) {
    EXPECT_EQ(WideFilesIn(In(korean)),
              std::vector<std::wstring>({L"刘德华_00_青砚草签.png", L"名单.txt", L"王小明_00_青砚草签.png"}));
    EXPECT_EQ(WideFilesIn(In(L"list")), std::vector<std::wstring>({L"李娜_00_青砚草签.png"}));
  }
  // A file or folder to be made, under a name GBK cannot spell, has no short name yet: refused,
  // and nothing is made under a name with "?" in it.
  const std::vector<std::wstring> before = Tree();
  const struct {
    const wchar_t* arguments;
    const wchar_t* says;
  } refused[] = {
      {L"--design 0 --out 새폴더 王小明", L"第 4 个参数（--out 的路径）含有 GBK 没有编码的字符 U+C0C8、U+D3F4、U+B354"},
      {L"--sheet 총람.png 王小明", L"第 2 个参数（--sheet 的路径）含有 GBK 没有编码的字符 U+CD1D、U+B78C"},
      {L"--color 🎨 王小明", L"第 2 个参数（--color 的取值）含有 GBK 没有编码的字符 U+1F3A8"},
  };
  for (const auto& c : refused) {
    const ToolRun run = Run(c.arguments);
    EXPECT_EQ(run.exitCode, 2u) << Utf8FromUtf16(c.arguments) << "\n" << run.output;
    EXPECT_TRUE(run.Says(c.says)) << Utf8FromUtf16(c.arguments) << "\n" << run.output;
  }
  EXPECT_EQ(Tree(), before) << "a refused run made something:\n" << Shown(Tree());
}

TEST_F(Signsheet, ANameADesignCannotDrawIsReportedNotDrawnAndNothingIsBroadcast) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ListenerProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"SignsheetFontListener";
  RegisterClassW(&windowClass);
  HWND listener = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
  ASSERT_NE(listener, nullptr);
  g_fontChanges = 0;

  const ToolRun run = Run(L"--design 9 --out pictures 王小明");
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_TRUE(run.Says(L"王小明：没有英文名，英文设计不画")) << run.output;
  EXPECT_TRUE(WideFilesIn(In(L"pictures")).empty());
  // Design 0's font has no 龘 (it covers GB2312 and a few more): the name is reported, not boxed.
  const ToolRun rare = Run(L"--design 0 --out rare 王龘");
  EXPECT_EQ(rare.exitCode, 1u) << rare.output;
  EXPECT_TRUE(rare.Says(L"缺少“龘”")) << rare.output;
  EXPECT_TRUE(WideFilesIn(In(L"rare")).empty());
  // 500 points at eight times would need a picture of some 10^8 pixels: refused, not attempted.
  const ToolRun huge = Run(L"--design 0 --size 500 --scale 8 --out huge 王小明王小明");
  EXPECT_EQ(huge.exitCode, 1u) << huge.output;
  EXPECT_TRUE(huge.Says(L"图片太大")) << huge.output;
  EXPECT_EQ(g_fontChanges, 0) << "the tool announced its fonts to other programs";
  // The fonts were the tool's alone: this process still cannot select them.
  HDC screen = GetDC(nullptr);
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(wanted.lfFaceName, L"青砚签名体");
  bool found = false;
  EnumFontFamiliesExW(screen, &wanted, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  EXPECT_FALSE(found) << "a design font is visible outside the tool";
  DestroyWindow(listener);
}

TEST_F(Signsheet, BadInputFailsClearlyAndLeavesNoFileBehind) {
  ASSERT_TRUE(folder_.MakeFile(L"not-a-picture.jpg", "text"));
  ASSERT_TRUE(folder_.MakeFile(L"a-file", "text"));
  const struct {
    const wchar_t* arguments;
    const wchar_t* says;
  } cases[] = {
      {L"--scale 9 王小明", L"--scale"},
      {L"--colour red 王小明", L"--colour"},
      {L"--background missing.jpg 王小明", L"无法读取底图"},
      {L"--background not-a-picture.jpg 王小明", L"不是可以显示的图片"},
      {L"--out a-file\\inside 王小明", L"无法建立输出文件夹"},
      {L"--sheet no-folder\\sheet.png 王小明", L"总览图"},
      {L"--list missing.txt", L"无法读取名单"},
      {L"--fonts empty-folder 王小明", L"找不到字体文件"},
  };
  for (const auto& c : cases) {
    const ToolRun run = Run(c.arguments);
    EXPECT_EQ(run.exitCode, 2u) << Utf8FromUtf16(c.arguments) << "\n" << run.output;
    EXPECT_TRUE(run.Says(c.says)) << Utf8FromUtf16(c.arguments) << "\n" << run.output;
  }
  EXPECT_EQ(Files(), std::vector<std::wstring>({L"a-file", L"not-a-picture.jpg"})) << "a failed run left a file behind";
}

}  // namespace
