// Event numbers of the component types.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kEventGotFocus = -7;
inline constexpr std::int32_t kEventLostFocus = -8;

inline constexpr std::int32_t kWindowCreated = 0;
inline constexpr std::int32_t kWindowMayClose = 1;
inline constexpr std::int32_t kWindowDestroyed = 2;
inline constexpr std::int32_t kWindowMoved = 3;
inline constexpr std::int32_t kWindowResized = 4;
inline constexpr std::int32_t kWindowShown = 10;
inline constexpr std::int32_t kWindowHidden = 11;

inline constexpr std::int32_t kButtonClicked = 0;
inline constexpr std::int32_t kEditContentChanged = 0;
inline constexpr std::int32_t kComboItemSelected = 0;
inline constexpr std::int32_t kComboEditChanged = 1;
inline constexpr std::int32_t kComboDroppingDown = 2;
inline constexpr std::int32_t kComboClosedUp = 3;
inline constexpr std::int32_t kComboDoubleClicked = 4;
inline constexpr std::int32_t kSliderPositionChanged = 0;
inline constexpr std::int32_t kTabClicked = 0;
inline constexpr std::int32_t kTabChanging = 1;
inline constexpr std::int32_t kTabChanged = 2;
inline constexpr std::int32_t kColorChanged = 0;
inline constexpr std::int32_t kTimerTick = 0;
// The panel's paint event (raised only while autoRedraw is off): left, top, right, bottom of the
// area to paint, in the coordinate unit.
inline constexpr std::int32_t kDrawPanelPaint = 0;
