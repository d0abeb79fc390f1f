// The signature sheet tool from the assembled program folder: its pictures read back with libpng.
#include <windows.h>

#include <gtest/gtest.h>
#include <png.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/frame_win/scratch_folder.h"
#include "tests/signature_sheet_win/tool_process_win.h"

namespace {

const std::string kTool = std::string(YJ_PROGRAM_DIR) + "\\signsheet.exe";

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
  const std::uint8_t* At(int x, int y) const { return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
};

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

Picture ReadPng(const std::string& path) {
  const std::string bytes = ReadAll(path);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (bytes.empty() || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
  image.format = PNG_FORMAT_RGBA;
  Picture picture{static_cast<int>(image.width), static_cast<int>(image.height),
                  std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) return {};
  return picture;
}

// The names of the files in `folder`.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// Counts WM_FONTCHANGE reaching a top-level window of this thread.
int g_fontChanges = 0;
LRESULT CALLBACK ListenerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_FONTCHANGE) ++g_fontChanges;
  return DefWindowProcA(window, message, wParam, lParam);
}

int CALLBACK NoteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

class Signsheet : public ::testing::Test {
 protected:
  ToolRun Run(const std::string& arguments) { return RunTool(kTool, arguments, folder_.Path()); }
  std::string In(const std::string& name) const { return folder_ / name; }
  std::vector<std::string> Files() const { return FilesIn(folder_.Path()); }

  ScratchFolder folder_;  // the tool's working folder, removed after each test
};

TEST_F(Signsheet, EachScaleGrowsThePictureWithRealAlphaAndTheExactInkColour) {
  int baseWidth = 0, baseHeight = 0;
  for (const int scale : {1, 2, 4}) {
    const std::string out = "scale" + std::to_string(scale);
    const ToolRun run = Run("--design 0 --color 1A2B3C --scale " + std::to_string(scale) + " --out " + out + " 王小明");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    const Picture picture = ReadPng(In(out + "\\王小明_00_青砚草签.png"));
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

TEST_F(Signsheet, TrimLeavesExactlyTheMarginAsked) {
  const ToolRun run = Run("--design 9 --trim 7 --out . Xiaoming");
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  const Picture picture = ReadPng(In("Xiaoming_09_英文签一.png"));
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
  const ToolRun run = Run("--sheet sheet.png 王小明/Xiaoming \"刘德华/Liu Dehua\"");
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(Files(), std::vector<std::string>({"sheet.png"})) << "only the sheet is written";
  const Picture sheet = ReadPng(In("sheet.png"));
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
  {
    std::ofstream list(In("names.txt"), std::ios::binary);
    list << "王小明\r\n\xFF\xFF\r\n李娜\r\n";
  }
  const ToolRun run = Run("--list names.txt --design 0 --out pictures");
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_NE(run.output.find("第 2 行"), std::string::npos) << run.output;
  EXPECT_GT(ReadPng(In("pictures\\王小明_00_青砚草签.png")).width, 0);
  EXPECT_GT(ReadPng(In("pictures\\李娜_00_青砚草签.png")).width, 0);
  EXPECT_EQ(FilesIn(In("pictures")).size(), 2u);
}

TEST_F(Signsheet, ANameADesignCannotDrawIsReportedNotDrawnAndNothingIsBroadcast) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ListenerProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "SignsheetFontListener";
  RegisterClassA(&windowClass);
  HWND listener = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
  ASSERT_NE(listener, nullptr);
  g_fontChanges = 0;

  const ToolRun run = Run("--design 9 --out pictures 王小明");
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_NE(run.output.find("没有英文名"), std::string::npos) << run.output;
  EXPECT_TRUE(FilesIn(In("pictures")).empty());
  // Design 0's font has no 龘 (it covers GB2312 and a few more): the name is reported, not boxed.
  const ToolRun rare = Run("--design 0 --out rare 王龘");
  EXPECT_EQ(rare.exitCode, 1u) << rare.output;
  EXPECT_NE(rare.output.find("缺少“龘”"), std::string::npos) << rare.output;
  EXPECT_TRUE(FilesIn(In("rare")).empty());
  // 500 points at eight times would need a picture of some 10^8 pixels: refused, not attempted.
  const ToolRun huge = Run("--design 0 --size 500 --scale 8 --out huge 王小明王小明");
  EXPECT_EQ(huge.exitCode, 1u) << huge.output;
  EXPECT_NE(huge.output.find("图片太大"), std::string::npos) << huge.output;
  EXPECT_EQ(g_fontChanges, 0) << "the tool announced its fonts to other programs";
  // The fonts were the tool's alone: this process still cannot select them.
  HDC screen = GetDC(nullptr);
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpyA(wanted.lfFaceName, "青砚签名体");
  bool found = false;
  EnumFontFamiliesExA(screen, &wanted, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  EXPECT_FALSE(found) << "a design font is visible outside the tool";
  DestroyWindow(listener);
}

TEST_F(Signsheet, BadInputFailsClearlyAndLeavesNoFileBehind) {
  {
    std::ofstream(In("not-a-picture.jpg")) << "text";
    std::ofstream(In("a-file")) << "text";
  }
  const struct {
    const char* arguments;
    const char* says;
  } cases[] = {
      {"--scale 9 王小明", "--scale"},
      {"--colour red 王小明", "--colour"},
      {"--background missing.jpg 王小明", "无法读取底图"},
      {"--background not-a-picture.jpg 王小明", "不是可以显示的图片"},
      {"--out a-file\\inside 王小明", "无法建立输出文件夹"},
      {"--sheet no-folder\\sheet.png 王小明", "总览图"},
      {"--list missing.txt", "无法读取名单"},
      {"--fonts empty-folder 王小明", "找不到字体文件"},
  };
  for (const auto& c : cases) {
    const ToolRun run = Run(c.arguments);
    EXPECT_EQ(run.exitCode, 2u) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << c.arguments << "\n" << run.output;
  }
  EXPECT_EQ(Files(), std::vector<std::string>({"a-file", "not-a-picture.jpg"}))
      << "a failed run left a file behind";
}

}  // namespace
