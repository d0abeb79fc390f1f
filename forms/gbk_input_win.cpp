#include "forms/gbk_input_win.h"

#include <imm.h>

#include <string>

#include "forms/callback_guard.h"
#include "forms/control_hooks_win.h"
#include "frame/ground/gbk_text_win.h"

namespace {

bool IsSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Every character of a text GBK can hold. GBK has nothing outside the Basic Multilingual Plane,
// so either half of a surrogate pair is refused on its own (typed characters arrive a half at a
// time).
bool GbkHoldsAll(std::wstring_view text) {
  for (wchar_t c : text) {
    if (IsSurrogate(c)) return false;
  }
  return GbkFromWide(text).has_value();
}

bool GbkHoldsCharacter(WPARAM character) {
  const auto c = static_cast<wchar_t>(character);
  if (c < 0x80) return true;  // control characters and ASCII
  return GbkHoldsAll(std::wstring_view(&c, 1));
}

std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      // The block may be larger than its text; the text ends at its zero.
      const SIZE_T capacity = GlobalSize(data) / sizeof(wchar_t);
      SIZE_T length = 0;
      while (length < capacity && chars[length]) ++length;
      text.assign(chars, length);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::wstring CompositionResult(HWND edit) {
  std::wstring text;
  HIMC context = ImmGetContext(edit);
  if (!context) return text;
  const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
  if (bytes > 0) {
    text.resize(static_cast<std::size_t>(bytes) / sizeof(wchar_t));
    ImmGetCompositionStringW(context, GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
  }
  ImmReleaseContext(edit, context);
  return text;
}

// Whether the message would put a character GBK lacks into the field.
bool BringsCharacterGbkLacks(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR: return !GbkHoldsCharacter(wParam);
    case WM_PASTE: return !GbkHoldsAll(ClipboardText(edit));
    // The edit control takes an input method's result itself, not through WM_CHAR.
    case WM_IME_COMPOSITION: return (lParam & GCS_RESULTSTR) && !GbkHoldsAll(CompositionResult(edit));
    default: return false;
  }
}

LRESULT HandleInput(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (BringsCharacterGbkLacks(edit, message, wParam, lParam)) {
    MessageBeep(MB_OK);
    if (message == WM_IME_COMPOSITION) {
      // The refused result is dropped with the composition, so it does not come back as WM_CHAR.
      if (HIMC context = ImmGetContext(edit)) {
        ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
        ImmReleaseContext(edit, context);
      }
    }
    return 0;
  }
  return CallNextHook(edit, message, wParam, lParam);
}

LRESULT InputHook(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR) {
  return GuardedCallback([&] { return HandleInput(edit, message, wParam, lParam); });
}

}  // namespace

void RefuseCharactersGbkLacks(HWND edit) {
  if (edit) HookControl(edit, InputHook, 0);
}
