/* Holds wine's desktop open for the whole test session.
 *
 * Wine starts its desktop process (explorer.exe) for the first program that needs the desktop,
 * and that process takes the program's standard error with it. The desktop lives while any
 * program uses it, so a test that happened to start it kept its output pipe open, and ctest waited
 * on that pipe until the test's timeout although the test had long ended. Started by with-wine
 * before any test, with its output away from the test runner, this program is the one that
 * starts the desktop, and it stays until the session stops wine; it makes no window of its own. */
#include <stdio.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance, (void)previous, (void)commandLine, (void)show;
  if (!GetDesktopWindow()) return 1;
  /* with-wine waits for this line before it starts the tests. */
  printf("desktop up\n");
  fflush(stdout);
  for (;;) Sleep(INFINITE);
}
