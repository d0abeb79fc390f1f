// The frame's loop: window placement, deferred and immediate destruction, modal loading, the
// last-window rule, event dispatch and suppression, and the ways the program ends.
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "forms/event_ids.h"
#include "forms/properties.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/commands.h"
#include "frame/entry_operations.h"
#include "frame/ground/error_report.h"
#include "frame/ground/memory.h"
#include "tests/forms_win/forms_fixture.h"
#include "tests/frame_win/scratch_folder.h"

namespace {

using Log = std::vector<std::string>;

struct PlacementCase {
  std::uint32_t windowId;
  RECT expected;  // left, top, right, bottom on the 1024 x 768 screen
};

class PlacementTest : public FormsTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(PlacementTest, StartPositionOneCentresWithIntegerHalving) {
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  const PlacementCase c = GetParam();
  // The splash-like window's timer would destroy it; this test only looks at where it lands.
  SetAction(kOnSplashCreated, [] { WriteIntProperty(kSplashWindow, kSplashTimer, kTimerInterval, 0); });
  ASSERT_TRUE(LoadWindow(c.windowId, 0, false));
  RECT rect{};
  GetWindowRect(LiveWindow(c.windowId), &rect);
  EXPECT_EQ(rect.left, c.expected.left);
  EXPECT_EQ(rect.top, c.expected.top);
  EXPECT_EQ(rect.right, c.expected.right);
  EXPECT_EQ(rect.bottom, c.expected.bottom);
  const std::uint32_t unit = FindWindowRecord(c.windowId)->WindowUnit().Id();
  EXPECT_EQ(ReadIntProperty(c.windowId, unit, kPropLeft), c.expected.left);
  EXPECT_EQ(ReadIntProperty(c.windowId, unit, kPropTop), c.expected.top);
}

INSTANTIATE_TEST_SUITE_P(Screen, PlacementTest,
                         ::testing::Values(PlacementCase{kEveryWindow, {67, 70, 67 + 890, 70 + 627}},
                                           PlacementCase{kSplashWindow, {355, 334, 355 + 314, 334 + 100}}),
                         [](const ::testing::TestParamInfo<PlacementCase>& info) {
                           return std::string(info.param.windowId == kEveryWindow ? "Size890x627" : "Size314x100");
                         });

TEST_F(FormsTest, InitialisingTheFramePreparesTheProcess) {
  const AppFrame& frame = TheFrame();
  EXPECT_EQ(frame.mainThreadId, GetCurrentThreadId());
  EXPECT_TRUE(frame.oleInitialised);
  EXPECT_TRUE(TestLibraryStarted());
  HWND hidden = static_cast<HWND>(frame.hiddenWindow);
  ASSERT_TRUE(IsWindow(hidden));
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_TRUE(GetWindowLongPtrA(hidden, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetParent(hidden), nullptr);
  wchar_t directory[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, directory);
  EXPECT_EQ(WideOf936(frame.programDirectory), directory) << "relative paths resolve against the program's folder";
  // The program's constant texts are a static region: freeing one of them does nothing.
  const char* literal = TestProgramHeader().constantTexts.data();
  EXPECT_TRUE(IsInStaticRegion(literal));
  FrameFree(const_cast<char*>(literal));
  EXPECT_STREQ(literal, "载入启动窗口失败");
  // Every layout is in the window map, none loaded yet.
  for (const WindowLayout* layout : TestProgramHeader().windows) {
    WindowRecord* record = FindWindowRecord(layout->windowId);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->window, nullptr);
    EXPECT_EQ(record->units.size(), layout->units.size() + 1);
  }
}

struct StyleCase {
  std::uint32_t windowId;
  DWORD styleSet, styleClear, exStyleSet;
  bool closeItem;
  LRESULT clientHit;  // what a press on the client area does
};

class WindowStyleTest : public FormsTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(WindowStyleTest, TheWindowPropertiesGiveItsFrame) {
  const StyleCase c = GetParam();
  SetAction(kOnSplashCreated, [] { WriteIntProperty(kSplashWindow, kSplashTimer, kTimerInterval, 0); });
  ASSERT_TRUE(LoadWindow(c.windowId, 0, false));
  HWND window = LiveWindow(c.windowId);
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  EXPECT_EQ(style & c.styleSet, c.styleSet);
  EXPECT_EQ(style & c.styleClear, 0u);
  EXPECT_EQ(exStyle & c.exStyleSet, c.exStyleSet);
  if (style & WS_SYSMENU) {
    EXPECT_EQ(GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1), c.closeItem);
  }
  RECT client{};
  GetClientRect(window, &client);
  POINT middle{client.right / 2, client.bottom / 2};
  ClientToScreen(window, &middle);
  EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(middle.x, middle.y)), c.clientHit);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, WindowStyleTest,
    ::testing::Values(
        // Fixed single frame, minimise box only, drags anywhere.
        StyleCase{kEveryWindow, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_THICKFRAME | WS_MAXIMIZEBOX, 0, true, HTCAPTION},
        // No frame, no caption.
        StyleCase{kSplashWindow, 0, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 0, true, HTCLIENT},
        // Maximise box, no close item, always on top.
        StyleCase{kLoaderWindow, WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX, WS_THICKFRAME, WS_EX_TOPMOST, false, HTCLIENT}),
    [](const ::testing::TestParamInfo<StyleCase>& info) {
      return std::string(info.param.windowId == kEveryWindow ? "Every" : info.param.windowId == kSplashWindow ? "Splash" : "Loader");
    });

TEST_F(FormsTest, EnterMovesTheFocusOnlyWhereTheWindowAsksForIt) {
  ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
  SetFocus(ControlOf(kEveryWindow, kEdit));
  PostMessageA(ControlOf(kEveryWindow, kEdit), WM_KEYDOWN, VK_RETURN, 0);
  PumpUntil([] { return GetFocus() != ControlOf(kEveryWindow, kEdit); }, 500);
  EXPECT_EQ(GetFocus(), ControlOf(kEveryWindow, kButton)) << "next by focus order, ties from the higher unit id";

  ASSERT_TRUE(LoadWindow(kPlainWindow, 0, false));
  SetFocus(ControlOf(kPlainWindow, kPlainEdit));
  PostMessageA(ControlOf(kPlainWindow, kPlainEdit), WM_KEYDOWN, VK_RETURN, 0);
  PumpFor(100);
  EXPECT_EQ(GetFocus(), ControlOf(kPlainWindow, kPlainEdit));
}

int gIdleCalls = 0;
void CountIdle(void*) { ++gIdleCalls; }

TEST_F(FormsTest, IdleRoutinesRunWhileTheirWindowExistsAndAreDroppedAfter) {
  gIdleCalls = 0;
  RegisterIdleCallback(kSplashWindow, CountIdle, nullptr);
  RegisterIdleCallback(kPlainWindow, CountIdle, nullptr);  // never loaded here
  SetAction(kOnSplashTick, [] { DestroyObject(kSplashWindow, kSplashUnit, false); });
  ASSERT_TRUE(LoadWindow(kSplashWindow, 0, true));
  EXPECT_GT(gIdleCalls, 0);
  EXPECT_EQ(TheFrame().idleCallbacks.size(), 1u) << "the routine of a window not loaded was dropped";
  SetAction(kOnSplashTick, [] { DestroyObject(kSplashWindow, kSplashUnit, false); });
  const int before = gIdleCalls;
  ASSERT_TRUE(LoadWindow(kSplashWindow, 0, true));
  EXPECT_GT(gIdleCalls, before) << "the window is loaded again, so its routine runs again";
  TheFrame().idleCallbacks.clear();
}

TEST_F(FormsTest, AFramelessRoundedWindowIsCutToItsCorners) {
  SetAction(kOnSplashCreated, [] { WriteIntProperty(kSplashWindow, kSplashTimer, kTimerInterval, 0); });
  ASSERT_TRUE(LoadWindow(kSplashWindow, 0, false));
  HWND window = LiveWindow(kSplashWindow);
  EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(window, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0)) << "corner cut";
  EXPECT_TRUE(PtInRegion(region, 20, 0)) << "edge kept past the 20-pixel corner";
  EXPECT_TRUE(PtInRegion(region, 157, 50));
  DeleteObject(region);
}

TEST_F(FormsTest, LoadingRaisesCreatedMovedResizedOnceAndFocusesByTheRule) {
  ASSERT_TRUE(LoadWindow(kLoaderWindow, 0, false));
  // The loader window's Created would load the splash window; here no action is set.
  EXPECT_EQ(EventLog(), (Log{"LoaderCreated", "LoaderMoved", "LoaderResized"}));
  ResetTestHandlers();
  ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
  // All focus orders are 0: the focusable unit with the highest index that is shown gets it. The
  // group box holds the tab box (0x18), and page one's units are hidden.
  EXPECT_EQ(GetFocus(), ControlOf(kEveryWindow, kColorPicker));
}

TEST_F(FormsTest, TheFocusRuleAndTheFocusEvents) {
  ASSERT_TRUE(LoadWindow(kPlainWindow, 0, false));
  EXPECT_EQ(GetFocus(), ControlOf(kPlainWindow, kPlainButton)) << "smallest focus order";
  EXPECT_EQ(EventLog(), (Log{"PlainCreated", "PlainGotFocus"}));
  SetFocus(ControlOf(kPlainWindow, kPlainEdit));
  EXPECT_EQ(EventLog().back(), "PlainLostFocus");
  // Tab moves on by focus order and comes round again.
  PostMessageA(ControlOf(kPlainWindow, kPlainEdit), WM_KEYDOWN, VK_TAB, 0);
  PumpUntil([] { return GetFocus() == ControlOf(kPlainWindow, kPlainButton); }, 500);
  EXPECT_EQ(GetFocus(), ControlOf(kPlainWindow, kPlainButton));
  EXPECT_EQ(EventLog().back(), "PlainGotFocus");

  // Coming back to the window brings the focus back to the unit that last had it.
  SetFocus(ControlOf(kPlainWindow, kPlainEdit));
  ASSERT_TRUE(LoadWindow(kLoaderWindow, 0, false));
  PumpFor(50);
  ASSERT_NE(GetActiveWindow(), LiveWindow(kPlainWindow));
  SetForegroundWindow(LiveWindow(kPlainWindow));
  SetActiveWindow(LiveWindow(kPlainWindow));
  PumpFor(50);
  EXPECT_EQ(GetFocus(), ControlOf(kPlainWindow, kPlainEdit));
}

TEST_F(FormsTest, WritingTheWindowsGeometryMovesItWithoutActivationAndRaisesItsEvents) {
  ASSERT_TRUE(LoadWindow(kLoaderWindow, 0, false));
  ASSERT_TRUE(LoadWindow(kPlainWindow, 0, false));
  const HWND active = GetActiveWindow();
  EventLog().clear();
  WriteIntProperty(kLoaderWindow, kLoaderUnit, kPropTop, 12);
  WriteIntProperty(kLoaderWindow, kLoaderUnit, kPropWidth, 333);
  RECT rect{};
  GetWindowRect(LiveWindow(kLoaderWindow), &rect);
  EXPECT_EQ(rect.top, 12);
  EXPECT_EQ(rect.left, 100) << "left kept";
  EXPECT_EQ(rect.right - rect.left, 333);
  EXPECT_EQ(GetActiveWindow(), active);
  EXPECT_EQ(EventLog(), (Log{"LoaderMoved", "LoaderResized"}));
}

TEST_F(FormsTest, PendingEventsAreProcessedButTheQuitMessageStays) {
  ASSERT_TRUE(LoadWindow(kPlainWindow, 0, false));
  EventLog().clear();
  PostMessageA(ControlOf(kPlainWindow, kPlainButton), BM_CLICK, 0, 0);
  PostQuitMessage(0);
  ProcessPendingEvents();
  EXPECT_EQ(EventLog(), (Log{"PlainClicked"}));
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(FormsTest, AWindowDestroyingItselfFromItsHandlerFinishesTheHandlerFirst) {
  ASSERT_TRUE(LoadWindow(kPlainWindow, 0, false));
  EventLog().clear();
  bool aliveAfterRequest = false;
  SetAction(kOnPlainClicked, [&] {
    ArgRecord object = MakeObjectArg(kPlainWindow, kPlainUnit, kTypeWindow);
    ResultRecord result{};
    CommandDestroy(&result, 1, &object);
    aliveAfterRequest = IsWindow(LiveWindow(kPlainWindow)) != FALSE;
    EventLog().push_back("handler finished");
  });
  SendMessageA(ControlOf(kPlainWindow, kPlainButton), BM_CLICK, 0, 0);
  EXPECT_TRUE(aliveAfterRequest);
  EXPECT_EQ(EventLog(), (Log{"PlainClicked", "handler finished"}));
  ASSERT_TRUE(PumpUntil([] { return LiveWindow(kPlainWindow) == nullptr; }));
  // The focused button loses the focus as its window goes.
  EXPECT_EQ(EventLog(), (Log{"PlainClicked", "handler finished", "PlainLostFocus", "PlainDestroyed"}));
}

TEST_F(FormsTest, AModalLoadFromCreatedReturnsOnlyAfterTheModalWindowsTimerDestroyedIt) {
  bool loaded = false;
  SetAction(kOnLoaderCreated, [&] {
    ArgRecord args[3] = {MakeObjectArg(kSplashWindow, kSplashUnit, kTypeWindow), MakeOmittedArg(), MakeBoolArg(true)};
    ResultRecord result{};
    CommandLoadWindow(&result, 3, args);
    loaded = result.low != 0;
    EventLog().push_back(LiveWindow(kSplashWindow) ? "load returned, splash alive" : "load returned, splash gone");
  });
  SetAction(kOnSplashTick, [] {
    ArgRecord object = MakeObjectArg(kSplashWindow, kSplashUnit, kTypeWindow);
    ResultRecord result{};
    CommandDestroy(&result, 1, &object);
  });
  ASSERT_TRUE(LoadWindow(kLoaderWindow, 0, false));
  EXPECT_TRUE(loaded);
  EXPECT_EQ(EventLog(), (Log{"LoaderCreated", "SplashCreated", "SplashMoved", "SplashResized", "SplashTick",
                             "SplashDestroyed", "load returned, splash gone", "LoaderMoved", "LoaderResized"}));
}

TEST_F(FormsTest, AModalLoopLeavesAQuitMessageForTheLoopOutside) {
  SetAction(kOnLoaderCreated, [] {
    EventLog().push_back(LoadWindow(kSplashWindow, kLoaderWindow, true) ? "load returned" : "load failed");
  });
  SetAction(kOnSplashCreated, [] {
    WriteIntProperty(kSplashWindow, kSplashTimer, kTimerInterval, 0);
    PostQuitMessage(5);
  });
  ASSERT_TRUE(LoadWindow(kLoaderWindow, 0, false));
  EXPECT_EQ(EventLog(), (Log{"LoaderCreated", "SplashCreated", "SplashMoved", "SplashResized", "load returned",
                             "LoaderMoved", "LoaderResized"}));
  EXPECT_NE(LiveWindow(kSplashWindow), nullptr);
  EXPECT_EQ(GetWindow(LiveWindow(kSplashWindow), GW_OWNER), LiveWindow(kLoaderWindow));
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 5u);
}

TEST_F(FormsTest, EscapeClosesAWindowThatAsksForIt) {
  SetAction(kOnSplashCreated, [] { WriteIntProperty(kSplashWindow, kSplashTimer, kTimerInterval, 0); });
  ASSERT_TRUE(LoadWindow(kSplashWindow, 0, false));
  PostMessageA(LiveWindow(kSplashWindow), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(PumpUntil([] { return LiveWindow(kSplashWindow) == nullptr; }));
  EXPECT_EQ(EventLog().back(), "SplashDestroyed");

  // The plain window does not ask for it.
  ASSERT_TRUE(LoadWindow(kPlainWindow, 0, false));
  PostMessageA(LiveWindow(kPlainWindow), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpFor(100);
  EXPECT_NE(LiveWindow(kPlainWindow), nullptr);
}

TEST_F(FormsTest, MayCloseAnsweringFalseRefusesTheClose) {
  ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
  SetAnswer(kOnEveryMayClose, 0);
  SendMessageA(LiveWindow(kEveryWindow), WM_CLOSE, 0, 0);
  EXPECT_NE(LiveWindow(kEveryWindow), nullptr);
  SetAnswer(kOnEveryMayClose, 1);
  SendMessageA(LiveWindow(kEveryWindow), WM_CLOSE, 0, 0);
  EXPECT_EQ(LiveWindow(kEveryWindow), nullptr);
  EXPECT_EQ(EventLog(), (Log{"EveryCreated", "EveryMayClose", "EveryMayClose", "EveryDestroyed"}));
}

TEST_F(FormsTest, EventsAreDroppedWhileSuppressedAndTheSourceIsSetDuringAHandler) {
  ASSERT_TRUE(LoadWindow(kPlainWindow, 0, false));
  EventLog().clear();
  std::uint32_t sourceWindow = 0, sourceUnit = 0;
  SetAction(kOnPlainClicked, [&] {
    sourceWindow = TheFrame().eventSourceWindow;
    sourceUnit = TheFrame().eventSourceUnit;
  });
  ++TheFrame().eventSuppressionCount;
  SendMessageA(ControlOf(kPlainWindow, kPlainButton), BM_CLICK, 0, 0);
  --TheFrame().eventSuppressionCount;
  EXPECT_TRUE(EventLog().empty());
  SendMessageA(ControlOf(kPlainWindow, kPlainButton), BM_CLICK, 0, 0);
  EXPECT_EQ(EventLog(), (Log{"PlainClicked"}));
  EXPECT_EQ(sourceWindow, kPlainWindow);
  EXPECT_EQ(sourceUnit, kPlainButton);
  EXPECT_EQ(TheFrame().eventSourceWindow, 0u) << "cleared after the handler";
}

TEST_F(FormsTest, TheTypedEventFormCarriesTheHandlersAnswer) {
  ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
  SetAnswer(kOnEveryMayClose, 0);
  TypedEventRecord record{};
  record.windowId = kEveryWindow;
  record.unitId = 0;  // the window itself
  record.eventNumber = kWindowMayClose;
  record.argCount = 1;
  record.args[0] = {7, 0, kTypeInt, 0};
  DispatchTypedEvent(record);
  EXPECT_EQ(record.hasResult, 1);
  EXPECT_EQ(record.result, 0);
  EventRecord unbound{kEveryWindow, kButton, kButtonClicked + 40, 0, {}, 0, 0};
  DispatchEvent(unbound);
  EXPECT_EQ(unbound.hasResult, 0) << "an event without a binding is dropped";
}

// ---- ways the program ends (each in a child process) ----

int QuietHook(int, const char* message) {
  std::fprintf(stderr, "error: %s\n", message ? message : "");
  return 1;
}
void CleanupPrints() { std::fputs("clean-up\n", stderr); }
void CleanupPrintsThread() {
  std::fprintf(stderr, "clean-up on %s thread\n", GetCurrentThreadId() == TheFrame().mainThreadId ? "main" : "other");
}

bool ExitedWith(int status, unsigned code) { return static_cast<unsigned>(status) == code; }

TEST(FrameEndDeathTest, DestroyingTheLastWindowEndsTheLoopAndRunsTheCleanUpOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        RunProgram([] {
          InitialiseFrame(TestProgramHeader());
          RegisterCleanupRoutine(CleanupPrints);
          SetAction(kOnPlainCreated, [] {
            ArgRecord object = MakeObjectArg(kPlainWindow, kPlainUnit, kTypeWindow);
            ResultRecord result{};
            CommandDestroy(&result, 1, &object);
          });
          LoadStartWindow(kPlainWindow);
          RunMessageLoop();
          std::fputs("loop ended\n", stderr);
          return 0;
        });
      },
      // Shutdown order: the clean-up routine, then the support libraries' end notices.
      [](int status) { return ExitedWith(status, 0); }, "^loop ended\nclean-up\nlibrary end\n$");
}

TEST(FrameEndDeathTest, ARuntimeErrorInAHandlerEndsWithMinusOneWithoutTheCleanUp) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        InitialiseFrame(TestProgramHeader());
        SetErrorHook(QuietHook);
        RegisterCleanupRoutine(CleanupPrints);
        SetAction(kOnPlainCreated, [] { ReadProperty(0x52029999, 0, kPropLeft, kWholeValue); });
        SetAction(kOnPlainDestroyed, [] { std::fputs("handler ran during shutdown\n", stderr); });
        LoadStartWindow(kPlainWindow);
        RunMessageLoop();
      },
      [](int status) { return ExitedWith(status, 0xFFFFFFFFu); },
      "^error: 未载入欲访问窗口组件所在的窗口\nlibrary end\n$");
}

TEST(FrameEndDeathTest, EndingTheProgramFromAnotherThreadRunsTheCleanUpOnTheMainThread) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        InitialiseFrame(TestProgramHeader());
        RegisterCleanupRoutine(CleanupPrintsThread);
        SetAction(kOnPlainCreated, [] {
          std::thread([] { EndProgram(3); }).detach();
        });
        LoadStartWindow(kPlainWindow);
        RunMessageLoop();
        std::fputs("loop ended instead\n", stderr);
        EndProgram(9);
      },
      [](int status) { return ExitedWith(status, 3); }, "^clean-up on main thread\nlibrary end\n$");
}

struct EventErrorCase {
  const char* name;
  EventRecord record;
  const char* message;
};

class EventErrorDeathTest : public FormsTest, public ::testing::WithParamInterface<EventErrorCase> {};

TEST_P(EventErrorDeathTest, AnEventForSomethingThatIsNotThereEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EventErrorCase c = GetParam();
  EXPECT_EXIT(
      {
        SetErrorHook(QuietHook);
        DispatchEvent(c.record);
      },
      [](int status) { return ExitedWith(status, 0xFFFFFFFFu); }, std::string("^error: ") + c.message + "\nlibrary end\n$");
}

INSTANTIATE_TEST_SUITE_P(
    Dispatch, EventErrorDeathTest,
    ::testing::Values(EventErrorCase{"Window", {0x52029999, 0, 0, 0, {}, 0, 0}, "未找到引发事件的窗口"},
                      EventErrorCase{"Unit", {kPlainWindow, 0x16029999, 0, 0, {}, 0, 0}, "未找到引发事件的窗口组件"},
                      EventErrorCase{"TypeWithoutEvents", {kEveryWindow, kDialog, 0, 0, {}, 0, 0},
                                     "引发事件的窗口组件无效"}),
    [](const ::testing::TestParamInfo<EventErrorCase>& info) { return std::string(info.param.name); });

}  // namespace
