// The main and splash windows as the frame builds them from their layouts: where every unit
// lands, what it starts with, which handler each bound event reaches, and how the splash window
// is cut, filled and ended. The handlers are stubs that record their numbers.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "canvas/draw_panel_commands.h"
#include "canvas/picture.h"
#include "canvas/picture_box_paint_win.h"
#include "forms/layouts/main_window_layout.h"
#include "forms/layouts/program_layouts.h"
#include "forms/layouts/splash_window_layout.h"
#include "forms/layouts/window_ids.h"
#include "forms/operations.h"
#include "forms/properties.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "forms/window_map.h"
#include "frame/ground/event_record.h"
#include "frame/frame_loop.h"
#include "frame/ground/memory.h"

namespace {

using Calls = std::vector<int>;

Calls gCalls;
std::array<std::function<void()>, kProgramHandlerCount> gActions;

template <int N>
void Stub() {
  gCalls.push_back(N);
  if (gActions[N]) {
    const std::function<void()> action = gActions[N];
    action();
  }
}

template <int... N>
constexpr std::array<HandlerEntry, sizeof...(N)> MakeStubs(std::integer_sequence<int, N...>) {
  return {HandlerEntry{&Stub<N>, nullptr}...};
}
constexpr auto kStubs = MakeStubs(std::make_integer_sequence<int, kProgramHandlerCount>{});

constexpr char kConstantTexts[] = "载入启动窗口失败";
constexpr SupportLibraryNotice kLibraries[] = {DrawPanelLibraryNotice};

const ProgramHeader& Header() {
  static const ProgramHeader header{3, kConstantTexts, ProgramWindowLayouts(), kLibraries, {}, kStubs};
  return header;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    ProcessPendingEvents();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

HWND LiveWindow(std::uint32_t windowId) {
  WindowRecord* record = FindWindowRecord(windowId);
  return record ? record->window : nullptr;
}

Unit* UnitOf(std::uint32_t windowId, std::uint32_t unitId) {
  WindowRecord* record = FindWindowRecord(windowId);
  return record ? FindUnit(*record, unitId) : nullptr;
}

HWND ControlOf(std::uint32_t windowId, std::uint32_t unitId) {
  Unit* unit = UnitOf(windowId, unitId);
  return unit && unit->component ? unit->component->Control() : nullptr;
}

// Texts are read as UTF-16, as the frame gives them to Windows: the same under any code page.
std::wstring WindowText(HWND window) {
  wchar_t text[256] = L"";
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return name;
}
bool IsClass(HWND window, const wchar_t* kind) { return _wcsicmp(ClassOf(window).c_str(), kind) == 0; }

std::wstring TabCaption(HWND tabs, int index) {
  wchar_t text[64] = L"";
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  if (!SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return L"<no item>";
  return item.pszText;
}

// The design tabs' captions, in order.
constexpr const wchar_t* kTabCaptions[] = {L"青砚草签", L"方正篆签", L"博洋行签", L"博洋草签", L"明星签",
                                           L"领袖签",   L"隶书签",   L"创艺细签", L"黄草简签", L"英文签一",
                                           L"英文签二", L"英文签三", L"英文签四"};

// A control's rectangle in the client coordinates of its form.
RECT PlaceInForm(HWND form, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class LayoutsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitialiseFrame(Header());
    Reset();
  }
  void TearDown() override {
    Reset();
    for (auto& record : WindowRecords()) {
      if (record->window) DestroyWindow(record->window);
    }
    ProcessPendingEvents();
    // The last window gone leaves a quit message; the next test starts without it.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Reset();
  }
  static void Reset() {
    gCalls.clear();
    gActions = {};
  }
  static void LoadMain() {
    ASSERT_TRUE(LoadWindow(kMainWindow, 0, false));
    ASSERT_EQ(gCalls, Calls{kOnMainCreated}) << "Moved and Resized have no handler";
    gCalls.clear();
  }
  // A control's notification, sent to its form as the control itself would send it.
  static void SendCommand(std::uint32_t unitId, int code) {
    HWND control = ControlOf(kMainWindow, unitId);
    SendMessageA(LiveWindow(kMainWindow), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
  }
};

// ---------------------------------------------------------------- main window

TEST_F(LayoutsTest, MainWindowIsCentredWithItsTitleAndAFixedFrame) {
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  LoadMain();
  HWND window = LiveWindow(kMainWindow);
  EXPECT_EQ(WindowText(window), L"云笺免费签名设计正式版 V2.0");
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 67);
  EXPECT_EQ(rect.top, 70);
  EXPECT_EQ(rect.right - rect.left, 890);
  EXPECT_EQ(rect.bottom - rect.top, 627);
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
}

struct UnitCase {
  std::uint32_t id;
  const char* name;
  std::uint32_t type;
  // Place in the window's client area; a non-visual unit has no window (width 0 here).
  int left, top, width, height;
  const wchar_t* text;  // caption or content; null where the control shows none
};

// Positions as they result in the window's client area, the containers' offsets added.
constexpr UnitCase kMainUnits[] = {
    {kFeedbackButton, "按钮5", kTypeButton, 752, 14, 120, 32, L"问题及bug反馈"},
    {kHelpButton, "按钮3", kTypeButton, 619, 14, 120, 32, L"详细使用说明"},
    {kBackgroundList, "组合框1", kTypeComboBox, 406, 19, 200, -1, nullptr},
    {kDesignLabel, "标签5", kTypeLabel, 227, 105, 59, 16, L"[设计一]"},
    {kSizeLabel, "标签14", kTypeLabel, 287, 101, 55, 24, L"字体大小："},
    {kSizeBox, "编辑框14", kTypeEditBox, 344, 101, 49, 22, L"70"},
    {kColorLabel, "标签7", kTypeLabel, 413, 101, 56, 24, L"字体颜色："},
    {kTextColorPicker, "颜色选择器1", kTypeColorPicker, 472, 101, 72, -1, nullptr},
    {kSaveButton, "按钮4", kTypeButton, 561, 101, 97, 24, L"保存此张签名"},
    {kPanelUnit, "画板1", kTypeDrawPanel, 256, 215, 333, 200, nullptr},
    {kHorizontalSlider, "滑块条2", kTypeSliderBar, 514, 569, 345, 16, nullptr},
    {kVerticalSlider, "滑块条1", kTypeSliderBar, 856, 229, 19, 345, nullptr},
    {kHintTip, "气球提示框1", kTypeQTip, 0, 0, 0, 0, nullptr},
    {kDesignTabs, "选择夹1", kTypeTabBox, 5, 66, 900, 23, nullptr},
    {kBackgroundLabel, "标签6", kTypeLabel, 346, 21, 56, 16, L"设计底图："},
    {kSettingsGroup, "分组框2", kTypeGroupBox, 340, 3, 540, 50, L"参数配置"},
    {kMainTimer, "时钟1", kTypeTimer, 0, 0, 0, 0, nullptr},
    {kChineseLabel, "标签1", kTypeLabel, 14, 4, 48, 20, L"中文名："},
    {kSaveDialog, "通用对话框1", kTypeCommonDlg, 0, 0, 0, 0, nullptr},
    {kEnglishPreviewButton, "按钮2", kTypeButton, 228, 27, 109, 24, L"设计预览"},
    {kEnglishNameBox, "编辑框2", kTypeEditBox, 229, 4, 108, 20, L"Xiaoming"},
    {kEnglishLabel, "标签2", kTypeLabel, 178, 4, 44, 20, L"英文名："},
    {kChinesePreviewButton, "按钮1", kTypeButton, 62, 29, 113, 24, L"设计预览"},
    {kChineseNameBox, "编辑框1", kTypeEditBox, 64, 4, 112, 20, L"王小明"},
    {kPreviewGroup, "分组框1", kTypeGroupBox, 4, 53, 876, 541, L"签名预览"},
};

TEST_F(LayoutsTest, EveryMainUnitStandsWhereTheLayoutPutsIt) {
  LoadMain();
  HWND form = LiveWindow(kMainWindow);
  ASSERT_EQ(FindWindowRecord(kMainWindow)->units.size(), std::size(kMainUnits) + 1) << "window unit and 25 units";
  for (const UnitCase& c : kMainUnits) {
    SCOPED_TRACE(c.name);
    Unit* unit = UnitOf(kMainWindow, c.id);
    ASSERT_NE(unit, nullptr);
    EXPECT_STREQ(unit->row->name, c.name);
    EXPECT_EQ(unit->row->type, c.type);
    HWND control = ControlOf(kMainWindow, c.id);
    if (c.width == 0) {
      EXPECT_EQ(control, nullptr) << "non-visual";
      continue;
    }
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsWindowVisible(control));
    const RECT rect = PlaceInForm(form, control);
    EXPECT_EQ(rect.left, c.left);
    EXPECT_EQ(rect.top, c.top);
    EXPECT_EQ(rect.right - rect.left, c.width);
    // A combo box's window is as tall as its selection field, whatever the layout says.
    if (c.height >= 0) {
      EXPECT_EQ(rect.bottom - rect.top, c.height);
    }
    if (c.text) {
      EXPECT_EQ(WindowText(control), c.text);
    }
  }
}

struct FontCase {
  std::uint32_t id;
  LONG height;
  LONG weight;
};

TEST_F(LayoutsTest, MainUnitsCarryTheirSongFonts) {
  LoadMain();
  constexpr FontCase kFonts[] = {
      {kDesignLabel, -12, 400},    {kSizeLabel, -12, 400},      {kSizeBox, -14, 700},
      {kEnglishNameBox, -14, 700}, {kChineseNameBox, -14, 700}, {kDesignTabs, -14, 400},
  };
  for (const FontCase& c : kFonts) {
    SCOPED_TRACE(UnitOf(kMainWindow, c.id)->row->name);
    auto font = reinterpret_cast<HFONT>(SendMessageA(ControlOf(kMainWindow, c.id), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logical{};
    ASSERT_EQ(GetObjectW(font, sizeof logical, &logical), static_cast<int>(sizeof logical));
    EXPECT_EQ(logical.lfHeight, c.height);
    EXPECT_EQ(logical.lfWeight, c.weight);
    EXPECT_EQ(logical.lfCharSet, GB2312_CHARSET);
    EXPECT_STREQ(logical.lfFaceName, L"宋体");
  }
}

struct NumberCase {
  std::uint32_t id;
  std::int32_t property;
  std::int32_t expected;
};

TEST_F(LayoutsTest, MainUnitsStartWithTheirStoredValues) {
  LoadMain();
  constexpr NumberCase kNumbers[] = {
      {kChineseNameBox, kEditTextColor, 0xFFFFFF},  {kChineseNameBox, kEditBackColor, 0x808000},
      {kEnglishNameBox, kEditTextColor, 0xFFFFFF},  {kEnglishNameBox, kEditBackColor, 0x808000},
      {kSizeBox, kEditTextColor, 0},                {kSizeBox, kEditBackColor, 0xFFFFFF},
      {kChineseNameBox, kEditMaxLength, 0},         {kDesignLabel, kLabelTextColor, 0x808000},
      {kPreviewGroup, kGroupTextColor, 0x008000},   {kSettingsGroup, kGroupTextColor, 0x008000},
      {kTextColorPicker, kColorPickerColor, 0},     {kTextColorPicker, kColorPickerAllowTransparent, 0},
      {kBackgroundList, kComboCurrentItem, -1},     {kDesignTabs, kTabCurrent, 0},
      {kPanelUnit, kDrawPanelBackColor, 0xFFFFFF},  {kPanelUnit, kDrawPanelPictureMode, 1},
      {kPanelUnit, kDrawPanelAutoRedraw, 1},        {kPanelUnit, kDrawPanelDrawMode, 12},
      {kPanelUnit, kDrawPanelBrushColor, 0xFFFFFF}, {kPanelUnit, kDrawPanelTextColor, 0},
      {kPanelUnit, kDrawPanelTextBackColor, static_cast<std::int32_t>(0xFF000000)},
      {kPanelUnit, kDrawPanelDrawWidth, 333},       {kPanelUnit, kDrawPanelDrawHeight, 200},
      {kVerticalSlider, kSliderSelectionStart, 1},  {kVerticalSlider, kSliderSelectionLength, 200},
      {kMainTimer, kTimerInterval, 0},              {kSaveDialog, kDialogKind, 1},
      {kSaveDialog, kDialogFilterIndex, 0},         {kSaveDialog, kDialogOverwritePrompt, 1},
      {kSaveDialog, kDialogFileMustExist, 1},       {kSaveDialog, kDialogPathMustExist, 1},
      {kSaveDialog, kDialogCreatePrompt, 0},
  };
  for (const NumberCase& c : kNumbers) {
    EXPECT_EQ(ReadIntProperty(kMainWindow, c.id, c.property), c.expected)
        << UnitOf(kMainWindow, c.id)->row->name << " property " << c.property;
  }
  Text filter = ReadTextProperty(kMainWindow, kSaveDialog, kDialogFilter);
  EXPECT_STREQ(filter, "位图文件(*.bmp)|*.bmp");
  FrameFree(filter);
  Text extension = ReadTextProperty(kMainWindow, kSaveDialog, kDialogDefaultExt);
  EXPECT_STREQ(extension, "bmp");
  FrameFree(extension);
  Text name = ReadTextProperty(kMainWindow, kSaveDialog, kDialogFileName);
  EXPECT_EQ(name, nullptr) << "no file name proposed";
  FrameFree(name);
}

TEST_F(LayoutsTest, MainControlsAreBuiltAsTheirSettingsSay) {
  LoadMain();
  // Name fields and the size box are centred single-line edits.
  for (std::uint32_t id : {kChineseNameBox, kEnglishNameBox, kSizeBox}) {
    const LONG_PTR style = GetWindowLongPtrA(ControlOf(kMainWindow, id), GWL_STYLE);
    EXPECT_TRUE(style & ES_CENTER) << UnitOf(kMainWindow, id)->row->name;
    EXPECT_FALSE(style & ES_MULTILINE) << UnitOf(kMainWindow, id)->row->name;
  }

  // The background list: a sorted drop-down list, empty, at least 160 pixels tall when open.
  HWND list = ControlOf(kMainWindow, kBackgroundList);
  const LONG_PTR listStyle = GetWindowLongPtrA(list, GWL_STYLE);
  EXPECT_EQ(listStyle & 3, CBS_DROPDOWNLIST);
  EXPECT_TRUE(listStyle & CBS_SORT);
  EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 0);
  // The dropped rectangle spans box and list on Windows, the list alone under wine; the sum holds.
  RECT box{}, dropped{};
  GetWindowRect(list, &box);
  SendMessageA(list, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_GE((box.bottom - box.top) + (dropped.bottom - dropped.top), 160);
  SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"山水.jpg"));
  SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"b.gif"));
  SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"a.jpg"));
  for (const auto& [index, name] : {std::pair{0, L"a.jpg"}, std::pair{1, L"b.gif"}, std::pair{2, L"山水.jpg"}}) {
    wchar_t item[64] = L"";
    SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, name) << "items are held in sorted order: item " << index;
  }

  // The sliders: ranges and positions of the panel before a picture, and their directions.
  struct SliderCase {
    std::uint32_t id;
    bool vertical;
    LRESULT minimum, maximum, position;
  };
  for (const SliderCase& c : {SliderCase{kHorizontalSlider, false, 1, 333, 165},
                              SliderCase{kVerticalSlider, true, 1, 200, 130}}) {
    SCOPED_TRACE(UnitOf(kMainWindow, c.id)->row->name);
    HWND slider = ControlOf(kMainWindow, c.id);
    EXPECT_EQ((GetWindowLongPtrA(slider, GWL_STYLE) & TBS_VERT) != 0, c.vertical);
    EXPECT_TRUE(GetWindowLongPtrA(slider, GWL_STYLE) & TBS_NOTICKS);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), c.minimum);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), c.maximum);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), c.position);
    EXPECT_EQ(ReadIntProperty(kMainWindow, c.id, kSliderPosition), c.position);
  }
  EXPECT_TRUE(GetWindowLongPtrA(ControlOf(kMainWindow, kVerticalSlider), GWL_STYLE) & TBS_ENABLESELRANGE);
  EXPECT_FALSE(GetWindowLongPtrA(ControlOf(kMainWindow, kHorizontalSlider), GWL_STYLE) & TBS_ENABLESELRANGE);

  // The design tabs: thirteen captions on one line at the top, the first one current.
  HWND tabs = ControlOf(kMainWindow, kDesignTabs);
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 13);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(TabCaption(tabs, i), kTabCaptions[i]) << "tab " << i;
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_FALSE(GetWindowLongPtrA(tabs, GWL_STYLE) & (TCS_MULTILINE | TCS_BOTTOM | TCS_VERTICAL));
}

TEST_F(LayoutsTest, MainWindowFocusesTheChineseNameAndIgnoresEscape) {
  LoadMain();
  HWND window = LiveWindow(kMainWindow);
  EXPECT_EQ(GetFocus(), ControlOf(kMainWindow, kChineseNameBox)) << "focusable unit with the highest id";
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpUntil([] { return LiveWindow(kMainWindow) == nullptr; }, 200);
  EXPECT_EQ(LiveWindow(kMainWindow), window);

  // Closing asks nobody: no MayClose handler, straight to the shutdown handler.
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(LiveWindow(kMainWindow), nullptr);
  EXPECT_EQ(gCalls, Calls{kOnMainDestroyed});
}

struct RouteCase {
  const char* what;
  std::function<void()> raise;
  Calls expected;  // empty: the event has no handler
};

TEST_F(LayoutsTest, MainEventsReachTheirHandlers) {
  LoadMain();
  HWND form = LiveWindow(kMainWindow);
  auto scroll = [form](std::uint32_t id, UINT message) {
    SendMessageA(form, message, TB_LINEDOWN, reinterpret_cast<LPARAM>(ControlOf(kMainWindow, id)));
  };
  const RouteCase kRoutes[] = {
      {"按钮1", [] { SendCommand(kChinesePreviewButton, BN_CLICKED); }, {kOnChinesePreviewClicked}},
      {"按钮2", [] { SendCommand(kEnglishPreviewButton, BN_CLICKED); }, {kOnEnglishPreviewClicked}},
      {"按钮3", [] { SendCommand(kHelpButton, BN_CLICKED); }, {kOnHelpClicked}},
      {"按钮4", [] { SendCommand(kSaveButton, BN_CLICKED); }, {kOnSaveClicked}},
      {"按钮5", [] { SendCommand(kFeedbackButton, BN_CLICKED); }, {kOnFeedbackClicked}},
      {"编辑框14", [] { WriteTextProperty(kMainWindow, kSizeBox, kEditContent, "72"); }, {kOnSizeChanged}},
      {"编辑框1 has none", [] { WriteTextProperty(kMainWindow, kChineseNameBox, kEditContent, "李四"); }, {}},
      {"编辑框2 has none", [] { WriteTextProperty(kMainWindow, kEnglishNameBox, kEditContent, "Lisi"); }, {}},
      {"组合框1",
       [] {
         HWND list = ControlOf(kMainWindow, kBackgroundList);
         SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"a.jpg"));
         SendMessageA(list, CB_SETCURSEL, 0, 0);
         SendCommand(kBackgroundList, CBN_SELCHANGE);
       },
       {kOnBackgroundSelected}},
      {"颜色选择器1",
       [] {
         SendMessageA(ControlOf(kMainWindow, kTextColorPicker), CB_SETCURSEL, 2, 0);
         SendCommand(kTextColorPicker, CBN_SELENDOK);
       },
       {kOnTextColorChanged}},
      {"选择夹1",
       [form] {
         HWND tabs = ControlOf(kMainWindow, kDesignTabs);
         SendMessageA(tabs, TCM_SETCURSEL, 3, 0);
         NMHDR header{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
         SendMessageA(form, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
       },
       {kOnDesignTabChanged}},
      {"滑块条2", [scroll] { scroll(kHorizontalSlider, WM_HSCROLL); }, {kOnHorizontalMoved}},
      {"滑块条1", [scroll] { scroll(kVerticalSlider, WM_VSCROLL); }, {kOnVerticalMoved}},
  };
  for (const RouteCase& route : kRoutes) {
    gCalls.clear();
    route.raise();
    // The combo box delivers its choice through a posted message.
    PumpUntil([] { return !gCalls.empty(); }, route.expected.empty() ? 100 : 1000);
    EXPECT_EQ(gCalls, route.expected) << route.what;
  }
  EXPECT_EQ(ReadIntProperty(kMainWindow, kDesignTabs, kTabCurrent), 3);
  EXPECT_EQ(ReadIntProperty(kMainWindow, kBackgroundList, kComboCurrentItem), 0);
}

// What a person reads: every caption of a visible control, read back in UTF-16, is the text the
// layout gives it, whatever code page the system runs with; in the font the control shows it in it
// has a glyph for each of its characters (with the platform's 宋体), and fits its control on one
// line: a label's, a button's, a group's caption and each tab's, so none is cut or wrapped.
struct Caption {
  HWND control;
  int tab;  // which tab's caption, for a tab control; otherwise -1
  std::wstring text;
};

BOOL CALLBACK AddCaptions(HWND control, LPARAM list) {
  if (!(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE)) return TRUE;
  auto& found = *reinterpret_cast<std::vector<Caption>*>(list);
  if (IsClass(control, WC_TABCONTROLW)) {
    const int count = TabCtrl_GetItemCount(control);
    for (int i = 0; i < count; ++i) found.push_back({control, i, TabCaption(control, i)});
  } else if (std::wstring text = WindowText(control); !text.empty()) {
    found.push_back({control, -1, text});
  }
  return TRUE;
}

std::vector<Caption> VisibleCaptions(HWND form) {
  std::vector<Caption> captions;
  EnumChildWindows(form, AddCaptions, reinterpret_cast<LPARAM>(&captions));
  return captions;
}

TEST_F(LayoutsTest, EveryCaptionOfTheMainWindowDrawsWholeOnOneLine) {
  LoadMain();
  HWND form = LiveWindow(kMainWindow);
  const std::vector<Caption> captions = VisibleCaptions(form);
  // The labels, buttons, group captions and name boxes of the layout, and the 13 tabs.
  std::vector<std::wstring> shown, expected(std::begin(kTabCaptions), std::end(kTabCaptions));
  for (const Caption& caption : captions) shown.push_back(caption.text);
  for (const UnitCase& unit : kMainUnits) {
    if (unit.text) expected.push_back(unit.text);
  }
  std::sort(shown.begin(), shown.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(shown, expected);
  for (const Caption& caption : captions) {
    SCOPED_TRACE(caption.text);
    HDC dc = GetDC(caption.control);
    auto font = reinterpret_cast<HFONT>(SendMessageW(caption.control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));

    const auto length = static_cast<int>(caption.text.size());
    std::vector<WORD> glyphs(caption.text.size(), 0);
    const DWORD count =
        GetGlyphIndicesW(dc, caption.text.c_str(), length, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    ASSERT_EQ(count, caption.text.size());
    for (DWORD i = 0; i < count; ++i) EXPECT_NE(glyphs[i], 0xFFFF) << "character " << i << " has no glyph";

    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.text.c_str(), length, &extent);
    // Where the ink ends: a full-width colon's blank right half may overhang the label, as with
    // the 宋体 of a Chinese Windows, whose 12-pixel cells make "字体大小：" 60 pixels in a label of 55.
    const wchar_t last = caption.text.back();
    ABC widths{};
    const int inkEnd = GetCharABCWidthsW(dc, last, last, &widths) ? extent.cx - std::max(0, widths.abcC) : extent.cx;
    RECT client{};
    GetClientRect(caption.control, &client);
    if (IsClass(caption.control, L"Static") || IsClass(caption.control, L"Button")) {
      EXPECT_LE(inkEnd, client.right) << ClassOf(caption.control) << " cuts its caption";
      EXPECT_LE(extent.cy, client.bottom) << ClassOf(caption.control) << " is lower than its caption";
    }
    if (IsClass(caption.control, L"Static")) {
      const LONG style = GetWindowLongW(caption.control, GWL_STYLE);
      EXPECT_EQ(style & SS_TYPEMASK, SS_LEFTNOWORDWRAP) << "a one-line caption must not wrap";
      EXPECT_TRUE(style & SS_CENTERIMAGE) << "a one-line caption sits in the middle of its label";
    }
    if (caption.tab >= 0) {
      RECT item{};
      TabCtrl_GetItemRect(caption.control, caption.tab, &item);
      EXPECT_LE(inkEnd, item.right - item.left) << "the tab cuts its caption";
    }
    SelectObject(dc, old);
    ReleaseDC(caption.control, dc);
  }
}

// ---------------------------------------------------------------- splash window

TEST_F(LayoutsTest, SplashIsAFramelessRoundedWindowHoldingItsPicture) {
  ASSERT_TRUE(LoadWindow(kSplashWindow, 0, false));
  EXPECT_EQ(gCalls, Calls{kOnSplashCreated});
  HWND window = LiveWindow(kSplashWindow);
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 355);
  EXPECT_EQ(rect.top, 334);
  EXPECT_EQ(rect.right - rect.left, 314);
  EXPECT_EQ(rect.bottom - rect.top, 100);
  EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0) << "cannot be moved or sized";

  // Rounded by a 20 x 20 corner ellipse.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(window, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 1, 1));
  EXPECT_FALSE(PtInRegion(region, 312, 98));
  EXPECT_TRUE(PtInRegion(region, 10, 0)) << "the top edge begins 10 pixels in";
  EXPECT_TRUE(PtInRegion(region, 0, 10));
  EXPECT_TRUE(PtInRegion(region, 157, 50));
  DeleteObject(region);

  EXPECT_EQ(ReadIntProperty(kSplashWindow, kSplashTimer, kTimerInterval), 5000);
  EXPECT_EQ(ControlOf(kSplashWindow, kSplashTimer), nullptr) << "non-visual";

  // The picture box sits at (-22, -8), exactly the picture's size.
  HWND box = ControlOf(kSplashWindow, kSplashPicture);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(IsWindowVisible(box));
  const RECT place = PlaceInForm(window, box);
  EXPECT_EQ(place.left, -22);
  EXPECT_EQ(place.top, -8);
  EXPECT_EQ(place.right - place.left, 330);
  EXPECT_EQ(place.bottom - place.top, 110);

  // It holds a 330 x 110 baseline JPEG that the program's own decoder reads.
  auto bytes = reinterpret_cast<ByteBuffer>(ReadProperty(kSplashWindow, kSplashPicture, kPicBoxPicture, kWholeValue));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(BufferLength(bytes), SplashPictureBytes().size());
  const DecodeResult decoded = DecodePicture(BufferBytes(bytes), BufferLength(bytes));
  FrameFree(bytes);
  ASSERT_TRUE(decoded) << PictureFailureName(decoded.failure);
  EXPECT_EQ(decoded.picture.kind, PictureKind::kJpeg);
  EXPECT_EQ(decoded.picture.width, 330);
  EXPECT_EQ(decoded.picture.height, 110);
}

TEST_F(LayoutsTest, TheFrameTurnsPictureBytesIntoABitmapOnceThePictureLibraryStarted) {
  const std::span<const std::uint8_t> file = SplashPictureBytes();
  HBITMAP bitmap = reinterpret_cast<HBITMAP>(NotifyFrame(
      kNoticePictureToBitmap, reinterpret_cast<std::intptr_t>(file.data()), static_cast<std::intptr_t>(file.size())));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(bitmap, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 330);
  EXPECT_EQ(info.bmHeight, 110);
  DeleteObject(bitmap);
  const std::uint8_t notAPicture[] = {1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(NotifyFrame(kNoticePictureToBitmap, reinterpret_cast<std::intptr_t>(notAPicture), sizeof notAPicture), 0);
}

TEST_F(LayoutsTest, TheSplashShowsThePictureShiftedWithAWhiteBandAtTheRight) {
  // The picture service the canvas library installs when it starts.
  SetPictureService(PictureBoxService());
  ASSERT_TRUE(LoadWindow(kSplashWindow, 0, false));
  HWND window = LiveWindow(kSplashWindow);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const std::span<const std::uint8_t> file = SplashPictureBytes();
  const DecodeResult decoded = DecodePicture(file.data(), file.size());
  ASSERT_TRUE(decoded);
  const DecodedPicture& picture = decoded.picture;
  // Rows bottom first, blue-green-red.
  auto pictureAt = [&picture](int x, int y) {
    const std::size_t row = static_cast<std::size_t>(picture.height - 1 - y);
    const std::uint8_t* pixel = picture.pixels + (row * picture.width + x) * 3;
    return RGB(pixel[2], pixel[1], pixel[0]);
  };
  HDC dc = GetDC(window);
  // Client (x, y) shows picture (x + 22, y + 8): along a row through the title and the notice.
  for (int y : {27, 64}) {
    for (int x = 40; x < 300; x += 13) {
      EXPECT_EQ(GetPixel(dc, x, y), pictureAt(x + 22, y + 8)) << "client " << x << ", " << y;
    }
  }
  // The picture ends at client column 307; the six columns after it are the window's white.
  EXPECT_EQ(GetPixel(dc, 307, 50), pictureAt(329, 58));
  for (int x = 308; x < 314; ++x) EXPECT_EQ(GetPixel(dc, x, 50), RGB(255, 255, 255)) << "column " << x;
  ReleaseDC(window, dc);
  SetPictureService({});
}

TEST_F(LayoutsTest, EscapeEndsAModalSplashAtOnce) {
  // The key arrives while the modal load runs, as when the user presses it; the load then returns
  // long before the timer's five seconds.
  gActions[kOnSplashCreated] = [] { PostMessageA(LiveWindow(kSplashWindow), WM_KEYDOWN, VK_ESCAPE, 0); };
  // Were Escape ignored, the tick would still end the load, late.
  gActions[kOnSplashTick] = [] { DestroyObject(kSplashWindow, kSplashWindowUnit, false); };
  const DWORD start = GetTickCount();
  ASSERT_TRUE(LoadWindow(kSplashWindow, 0, true));
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_EQ(LiveWindow(kSplashWindow), nullptr);
  EXPECT_EQ(gCalls, Calls{kOnSplashCreated}) << "no tick came first";
}

TEST_F(LayoutsTest, TheSplashTimerEndsAModalSplashAfterFiveSeconds) {
  // As the program's tick handler does: ask for a deferred destruction.
  gActions[kOnSplashTick] = [] { DestroyObject(kSplashWindow, kSplashWindowUnit, false); };
  const DWORD start = GetTickCount();
  ASSERT_TRUE(LoadWindow(kSplashWindow, 0, true));
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 4800u);
  EXPECT_LT(elapsed, 7000u);
  EXPECT_EQ(LiveWindow(kSplashWindow), nullptr);
  EXPECT_EQ(gCalls, (Calls{kOnSplashCreated, kOnSplashTick}));
}

}  // namespace
