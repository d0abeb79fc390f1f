// SkinH_EL.dll: the skin library the program binds by name at start-up. This stand-in changes
// nothing in the program's look; it checks that the skin file can be read and answers 1 when it
// can, 0 otherwise. The program ignores the answer.
//
// Skin file ("pifu.she", beside the program): plain text, GBK. Lines starting with ';' are
// comments; other lines are "key=value" pairs reserved for a future colour scheme and ignored here.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall SkinH_Attach_Ex(const char* skinFile,
                                                               const char* /*password*/) {
  if (!skinFile || !*skinFile) return 0;
  HANDLE file = CreateFileA(skinFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(file);
  return 1;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
