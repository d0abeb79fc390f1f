// The controls and their events, driven the way the user or the program drives them, and the
// standard operations through the command interface.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <atomic>
#include <cstring>
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
  SendMessageA(ControlOf(kEveryWindow, kEdit), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("韩"));
  // A write of a multi-line box too: the control itself would stay silent there.
  WriteIntProperty(kEveryWindow, kEdit, kEditMultiLine, 1);
  WriteTextProperty(kEveryWindow, kEdit, kEditContent, "一\r\n二");
  EXPECT_EQ(EventLog(), (Log{"ButtonClicked", "EditChanged", "EditChanged", "EditChanged"}));
  OwnedText content(ReadTextProperty(kEveryWindow, kEdit, kEditContent));
  EXPECT_STREQ(content.Get(), "一\r\n二");
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
  const char* expected[] = {"a.bmp", "B.jpg", "丙.jpg", "乙.gif"};  // the system's sort, GBK order after ASCII
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
  char text[64] = "";
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.hwnd = LiveWindow(kEveryWindow);
  tool.uId = kTip;
  tool.lpszText = text;
  SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, "拖动滑块可以改变签名位置！");

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

// Chinese typed into an edit box arrives whole, in each way it reaches an ANSI window: as Unicode
// keys (what typing outside an input method, or through X under wine, produces), as an input
// method's WM_IME_CHAR, and as the two GBK bytes of WM_CHAR. Ctrl+A then selects all of it.
std::string WindowText(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST_F(ControlsTest, ChineseTypedIntoAnEditBoxArrivesWholeAndCtrlASelectsIt) {
  HWND form = LiveWindow(kEveryWindow);
  HWND edit = ControlOf(kEveryWindow, kEdit);
  SetForegroundWindow(form);
  SetFocus(edit);
  SetWindowTextA(edit, "");
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
  EXPECT_TRUE(PumpUntil([&] { return WindowText(edit).size() >= 5; }, 2000));
  EXPECT_EQ(WindowText(edit), "x李娜") << "Unicode keys";

  const std::string wang = "王";  // GBK CD F5
  PostMessageA(edit, WM_IME_CHAR, static_cast<BYTE>(wang[0]) << 8 | static_cast<BYTE>(wang[1]), 1);
  PumpFor(50);
  EXPECT_EQ(WindowText(edit), "x李娜王") << "WM_IME_CHAR";
  const std::string hao = "郝";
  PostMessageA(edit, WM_CHAR, static_cast<BYTE>(hao[0]), 1);
  PostMessageA(edit, WM_CHAR, static_cast<BYTE>(hao[1]), 1);
  PumpFor(50);
  EXPECT_EQ(WindowText(edit), "x李娜王郝") << "two WM_CHAR bytes";

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
  EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == "z"; }, 2000)) << WindowText(edit);
}

// ---- the save dialog, answered by a thread standing in for the user ----

struct DialogFinder {
  HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
    reinterpret_cast<DialogFinder*>(data)->found = window;
    return FALSE;
  }
  return TRUE;
}

// The dialog the test's own thread opened. Other test processes share the desktop and may have a
// dialog of their own up at the same moment, so only the owner thread's windows are looked at. A
// dialog's first start under wine on a busy machine can take several seconds.
HWND WaitForDialog(DWORD ownerThread) {
  for (int i = 0; i < 3000; ++i) {
    DialogFinder finder;
    EnumThreadWindows(ownerThread, FindDialog, reinterpret_cast<LPARAM>(&finder));
    if (finder.found) return finder.found;
    Sleep(20);
  }
  return nullptr;
}

// Types `path` into the file-name box of the dialog `ownerThread` opened and confirms, or cancels
// when path is null; `answered` is set when the dialog went away.
void AnswerDialog(DWORD ownerThread, const char* path, std::atomic<bool>* answered) {
  HWND dialog = WaitForDialog(ownerThread);
  if (!dialog) return;
  Sleep(100);
  if (path) {
    // The file-name box: a combo box with an edit inside on newer dialogs, a plain edit on older.
    HWND nameBox = GetDlgItem(dialog, cmb13);
    if (!nameBox) nameBox = GetDlgItem(dialog, edt1);
    SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  } else {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
  }
  // A dialog that did not take the answer is cancelled, so the test fails instead of hanging.
  for (int i = 0; i < 250 && IsWindow(dialog); ++i) Sleep(20);
  if (IsWindow(dialog)) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return;
  }
  *answered = true;
}

std::string ScratchPath(const char* name) {
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + name;
}

void ConfirmColourDialog(DWORD owner, std::atomic<bool>* answered) { AnswerDialog(owner, "", answered); }
void CancelColourDialog(DWORD owner, std::atomic<bool>* answered) { AnswerDialog(owner, nullptr, answered); }

TEST_F(ControlsTest, TheCustomEntryOpensTheColourDialog) {
  WriteIntProperty(kEveryWindow, kColorPicker, kColorPickerColor, 0x123456);
  HWND picker = ControlOf(kEveryWindow, kColorPicker);
  const auto count = static_cast<int>(SendMessageA(picker, CB_GETCOUNT, 0, 0));
  const struct {
    void (*user)(DWORD, std::atomic<bool>*);
    Log events;
  } cases[] = {{CancelColourDialog, {}}, {ConfirmColourDialog, {"ColorChanged"}}};
  for (const auto& c : cases) {
    EventLog().clear();
    std::atomic<bool> answered{false};
    std::thread user(c.user, GetCurrentThreadId(), &answered);
    SendMessageA(picker, CB_SETCURSEL, count - 1, 0);  // the custom entry is last
    SendCommand(kEveryWindow, kColorPicker, CBN_SELENDOK);
    user.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(EventLog(), c.events);
    EXPECT_EQ(ReadIntProperty(kEveryWindow, kColorPicker, kColorPickerColor), 0x123456) << "the dialog started there";
    EXPECT_EQ(SendMessageA(picker, CB_GETITEMDATA, SendMessageA(picker, CB_GETCURSEL, 0, 0), 0), 0x123456)
        << "the list shows the colour again";
  }
}

TEST_F(ControlsTest, TheSaveDialogTakesATypedPathAndCancelKeepsTheFileName) {
  // The dialog moves the current directory (the layout does not keep it); later tests want it back.
  char directory[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof directory, directory);
  const std::string typed = ScratchPath("签名测试");
  DeleteFileA((typed + ".bmp").c_str());
  std::atomic<bool> answered{false};
  std::thread user(AnswerDialog, GetCurrentThreadId(), typed.c_str(), &answered);
  ResultRecord result{};
  ArgRecord object = Object(kDialog, kTypeCommonDlg);
  CommandOpenDialog(&result, 1, &object);
  user.join();
  ASSERT_TRUE(answered);
  EXPECT_EQ(result.low, 1u);
  OwnedText fileName(ReadTextProperty(kEveryWindow, kDialog, kDialogFileName));
  ASSERT_NE(fileName.Get(), nullptr);
  EXPECT_EQ(std::string(fileName.Get()), typed + ".bmp") << "the default extension is added";

  answered = false;
  std::thread canceller(AnswerDialog, GetCurrentThreadId(), nullptr, &answered);
  CommandOpenDialog(&result, 1, &object);
  canceller.join();
  ASSERT_TRUE(answered);
  EXPECT_EQ(result.low, 0u);
  OwnedText unchanged(ReadTextProperty(kEveryWindow, kDialog, kDialogFileName));
  EXPECT_STREQ(unchanged.Get(), fileName.Get());
  SetCurrentDirectoryA(directory);
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
  EXPECT_STREQ(first.Get(), "丙") << "sorted as the box is";

  WriteIntProperty(kEveryWindow, kCombo, kComboKind, 1);  // editable
  combo = ControlOf(kEveryWindow, kCombo);
  HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("张伟"));
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
