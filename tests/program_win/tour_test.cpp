// The program from its assembled folder, started as a user starts it and worked only through its
// window: messages to its controls, the save dialog answered by typing a path. Every drawing is
// judged on the BMP file the program saves.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "designer/design_table.h"
#include "tests/signature_sheet_win/tool_process_win.h"

namespace {

constexpr const char* kTitle = "云笺免费签名设计正式版 V2.0";
constexpr int kDesigns = 13;

// ---------------------------------------------------------------- saved pictures

struct Bitmap {
  std::vector<std::uint8_t> bytes;
  int width = 0, height = 0, stride = 0, offset = 0;

  struct Pixel {
    int r, g, b;
  };
  Pixel At(int x, int y) const {
    const std::size_t at = offset + static_cast<std::size_t>(height - 1 - y) * stride + x * 3;
    return {bytes[at + 2], bytes[at + 1], bytes[at]};
  }
  bool SameAt(const Bitmap& other, int x, int y) const {
    const Pixel a = At(x, y), b = other.At(x, y);
    return a.r == b.r && a.g == b.g && a.b == b.b;
  }
};

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

Bitmap ReadBitmap(const std::string& path) {
  Bitmap bitmap;
  std::ifstream file(path, std::ios::binary);
  bitmap.bytes.assign(std::istreambuf_iterator<char>(file), {});
  if (bitmap.bytes.size() < 54 || bitmap.bytes[0] != 'B' || bitmap.bytes[1] != 'M') return Bitmap{};
  bitmap.offset = static_cast<int>(Le32(bitmap.bytes, 10));
  bitmap.width = static_cast<int>(Le32(bitmap.bytes, 18));
  bitmap.height = static_cast<int>(Le32(bitmap.bytes, 22));
  bitmap.stride = (bitmap.width * 3 + 3) & ~3;
  if (bitmap.bytes.size() < static_cast<std::size_t>(bitmap.offset) + std::size_t(bitmap.stride) * bitmap.height) {
    return Bitmap{};
  }
  return bitmap;
}

// Pixels inside [x0, x1) x [y0, y1) that `ink` accepts, and the box around them.
struct InkCount {
  int count = 0;
  int top = 1 << 30, bottom = -1;
};
template <typename Accept>
InkCount CountInk(const Bitmap& bitmap, int x0, int y0, int x1, int y1, Accept ink) {
  InkCount found;
  for (int y = std::max(y0, 0); y < std::min(y1, bitmap.height); ++y) {
    for (int x = std::max(x0, 0); x < std::min(x1, bitmap.width); ++x) {
      if (!ink(bitmap.At(x, y))) continue;
      ++found.count;
      found.top = std::min(found.top, y);
      found.bottom = std::max(found.bottom, y);
    }
  }
  return found;
}

std::string DesignName(int design) {
  char name[16];
  wsprintfA(name, "design%02d", design);
  return name;
}

// What the screen shows of `window`, as a 24-bit BMP file: the tour leaves it for a person to see.
void SaveScreenshot(HWND window, const std::string& path) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(stride * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(54 + pixels.size()), 0, 0, 54};
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(&header), sizeof header);
  file.write(reinterpret_cast<const char*>(&info), sizeof info);
  file.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

bool Dark(const Bitmap::Pixel& p) { return p.r < 90 && p.g < 90 && p.b < 90; }

// Pixels that differ between two pictures of the same size.
int Differences(const Bitmap& a, const Bitmap& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int count = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) count += a.SameAt(b, x, y) ? 0 : 1;
  }
  return count;
}

// ---------------------------------------------------------------- the running program

struct Controls {
  HWND main = nullptr;
  HWND chineseName = nullptr, englishName = nullptr, sizeBox = nullptr;
  HWND chinesePreview = nullptr, englishPreview = nullptr, save = nullptr;
  HWND backgrounds = nullptr, colours = nullptr;
  HWND horizontal = nullptr, vertical = nullptr, tabs = nullptr, panel = nullptr, designLabel = nullptr;
};

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// WM_GETTEXT is carried across processes; GetWindowText is not, for another process's controls.
std::string TextOf(HWND window) {
  char text[256] = "";
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

int LeftOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect.left;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

HWND HelpButton(HWND main) {
  std::vector<HWND> children;
  EnumChildWindows(main, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (_stricmp(ClassOf(child).c_str(), "Button") == 0 && TextOf(child) == "详细使用说明") return child;
  }
  return nullptr;
}

Controls FindControls(HWND main) {
  Controls c;
  c.main = main;
  std::vector<HWND> children;
  EnumChildWindows(main, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    const std::string kind = ClassOf(child);
    const std::string text = TextOf(child);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (_stricmp(kind.c_str(), "Edit") == 0) {
      if (GetParent(child) != main && _stricmp(ClassOf(GetParent(child)).c_str(), "ComboBox") == 0) continue;
      if (text == "70") c.sizeBox = child;
      else if (text == "Xiaoming") c.englishName = child;
      else c.chineseName = child;
    } else if (_stricmp(kind.c_str(), "Button") == 0) {
      if (text == "保存此张签名") c.save = child;
      if (text == "设计预览") {
        if (!c.chinesePreview || LeftOf(child) < LeftOf(c.chinesePreview)) {
          c.englishPreview = c.chinesePreview;
          c.chinesePreview = child;
        } else {
          c.englishPreview = child;
        }
      }
    } else if (_stricmp(kind.c_str(), "ComboBox") == 0) {
      (style & CBS_OWNERDRAWFIXED ? c.colours : c.backgrounds) = child;
    } else if (kind == TRACKBAR_CLASSA) {
      (style & TBS_VERT ? c.vertical : c.horizontal) = child;
    } else if (kind == WC_TABCONTROLA) {
      c.tabs = child;
    } else if (kind == "YjDrawPanel") {
      c.panel = child;
    } else if (_stricmp(kind.c_str(), "Static") == 0 && !text.empty() && text[0] == '[') {
      c.designLabel = child;
    }
  }
  return c;
}

struct ClientSize {
  int width, height;
  bool operator==(const ClientSize&) const = default;
};
ClientSize SizeOf(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right, rect.bottom};
}

template <typename Done>
bool WaitFor(Done done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    Sleep(20);
  }
  return true;
}

// Returns once the program's thread has handled everything sent before this.
void Settle(HWND main) {
  DWORD_PTR ignored = 0;
  for (int i = 0; i < 3; ++i) {
    SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Sleep(30);
  }
}

// The visible top-level window of `process` with the program's title.
struct FindMain {
  DWORD process;
  HWND found;
};
BOOL CALLBACK MatchMain(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<FindMain*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char title[128] = "";
  GetWindowTextA(window, title, sizeof title);
  if (process == search->process && IsWindowVisible(window) && std::string(title) == kTitle) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
HWND MainWindowOf(DWORD process) {
  FindMain search{process, nullptr};
  EnumWindows(MatchMain, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct FindDialog {
  DWORD process;
  HWND found;
};
BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<FindDialog*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && IsWindowVisible(window) && ClassOf(window) == "#32770") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
HWND WaitForDialog(DWORD process) {
  FindDialog search{process, nullptr};
  WaitFor([&] {
    search.found = nullptr;
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, 8000);
  return search.found;
}

// The browser requests of this wine prefix, one address a line (tools/wine/record-browser).
const std::string kBrowserLog = std::string(YJ_SOURCE_DIR) + "\\build\\wine\\browser-requests.txt";

std::vector<std::string> BrowserRequests() {
  std::vector<std::string> lines;
  std::ifstream log(kBrowserLog);
  for (std::string line; std::getline(log, line);) lines.push_back(line);
  return lines;
}

bool SetRegistryText(HKEY root, const char* key, const char* name, const std::string& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool set = RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(opened);
  return set;
}

// Web pages open as on a Windows machine with a browser (.html files belong to one), except that
// the browser wine starts is the recorder, so a page asked for leaves a line and opens nothing.
void RecordBrowserRequests() {
  std::string source = YJ_SOURCE_DIR;  // "Z:/..." ; the recorder runs on the host: drop the drive
  if (source.rfind("Z:", 0) == 0) source.erase(0, 2);
  ASSERT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, "Software\\Classes\\.html", nullptr, "htmlfile"));
  ASSERT_TRUE(SetRegistryText(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers",
                              source + "/tools/wine/record-browser"));
  DeleteFileA(kBrowserLog.c_str());
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class ProgramTour : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordBrowserRequests();
    // Each tour keeps what it saw in a folder of its own, named after the test: a later tour does
    // not delete an earlier one's pictures.
    CreateDirectoryA(YJ_TOUR_DIR, nullptr);
    folder_ = std::string(YJ_TOUR_DIR) + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(folder_.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder_ + "\\*.bmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileA((folder_ + "\\" + found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
  }
  // Starts the program of `folder`, in the tour folder as its working directory.
  void Start(const std::string& folder) {
    const std::string program = folder + "\\签名设计.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    ASSERT_TRUE(CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder_.c_str(), &startup, &process_))
        << program;
  }
  void TearDown() override {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
  }

  std::string Out(const std::string& name) const { return folder_ + "\\" + name + ".bmp"; }

  // Waits for the main window with the splash gone (the start-up handler has moved it to top 12).
  HWND WaitForMainWindow() {
    HWND main = nullptr;
    WaitFor([&] {
      main = MainWindowOf(process_.dwProcessId);
      RECT rect{};
      return main && GetWindowRect(main, &rect) && rect.top == 12 && SizeOf(FindControls(main).panel).width > 0;
    }, 20000);
    return main;
  }

  // Presses the save button and types `path` into the dialog, or cancels it.
  bool SaveAs(const Controls& c, const std::string& path, bool cancel = false) {
    PostMessageA(c.save, BM_CLICK, 0, 0);
    HWND dialog = WaitForDialog(process_.dwProcessId);
    if (!dialog) return false;
    if (cancel) {
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
      HWND nameBox = GetDlgItem(dialog, 0x47C);  // cmb13
      if (!nameBox) nameBox = GetDlgItem(dialog, 0x480);  // edt1
      SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
    const bool closed = WaitFor([&] { return !IsWindow(dialog); }, 8000);
    Settle(c.main);
    return closed && (cancel || GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES);
  }

  Bitmap Save(const Controls& c, const std::string& name) {
    EXPECT_TRUE(SaveAs(c, Out(name))) << name;
    return ReadBitmap(Out(name));
  }

  static void Key(HWND control, WPARAM key, int times = 1) {
    for (int i = 0; i < times; ++i) SendMessageA(control, WM_KEYDOWN, key, 0);
  }
  static void SetText(HWND control, const char* text) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  // A list choice as the user confirms it: the selection, then the notice its window receives.
  static void Choose(HWND combo, int index, int notice) {
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), notice),
                 reinterpret_cast<LPARAM>(combo));
  }

  PROCESS_INFORMATION process_{};
  std::string folder_;  // this tour's pictures, and the program's working directory
};

TEST_F(ProgramTour, EveryDesignDrawsAndSavesAndTheProgramEndsCleanly) {
  Start(YJ_PROGRAM_DIR);
  HWND main = WaitForMainWindow();
  ASSERT_NE(main, nullptr) << "the main window never reached top 12 with the splash gone";
  RECT rect{};
  GetWindowRect(main, &rect);
  EXPECT_EQ(rect.top, 12);
  const Controls c = FindControls(main);
  for (HWND control : {c.chineseName, c.englishName, c.sizeBox, c.chinesePreview, c.englishPreview, c.save,
                       c.backgrounds, c.colours, c.horizontal, c.vertical, c.tabs, c.panel, c.designLabel}) {
    ASSERT_NE(control, nullptr) << "a control of the main window was not found";
  }
  Settle(main);

  // The first drawing: design 0, the template's name at 70 points in black at (165, 130), on the
  // first picture in sorted order (500 x 300).
  EXPECT_EQ(SizeOf(c.panel), (ClientSize{500, 300}));
  EXPECT_EQ(SendMessageA(c.backgrounds, CB_GETCOUNT, 0, 0), 7);
  const Bitmap first = Save(c, "design00");
  ASSERT_EQ(first.width, 500);
  ASSERT_EQ(first.height, 300);
  EXPECT_EQ(first.bytes.size(), 54u + 1500u * 300u);
  const InkCount firstInk = CountInk(first, 165, 130, 500, 300, Dark);
  EXPECT_GT(firstInk.count, 200) << "black ink right of and below the write position";
  EXPECT_EQ(CountInk(first, 0, 0, 500, 125, Dark).count, 0) << "nothing drawn above the write position";
  EXPECT_EQ(TextOf(c.designLabel), "[青砚草签]");

  SaveScreenshot(main, Out("window"));

  // The background alone: an empty name draws nothing. Where design 0 left no ink, its picture
  // is exactly the background.
  SetText(c.chineseName, "");
  SendMessageA(c.chinesePreview, BM_CLICK, 0, 0);
  const Bitmap blank = Save(c, "blank");
  EXPECT_EQ(CountInk(blank, 0, 0, 500, 300, Dark).count, 0);
  int outside = 0;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 500; ++x) {
      if ((x < 160 || y < 125) && !first.SameAt(blank, x, y)) ++outside;
    }
  }
  EXPECT_EQ(outside, 0) << "pixels away from the text differ from the background";
  EXPECT_GT(Differences(first, blank), 200);
  // Typing a name alone draws nothing; the Chinese preview draws it.
  SetText(c.chineseName, "王小明");
  EXPECT_EQ(Differences(Save(c, "name-typed"), blank), 0) << "typing in the name box redrew";
  SendMessageA(c.chinesePreview, BM_CLICK, 0, 0);
  EXPECT_EQ(Differences(Save(c, "design00-again"), first), 0) << "the preview draws design 0 as at start-up";

  // Every design, one tab after another.
  std::vector<Bitmap> designs{first};
  for (int tab = 1; tab < kDesigns; ++tab) {
    Key(c.tabs, VK_RIGHT);
    Settle(main);
    ASSERT_EQ(SendMessageA(c.tabs, TCM_GETCURSEL, 0, 0), tab);
    designs.push_back(Save(c, DesignName(tab)));
    EXPECT_GT(CountInk(designs.back(), 100, 100, 500, 300, Dark).count, 100) << "design " << tab << " drew no ink";
  }
  for (int a = 0; a < kDesigns; ++a) {
    for (int b = a + 1; b < kDesigns; ++b) {
      EXPECT_GT(Differences(designs[a], designs[b]), 0) << "designs " << a << " and " << b << " draw alike";
    }
  }
  // The signature sheet tool draws each design as the program does: the same settings over the same
  // background give the same BMP, byte for byte.
  const ToolRun sheetTool = RunTool(std::string(YJ_PROGRAM_DIR) + "\\signsheet.exe",
                                    "--format bmp --background \"" YJ_PROGRAM_DIR "\\背景图片\\01-letter-paper.jpg\" "
                                    "--at 165,130 --size 70 --color 000000 --out signsheet 王小明/Xiaoming",
                                    folder_);
  ASSERT_EQ(sheetTool.exitCode, 0u) << sheetTool.output;
  for (int design = 0; design < kDesigns; ++design) {
    const std::string name = std::string(design < 9 ? "王小明" : "Xiaoming") + "_" + DesignName(design).substr(6) + "_" +
                             kDesignTable[design].caption;
    const Bitmap drawn = ReadBitmap(folder_ + "\\signsheet\\" + name + ".bmp");
    EXPECT_EQ(drawn.width, 500) << name;
    EXPECT_TRUE(drawn.bytes == designs[design].bytes) << "design " << design << ": the tool's " << name
                                                      << ".bmp differs from the program's in "
                                                      << Differences(drawn, designs[design]) << " pixels";
  }

  // An English design leaves the label with the last Chinese design's caption.
  EXPECT_EQ(TextOf(c.designLabel), "[黄草简签]");

  // With an English design current the Chinese preview changes nothing; the English one redraws.
  SetText(c.chineseName, "李四");
  SetText(c.englishName, "Ann Lee");
  SendMessageA(c.chinesePreview, BM_CLICK, 0, 0);
  const Bitmap unchanged = Save(c, "chinese-preview-on-english");
  EXPECT_EQ(Differences(unchanged, designs.back()), 0) << "the Chinese preview drew over an English design";
  SendMessageA(c.englishPreview, BM_CLICK, 0, 0);
  const Bitmap english = Save(c, "english-preview");
  EXPECT_GT(Differences(english, designs.back()), 0) << "the English preview did not draw the new name";

  // Back to a Chinese design; then the English preview changes nothing.
  Key(c.tabs, VK_LEFT, kDesigns - 1);
  Settle(main);
  ASSERT_EQ(SendMessageA(c.tabs, TCM_GETCURSEL, 0, 0), 0);
  const Bitmap lisi = Save(c, "design00-new-name");
  SendMessageA(c.englishPreview, BM_CLICK, 0, 0);
  EXPECT_EQ(Differences(Save(c, "english-preview-on-chinese"), lisi), 0) << "the English preview drew over a Chinese design";

  // Moving the sliders moves the ink: 40 rows down, 30 columns right.
  const InkCount before = CountInk(lisi, 0, 0, 500, 300, Dark);
  Key(c.vertical, VK_DOWN, 40);
  Key(c.horizontal, VK_RIGHT, 30);
  Settle(main);
  EXPECT_EQ(SendMessageA(c.vertical, TBM_GETPOS, 0, 0), 170);
  EXPECT_EQ(SendMessageA(c.horizontal, TBM_GETPOS, 0, 0), 195);
  const Bitmap moved = Save(c, "sliders-moved");
  const InkCount after = CountInk(moved, 0, 0, 500, 300, Dark);
  EXPECT_EQ(after.top - before.top, 40);
  EXPECT_EQ(CountInk(moved, 0, 0, 195, 300, Dark).count, 0) << "ink left of the new write position";

  // A smaller size and another colour: the ink is that colour and less tall.
  SetText(c.sizeBox, "40");
  Settle(main);
  int red = -1;
  for (int i = 0; i < SendMessageA(c.colours, CB_GETCOUNT, 0, 0); ++i) {
    if (SendMessageA(c.colours, CB_GETITEMDATA, i, 0) == 0x0000FF) red = i;
  }
  ASSERT_GE(red, 0) << "the colour list offers red";
  Choose(c.colours, red, CBN_SELENDOK);
  Settle(main);
  const Bitmap redSmall = Save(c, "red-40-points");
  const InkCount redInk = CountInk(redSmall, 195, 170, 500, 300, [](const Bitmap::Pixel& p) {
    return p.r > 180 && p.g < 80 && p.b < 80;
  });
  EXPECT_GT(redInk.count, 50) << "red ink near the write position";
  EXPECT_EQ(CountInk(redSmall, 0, 0, 500, 300, Dark).count, 0) << "black ink left after the colour change";
  EXPECT_LT(redInk.bottom - redInk.top, after.bottom - after.top) << "40 points draw smaller than 70";

  // Cancelling the dialog writes nothing.
  const std::string cancelled = Out("cancelled");
  EXPECT_TRUE(SaveAs(c, cancelled, true));
  EXPECT_EQ(GetFileAttributesA(cancelled.c_str()), INVALID_FILE_ATTRIBUTES);

  // Another background: the smallest picture, 333 x 200, and the design drawn again on it.
  const int card = 5;  // 06-plain-card.bmp in the sorted list
  Choose(c.backgrounds, card, CBN_SELCHANGE);
  ASSERT_TRUE(WaitFor([&] { return SizeOf(c.panel) == ClientSize{333, 200}; }, 5000));
  Settle(main);
  const Bitmap small = Save(c, "smallest-picture");
  EXPECT_EQ(small.width, 333);
  EXPECT_EQ(small.bytes.size(), 54u + 1000u * 200u) << "rows padded to 1000 bytes";
  EXPECT_GT(CountInk(small, 195, 170, 333, 200, [](const Bitmap::Pixel& p) { return p.r > 180 && p.g < 80; }).count, 0);
  EXPECT_EQ(SendMessageA(c.horizontal, TBM_GETRANGEMAX, 0, 0), 333);
  EXPECT_EQ(SendMessageA(c.vertical, TBM_GETRANGEMAX, 0, 0), 200);

  // The help button asks for the program's page; nothing else asked for a page so far.
  PostMessageA(HelpButton(main), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([] { return BrowserRequests().size() == 1; }, 8000));
  ASSERT_EQ(BrowserRequests().size(), 1u);
  EXPECT_TRUE(EndsWith(BrowserRequests()[0], "/program/pages/program.html")) << BrowserRequests()[0];

  // Closing the window ends the program with exit code 0.
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0);
  DWORD exitCode = 1234;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  // Past the reference moment of 2011, closing asks for the home page once.
  EXPECT_TRUE(WaitFor([] { return BrowserRequests().size() == 2; }, 8000));
  const std::vector<std::string> requests = BrowserRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_TRUE(EndsWith(requests[1], "/program/pages/index.html")) << requests[1];
}

// An invisible top-level window of this process on a thread of its own, which every broadcast
// reaches: one that counts the font-change messages it is sent, or one that hangs (its thread never
// takes a message, as a program stuck in a long computation).
class DesktopWindow {
 public:
  explicit DesktopWindow(bool hangs) : hangs_(hangs), stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    WaitForSingleObject(ready_, 5000);
  }
  DesktopWindow(const DesktopWindow&) = delete;
  DesktopWindow& operator=(const DesktopWindow&) = delete;
  ~DesktopWindow() {
    SetEvent(stop_);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
    CloseHandle(stop_);
  }
  int FontChanges() const { return fontChanges_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_FONTCHANGE) {
      ++reinterpret_cast<DesktopWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA))->fontChanges_;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }
  static DWORD WINAPI Run(void* self) {
    auto* desktop = static_cast<DesktopWindow*>(self);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TourDesktopWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("TourDesktopWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(desktop));
    SetEvent(desktop->ready_);
    if (desktop->hangs_) {
      WaitForSingleObject(desktop->stop_, INFINITE);
    } else {
      while (MsgWaitForMultipleObjects(1, &desktop->stop_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
      }
    }
    DestroyWindow(window);
    return 0;
  }

  bool hangs_;
  HANDLE stop_;
  HANDLE ready_ = nullptr;
  HANDLE thread_ = nullptr;
  std::atomic<int> fontChanges_{0};
};

// The program tells every window once that it added fonts, when its font thread is done, and not at
// each drawing: a drawing that sent the message to every window waited on each, and a hung window
// anywhere on the desktop held every slider step for as long as it hung.
TEST_F(ProgramTour, FontsAreAnnouncedOnceAndAHungWindowDoesNotHoldUpTheSliders) {
  DesktopWindow listener(false);
  Start(YJ_PROGRAM_DIR);
  HWND main = WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  const Controls c = FindControls(main);
  ASSERT_NE(c.horizontal, nullptr);
  Settle(main);
  EXPECT_TRUE(WaitFor([&] { return listener.FontChanges() >= 1; }, 10000)) << "the new fonts were never announced";
  const int announced = listener.FontChanges();
  Key(c.horizontal, VK_RIGHT, 20);
  Settle(main);
  EXPECT_EQ(listener.FontChanges(), announced) << "slider steps announced the fonts again";

  {
    DesktopWindow hung(true);
    for (int step = 0; step < 10; ++step) {
      DWORD_PTR ignored = 0;
      ASSERT_TRUE(SendMessageTimeoutA(c.horizontal, WM_KEYDOWN, step % 2 ? VK_LEFT : VK_RIGHT, 0, SMTO_NORMAL, 5000,
                                      &ignored))
          << "slider step " << step << " waited on the hung window";
    }
  }
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0);
}

// A folder holding only the program, its skin library and skin file: no pictures, no fonts. The
// start-up completes with an empty list and a panel of 0 by 0, and saving writes its 1 by 1 picture.
TEST_F(ProgramTour, AFolderWithoutPicturesOrFontsStillStartsSavesAndEnds) {
  const std::string bare = std::string(YJ_TOUR_DIR) + "-bare";
  CreateDirectoryA(bare.c_str(), nullptr);
  for (const char* file : {"\\签名设计.exe", "\\SkinH_EL.dll", "\\pifu.she"}) {
    ASSERT_TRUE(CopyFileA((std::string(YJ_PROGRAM_DIR) + file).c_str(), (bare + file).c_str(), FALSE)) << file;
  }
  Start(bare);
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    main = MainWindowOf(process_.dwProcessId);
    RECT rect{};
    return main && GetWindowRect(main, &rect) && rect.top == 12;
  }, 20000));
  Settle(main);
  const Controls c = FindControls(main);
  ASSERT_NE(c.panel, nullptr);
  EXPECT_EQ(SendMessageA(c.backgrounds, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SizeOf(c.panel), (ClientSize{0, 0}));
  // Centred in the 868 x 561 span of its group box: left 434, top 280.
  RECT panel{};
  GetWindowRect(c.panel, &panel);
  POINT origin{0, 0};
  ClientToScreen(GetParent(c.panel), &origin);
  // The group box 分组框1 starts at (4, 53) in the window's client area.
  EXPECT_EQ(panel.left - origin.x, 4 + 434);
  EXPECT_EQ(panel.top - origin.y, 53 + 280);

  const std::string empty = Out("empty-panel");
  ASSERT_TRUE(SaveAs(c, empty));
  // The panel's backing bitmap is never smaller than 1 by 1: that is what is saved.
  const Bitmap tiny = ReadBitmap(empty);
  EXPECT_EQ(tiny.width, 1);
  EXPECT_EQ(tiny.height, 1);
  EXPECT_EQ(tiny.bytes.size(), 54u + 4u);

  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0);
  DWORD exitCode = 1234;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
