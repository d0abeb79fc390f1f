// The procedures a control's messages pass through before its own window procedure, and the
// component each control belongs to. Both are kept in this process: the system keeps window
// properties, and its own subclassing keeps its records in them, on the window server's side, so
// every look-up there is a round trip to the server (under wine several per message, a large share
// of what a slider step costs).
#pragma once

#include <windows.h>

class Component;

// A procedure in front of a control's own. It hands the message on with CallNextHook, or answers it
// itself. `data` is what HookControl was given.
using ControlHook = LRESULT (*)(HWND control, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data);

// Puts `hook` in front of the control's procedures: the hook put last runs first. The control's
// procedure is replaced (as a Unicode one) the first time. Everything is forgotten when the control
// has handled WM_NCDESTROY.
bool HookControl(HWND control, ControlHook hook, DWORD_PTR data);

// Takes `hook` out of the control's chain; calls in progress go on past it.
void UnhookControl(HWND control, ControlHook hook);

// For a hook: the next procedure of the chain, the control's own at its end.
LRESULT CallNextHook(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// The component a control belongs to; null for a window that is not a component's control.
void SetControlComponent(HWND control, Component* component);
Component* ControlComponentOf(HWND control);
