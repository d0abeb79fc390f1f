// Small windows that drive the form machinery in tests: one with a control of every type, a
// splash-like frameless window with its own timer, a window that loads it modally, and a plain one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame/program_header.h"

// Windows and their window units.
inline constexpr std::uint32_t kEveryWindow = 0x52020001;
inline constexpr std::uint32_t kEveryUnit = 0x06020001;
inline constexpr std::uint32_t kSplashWindow = 0x52020002;
inline constexpr std::uint32_t kSplashUnit = 0x06020002;
inline constexpr std::uint32_t kLoaderWindow = 0x52020003;
inline constexpr std::uint32_t kLoaderUnit = 0x06020003;
inline constexpr std::uint32_t kPlainWindow = 0x52020004;
inline constexpr std::uint32_t kPlainUnit = 0x06020004;

// Units of the every-control window (ids ascending, as the layout holds them).
inline constexpr std::uint32_t kButton = 0x16020010;
inline constexpr std::uint32_t kEdit = 0x16020011;
inline constexpr std::uint32_t kLabel = 0x16020012;
inline constexpr std::uint32_t kCombo = 0x16020013;
inline constexpr std::uint32_t kSlider = 0x16020014;
inline constexpr std::uint32_t kPageZeroLabel = 0x16020015;
inline constexpr std::uint32_t kPageOneButton = 0x16020016;
inline constexpr std::uint32_t kPageOneEdit = 0x16020017;
inline constexpr std::uint32_t kTab = 0x16020018;
inline constexpr std::uint32_t kColorPicker = 0x16020019;
inline constexpr std::uint32_t kDialog = 0x1602001A;
inline constexpr std::uint32_t kTimer = 0x1602001B;
inline constexpr std::uint32_t kPicture = 0x1602001C;
inline constexpr std::uint32_t kTip = 0x1602001D;
inline constexpr std::uint32_t kGroup = 0x1602001E;
// A group box on the tab's second page, and a label inside it.
inline constexpr std::uint32_t kPageOneGroupLabel = 0x16020027;
inline constexpr std::uint32_t kPageOneGroup = 0x16020028;
// Units of the splash-like window.
inline constexpr std::uint32_t kSplashTimer = 0x16020020;
// Units of the plain window.
inline constexpr std::uint32_t kPlainButton = 0x16020030;
inline constexpr std::uint32_t kPlainEdit = 0x16020031;

// Handler numbers; each handler logs its number and then runs the test's action for it, if any.
enum TestHandler : std::int32_t {
  kOnEveryCreated,
  kOnEveryMayClose,
  kOnEveryDestroyed,
  kOnButtonClicked,
  kOnEditChanged,
  kOnComboSelected,
  kOnSliderMoved,
  kOnTabChanging,
  kOnTabChanged,
  kOnColorChanged,
  kOnTimerTick,
  kOnSplashCreated,
  kOnSplashMoved,
  kOnSplashResized,
  kOnSplashTick,
  kOnSplashDestroyed,
  kOnLoaderCreated,
  kOnLoaderMoved,
  kOnLoaderResized,
  kOnLoaderDestroyed,
  kOnPlainCreated,
  kOnPlainClicked,
  kOnPlainDestroyed,
  kOnPlainGotFocus,
  kOnPlainLostFocus,
  kOnComboGotFocus,
  kOnComboLostFocus,
  kHandlerCount,
};

// What the handlers did, in order: the handler numbers, plus markers the actions add.
std::vector<std::string>& EventLog();
// Per handler: an action to run when it is called, and for the answering ones (MayClose,
// TabChanging) the answer; both are reset by ResetTestHandlers.
void SetAction(TestHandler handler, std::function<void()> action);
void SetAnswer(TestHandler handler, std::int32_t answer);
void ResetTestHandlers();
const char* HandlerName(std::int32_t handler);

const ProgramHeader& TestProgramHeader();
// Whether the header's support library got its start notice, with the frame's notification function.
bool TestLibraryStarted();
