// Slider-step benchmark of the real program: the time from the slider's key message to the panel
// holding the new drawing (the message returns only once the handler has redrawn), on the smallest
// and the largest shipped picture, with the program as shipped and with a build of it that leaves
// the font-change broadcast out.
//
// Usage: program_slider_bench PROGRAM_FOLDER VARIANT_EXE [STEPS]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

struct Figures {
  double median, mean;
};

// `steps` key presses alternating right and left, each timed on its own.
Figures TimeSteps(HWND slider, int steps) {
  std::vector<double> times;
  for (int i = 0; i < steps; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    SendMessageA(slider, WM_KEYDOWN, i % 2 ? VK_LEFT : VK_RIGHT, 0);
    QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
  }
  double sum = 0;
  for (double t : times) sum += t;
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], sum / static_cast<double>(times.size())};
}

bool Run(const std::string& folder, const std::string& exe, const char* label, int steps) {
  const std::string program = folder + "\\" + exe;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    std::printf("cannot start %s\n", program.c_str());
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
    std::printf("%s: no main window\n", label);
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
  const struct {
    int item;
    const char* name;
  } pictures[] = {{5, "333x200"}, {4, "868x561"}};
  for (const auto& picture : pictures) {
    SendMessageA(list, CB_SETCURSEL, picture.item, 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    Sleep(300);
    RECT client{};
    GetClientRect(panel, &client);
    TimeSteps(slider, 10);  // warm-up
    const Figures figures = TimeSteps(slider, steps);
    std::printf("%-22s picture %-8s (panel %ldx%ld): %d steps, median %.3f ms, mean %.3f ms per step\n", label,
                picture.name, client.right, client.bottom, steps, figures.median, figures.mean);
  }
  PostMessageA(found.main, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 15000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: program_slider_bench PROGRAM_FOLDER VARIANT_EXE [STEPS]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int steps = argc > 3 ? std::max(10, std::atoi(argv[3])) : 300;
  // The variant runs from the program folder too, so it finds the same pictures and fonts.
  const std::string variant = "bench-without-broadcast.exe";
  if (!CopyFileA(argv[2], (folder + "\\" + variant).c_str(), FALSE)) {
    std::printf("cannot copy %s\n", argv[2]);
    return 1;
  }
  const bool ok = Run(folder, "签名设计.exe", "as shipped", steps) && Run(folder, variant, "without broadcast", steps);
  DeleteFileA((folder + "\\" + variant).c_str());
  return ok ? 0 : 1;
}
