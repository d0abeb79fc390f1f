// The program from its assembled folder, started as a user starts it and worked only through its
// window: messages to its controls, the save dialog answered by typing a path. Every drawing is
// judged on the BMP file the program saves.
//
// Everything this test says to Windows is UTF-16 (the W functions, L"" texts), so that it reads
// and types the same under any ANSI code page: the same tour runs under zh_CN, en_US, zh_TW and
// ja_JP (the `locale` label), and what the program shows and saves must be the same under each.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "designer/design_table.h"
#include "tests/signature_sheet_win/tool_process_win.h"

namespace {

constexpr const wchar_t* kTitle = L"云笺免费签名设计正式版 V2.0";
constexpr int kDesigns = 13;
const std::wstring kProgramDir = L"" YJ_PROGRAM_DIR;
// The Chinese session's tours; a session under another code page keeps its own beside them.
const std::wstring kChineseTourDir = L"" YJ_TOUR_DIR;

// The design table's captions are GBK, as the program keeps its texts: widened with code page 936
// by name, never the system's own.
std::wstring FromGbk(const char* gbk) {
  const int size = static_cast<int>(std::strlen(gbk));
  const int length = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk, size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
  if (length > 0) MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk, size, wide.data(), length);
  return wide;
}

// ---------------------------------------------------------------- the session's code page

// A session under another ANSI code page than 936 keeps its pictures in a folder named after that
// code page, and holds every one of them against the one of the same name that the zh_CN session
// left (make test runs that session first).
bool ChineseCodePage() { return GetACP() == 936; }

std::wstring TourRoot() {
  return ChineseCodePage() ? kChineseTourDir : kChineseTourDir + L"-" + std::to_wstring(GetACP());
}

// ---------------------------------------------------------------- files

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteFileWhole(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return wrote && written == bytes.size();
}

// The names of the BMP files in `folder`, sorted, as the file system spells them.
std::vector<std::wstring> BitmapsIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*.bmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

bool MakeFolder(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

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

Bitmap ReadBitmap(const std::wstring& path) {
  Bitmap bitmap;
  bitmap.bytes = ReadFileWhole(path);
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

std::wstring DesignName(int design) {
  wchar_t name[16];
  wsprintfW(name, L"design%02d", design);
  return name;
}

// What the screen shows of `window`, as a 24-bit BMP file: the tour leaves it for a person to see.
bool SaveScreenshot(HWND window, const std::wstring& path) {
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
  const BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(54 + stride * height), 0, 0, 54};
  std::vector<std::uint8_t> file(54 + static_cast<std::size_t>(stride) * height);
  std::memcpy(file.data(), &header, sizeof header);
  std::memcpy(file.data() + sizeof header, &info, sizeof info);
  GetDIBits(memory, bitmap, 0, height, file.data() + 54, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return WriteFileWhole(path, file);
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

// The pixels that differ between two pictures of the same size outside the areas `leftOut`, and the box
// around them, so that a failure says where the pictures part.
struct DifferingPixels {
  int count = 0;
  RECT box{1 << 30, 1 << 30, -1, -1};
};
DifferingPixels DifferencesOutside(const Bitmap& a, const Bitmap& b, const std::vector<RECT>& leftOut) {
  DifferingPixels found;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (a.SameAt(b, x, y)) continue;
      const POINT point{x, y};
      if (std::any_of(leftOut.begin(), leftOut.end(), [&](const RECT& area) { return PtInRect(&area, point); })) {
        continue;
      }
      ++found.count;
      found.box = {std::min<LONG>(found.box.left, x), std::min<LONG>(found.box.top, y),
                   std::max<LONG>(found.box.right, x + 1), std::max<LONG>(found.box.bottom, y + 1)};
    }
  }
  return found;
}

// ---------------------------------------------------------------- another process's controls

// A block of memory inside the program's process. A common control's message that carries a
// pointer (a tab's item, a tool's info) is not carried across processes as WM_GETTEXT is: the
// structure and its text buffer are put where the control can write them, and read back.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, std::size_t size)
      : process_(process),
        base_(static_cast<std::uint8_t*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                                        PAGE_READWRITE))) {}
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  ~RemoteBlock() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
  }
  explicit operator bool() const { return base_ != nullptr; }
  // An address in the program's process, for the control; never dereferenced here.
  template <typename T>
  T* At(std::size_t offset) const {
    return reinterpret_cast<T*>(base_ + offset);
  }
  LPARAM Param() const { return reinterpret_cast<LPARAM>(base_); }
  template <typename T>
  bool Put(const T& value) const {
    SIZE_T written = 0;
    return WriteProcessMemory(process_, base_, &value, sizeof value, &written) && written == sizeof value;
  }
  template <typename T>
  bool Get(T* value) const {
    SIZE_T read = 0;
    return ReadProcessMemory(process_, base_, value, sizeof *value, &read) && read == sizeof *value;
  }

 private:
  HANDLE process_;
  std::uint8_t* base_;
};

// The captions of a tab control of `process`, as the control holds them.
std::vector<std::wstring> TabCaptions(HWND tabs, HANDLE process) {
  struct Slot {
    TCITEMW item;
    wchar_t text[64];
  };
  std::vector<std::wstring> captions;
  RemoteBlock block(process, sizeof(Slot));
  if (!block) return captions;
  const auto count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    Slot slot{};
    slot.item.mask = TCIF_TEXT;
    slot.item.pszText = block.At<wchar_t>(offsetof(Slot, text));
    slot.item.cchTextMax = static_cast<int>(std::size(slot.text));
    if (!block.Put(slot) || !SendMessageW(tabs, TCM_GETITEMW, i, block.Param()) || !block.Get(&slot)) {
      captions.push_back(L"<unreadable>");
      continue;
    }
    slot.text[std::size(slot.text) - 1] = L'\0';
    captions.emplace_back(slot.text);
  }
  return captions;
}

// The balloon tool tip a window of `process` owns: its one tool's window and text.
struct Balloon {
  HWND tip = nullptr;
  HWND toolWindow = nullptr;
  std::wstring text;
};
struct FindTip {
  DWORD process;
  HWND owner;
  HWND found;
};
BOOL CALLBACK MatchTip(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<FindTip*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t kind[64] = L"";
  GetClassNameW(window, kind, static_cast<int>(std::size(kind)));
  if (process == search->process && GetWindow(window, GW_OWNER) == search->owner &&
      _wcsicmp(kind, TOOLTIPS_CLASSW) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
Balloon BalloonOf(HWND owner, const PROCESS_INFORMATION& process) {
  Balloon balloon;
  FindTip search{process.dwProcessId, owner, nullptr};
  EnumWindows(MatchTip, reinterpret_cast<LPARAM>(&search));
  balloon.tip = search.found;
  if (!balloon.tip || SendMessageW(balloon.tip, TTM_GETTOOLCOUNT, 0, 0) != 1) return balloon;
  struct Slot {
    TTTOOLINFOW tool;
    wchar_t text[256];
  };
  RemoteBlock block(process.hProcess, sizeof(Slot));
  Slot slot{};
  slot.tool.cbSize = sizeof slot.tool;
  // The tool's window and number first; with them, its text.
  if (!block || !block.Put(slot) || !SendMessageW(balloon.tip, TTM_ENUMTOOLSW, 0, block.Param()) ||
      !block.Get(&slot)) {
    return balloon;
  }
  balloon.toolWindow = slot.tool.hwnd;
  slot.tool.lpszText = block.At<wchar_t>(offsetof(Slot, text));
  if (!block.Put(slot)) return balloon;
  SendMessageW(balloon.tip, TTM_GETTEXTW, std::size(slot.text), block.Param());
  if (!block.Get(&slot)) return balloon;
  slot.text[std::size(slot.text) - 1] = L'\0';
  balloon.text = slot.text;
  return balloon;
}

// The items of a combo box with strings; CB_GETLBTEXT is carried across processes.
std::vector<std::wstring> ListItems(HWND combo) {
  std::vector<std::wstring> items;
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = static_cast<int>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0));
    if (length < 0) {
      items.push_back(L"<unreadable>");
      continue;
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = static_cast<int>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
    items.push_back(text);
  }
  return items;
}

// ---------------------------------------------------------------- the running program

struct Controls {
  HWND main = nullptr;
  HWND chineseName = nullptr, englishName = nullptr, sizeBox = nullptr;
  HWND chinesePreview = nullptr, englishPreview = nullptr, save = nullptr;
  HWND backgrounds = nullptr, colours = nullptr;
  HWND horizontal = nullptr, vertical = nullptr, tabs = nullptr, panel = nullptr, designLabel = nullptr;
};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return name;
}
bool IsClass(HWND window, const wchar_t* kind) { return _wcsicmp(ClassOf(window).c_str(), kind) == 0; }

// WM_GETTEXT is carried across processes; GetWindowText is not, for another process's controls.
std::wstring TextOf(HWND window) {
  wchar_t text[256] = L"";
  SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
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

std::vector<HWND> ChildrenOf(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND HelpButton(HWND main) {
  for (HWND child : ChildrenOf(main)) {
    if (IsClass(child, L"Button") && TextOf(child) == L"详细使用说明") return child;
  }
  return nullptr;
}

Controls FindControls(HWND main) {
  Controls c;
  c.main = main;
  for (HWND child : ChildrenOf(main)) {
    const std::wstring text = TextOf(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (IsClass(child, L"Edit")) {
      if (GetParent(child) != main && IsClass(GetParent(child), L"ComboBox")) continue;
      if (text == L"70") c.sizeBox = child;
      else if (text == L"Xiaoming") c.englishName = child;
      else c.chineseName = child;
    } else if (IsClass(child, L"Button")) {
      if (text == L"保存此张签名") c.save = child;
      if (text == L"设计预览") {
        if (!c.chinesePreview || LeftOf(child) < LeftOf(c.chinesePreview)) {
          c.englishPreview = c.chinesePreview;
          c.chinesePreview = child;
        } else {
          c.englishPreview = child;
        }
      }
    } else if (IsClass(child, L"ComboBox")) {
      (style & CBS_OWNERDRAWFIXED ? c.colours : c.backgrounds) = child;
    } else if (IsClass(child, TRACKBAR_CLASSW)) {
      (style & TBS_VERT ? c.vertical : c.horizontal) = child;
    } else if (IsClass(child, WC_TABCONTROLW)) {
      c.tabs = child;
    } else if (ClassOf(child) == L"YjDrawPanel") {
      c.panel = child;
    } else if (IsClass(child, L"Static") && !text.empty() && text[0] == L'[') {
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
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
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
  wchar_t title[128] = L"";
  GetWindowTextW(window, title, static_cast<int>(std::size(title)));
  if (process == search->process && IsWindowVisible(window) && std::wstring(title) == kTitle) {
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

// The titles of the visible top-level windows of `process`, for a failure to say what came up.
struct ListTitles {
  DWORD process;
  std::wstring titles;
};
BOOL CALLBACK AddTitle(HWND window, LPARAM param) {
  auto* list = reinterpret_cast<ListTitles*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t title[128] = L"";
  if (process == list->process && IsWindowVisible(window) &&
      GetWindowTextW(window, title, static_cast<int>(std::size(title))) > 0) {
    list->titles += L" \"" + std::wstring(title) + L"\"";
  }
  return TRUE;
}
std::wstring TitlesOf(DWORD process) {
  ListTitles list{process, {}};
  EnumWindows(AddTitle, reinterpret_cast<LPARAM>(&list));
  return list.titles.empty() ? L" none" : list.titles;
}

struct FindDialog {
  DWORD process;
  HWND found;
};
BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<FindDialog*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && IsWindowVisible(window) && ClassOf(window) == L"#32770") {
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
const std::wstring kBrowserLog = L"" YJ_SOURCE_DIR L"\\build\\wine\\browser-requests.txt";

std::vector<std::string> BrowserRequests() {
  std::vector<std::string> lines;
  const std::vector<std::uint8_t> log = ReadFileWhole(kBrowserLog);
  std::string line;
  for (const std::uint8_t byte : log) {
    if (byte == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(static_cast<char>(byte));
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

bool SetRegistryText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool set = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  RegCloseKey(opened);
  return set;
}

// Web pages open as on a Windows machine with a browser (.html files belong to one), except that
// the browser wine starts is the recorder, so a page asked for leaves a line and opens nothing.
void RecordBrowserRequests() {
  std::wstring source = L"" YJ_SOURCE_DIR;  // "Z:/..." ; the recorder runs on the host: drop the drive
  if (source.rfind(L"Z:", 0) == 0) source.erase(0, 2);
  ASSERT_TRUE(SetRegistryText(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.html", nullptr, L"htmlfile"));
  ASSERT_TRUE(SetRegistryText(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", L"Browsers",
                              source + L"/tools/wine/record-browser"));
  DeleteFileW(kBrowserLog.c_str());
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// What a person reads in the main window: the kind of control that shows it, how many controls
// show it, and whether the layout leaves them in the system's default GUI font (no font of their
// own) rather than giving them 宋体.
struct ShownText {
  const wchar_t* kind;
  const wchar_t* text;
  int controls;
  bool systemFont;
};
constexpr ShownText kShownTexts[] = {
    {L"Button", L"问题及bug反馈", 1, true}, {L"Button", L"详细使用说明", 1, true},
    {L"Button", L"设计预览", 2, true},      {L"Button", L"保存此张签名", 1, true},
    {L"Button", L"参数配置", 1, true},      {L"Button", L"签名预览", 1, true},
    {L"Static", L"中文名：", 1, true},      {L"Static", L"英文名：", 1, true},
    {L"Static", L"设计底图：", 1, true},    {L"Static", L"字体颜色：", 1, true},
    {L"Static", L"字体大小：", 1, false},   {L"Static", L"[青砚草签]", 1, false},
    {L"Edit", L"王小明", 1, false},         {L"Edit", L"Xiaoming", 1, false},
    {L"Edit", L"70", 1, false},
};
constexpr const wchar_t* kTabCaptions[kDesigns] = {L"青砚草签", L"方正篆签", L"博洋行签", L"博洋草签", L"明星签",
                                                   L"领袖签",   L"隶书签",   L"创艺细签", L"黄草简签", L"英文签一",
                                                   L"英文签二", L"英文签三", L"英文签四"};
// The pictures of the program folder's 背景图片, in the list's sorted order.
constexpr const wchar_t* kBackgroundNames[] = {L"01-letter-paper.jpg", L"02-soft-dawn.jpg", L"03-ink-wash.gif",
                                               L"04-festive-red.bmp",  L"05-blue-mist.jpg",  L"06-plain-card.bmp",
                                               L"07-green-tea.gif"};

// Where the window picture shows text in the system's default GUI font, in the picture's
// coordinates: the captions above and the two lists, which the layout gives no font either. That
// font follows the system's locale, on Windows as under wine (宋体 under code page 936, Tahoma with
// the Chinese glyphs linked in from another face under 1252), so these draw with other glyphs under
// another code page, legitimately; their texts are checked as texts. A group box's caption is its
// top line alone: the frame below it holds the tabs and the drawing.
std::vector<RECT> SystemFontAreas(const Controls& c, const RECT& window) {
  TEXTMETRICW metrics{};
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  std::vector<RECT> areas;
  for (HWND child : ChildrenOf(c.main)) {
    const bool listed = child == c.backgrounds || child == c.colours;
    const bool captioned = std::any_of(std::begin(kShownTexts), std::end(kShownTexts), [&](const ShownText& shown) {
      return shown.systemFont && IsClass(child, shown.kind) && TextOf(child) == shown.text;
    });
    if (!listed && !captioned) continue;
    RECT area{};
    GetWindowRect(child, &area);
    OffsetRect(&area, -window.left, -window.top);
    if (IsClass(child, L"Button") && (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
      area.bottom = area.top + metrics.tmHeight;
    }
    areas.push_back(area);
  }
  return areas;
}

// SystemFontAreas kept beside the window picture, one area a line as "left top right bottom".
constexpr const wchar_t* kSystemFontAreas = L"window-system-font.txt";

bool WriteAreas(const std::wstring& path, const std::vector<RECT>& areas) {
  std::string text;
  for (const RECT& area : areas) {
    text += std::to_string(area.left) + " " + std::to_string(area.top) + " " + std::to_string(area.right) + " " +
            std::to_string(area.bottom) + "\n";
  }
  return WriteFileWhole(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<RECT> ReadAreas(const std::wstring& path) {
  const std::vector<std::uint8_t> bytes = ReadFileWhole(path);
  std::istringstream text(std::string(bytes.begin(), bytes.end()));
  std::vector<RECT> areas;
  for (RECT area{}; text >> area.left >> area.top >> area.right >> area.bottom;) areas.push_back(area);
  return areas;
}

// A folder and a file named in Chinese, which every code page's session must save to as typed.
constexpr const wchar_t* kChineseFolder = L"签名输出";
constexpr const wchar_t* kChineseFile = L"王小明签名.bmp";

class ProgramTour : public ::testing::Test {
 protected:
  void SetUp() override {
    // wine falls back to code page 1252 for a locale it cannot load: a session started for zh_TW
    // that ran as an English one would be taken for a pass of the wrong kind.
    if (const char* expected = std::getenv("YJ_EXPECTED_ACP")) {
      ASSERT_EQ(std::to_string(GetACP()), expected) << "this session runs under another code page than it was started for";
    }
    RecordBrowserRequests();
    // Each tour keeps what it saw in a folder of its own, named after the test: a later tour does
    // not delete an earlier one's pictures, nor a session under another code page the Chinese one's.
    const char* test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    testName_.assign(test, test + std::strlen(test));
    ASSERT_TRUE(MakeFolder(TourRoot())) << TourRoot();
    folder_ = TourRoot() + L"\\" + testName_;
    ASSERT_TRUE(MakeFolder(folder_)) << folder_;
    for (const std::wstring& folder : {folder_, folder_ + L"\\" + kChineseFolder}) {
      for (const std::wstring& name : BitmapsIn(folder)) DeleteFileW((folder + L"\\" + name).c_str());
    }
  }
  // Starts the program of `folder`, in the tour folder as its working directory.
  void Start(const std::wstring& folder) {
    const std::wstring program = folder + L"\\签名设计.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
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

  std::wstring Out(const std::wstring& name) const { return folder_ + L"\\" + name + L".bmp"; }
  std::wstring ChineseReference(const std::wstring& relative) const {
    return kChineseTourDir + L"\\" + testName_ + L"\\" + relative;
  }

  // Under another code page than 936, the file `relative` (to this tour's folder) must hold the
  // bytes of the one of that name the zh_CN session saved; without that one there is nothing to
  // hold it against, and that is a failure, not a pass.
  void ExpectAsInChineseSession(const std::wstring& relative) const {
    if (ChineseCodePage()) return;
    const std::wstring reference = ChineseReference(relative);
    if (!Exists(reference)) {
      ADD_FAILURE() << "no " << reference << " to compare " << relative
                    << " with: run the tour under zh_CN.UTF-8 first (make test does)";
      return;
    }
    const std::vector<std::uint8_t> saved = ReadFileWhole(folder_ + L"\\" + relative);
    EXPECT_FALSE(saved.empty()) << relative << " was not saved";
    EXPECT_TRUE(saved == ReadFileWhole(reference))
        << relative << " differs from the zh_CN session's: " << saved.size() << " bytes against "
        << ReadFileWhole(reference).size() << ", "
        << Differences(ReadBitmap(folder_ + L"\\" + relative), ReadBitmap(reference)) << " pixels";
  }

  // Saves the window picture, with where it shows the system's default GUI font beside it, and
  // holds it against the zh_CN session's: the same captions in the same fonts and the same drawing
  // give the same pixels, title bar included. Only what either session showed in the system's font
  // is left out (SystemFontAreas): the two fonts differ in height, and a list's field with them.
  void SaveWindowPicture(HWND main) const {
    RECT window{};
    GetWindowRect(main, &window);
    const std::vector<RECT> systemFont = SystemFontAreas(FindControls(main), window);
    ASSERT_TRUE(SaveScreenshot(main, Out(L"window")));
    ASSERT_TRUE(WriteAreas(folder_ + L"\\" + kSystemFontAreas, systemFont));
    if (ChineseCodePage()) return;
    const std::wstring reference = ChineseReference(L"window.bmp");
    const std::wstring referenceAreas = ChineseReference(kSystemFontAreas);
    if (!Exists(reference) || !Exists(referenceAreas)) {
      ADD_FAILURE() << "no " << reference << " and " << kSystemFontAreas
                    << " to compare the window with: run the tour under zh_CN.UTF-8 first (make test does)";
      return;
    }
    const Bitmap shown = ReadBitmap(Out(L"window")), chinese = ReadBitmap(reference);
    ASSERT_EQ(shown.width, chinese.width) << "the window picture's width";
    ASSERT_EQ(shown.height, chinese.height) << "the window picture's height";
    std::vector<RECT> leftOut = ReadAreas(referenceAreas);
    leftOut.insert(leftOut.end(), systemFont.begin(), systemFont.end());
    const DifferingPixels found = DifferencesOutside(shown, chinese, leftOut);
    EXPECT_EQ(found.count, 0) << "the window picture differs from the zh_CN session's in " << found.count
                              << " pixels within (" << found.box.left << ", " << found.box.top << ")-("
                              << found.box.right << ", " << found.box.bottom << "), outside the "
                              << systemFont.size() << " controls in the system's default GUI font";
  }

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
  bool SaveAs(const Controls& c, const std::wstring& path, bool cancel = false) {
    PostMessageW(c.save, BM_CLICK, 0, 0);
    HWND dialog = WaitForDialog(process_.dwProcessId);
    if (!dialog) return false;
    if (cancel) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
      HWND nameBox = GetDlgItem(dialog, 0x47C);  // cmb13
      if (!nameBox) nameBox = GetDlgItem(dialog, 0x480);  // edt1
      SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    const bool closed = WaitFor([&] { return !IsWindow(dialog); }, 8000);
    Settle(c.main);
    return closed && (cancel || Exists(path));
  }

  Bitmap Save(const Controls& c, const std::wstring& name) {
    EXPECT_TRUE(SaveAs(c, Out(name))) << name;
    ExpectAsInChineseSession(name + L".bmp");
    return ReadBitmap(Out(name));
  }

  static void Key(HWND control, WPARAM key, int times = 1) {
    for (int i = 0; i < times; ++i) SendMessageW(control, WM_KEYDOWN, key, 0);
  }
  static void SetText(HWND control, const wchar_t* text) {
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  // A list choice as the user confirms it: the selection, then the notice its window receives.
  static void Choose(HWND combo, int index, int notice) {
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), notice),
                 reinterpret_cast<LPARAM>(combo));
  }

  PROCESS_INFORMATION process_{};
  std::wstring testName_;
  std::wstring folder_;  // this tour's pictures, and the program's working directory
};

TEST_F(ProgramTour, EveryDesignDrawsAndSavesAndTheProgramEndsCleanly) {
  Start(kProgramDir);
  HWND main = WaitForMainWindow();
  ASSERT_NE(main, nullptr) << "the main window titled " << kTitle
                           << " never reached top 12 with the splash gone; the program's windows:"
                           << TitlesOf(process_.dwProcessId);
  RECT rect{};
  GetWindowRect(main, &rect);
  EXPECT_EQ(rect.top, 12);
  const Controls c = FindControls(main);
  for (HWND control : {c.chineseName, c.englishName, c.sizeBox, c.chinesePreview, c.englishPreview, c.save,
                       c.backgrounds, c.colours, c.horizontal, c.vertical, c.tabs, c.panel, c.designLabel}) {
    ASSERT_NE(control, nullptr) << "a control of the main window was not found";
  }
  Settle(main);

  // What the window shows, read back in UTF-16: its title (by which it was found), the captions,
  // the tabs, the background list and the balloon.
  const std::vector<HWND> children = ChildrenOf(main);
  for (const ShownText& shown : kShownTexts) {
    const auto count = std::count_if(children.begin(), children.end(), [&](HWND child) {
      return IsClass(child, shown.kind) && TextOf(child) == shown.text;
    });
    EXPECT_EQ(count, shown.controls) << shown.kind << " controls showing " << shown.text;
  }
  const std::vector<std::wstring> tabs = TabCaptions(c.tabs, process_.hProcess);
  EXPECT_EQ(tabs, std::vector<std::wstring>(std::begin(kTabCaptions), std::end(kTabCaptions)));
  EXPECT_EQ(ListItems(c.backgrounds),
            std::vector<std::wstring>(std::begin(kBackgroundNames), std::end(kBackgroundNames)));
  const Balloon balloon = BalloonOf(main, process_);
  ASSERT_NE(balloon.tip, nullptr) << "the main window owns no balloon";
  EXPECT_EQ(balloon.toolWindow, main);
  EXPECT_EQ(balloon.text, L"拖动滑块可以改变签名位置！");

  // The first drawing: design 0, the template's name at 70 points in black at (165, 130), on the
  // first picture in sorted order (500 x 300).
  EXPECT_EQ(SizeOf(c.panel), (ClientSize{500, 300}));
  EXPECT_EQ(SendMessageW(c.backgrounds, CB_GETCOUNT, 0, 0), 7);
  const Bitmap first = Save(c, L"design00");
  ASSERT_EQ(first.width, 500);
  ASSERT_EQ(first.height, 300);
  EXPECT_EQ(first.bytes.size(), 54u + 1500u * 300u);
  const InkCount firstInk = CountInk(first, 165, 130, 500, 300, Dark);
  EXPECT_GT(firstInk.count, 200) << "black ink right of and below the write position";
  EXPECT_EQ(CountInk(first, 0, 0, 500, 125, Dark).count, 0) << "nothing drawn above the write position";
  EXPECT_EQ(TextOf(c.designLabel), L"[青砚草签]");

  SaveWindowPicture(main);

  // The background alone: an empty name draws nothing. Where design 0 left no ink, its picture
  // is exactly the background.
  SetText(c.chineseName, L"");
  SendMessageW(c.chinesePreview, BM_CLICK, 0, 0);
  const Bitmap blank = Save(c, L"blank");
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
  SetText(c.chineseName, L"王小明");
  EXPECT_EQ(Differences(Save(c, L"name-typed"), blank), 0) << "typing in the name box redrew";
  SendMessageW(c.chinesePreview, BM_CLICK, 0, 0);
  EXPECT_EQ(Differences(Save(c, L"design00-again"), first), 0) << "the preview draws design 0 as at start-up";

  // A Chinese file name in a Chinese-named folder, typed into the dialog as a user types it: the
  // file is there by that name and holds what the same drawing saved under a plain name holds.
  const std::wstring chineseFolder = folder_ + L"\\" + kChineseFolder;
  ASSERT_TRUE(MakeFolder(chineseFolder)) << chineseFolder;
  EXPECT_TRUE(SaveAs(c, chineseFolder + L"\\" + kChineseFile)) << chineseFolder << L"\\" << kChineseFile;
  EXPECT_EQ(BitmapsIn(chineseFolder), std::vector<std::wstring>{kChineseFile});
  const std::vector<std::uint8_t> chineseNamed = ReadFileWhole(chineseFolder + L"\\" + kChineseFile);
  EXPECT_EQ(chineseNamed.size(), 54u + 1500u * 300u);
  EXPECT_TRUE(chineseNamed == first.bytes) << "the picture saved under a Chinese name differs from design00.bmp";
  ExpectAsInChineseSession(std::wstring(kChineseFolder) + L"\\" + kChineseFile);

  // Every design, one tab after another.
  std::vector<Bitmap> designs{first};
  for (int tab = 1; tab < kDesigns; ++tab) {
    Key(c.tabs, VK_RIGHT);
    Settle(main);
    ASSERT_EQ(SendMessageW(c.tabs, TCM_GETCURSEL, 0, 0), tab);
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
  const ToolRun sheetTool = RunTool(kProgramDir + L"\\signsheet.exe",
                                    L"--format bmp --background \"" + kProgramDir + L"\\背景图片\\01-letter-paper.jpg\" "
                                    L"--at 165,130 --size 70 --color 000000 --out signsheet 王小明/Xiaoming",
                                    folder_);
  ASSERT_EQ(sheetTool.exitCode, 0u) << sheetTool.output;
  for (int design = 0; design < kDesigns; ++design) {
    const std::wstring name = std::wstring(design < 9 ? L"王小明" : L"Xiaoming") + L"_" + DesignName(design).substr(6) +
                              L"_" + FromGbk(kDesignTable[design].caption);
    const Bitmap drawn = ReadBitmap(folder_ + L"\\signsheet\\" + name + L".bmp");
    EXPECT_EQ(drawn.width, 500) << name;
    EXPECT_TRUE(drawn.bytes == designs[design].bytes) << "design " << design << ": the tool's " << name
                                                      << ".bmp differs from the program's in "
                                                      << Differences(drawn, designs[design]) << " pixels";
  }

  // An English design leaves the label with the last Chinese design's caption.
  EXPECT_EQ(TextOf(c.designLabel), L"[黄草简签]");

  // With an English design current the Chinese preview changes nothing; the English one redraws.
  SetText(c.chineseName, L"李四");
  SetText(c.englishName, L"Ann Lee");
  SendMessageW(c.chinesePreview, BM_CLICK, 0, 0);
  const Bitmap unchanged = Save(c, L"chinese-preview-on-english");
  EXPECT_EQ(Differences(unchanged, designs.back()), 0) << "the Chinese preview drew over an English design";
  SendMessageW(c.englishPreview, BM_CLICK, 0, 0);
  const Bitmap english = Save(c, L"english-preview");
  EXPECT_GT(Differences(english, designs.back()), 0) << "the English preview did not draw the new name";

  // Back to a Chinese design; then the English preview changes nothing.
  Key(c.tabs, VK_LEFT, kDesigns - 1);
  Settle(main);
  ASSERT_EQ(SendMessageW(c.tabs, TCM_GETCURSEL, 0, 0), 0);
  const Bitmap lisi = Save(c, L"design00-new-name");
  SendMessageW(c.englishPreview, BM_CLICK, 0, 0);
  EXPECT_EQ(Differences(Save(c, L"english-preview-on-chinese"), lisi), 0) << "the English preview drew over a Chinese design";

  // Moving the sliders moves the ink: 40 rows down, 30 columns right.
  const InkCount before = CountInk(lisi, 0, 0, 500, 300, Dark);
  Key(c.vertical, VK_DOWN, 40);
  Key(c.horizontal, VK_RIGHT, 30);
  Settle(main);
  EXPECT_EQ(SendMessageW(c.vertical, TBM_GETPOS, 0, 0), 170);
  EXPECT_EQ(SendMessageW(c.horizontal, TBM_GETPOS, 0, 0), 195);
  const Bitmap moved = Save(c, L"sliders-moved");
  const InkCount after = CountInk(moved, 0, 0, 500, 300, Dark);
  EXPECT_EQ(after.top - before.top, 40);
  EXPECT_EQ(CountInk(moved, 0, 0, 195, 300, Dark).count, 0) << "ink left of the new write position";

  // A smaller size and another colour: the ink is that colour and less tall.
  SetText(c.sizeBox, L"40");
  Settle(main);
  int red = -1;
  for (int i = 0; i < SendMessageW(c.colours, CB_GETCOUNT, 0, 0); ++i) {
    if (SendMessageW(c.colours, CB_GETITEMDATA, i, 0) == 0x0000FF) red = i;
  }
  ASSERT_GE(red, 0) << "the colour list offers red";
  Choose(c.colours, red, CBN_SELENDOK);
  Settle(main);
  const Bitmap redSmall = Save(c, L"red-40-points");
  const InkCount redInk = CountInk(redSmall, 195, 170, 500, 300, [](const Bitmap::Pixel& p) {
    return p.r > 180 && p.g < 80 && p.b < 80;
  });
  EXPECT_GT(redInk.count, 50) << "red ink near the write position";
  EXPECT_EQ(CountInk(redSmall, 0, 0, 500, 300, Dark).count, 0) << "black ink left after the colour change";
  EXPECT_LT(redInk.bottom - redInk.top, after.bottom - after.top) << "40 points draw smaller than 70";

  // Cancelling the dialog writes nothing.
  const std::wstring cancelled = Out(L"cancelled");
  EXPECT_TRUE(SaveAs(c, cancelled, true));
  EXPECT_FALSE(Exists(cancelled));

  // Another background: the smallest picture, 333 x 200, and the design drawn again on it.
  const int card = 5;  // 06-plain-card.bmp in the sorted list
  Choose(c.backgrounds, card, CBN_SELCHANGE);
  ASSERT_TRUE(WaitFor([&] { return SizeOf(c.panel) == ClientSize{333, 200}; }, 5000));
  Settle(main);
  const Bitmap small = Save(c, L"smallest-picture");
  EXPECT_EQ(small.width, 333);
  EXPECT_EQ(small.bytes.size(), 54u + 1000u * 200u) << "rows padded to 1000 bytes";
  EXPECT_GT(CountInk(small, 195, 170, 333, 200, [](const Bitmap::Pixel& p) { return p.r > 180 && p.g < 80; }).count, 0);
  EXPECT_EQ(SendMessageW(c.horizontal, TBM_GETRANGEMAX, 0, 0), 333);
  EXPECT_EQ(SendMessageW(c.vertical, TBM_GETRANGEMAX, 0, 0), 200);

  // The help button asks for the program's page; nothing else asked for a page so far.
  PostMessageW(HelpButton(main), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([] { return BrowserRequests().size() == 1; }, 8000));
  ASSERT_EQ(BrowserRequests().size(), 1u);
  EXPECT_TRUE(EndsWith(BrowserRequests()[0], "/program/pages/program.html")) << BrowserRequests()[0];

  // Closing the window ends the program with exit code 0.
  PostMessageW(main, WM_CLOSE, 0, 0);
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
  explicit DesktopWindow(bool hangs) : hangs_(hangs), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
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
      ++reinterpret_cast<DesktopWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))->fontChanges_;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  static DWORD WINAPI Run(void* self) {
    auto* desktop = static_cast<DesktopWindow*>(self);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TourDesktopWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"TourDesktopWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(desktop));
    SetEvent(desktop->ready_);
    if (desktop->hangs_) {
      WaitForSingleObject(desktop->stop_, INFINITE);
    } else {
      while (MsgWaitForMultipleObjects(1, &desktop->stop_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
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
  Start(kProgramDir);
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
      ASSERT_TRUE(SendMessageTimeoutW(c.horizontal, WM_KEYDOWN, step % 2 ? VK_LEFT : VK_RIGHT, 0, SMTO_NORMAL, 5000,
                                      &ignored))
          << "slider step " << step << " waited on the hung window";
    }
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0);
}

// A folder holding only the program, its skin library and skin file: no pictures, no fonts. The
// start-up completes with an empty list and a panel of 0 by 0, and saving writes its 1 by 1 picture.
// The folder is named in Chinese, as a user's copy of the program may be (the release unpacks to
// 云笺签名设计): the program finds itself and its files there under any code page.
TEST_F(ProgramTour, AFolderWithoutPicturesOrFontsStillStartsSavesAndEnds) {
  const std::wstring bare = TourRoot() + L"-bare\\云笺签名设计";
  ASSERT_TRUE(MakeFolder(TourRoot() + L"-bare"));
  ASSERT_TRUE(MakeFolder(bare)) << bare;
  for (const wchar_t* file : {L"\\签名设计.exe", L"\\SkinH_EL.dll", L"\\pifu.she"}) {
    ASSERT_TRUE(CopyFileW((kProgramDir + file).c_str(), (bare + file).c_str(), FALSE)) << file;
  }
  Start(bare);
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    main = MainWindowOf(process_.dwProcessId);
    RECT rect{};
    return main && GetWindowRect(main, &rect) && rect.top == 12;
  }, 20000)) << "the main window titled " << kTitle << " never reached top 12; the program's windows:"
             << TitlesOf(process_.dwProcessId);
  Settle(main);
  const Controls c = FindControls(main);
  ASSERT_NE(c.panel, nullptr);
  EXPECT_EQ(SendMessageW(c.backgrounds, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SizeOf(c.panel), (ClientSize{0, 0}));
  // Centred in the 868 x 561 span of its group box: left 434, top 280.
  RECT panel{};
  GetWindowRect(c.panel, &panel);
  POINT origin{0, 0};
  ClientToScreen(GetParent(c.panel), &origin);
  // The group box 分组框1 starts at (4, 53) in the window's client area.
  EXPECT_EQ(panel.left - origin.x, 4 + 434);
  EXPECT_EQ(panel.top - origin.y, 53 + 280);

  const std::wstring empty = Out(L"empty-panel");
  ASSERT_TRUE(SaveAs(c, empty));
  // The panel's backing bitmap is never smaller than 1 by 1: that is what is saved.
  const Bitmap tiny = ReadBitmap(empty);
  EXPECT_EQ(tiny.width, 1);
  EXPECT_EQ(tiny.height, 1);
  EXPECT_EQ(tiny.bytes.size(), 54u + 4u);
  ExpectAsInChineseSession(L"empty-panel.bmp");

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0);
  DWORD exitCode = 1234;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
