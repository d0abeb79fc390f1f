// The program's own two layouts, loaded by the form machinery: where the windows land, which unit
// gets the focus, and what the splash window's frameless rounded shape and picture box look like.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "canvas/draw_panel_commands.h"
#include "forms/layouts/program_layouts.h"
#include "forms/layouts/window_ids.h"
#include "forms/properties.h"
#include "forms/property_ids.h"
#include "forms/window_map.h"
#include "frame/frame_loop.h"

namespace {

std::vector<int>& Called() {
  static std::vector<int> called;
  return called;
}

template <int N>
void Record() {
  Called().push_back(N);
}

template <int... N>
constexpr std::array<HandlerEntry, sizeof...(N)> RecordingHandlers(std::integer_sequence<int, N...>) {
  return {HandlerEntry{&Record<N>, nullptr}...};
}
constexpr auto kHandlers = RecordingHandlers(std::make_integer_sequence<int, kProgramHandlerCount>{});
constexpr SupportLibraryNotice kLibraries[] = {DrawPanelLibraryNotice};

const ProgramHeader& Header() {
  static const ProgramHeader header{3, {}, ProgramWindowLayouts(), kLibraries, {}, kHandlers};
  return header;
}

HWND Live(std::uint32_t windowId) { return FindWindowRecord(windowId)->window; }
HWND Control(std::uint32_t windowId, std::uint32_t unitId) {
  return FindUnit(*FindWindowRecord(windowId), unitId)->component->Control();
}
RECT RectInClient(HWND window, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class ProgramLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitialiseFrame(Header());
    Called().clear();
  }
  void TearDown() override {
    for (auto& record : WindowRecords()) {
      if (record->window) DestroyWindow(record->window);
    }
  }
};

TEST_F(ProgramLayoutTest, TheMainWindowIsCentredAndFocusesTheChineseNameBox) {
  ASSERT_TRUE(LoadWindow(kMainWindow, 0, false));
  RECT rect{};
  GetWindowRect(Live(kMainWindow), &rect);
  EXPECT_EQ(rect.left, 67);
  EXPECT_EQ(rect.top, 70);
  EXPECT_EQ(rect.right - rect.left, 890);
  EXPECT_EQ(rect.bottom - rect.top, 627);
  EXPECT_EQ(Called(), (std::vector<int>{kOnMainCreated}));
  // All focus orders are 0: the focusable unit with the highest unit id.
  EXPECT_EQ(GetFocus(), Control(kMainWindow, kChineseNameBox));
  EXPECT_EQ(SendMessageA(Control(kMainWindow, kDesignTabs), TCM_GETITEMCOUNT, 0, 0), kDesignCount);
  EXPECT_EQ(ReadIntProperty(kMainWindow, kBackgroundList, kComboCurrentItem), -1);
  // A unit inside a group box sits at the box's place plus its own: 画板1 at (256, 215).
  const RECT panel = RectInClient(Live(kMainWindow), Control(kMainWindow, kPanelUnit));
  EXPECT_EQ(panel.left, 256);
  EXPECT_EQ(panel.top, 215);
  // Escape does not close it.
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  ProcessPendingEvents();
  EXPECT_NE(Live(kMainWindow), nullptr);
}

TEST_F(ProgramLayoutTest, TheSplashWindowIsFramelessRoundedAndCoveredByItsPicture) {
  ASSERT_TRUE(LoadWindow(kSplashWindow, 0, false));
  HWND splash = Live(kSplashWindow);
  RECT rect{};
  GetWindowRect(splash, &rect);
  EXPECT_EQ(rect.left, 355);
  EXPECT_EQ(rect.top, 334);
  EXPECT_EQ(rect.right - rect.left, 314);
  EXPECT_EQ(rect.bottom - rect.top, 100);
  EXPECT_EQ(GetWindowLongPtrA(splash, GWL_STYLE) & WS_CAPTION, 0);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(splash, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 1, 1));
  EXPECT_TRUE(PtInRegion(region, 157, 50));
  DeleteObject(region);
  const RECT picture = RectInClient(splash, Control(kSplashWindow, kSplashPicture));
  EXPECT_EQ(picture.left, -22);
  EXPECT_EQ(picture.top, -8);
  EXPECT_EQ(picture.right - picture.left, 330);
  EXPECT_EQ(picture.bottom - picture.top, 110);
  EXPECT_EQ(ReadIntProperty(kSplashWindow, kSplashTimer, kTimerInterval), 5000);
  EXPECT_EQ(Called(), (std::vector<int>{kOnSplashCreated}));
}

}  // namespace
