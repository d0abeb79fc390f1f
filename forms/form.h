// Live windows built from window records: creation of the window and its units, showing, the
// window's procedure (which passes control messages on to their components) and the keyboard rules
// of the message pump.
#pragma once

#include <windows.h>

#include <cstdint>

#include "forms/window_map.h"

// Creates the window and all its units (hidden), shows the visible units, then raises Created,
// Moved and Resized. False when the window or a control could not be created.
bool CreateForm(WindowRecord& record, HWND owner);
// Shows a loaded window in its layout's initial state (or plainly when runMode is 0) and puts the
// focus by the focus rule. Answers the unit that got the focus (0 for none).
std::uint32_t ShowForm(WindowRecord& record, int runMode);
// Gives the focus to the last focused unit still in the window, else by focus order.
void FocusByRule(WindowRecord& record);
// The private message that destroys a window marked pending destroy.
inline constexpr UINT kDeferredDestroyMessage = 0x8065;
// Tab, Enter and Escape for the windows of the map; true when the key was used.
bool PreTranslateFormMessage(const MSG& message);
// The background brush of the window holding a control (null: the system's).
HBRUSH FormBackgroundBrush(HWND form);
// Shows or hides a unit as its flags and its tab page say.
void ApplyUnitVisibility(std::uint32_t windowId, std::uint32_t unitId);
