// Benchmark of the real program as shipped: a slider step (from the slider's key message to the
// panel holding the new drawing: the message returns only once the handler has redrawn) on the
// smallest and the largest shipped picture, and a change to the largest picture; for reference in
// the same run, the bare round trip of a message to the slider, a key step of a bare slider in a
// process of its own (what any slider's key costs), and a BitBlt of a whole panel of the largest
// size to a window. Prints one figure line per measure (tools/bench/figures.h).
//
// Usage: program_slider_bench PROGRAM_FOLDER [STEPS]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tools/bench/figures.h"

namespace {

constexpr const char* kTitle = "云笺免费签名设计正式版 V2.0";

struct Found {
  DWORD process;
  HWND main = nullptr;
  std::vector<HWND> children;
};

BOOL CALLBACK MatchMain(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<Found*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char title[128] = "";
  GetWindowTextA(window, title, sizeof title);
  if (process == found->process && IsWindowVisible(window) && std::string(title) == kTitle) {
    found->main = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK Collect(HWND child, LPARAM param) {
  reinterpret_cast<Found*>(param)->children.push_back(child);
  return TRUE;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Action>
std::vector<double> Time(int runs, Action&& action) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    action(i);
    QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
  }
  return times;
}

// Key presses alternating right and left: each moves the slider and redraws the signature.
std::vector<double> TimeSteps(HWND slider, int steps) {
  return Time(steps, [&](int i) { SendMessageA(slider, WM_KEYDOWN, i % 2 ? VK_LEFT : VK_RIGHT, 0); });
}

// Chooses a picture in the list and waits until the program has handled the choice. The list posts
// its selection event to itself; the program sets the slider's range to the panel's new width and
// then draws, all in one handler, and the slider answers a message from this process only once the
// program's thread is back in its loop, so the first answer with the new width comes after the
// drawing.
void Choose(HWND list, int item, HWND slider, LRESULT width) {
  SendMessageA(list, CB_SETCURSEL, item, 0);
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  for (int i = 0; i < 100000 && SendMessageA(slider, TBM_GETRANGEMAX, 0, 0) != width; ++i) {
  }
}

std::string SizeOf(HWND panel) {
  RECT client{};
  GetClientRect(panel, &client);
  return std::to_string(client.right) + "x" + std::to_string(client.bottom);
}

// A BitBlt of a whole panel of `width` x `height` from a memory bitmap to a window of this process.
std::vector<double> TimeFullBlit(int width, int height, int runs) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "BenchBlit";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("BenchBlit", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
  for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  ReleaseDC(window, screen);
  std::vector<double> times = Time(runs, [&](int) {
    HDC dc = GetDC(window);
    BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
  });
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  DestroyWindow(window);
  return times;
}

bool Run(const std::string& folder, int steps) {
  const std::string program = folder + "\\签名设计.exe";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start %s\n", program.c_str());
    return false;
  }
  Found found{process.dwProcessId, nullptr, {}};
  for (int i = 0; i < 1000 && !found.main; ++i) {
    EnumWindows(MatchMain, reinterpret_cast<LPARAM>(&found));
    RECT rect{};
    if (found.main && (!GetWindowRect(found.main, &rect) || rect.top != 12)) found.main = nullptr;
    if (!found.main) Sleep(20);
  }
  if (!found.main) {
    std::fprintf(stderr, "no main window\n");
    TerminateProcess(process.hProcess, 1);
    return false;
  }
  EnumChildWindows(found.main, Collect, reinterpret_cast<LPARAM>(&found));
  HWND slider = nullptr, list = nullptr, panel = nullptr;
  for (HWND child : found.children) {
    const std::string kind = ClassOf(child);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (kind == TRACKBAR_CLASSA && !(style & TBS_VERT)) slider = child;
    if (_stricmp(kind.c_str(), "ComboBox") == 0 && !(style & CBS_OWNERDRAWFIXED)) list = child;
    if (kind == "YjDrawPanel") panel = child;
  }
  // The pictures in sorted order: 05-blue-mist.jpg is the largest (868 x 561), 06-plain-card.bmp the
  // smallest (333 x 200).
  constexpr int kLargest = 4, kSmallest = 5;
  constexpr LRESULT kLargestWidth = 868, kSmallestWidth = 333;
  for (const auto& [item, width] : {std::pair{kSmallest, kSmallestWidth}, std::pair{kLargest, kLargestWidth}}) {
    Choose(list, item, slider, width);
    Sleep(300);
    TimeSteps(slider, 10);  // warm-up
    PrintFigure(("program-step-" + SizeOf(panel)).c_str(), TimeSteps(slider, steps));
  }
  PrintFigure("program-roundtrip",
              Time(steps, [&](int) { SendMessageA(slider, TBM_GETPOS, 0, 0); }));
  std::vector<double> changes;
  for (int i = 0; i < std::max(5, steps / 10); ++i) {
    Choose(list, kSmallest, slider, kSmallestWidth);
    changes.push_back(Time(1, [&](int) { Choose(list, kLargest, slider, kLargestWidth); }).front());
  }
  PrintFigure(("program-picture-change-" + SizeOf(panel)).c_str(), changes);
  RECT client{};
  GetClientRect(panel, &client);
  PrintFigure(("program-blit-" + SizeOf(panel)).c_str(), TimeFullBlit(client.right, client.bottom, steps));

  PostMessageA(found.main, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 15000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}

constexpr const char* kBareHostClass = "BenchBareSliderHost";
constexpr const char* kBareHostOption = "--bare-slider-host";

LRESULT CALLBACK BareHostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

// This program again, as another process: a window holding a slider like the program's (a trackbar
// of the same size and range) and nothing behind it. A key to it costs what any slider's key costs:
// the system's own handling and repaint, the program's drawing left out.
int HostBareSlider() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = BareHostProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kBareHostClass;
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA(kBareHostClass, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 120, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
  HWND slider = CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | TBS_NOTICKS, 10, 10, 335, 20, window,
                                reinterpret_cast<HMENU>(1), windowClass.hInstance, nullptr);
  SendMessageA(slider, TBM_SETRANGEMAX, TRUE, 868);
  SendMessageA(slider, TBM_SETPOS, TRUE, 165);
  for (MSG message; GetMessageA(&message, nullptr, 0, 0) > 0;) DispatchMessageA(&message);
  return 0;
}

// The reference of a slider step: key presses to the bare slider of another process, timed as the
// program's are.
void MeasureBareSlider(int steps) {
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string commandLine = std::string("\"") + self + "\" " + kBareHostOption;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION host{};
  if (!CreateProcessA(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &host)) {
    std::fprintf(stderr, "cannot start the bare slider\n");
    return;
  }
  // The window may be found before its slider is made.
  HWND window = nullptr, slider = nullptr;
  for (int i = 0; i < 500 && !slider; ++i) {
    window = FindWindowA(kBareHostClass, nullptr);
    slider = window ? FindWindowExA(window, nullptr, TRACKBAR_CLASSA, nullptr) : nullptr;
    if (!slider) Sleep(20);
  }
  if (!slider) std::fprintf(stderr, "the bare slider did not come up\n");
  if (slider) {
    Sleep(300);
    TimeSteps(slider, 10);  // warm-up
    PrintFigure("bare-slider-step", TimeSteps(slider, steps));
  }
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(host.hProcess, 10000);
  CloseHandle(host.hProcess);
  CloseHandle(host.hThread);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == kBareHostOption) return HostBareSlider();
  if (argc < 2) {
    std::fprintf(stderr, "usage: program_slider_bench PROGRAM_FOLDER [STEPS]\n");
    return 2;
  }
  const int steps = argc > 2 ? std::max(10, std::atoi(argv[2])) : 300;
  const bool ran = Run(argv[1], steps);
  MeasureBareSlider(steps);
  return ran ? 0 : 1;
}
