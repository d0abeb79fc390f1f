// The controls and their events, driven the way the user or the program drives them, and the
// standard operations through the command interface.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "forms/operations.h"
#include "forms/properties.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/commands.h"
#include "frame/ground/event_record.h"
#include "frame/ground/memory.h"
#include "frame/ground/owned.h"
#include "tests/forms_win/forms_fixture.h"
#include "tests/frame_win/scratch_folder.h"

namespace {

using Log = std::vector<std::string>;

class ControlsTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
    EventLog().clear();
  }
  static ArgRecord Object(std::uint32_t unitId, std::uint32_t typeId) {
    return MakeObjectArg(kEveryWindow, unitId, typeId);
  }
  static OwnedText TextResult(CommandFunction command, std::vector<ArgRecord> args) {
    ResultRecord result{};
    command(&result, static_cast<int>(args.size()), args.data());
    return OwnedText(static_cast<Text>(ResultPointer(result)));
  }
  static std::int32_t IntResult(CommandFunction command, std::vector<ArgRecord> args) {
    ResultRecord result{};
    command(&result, static_cast<int>(args.size()), args.data());
    return static_cast<std::int32_t>(result.low);
  }
};

TEST_F(ControlsTest, EveryControlTypeIsLiveAndTheWindowClosesCleanly) {
  const std::uint32_t visible[] = {kButton, kEdit, kLabel, kCombo, kSlider, kPageZeroLabel, kTab, kColorPicker,
                                   kPicture, kGroup};
  for (std::uint32_t unit : visible) {
    HWND control = ControlOf(kEveryWindow, unit);
    EXPECT_TRUE(control && IsWindowVisible(control)) << std::hex << unit;
  }
  EXPECT_TRUE(IsWindowVisible(LiveWindow(kEveryWindow)));
  // A unit inside a container sits at the container's origin plus its own offset.
  RECT slider{};
  GetWindowRect(ControlOf(kEveryWindow, kSlider), &slider);
  MapWindowPoints(nullptr, LiveWindow(kEveryWindow), reinterpret_cast<POINT*>(&slider), 2);
  EXPECT_EQ(slider.left, 4 + 10);
  EXPECT_EQ(slider.top, 60 + 20);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kSlider, kPropLeft), 10);

  SendMessageA(LiveWindow(kEveryWindow), WM_CLOSE, 0, 0);
  EXPECT_EQ(LiveWindow(kEveryWindow), nullptr);
  EXPECT_EQ(EventLog(), (Log{"EveryMayClose", "EveryDestroyed"}));
}

TEST_F(ControlsTest, AContainerCarriesItsUnitsWhenMovedOrHidden) {
  WriteIntProperty(kEveryWindow, kGroup, kPropLeft, 30);
  RECT slider{};
  GetWindowRect(ControlOf(kEveryWindow, kSlider), &slider);
  MapWindowPoints(nullptr, LiveWindow(kEveryWindow), reinterpret_cast<POINT*>(&slider), 2);
  EXPECT_EQ(slider.left, 30 + 10);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kSlider, kPropLeft), 10);
  RECT pageLabel{};
  GetWindowRect(ControlOf(kEveryWindow, kPageZeroLabel), &pageLabel);
  MapWindowPoints(nullptr, LiveWindow(kEveryWindow), reinterpret_cast<POINT*>(&pageLabel), 2);
  EXPECT_EQ(pageLabel.left, 30 + 10 + 10) << "group box, tab box, label";

  WriteIntProperty(kEveryWindow, kGroup, kPropVisible, 0);
  EXPECT_FALSE(IsWindowVisible(ControlOf(kEveryWindow, kSlider)));
  EXPECT_FALSE(IsWindowVisible(ControlOf(kEveryWindow, kPageZeroLabel)));
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kSlider, kPropVisible), 0);
  WriteIntProperty(kEveryWindow, kGroup, kPropVisible, 1);
  EXPECT_TRUE(IsWindowVisible(ControlOf(kEveryWindow, kSlider)));
  EXPECT_TRUE(IsWindowVisible(ControlOf(kEveryWindow, kPageZeroLabel)));
  EXPECT_FALSE(IsWindowVisible(ControlOf(kEveryWindow, kPageOneButton))) << "still not its page";
}

TEST_F(ControlsTest, AGroupBoxFillsItsInsideWithTheFormsBackground) {
  // The form clips its children, so nothing else would paint inside the box.
  HWND group = ControlOf(kEveryWindow, kGroup);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all{0, 0, 64, 64};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_TRUE(SendMessageA(group, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0));
  EXPECT_EQ(GetPixel(memory, 30, 30), GetPixel(memory, 1, 1));
  EXPECT_EQ(GetPixel(memory, 30, 30), GetSysColor(COLOR_BTNFACE));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

TEST_F(ControlsTest, ButtonClicksAndEditChangesRaiseTheirEvents) {
  SendMessageA(ControlOf(kEveryWindow, kButton), BM_CLICK, 0, 0);
  WriteTextProperty(kEveryWindow, kEdit, kEditContent, "李雷");
  // The user types: the edit control's own change notice.
  SendMessageW(ControlOf(kEveryWindow, kEdit), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"韩"));
  // A write of a multi-line box too: the control itself would stay silent there.
  WriteIntProperty(kEveryWindow, kEdit, kEditMultiLine, 1);
  WriteTextProperty(kEveryWindow, kEdit, kEditContent, "一\r\n二");
  EXPECT_EQ(EventLog(), (Log{"ButtonClicked", "EditChanged", "EditChanged", "EditChanged"}));
  OwnedText content(ReadTextProperty(kEveryWindow, kEdit, kEditContent));
  EXPECT_STREQ(content.Get(), "一\r\n二");
}

// A sorted list keeps the order of the user's locale, case aside: pinyin on a Chinese Windows
// (which for these is GBK's order), strokes on a Taiwanese one. So the order expected among the
// Chinese items is asked of the system; the ASCII ones come first under every locale.
std::vector<std::string> InTheSystemsOrder(std::vector<std::string> gbkTexts) {
  std::sort(gbkTexts.begin(), gbkTexts.end(), [](const std::string& one, const std::string& other) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, WideOf936(one).c_str(), -1, WideOf936(other).c_str(),
                          -1) == CSTR_LESS_THAN;
  });
  return gbkTexts;
}

TEST_F(ControlsTest, ASortedComboBoxAndItsCurrentItem) {
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kCombo, kComboCurrentItem), -1);
  // The box and its list together are at least 160 pixels high. (The dropped rectangle spans the box
  // and the list on Windows and the list alone under wine; the sum holds for both.)
  RECT box{}, dropped{};
  GetWindowRect(ControlOf(kEveryWindow, kCombo), &box);
  SendMessageA(ControlOf(kEveryWindow, kCombo), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_GE((box.bottom - box.top) + (dropped.bottom - dropped.top), 160);
  for (const char* text : {"丙.jpg", "a.bmp", "乙.gif", "B.jpg"}) {
    EXPECT_GE(IntResult(CommandAddItem, {Object(kCombo, kTypeComboBox), MakeTextArg(text)}), 0);
  }
  const std::vector<std::string> chinese = InTheSystemsOrder({"丙.jpg", "乙.gif"});
  const char* expected[] = {"a.bmp", "B.jpg", chinese[0].c_str(), chinese[1].c_str()};
  for (int i = 0; i < 4; ++i) {
    OwnedText text = TextResult(CommandItemText, {Object(kCombo, kTypeComboBox), MakeIntArg(i)});
    EXPECT_STREQ(text.Get(), expected[i]) << i;
  }
  EXPECT_EQ(TextResult(CommandItemText, {Object(kCombo, kTypeComboBox), MakeIntArg(-1)}).Get(), nullptr);
  EXPECT_EQ(TextResult(CommandItemText, {Object(kCombo, kTypeComboBox), MakeIntArg(4)}).Get(), nullptr);

  WriteIntProperty(kEveryWindow, kCombo, kComboCurrentItem, 9);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kCombo, kComboCurrentItem), 3) << "clamped to the last item";
  WriteIntProperty(kEveryWindow, kCombo, kComboCurrentItem, -7);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kCombo, kComboCurrentItem), -1);
  PumpFor(50);
  EXPECT_TRUE(EventLog().empty()) << "the component's own changes raise nothing";

  // Re-created as an editable drop-down: the items and the selection come over.
  WriteIntProperty(kEveryWindow, kCombo, kComboCurrentItem, 2);
  HWND before = ControlOf(kEveryWindow, kCombo);
  WriteIntProperty(kEveryWindow, kCombo, kComboKind, 1);
  EXPECT_EQ(GetWindowLongPtrA(ControlOf(kEveryWindow, kCombo), GWL_STYLE) & 3, CBS_DROPDOWN);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(SendMessageA(ControlOf(kEveryWindow, kCombo), CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kCombo, kComboCurrentItem), 2);
  EXPECT_TRUE(EventLog().empty());

  IntResult(CommandClear, {Object(kCombo, kTypeComboBox)});
  EXPECT_EQ(SendMessageA(ControlOf(kEveryWindow, kCombo), CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kCombo, kComboCurrentItem), -1);
}

TEST_F(ControlsTest, ItemSelectedArrivesThroughAPostedMessageOnce) {
  IntResult(CommandAddItem, {Object(kCombo, kTypeComboBox), MakeTextArg("一"), MakeIntArg(5)});
  IntResult(CommandAddItem, {Object(kCombo, kTypeComboBox), MakeTextArg("二")});
  std::int32_t seen = -2;
  SetAction(kOnComboSelected, [&] { seen = ReadIntProperty(kEveryWindow, kCombo, kComboCurrentItem); });
  SendMessageA(ControlOf(kEveryWindow, kCombo), CB_SETCURSEL, 1, 0);
  SendCommand(kEveryWindow, kCombo, CBN_SELCHANGE);
  SendCommand(kEveryWindow, kCombo, CBN_SELENDOK);
  EXPECT_TRUE(EventLog().empty()) << "not raised inside the notification";
  PumpUntil([] { return !EventLog().empty(); });
  PumpFor(30);
  EXPECT_EQ(EventLog(), (Log{"ComboSelected"}));
  EXPECT_EQ(seen, 1);
}

TEST_F(ControlsTest, SliderReCreationKeepsRangePositionAndSelection) {
  HWND before = ControlOf(kEveryWindow, kSlider);
  WriteIntProperty(kEveryWindow, kSlider, kSliderMaxPosition, 250);
  WriteIntProperty(kEveryWindow, kSlider, kSliderVertical, 5);  // above 1 counts as 1
  HWND after = ControlOf(kEveryWindow, kSlider);
  ASSERT_NE(after, nullptr);
  EXPECT_TRUE(GetWindowLongPtrA(after, GWL_STYLE) & TBS_VERT);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kSlider, kSliderVertical), 1);
  EXPECT_EQ(SendMessageA(after, TBM_GETRANGEMIN, 0, 0), 1);
  EXPECT_EQ(SendMessageA(after, TBM_GETRANGEMAX, 0, 0), 250);
  EXPECT_EQ(SendMessageA(after, TBM_GETPOS, 0, 0), 165);
  EXPECT_EQ(SendMessageA(after, TBM_GETSELSTART, 0, 0), 1);
  EXPECT_EQ(SendMessageA(after, TBM_GETSELEND, 0, 0), 201);
  EXPECT_TRUE(IsWindowVisible(after));
  EXPECT_EQ(GetDlgCtrlID(after), GetDlgCtrlID(after == before ? before : after));
  EXPECT_TRUE(EventLog().empty()) << "no events while re-creating";

  // The stored position is written as given; the thumb is brought into the range.
  WriteIntProperty(kEveryWindow, kSlider, kSliderPosition, 40000);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kSlider, kSliderPosition), 32767);
  EXPECT_EQ(SendMessageA(after, TBM_GETPOS, 0, 0), 250);
}

TEST_F(ControlsTest, PositionChangedFollowsEveryScrollExceptTheEndOfTracking) {
  HWND slider = ControlOf(kEveryWindow, kSlider);
  std::vector<std::int32_t> positions;
  SetAction(kOnSliderMoved, [&] { positions.push_back(ReadIntProperty(kEveryWindow, kSlider, kSliderPosition)); });
  const struct {
    int position;
    int code;
  } scrolls[] = {{40, TB_THUMBTRACK}, {60, TB_THUMBPOSITION}, {60, TB_ENDTRACK}, {80, TB_PAGEDOWN}};
  for (const auto& scroll : scrolls) {
    SendMessageA(slider, TBM_SETPOS, TRUE, scroll.position);
    SendMessageA(LiveWindow(kEveryWindow), WM_HSCROLL, scroll.code, reinterpret_cast<LPARAM>(slider));
  }
  EXPECT_EQ(positions, (std::vector<std::int32_t>{40, 60, 80}));
}

bool Shown(std::uint32_t unit) { return IsWindowVisible(ControlOf(kEveryWindow, unit)) != FALSE; }

TEST_F(ControlsTest, ATabChangeShowsExactlyItsPagesUnits) {
  EXPECT_TRUE(Shown(kPageZeroLabel));
  EXPECT_FALSE(Shown(kPageOneButton));
  EXPECT_FALSE(Shown(kPageOneEdit));

  HWND tab = ControlOf(kEveryWindow, kTab);
  NMHDR header{tab, static_cast<UINT_PTR>(GetDlgCtrlID(tab)), TCN_SELCHANGING};
  SetAnswer(kOnTabChanging, 0);
  EXPECT_TRUE(SendMessageA(LiveWindow(kEveryWindow), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)))
      << "TabChanging answering false refuses";
  SetAnswer(kOnTabChanging, 1);
  EXPECT_FALSE(SendMessageA(LiveWindow(kEveryWindow), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)));

  SendMessageA(tab, TCM_SETCURSEL, 1, 0);
  header.code = TCN_SELCHANGE;
  SendMessageA(LiveWindow(kEveryWindow), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(EventLog(), (Log{"TabChanging", "TabChanging", "TabChanged"}));
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kTab, kTabCurrent), 1);
  EXPECT_FALSE(Shown(kPageZeroLabel));
  EXPECT_TRUE(Shown(kPageOneButton));
  EXPECT_TRUE(Shown(kPageOneEdit));
  EXPECT_TRUE(Shown(kSlider)) << "units on no page are left alone";

  // A unit of a page that is not current stays hidden when made visible.
  WriteIntProperty(kEveryWindow, kPageZeroLabel, kPropVisible, 1);
  EXPECT_FALSE(Shown(kPageZeroLabel));
  WriteIntProperty(kEveryWindow, kTab, kTabCurrent, 0);
  EXPECT_TRUE(Shown(kPageZeroLabel));
  EXPECT_FALSE(Shown(kPageOneButton));
}

TEST_F(ControlsTest, PageNamesCountFromOne) {
  const struct {
    std::int32_t page;
    const char* name;
  } cases[] = {{1, "青砚草签"}, {2, "方正篆签"}, {0, nullptr}, {3, nullptr}};
  for (const auto& c : cases) {
    OwnedText name = TextResult(CommandPageName, {Object(kTab, kTypeTabBox), MakeIntArg(c.page)});
    if (c.name) {
      EXPECT_STREQ(name.Get(), c.name) << c.page;
    } else {
      EXPECT_EQ(name.Get(), nullptr) << c.page;
    }
  }
}

TEST_F(ControlsTest, TheTimerTicksAtItsIntervalAndZeroStopsIt) {
  int ticks = 0;
  SetAction(kOnTimerTick, [&] {
    if (++ticks == 2) WriteIntProperty(kEveryWindow, kTimer, kTimerInterval, 0);
  });
  PumpFor(120);
  EXPECT_EQ(ticks, 0) << "interval 0 from the layout";
  WriteIntProperty(kEveryWindow, kTimer, kTimerInterval, 30);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  PumpFor(150);
  EXPECT_EQ(ticks, 2);
}

TEST_F(ControlsTest, APickedColourIsStoredBeforeColorChanged) {
  HWND picker = ControlOf(kEveryWindow, kColorPicker);
  std::int32_t seen = -1;
  SetAction(kOnColorChanged, [&] { seen = ReadIntProperty(kEveryWindow, kColorPicker, kColorPickerColor); });
  const auto count = static_cast<int>(SendMessageA(picker, CB_GETCOUNT, 0, 0));
  int red = -1;
  for (int i = 0; i < count; ++i) {
    if (SendMessageA(picker, CB_GETITEMDATA, i, 0) == 0x0000FF) red = i;
  }
  ASSERT_GE(red, 0);
  SendMessageA(picker, CB_SETCURSEL, red, 0);
  SendCommand(kEveryWindow, kColorPicker, CBN_SELENDOK);
  EXPECT_EQ(seen, 0x0000FF);
  EXPECT_EQ(EventLog(), (Log{"ColorChanged"}));

  // Without transparency allowed, a stored transparent colour reads as black.
  WriteIntProperty(kEveryWindow, kColorPicker, kColorPickerColor, static_cast<std::int32_t>(0xFF000000u));
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kColorPicker, kColorPickerColor), 0);
  WriteIntProperty(kEveryWindow, kColorPicker, kColorPickerAllowTransparent, 1);
  EXPECT_EQ(static_cast<std::uint32_t>(ReadIntProperty(kEveryWindow, kColorPicker, kColorPickerColor)), 0xFF000000u);
}

TEST_F(ControlsTest, ABalloonPoppedUpWithoutStayModeDoesNotHideOnItsOwn) {
  ResultRecord result{};
  std::vector<ArgRecord> args = {Object(kTip, kTypeQTip), MakeIntArg(690), MakeIntArg(590),
                                 MakeTextArg("拖动滑块可以改变签名位置！"), MakeIntArg(-1)};
  CommandBalloonPopUp(&result, static_cast<int>(args.size()), args.data());
  EXPECT_EQ(result.low, 1u);
  HWND tip = BalloonWindow(*ComponentOf(kEveryWindow, kTip));
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(IsWindowVisible(tip));
  PumpFor(400);  // the layout's display time is 150 ms
  EXPECT_TRUE(IsWindowVisible(tip)) << "stay-mode omitted";
  wchar_t text[64] = L"";
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.hwnd = LiveWindow(kEveryWindow);
  tool.uId = kTip;
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"拖动滑块可以改变签名位置！");

  args.push_back(MakeBoolArg(true));
  CommandBalloonPopUp(&result, static_cast<int>(args.size()), args.data());
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(tip); }, 2000)) << "with a stay-mode it hides after the display time";

  // Not a balloon: false.
  ArgRecord notTip[] = {Object(kButton, kTypeButton), MakeIntArg(1), MakeIntArg(1), MakeTextArg("x"), MakeIntArg(-1)};
  CommandBalloonPopUp(&result, 5, notTip);
  EXPECT_EQ(result.low, 0u);
}

// A balloon popped up while its form is still hidden (as the program's start-up does) shows once the
// form is on the screen, and above it: shown at once, the form coming up later would cover it.
TEST_F(ControlsTest, ABalloonPoppedUpOverAHiddenFormShowsAboveItOnceTheFormIsUp) {
  HWND form = LiveWindow(kEveryWindow);
  ShowWindow(form, SW_HIDE);
  ResultRecord result{};
  std::vector<ArgRecord> args = {Object(kTip, kTypeQTip), MakeIntArg(100), MakeIntArg(100),
                                 MakeTextArg("拖动滑块可以改变签名位置！"), MakeIntArg(-1)};
  CommandBalloonPopUp(&result, static_cast<int>(args.size()), args.data());
  EXPECT_EQ(result.low, 1u);
  HWND tip = BalloonWindow(*ComponentOf(kEveryWindow, kTip));
  ASSERT_NE(tip, nullptr);
  PumpFor(150);
  EXPECT_FALSE(IsWindowVisible(tip)) << "not before its form";

  ShowWindow(form, SW_SHOW);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(tip); }, 2000));
  int place = 0, tipPlace = -1, formPlace = -1;
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT), ++place) {
    if (window == tip) tipPlace = place;
    if (window == form) formPlace = place;
  }
  ASSERT_GE(tipPlace, 0);
  ASSERT_GE(formPlace, 0);
  EXPECT_LT(tipPlace, formPlace) << "the balloon is above its form";
}

// A window's text as Windows holds it, UTF-16: what the user sees, whatever the system's code page.
std::wstring WindowText(HWND window) {
  wchar_t text[256] = L"";
  GetWindowTextW(window, text, 256);
  return text;
}

// Chinese typed into an edit box arrives whole, in each way it reaches the box: as Unicode keys
// (what typing outside an input method, or through X under wine, produces), as an input method's
// WM_IME_CHAR, and as WM_CHAR. Ctrl+A then selects all of it.
TEST_F(ControlsTest, ChineseTypedIntoAnEditBoxArrivesWholeAndCtrlASelectsIt) {
  HWND form = LiveWindow(kEveryWindow);
  HWND edit = ControlOf(kEveryWindow, kEdit);
  SetForegroundWindow(form);
  SetFocus(edit);
  SetWindowTextW(edit, L"");
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }, 1000));

  std::vector<INPUT> keys;
  for (wchar_t character : std::wstring(L"x\u674E\u5A1C")) {  // x李娜
    for (DWORD up : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
      INPUT key{};
      key.type = INPUT_KEYBOARD;
      key.ki.wScan = character;
      key.ki.dwFlags = KEYEVENTF_UNICODE | up;
      keys.push_back(key);
    }
  }
  ASSERT_EQ(SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)), keys.size());
  EXPECT_TRUE(PumpUntil([&] { return WindowText(edit).size() >= 3; }, 2000));
  EXPECT_EQ(WindowText(edit), L"x李娜") << "Unicode keys";

  PostMessageW(edit, WM_IME_CHAR, L'王', 1);
  PumpFor(50);
  EXPECT_EQ(WindowText(edit), L"x李娜王") << "WM_IME_CHAR";
  PostMessageW(edit, WM_CHAR, L'郝', 1);
  PumpFor(50);
  EXPECT_EQ(WindowText(edit), L"x李娜王郝") << "WM_CHAR";
  OwnedText content(ReadTextProperty(kEveryWindow, kEdit, kEditContent));
  EXPECT_STREQ(content.Get(), "x李娜王郝") << "the program reads it as GBK";

  // Ctrl+A, as the keyboard sends it, then a letter replaces the whole text.
  std::vector<INPUT> selectAll;
  for (auto [key, up] : {std::pair{VK_CONTROL, 0ul}, {'A', 0ul}, {'A', 2ul}, {VK_CONTROL, 2ul}, {'Z', 0ul}, {'Z', 2ul}}) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(key);
    input.ki.dwFlags = up;
    selectAll.push_back(input);
  }
  ASSERT_EQ(SendInput(static_cast<UINT>(selectAll.size()), selectAll.data(), sizeof(INPUT)), selectAll.size());
  EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == L"z"; }, 2000));
}

// Every caption crosses to its control as UTF-16: read back through the W functions, each is the
// layout's text, or the one the program wrote, under any system code page.
TEST_F(ControlsTest, CaptionsShowAsTheirUtf16Texts) {
  const struct {
    std::uint32_t unit;  // 0: the window itself
    const wchar_t* shown;
  } captions[] = {{0, L"每种组件"},           {kButton, L"按钮"},       {kEdit, L"王小明"},
                  {kLabel, L"标签"},          {kGroup, L"签名预览"},    {kPageZeroLabel, L"第一页"},
                  {kPageOneButton, L"第二页"}, {kPageOneGroup, L"第二页分组"}, {kPageOneGroupLabel, L"组内"}};
  for (const auto& c : captions) {
    HWND window = c.unit ? ControlOf(kEveryWindow, c.unit) : LiveWindow(kEveryWindow);
    ASSERT_NE(window, nullptr) << std::hex << c.unit;
    EXPECT_EQ(WindowText(window), c.shown) << std::hex << c.unit;
  }
  HWND tab = ControlOf(kEveryWindow, kTab);
  const wchar_t* pages[] = {L"青砚草签", L"方正篆签"};
  for (int i = 0; i < 2; ++i) {
    wchar_t text[32] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    ASSERT_TRUE(SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item))) << i;
    EXPECT_STREQ(text, pages[i]) << "page " << i;
  }
  IntResult(CommandAddItem, {Object(kCombo, kTypeComboBox), MakeTextArg("丙.jpg")});
  wchar_t item[32] = L"";
  SendMessageW(ControlOf(kEveryWindow, kCombo), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"丙.jpg") << "a combo box item";

  WriteTextProperty(kEveryWindow, kButton, kButtonCaption, "改过");
  EXPECT_EQ(WindowText(ControlOf(kEveryWindow, kButton)), L"改过");
  WriteTextProperty(kEveryWindow, kEveryUnit, kWindowTitle, "云笺免费签名设计正式版 V2.0");
  EXPECT_EQ(WindowText(LiveWindow(kEveryWindow)), L"云笺免费签名设计正式版 V2.0");
}

// ---- characters GBK lacks, refused by the edit fields ----

bool PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  bool put = false;
  if (block) {
    std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    put = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!put) GlobalFree(block);
  }
  CloseClipboard();
  return put;
}

// Keys as the keyboard sends them, one UTF-16 unit each (an emoji comes as its two halves).
void TypeUnicode(const std::wstring& text) {
  std::vector<INPUT> keys;
  for (wchar_t unit : text) {
    for (DWORD up : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
      INPUT key{};
      key.type = INPUT_KEYBOARD;
      key.ki.wScan = unit;
      key.ki.dwFlags = KEYEVENTF_UNICODE | up;
      keys.push_back(key);
    }
  }
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

enum class Way { kChar, kImeChar, kPaste, kKeys };
const char* WayName(Way way) {
  switch (way) {
    case Way::kChar: return "WM_CHAR";
    case Way::kImeChar: return "WM_IME_CHAR";
    case Way::kPaste: return "WM_PASTE";
    case Way::kKeys: return "typed keys";
  }
  return "?";
}

void Bring(HWND field, Way way, const std::wstring& text) {
  switch (way) {
    case Way::kChar:
      for (wchar_t unit : text) PostMessageW(field, WM_CHAR, unit, 1);
      break;
    case Way::kImeChar:
      for (wchar_t unit : text) PostMessageW(field, WM_IME_CHAR, unit, 1);
      break;
    case Way::kPaste:
      ASSERT_TRUE(PutOnClipboard(field, text));
      SendMessageW(field, WM_PASTE, 0, 0);
      break;
    case Way::kKeys: TypeUnicode(text); break;
  }
}

// The program's texts are GBK: a character GBK lacks would be read back as "?", so the edit box
// and the edit field of a combo box refuse it, however it comes (one character, the two halves of
// an emoji, a pasted text holding one), and take Chinese that GBK has the same ways.
TEST_F(ControlsTest, EditFieldsRefuseCharactersGbkLacksAndTakeChinese) {
  const struct {
    Way way;
    const char* what;
    std::wstring text;
    bool taken;
  } inputs[] = {
      {Way::kChar, "a Korean syllable", L"\uD55C", false},
      {Way::kChar, "an emoji's two halves", L"\U0001F600", false},
      {Way::kChar, "e with diaeresis", L"\u00EB", false},
      {Way::kImeChar, "a Korean syllable", L"\uD55C", false},
      {Way::kPaste, "a text with a Korean syllable", L"a\uD55Cb", false},
      {Way::kPaste, "a text with an emoji", L"a\U0001F600b", false},
      {Way::kKeys, "a Korean syllable", L"\uD55C", false},
      {Way::kKeys, "an emoji's two halves", L"\U0001F600", false},
      {Way::kChar, "a Chinese character", L"明", true},
      {Way::kImeChar, "a Chinese character", L"小", true},
      {Way::kPaste, "Chinese and e acute", L"李雷\u00E9", true},
      {Way::kKeys, "a Chinese character and a letter", L"娜x", true},
  };
  HWND form = LiveWindow(kEveryWindow);
  WriteIntProperty(kEveryWindow, kCombo, kComboKind, 1);  // editable
  const struct {
    const char* name;
    std::uint32_t unit;
    int content;
    HWND field;
  } fields[] = {{"the edit box", kEdit, kEditContent, ControlOf(kEveryWindow, kEdit)},
                {"the combo box's edit", kCombo, kComboContent,
                 FindWindowExW(ControlOf(kEveryWindow, kCombo), nullptr, L"Edit", nullptr)}};
  for (const auto& f : fields) {
    ASSERT_NE(f.field, nullptr) << f.name;
    SetForegroundWindow(form);
    SetFocus(f.field);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == f.field; }, 1000)) << f.name;
    SetWindowTextW(f.field, L"王");
    SendMessageW(f.field, EM_SETSEL, 1, 1);
    std::wstring expected = L"王";
    for (const auto& input : inputs) {
      Bring(f.field, input.way, input.text);
      if (input.taken) {
        expected += input.text;
        PumpUntil([&] { return WindowText(f.field) == expected; }, 2000);
      } else {
        PumpFor(100);
      }
      EXPECT_EQ(WindowText(f.field), expected) << f.name << ", " << WayName(input.way) << ": " << input.what;
    }
    OwnedText content(ReadTextProperty(kEveryWindow, f.unit, f.content));
    EXPECT_EQ(WideOf936(content.Get() ? content.Get() : ""), expected) << f.name << ": the program reads what is shown";
  }
}

// ---- the save dialog, answered by a thread standing in for the user ----

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t className[16] = L"";
  GetClassNameW(window, className, 16);
  if (std::wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// A dialog the test's own thread opened, up and taking input (a dialog under a message box of its
// own is not). Other test processes share the desktop and may have a dialog of their own up at the
// same moment, so only the owner thread's windows are looked at.
HWND FindThreadDialog(DWORD ownerThread) {
  HWND found = nullptr;
  EnumThreadWindows(ownerThread, FindDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// A dialog's first start under wine on a busy machine can take several seconds.
HWND WaitForDialog(DWORD ownerThread) {
  for (int i = 0; i < 3000; ++i) {
    if (HWND dialog = FindThreadDialog(ownerThread)) return dialog;
    Sleep(20);
  }
  return nullptr;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM data) {
  wchar_t className[16] = L"";
  GetClassNameW(child, className, 16);
  if (_wcsicmp(className, L"Static") == 0) *reinterpret_cast<std::wstring*>(data) += WindowText(child);
  return TRUE;
}

// What the stand-in user is to do, and what it saw.
struct StandInUser {
  bool confirm = false;                // false: cancel
  std::wstring typed;                  // typed into the file-name box before confirming, if any
  std::atomic<bool> answered{false};   // the dialog went away after the answer
  std::atomic<bool> returned{false};   // set by the test once the dialog command has returned
  std::vector<std::wstring> boxes;     // every other box that came up meanwhile: "title: text"
};

// Types into the file-name box of the dialog `ownerThread` opened and confirms, or cancels. Any
// box that comes up after (a refusal, or a prompt of the dialog's own) is noted and dismissed, and
// a dialog that did not take the answer is cancelled: a fault fails the test, never hangs it.
void ActAsUser(DWORD ownerThread, StandInUser* user) {
  HWND dialog = WaitForDialog(ownerThread);
  if (!dialog) return;
  Sleep(100);
  if (!user->typed.empty()) {
    // The file-name box: a combo box with an edit inside on newer dialogs, a plain edit on older.
    HWND nameBox = GetDlgItem(dialog, cmb13);
    if (!nameBox) nameBox = GetDlgItem(dialog, edt1);
    SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(user->typed.c_str()));
  }
  const int button = user->confirm ? IDOK : IDCANCEL;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  const DWORD start = GetTickCount();
  bool cancelled = false;
  while (!user->returned && GetTickCount() - start < 15000) {
    if (!IsWindow(dialog)) user->answered = !cancelled;
    HWND box = FindThreadDialog(ownerThread);
    if (box && box != dialog) {
      std::wstring text;
      EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
      user->boxes.push_back(WindowText(box) + L": " + text);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      for (int i = 0; i < 250 && IsWindow(box); ++i) Sleep(20);
    } else if (box == dialog && !cancelled && GetTickCount() - start > 5000) {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      cancelled = true;
    }
    Sleep(20);
  }
  if (!IsWindow(dialog)) user->answered = !cancelled;
}

// Opens the layout's save dialog with the stand-in user answering it; answers the command's result.
std::uint32_t OpenSaveDialog(StandInUser* user) {
  std::thread thread(ActAsUser, GetCurrentThreadId(), user);
  ResultRecord result{};
  ArgRecord object = MakeObjectArg(kEveryWindow, kDialog, kTypeCommonDlg);
  CommandOpenDialog(&result, 1, &object);
  user->returned = true;
  thread.join();
  return result.low;
}

TEST_F(ControlsTest, TheCustomEntryOpensTheColourDialog) {
  WriteIntProperty(kEveryWindow, kColorPicker, kColorPickerColor, 0x123456);
  HWND picker = ControlOf(kEveryWindow, kColorPicker);
  const auto count = static_cast<int>(SendMessageA(picker, CB_GETCOUNT, 0, 0));
  const struct {
    bool confirm;
    Log events;
  } cases[] = {{false, {}}, {true, {"ColorChanged"}}};
  for (const auto& c : cases) {
    EventLog().clear();
    StandInUser user;
    user.confirm = c.confirm;
    std::thread thread(ActAsUser, GetCurrentThreadId(), &user);
    SendMessageA(picker, CB_SETCURSEL, count - 1, 0);  // the custom entry is last
    SendCommand(kEveryWindow, kColorPicker, CBN_SELENDOK);
    user.returned = true;
    thread.join();
    EXPECT_TRUE(user.answered);
    EXPECT_TRUE(user.boxes.empty());
    EXPECT_EQ(EventLog(), c.events);
    EXPECT_EQ(ReadIntProperty(kEveryWindow, kColorPicker, kColorPickerColor), 0x123456) << "the dialog started there";
    EXPECT_EQ(SendMessageA(picker, CB_GETITEMDATA, SendMessageA(picker, CB_GETCURSEL, 0, 0), 0), 0x123456)
        << "the list shows the colour again";
  }
}

// The chosen path comes back as GBK, the program's own form, whatever the system's code page: a
// Chinese name in a Chinese folder as it is, one in a folder GBK cannot spell inside that folder's
// short name. A new file's name that GBK cannot spell has no such form: the user is told so, and
// the choice counts as cancelled, the old name kept. Cancel keeps it too.
TEST_F(ControlsTest, TheSaveDialogGivesTheChosenPathAsGbkOrRefusesANameGbkCannotSpell) {
  // The dialog moves the current directory (the layout does not keep it); later tests want it back.
  wchar_t directory[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, directory);
  const struct {
    const char* label;
    const wchar_t* folder;
    const wchar_t* typed;
  } cases[] = {
      {"a Chinese name in a Chinese folder", L"云笺签名设计\\我的签名", L"王小明的签名"},
      {"a Chinese name in a folder GBK cannot spell", L"한글 폴더", L"签名"},
      {"a Korean name", L"签名", L"\uD55C\uAE00"},
      {"a name with e diaeresis", L"签名", L"Zo\u00EB"},
      {"an emoji", L"签名", L"\U0001F600"},
  };
  std::string previous = "旧的.bmp";
  WriteTextProperty(kEveryWindow, kDialog, kDialogFileName, previous.c_str());
  for (const auto& c : cases) {
    ScratchFolder folder(c.folder);
    const std::wstring leaf = std::wstring(c.typed) + L".bmp";  // the default extension is added
    wchar_t shortFolder[MAX_PATH] = L"";
    const bool folderNameable =
        !folder.Path().empty() || (GetShortPathNameW(folder.WidePath().c_str(), shortFolder, MAX_PATH) > 0 &&
                                   GbkOf936(shortFolder).has_value());
    const std::optional<std::string> gbkLeaf = GbkOf936(leaf);

    StandInUser user;
    user.confirm = true;
    user.typed = folder / std::wstring(c.typed);
    const std::uint32_t chosen = OpenSaveDialog(&user);
    EXPECT_TRUE(user.answered) << c.label;
    OwnedText fileName(ReadTextProperty(kEveryWindow, kDialog, kDialogFileName));
    const std::string name = fileName.Get() ? fileName.Get() : "";
    if (!gbkLeaf || !folderNameable) {
      EXPECT_EQ(chosen, 0u) << c.label << ": taken as cancelled";
      EXPECT_EQ(name, previous) << c.label;
      ASSERT_EQ(user.boxes.size(), 1u) << c.label;
      EXPECT_EQ(user.boxes[0].rfind(L"无法使用这个文件名: ", 0), 0u) << c.label;
      EXPECT_NE(user.boxes[0].find(leaf), std::wstring::npos) << c.label << ": the box names the file";
      continue;
    }
    EXPECT_EQ(chosen, 1u) << c.label;
    EXPECT_TRUE(user.boxes.empty()) << c.label;
    EXPECT_EQ(name.find('?'), std::string::npos) << c.label << ": " << name;
    if (const std::optional<std::string> whole = GbkOf936(folder / leaf)) {
      EXPECT_EQ(name, *whole) << c.label;
    }
    const std::string tail = "\\" + *gbkLeaf;
    ASSERT_GT(name.size(), tail.size()) << c.label;
    EXPECT_EQ(name.substr(name.size() - tail.size()), tail) << c.label;
    EXPECT_TRUE(SameFile(WideOf936(name.substr(0, name.size() - tail.size())), folder.WidePath()))
        << c.label << ": " << name << " is in another folder";
    previous = name;
  }

  StandInUser canceller;
  EXPECT_EQ(OpenSaveDialog(&canceller), 0u);
  EXPECT_TRUE(canceller.answered);
  EXPECT_TRUE(canceller.boxes.empty());
  OwnedText unchanged(ReadTextProperty(kEveryWindow, kDialog, kDialogFileName));
  EXPECT_STREQ(unchanged.Get(), previous.c_str());
  SetCurrentDirectoryW(directory);
}

// A picture service that keeps the bytes as its "decoded" picture and records every call.
using RecordedPicture = std::vector<std::uint8_t>;
struct PaintCall {
  RECT rect;
  RecordedPicture picture;
  std::int32_t mode;
};
std::vector<PaintCall> gPaintCalls;
int gDecodes = 0;
int gReleases = 0;
void* RecordDecode(const std::uint8_t* bytes, std::size_t length) {
  ++gDecodes;
  return new RecordedPicture(bytes, bytes + length);
}
void RecordRelease(void* decoded) {
  ++gReleases;
  delete static_cast<RecordedPicture*>(decoded);
}
void RecordPaint(HDC, const RECT& rect, const void* decoded, std::int32_t mode) {
  gPaintCalls.push_back({rect, *static_cast<const RecordedPicture*>(decoded), mode});
}

TEST_F(ControlsTest, APictureBoxDecodesItsPictureOnceAndPaintsItByMode) {
  gPaintCalls.clear();
  gDecodes = gReleases = 0;
  SetPictureService({RecordDecode, RecordRelease, RecordPaint});
  const std::uint8_t bytes[] = {0x42, 0x4D, 0x01};
  OwnedBuffer picture(MakeByteBuffer(bytes, sizeof bytes));
  WriteProperty(kEveryWindow, kPicture, kPicBoxPicture, kWholeValue,
                static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(picture.Get())));
  WriteIntProperty(kEveryWindow, kPicture, kPicBoxDisplayMode, 2);
  RedrawWindow(ControlOf(kEveryWindow, kPicture), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RedrawWindow(ControlOf(kEveryWindow, kPicture), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_GE(gPaintCalls.size(), 2u);
  EXPECT_EQ(gDecodes, 1) << "decoded when written, not on every paint";
  const PaintCall& last = gPaintCalls.back();
  EXPECT_EQ(last.mode, 2);
  EXPECT_EQ(last.picture, RecordedPicture(bytes, bytes + sizeof bytes));
  EXPECT_EQ(last.rect.right - last.rect.left, 330);
  EXPECT_EQ(last.rect.bottom - last.rect.top, 110);
  // The property hands out its own copy of the bytes.
  OwnedBuffer read(reinterpret_cast<ByteBuffer>(ReadProperty(kEveryWindow, kPicture, kPicBoxPicture, kWholeValue)));
  ASSERT_EQ(BufferLength(read.Get()), sizeof bytes);
  EXPECT_NE(read.Get(), picture.Get());
  EXPECT_EQ(std::memcmp(BufferBytes(read.Get()), bytes, sizeof bytes), 0);

  // An empty value removes the picture: it is released and no longer painted.
  WriteProperty(kEveryWindow, kPicture, kPicBoxPicture, kWholeValue, 0);
  EXPECT_EQ(gReleases, 1);
  const std::size_t paintsBefore = gPaintCalls.size();
  RedrawWindow(ControlOf(kEveryWindow, kPicture), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(gPaintCalls.size(), paintsBefore);
  SetPictureService({});
}

TEST_F(ControlsTest, DestroyingAControlLeavesTheWindowAndRefreshPaints) {
  ArgRecord args[] = {Object(kButton, kTypeButton)};
  ResultRecord result{};
  CommandRefresh(&result, 1, args);
  HWND button = ControlOf(kEveryWindow, kButton);
  CommandDestroy(&result, 1, args);
  EXPECT_FALSE(IsWindow(button));
  EXPECT_NE(LiveWindow(kEveryWindow), nullptr);
}

// A re-creation takes the unit's visibility, not the old control's: a control of a hidden form is
// not visible on screen, but shows again with its form.
TEST_F(ControlsTest, AControlReCreatedWhileItsFormIsHiddenShowsWithTheForm) {
  WriteIntProperty(kEveryWindow, kEveryUnit, kPropVisible, 0);
  ASSERT_FALSE(IsWindowVisible(LiveWindow(kEveryWindow)));
  WriteIntProperty(kEveryWindow, kSlider, kSliderVertical, 1);
  WriteIntProperty(kEveryWindow, kEveryUnit, kPropVisible, 1);
  ASSERT_TRUE(IsWindowVisible(LiveWindow(kEveryWindow)));
  EXPECT_TRUE(IsWindowVisible(ControlOf(kEveryWindow, kSlider)));
}

// Items written to a live combo box replace its list; what the user typed into an editable one
// survives a re-creation.
TEST_F(ControlsTest, ComboItemsWrittenLiveAndTypedTextSurviveReCreation) {
  IntResult(CommandAddItem, {Object(kCombo, kTypeComboBox), MakeTextArg("旧")});
  const char items[] = "甲\0乙\0丙";
  OwnedBuffer list(MakeByteBuffer(items, sizeof items));
  WriteProperty(kEveryWindow, kCombo, kComboItems, kWholeValue, reinterpret_cast<std::uintptr_t>(list.Get()));
  HWND combo = ControlOf(kEveryWindow, kCombo);
  ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
  OwnedText first = TextResult(CommandItemText, {Object(kCombo, kTypeComboBox), MakeIntArg(0)});
  EXPECT_EQ(std::string(first.Get() ? first.Get() : ""), InTheSystemsOrder({"甲", "乙", "丙"})[0]) << "sorted as the box is";

  WriteIntProperty(kEveryWindow, kCombo, kComboKind, 1);  // editable
  combo = ControlOf(kEveryWindow, kCombo);
  HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"张伟"));
  WriteIntProperty(kEveryWindow, kCombo, kComboMaxLength, 8);  // re-creates again
  EXPECT_NE(ControlOf(kEveryWindow, kCombo), combo);
  OwnedText content(ReadTextProperty(kEveryWindow, kCombo, kComboContent));
  EXPECT_STREQ(content.Get(), "张伟");
  EXPECT_EQ(SendMessageA(ControlOf(kEveryWindow, kCombo), CB_GETCOUNT, 0, 0), 3);
}

// A tab change shows and hides what sits inside a container on a page, not only the page's units.
TEST_F(ControlsTest, ATabChangeCarriesTheUnitsInsideAPagesContainer) {
  EXPECT_FALSE(Shown(kPageOneGroup));
  EXPECT_FALSE(Shown(kPageOneGroupLabel));
  WriteIntProperty(kEveryWindow, kTab, kTabCurrent, 1);
  EXPECT_TRUE(Shown(kPageOneGroup));
  EXPECT_TRUE(Shown(kPageOneGroupLabel));
  WriteIntProperty(kEveryWindow, kTab, kTabCurrent, 0);
  EXPECT_FALSE(Shown(kPageOneGroup));
  EXPECT_FALSE(Shown(kPageOneGroupLabel));
}

// The focus of an editable combo box lives in its edit: GotFocus and LostFocus come once each,
// whether the box or its edit is given the focus.
TEST_F(ControlsTest, AnEditableComboBoxRaisesEachFocusEventOnce) {
  for (const std::int32_t kind : {1, 0, 2}) {
    WriteIntProperty(kEveryWindow, kCombo, kComboKind, kind);
    HWND combo = ControlOf(kEveryWindow, kCombo);
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    EventLog().clear();
    SetFocus(combo);
    PumpFor(20);
    EXPECT_EQ(EventLog(), (Log{"ComboGotFocus"})) << "kind " << kind;
    SetFocus(ControlOf(kEveryWindow, kButton));
    PumpFor(20);
    EXPECT_EQ(EventLog(), (Log{"ComboGotFocus", "ComboLostFocus"})) << "kind " << kind;
    if (!edit) continue;  // a drop-down list has no edit
    EventLog().clear();
    SetFocus(edit);
    PumpFor(20);
    SetFocus(ControlOf(kEveryWindow, kButton));
    PumpFor(20);
    EXPECT_EQ(EventLog(), (Log{"ComboGotFocus", "ComboLostFocus"})) << "kind " << kind << ", the edit focused";
  }
}

// The destroy notification of a control leaves its window loaded; only the unit is no longer live.
TEST_F(ControlsTest, TheDestroyNoticeOfAControlLeavesItsWindowLoaded) {
  NotifyFrame(kNoticeObjectDestroyed, kEveryWindow, kButton);
  ASSERT_NE(LiveWindow(kEveryWindow), nullptr);
  EXPECT_TRUE(FindUnit(*FindWindowRecord(kEveryWindow), kEdit)->live);
  EXPECT_FALSE(FindUnit(*FindWindowRecord(kEveryWindow), kButton)->live);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kEdit, kPropLeft), 120);
}

}  // namespace
