// Typed and pasted text an edit field cannot keep. Every text of the program is GBK, so a
// character GBK has no code for (an emoji, a CJK Extension B character, a Korean syllable) is
// refused at the keyboard, the input method and the clipboard, as a digits-only box refuses a
// letter: what the box shows is then always what the program reads, never "?" in its place.
#pragma once

#include <windows.h>

// Puts the refusal in front of an edit control (an edit box, or the edit field of a combo box).
void RefuseCharactersGbkLacks(HWND edit);
