// Times the drawing panel as the designer uses it, for each picture given: a slider step (clear the
// panel to its tiled picture, set the text colour and font, set the write position, write a
// four-character name at 70 points) and each of its operations, a change of picture (size, picture,
// first drawing), GetPicture with the BMP packing, and for reference a BitBlt of the whole panel to
// its window. A tool, not a test: it prints one figure line per measure (tools/bench/figures.h).
//
// Usage: draw_panel_bench.exe [--steps N] PICTURE...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "canvas/picture.h"

#include "canvas/draw_panel_win.h"
#include "forms/layout.h"
#include "forms/properties.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/app_frame.h"
#include "frame/commands.h"
#include "frame/frame_loop.h"
#include "frame/ground/memory.h"
#include "frame/ground/owned.h"
#include "frame/program_header.h"
#include "tools/bench/figures.h"

namespace {

constexpr std::uint32_t kBenchWindow = 0x52040001;
constexpr std::uint32_t kBenchWindowUnit = 0x06040001;
constexpr std::uint32_t kBenchPanel = 0x16040010;

constexpr PropertySetting kWindowData[] = {SetText(kWindowTitle, "画板计时"), SetNumber(kWindowBorder, 2)};
constexpr PropertySetting kPanelData[] = {SetNumber(kDrawPanelBackColor, 0xFFFFFF), SetNumber(kDrawPanelPictureMode, 1),
                                          SetNumber(kDrawPanelAutoRedraw, 1)};
constexpr UnitRow kUnits[] = {
    {kBenchPanel, "画板1", kTypeDrawPanel, 0, 4, 4, 333, 200, kUnitVisible, 0, {}, kPanelData, {}}};
constexpr WindowLayout kLayout{
    kBenchWindow, {kBenchWindowUnit, "", kTypeWindow, 0, 0, 0, 1000, 740, kUnitVisible, 0, {}, kWindowData, {}},
    kUnits};
constexpr const WindowLayout* kLayouts[] = {&kLayout};
constexpr SupportLibraryNotice kLibraries[] = {DrawPanelLibraryNotice};
constexpr char kConstantTexts[] = "";

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::vector<std::uint8_t> ReadWholeFile(const char* path) {
  std::vector<std::uint8_t> bytes;
  if (FILE* file = std::fopen(path, "rb")) {
    std::uint8_t chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(file);
  }
  return bytes;
}

void Call(CommandFunction command, std::vector<ArgRecord> args) {
  args.insert(args.begin(), MakeObjectArg(kBenchWindow, kBenchPanel, kTypeDrawPanel));
  ResultRecord result{};
  command(&result, static_cast<int>(args.size()), args.data());
  FrameFree(ResultPointer(result));
}

struct StepTimes {
  std::vector<double> step, clear, colour, font, position, write;
};

// One slider step of the designer, each operation timed.
void Step(int step, StepTimes* times) {
  const double t0 = NowMs();
  Call(CommandPanelClear, {});
  const double t1 = NowMs();
  WriteIntProperty(kBenchWindow, kBenchPanel, kDrawPanelTextColor, 0x0000C0);
  const double t2 = NowMs();
  FontRecord font{0, 1, 0, 0, 0, 70, const_cast<char*>("宋体")};
  WriteProperty(kBenchWindow, kBenchPanel, kDrawPanelFont, kWholeValue,
                static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&font)));
  WriteProperty(kBenchWindow, kBenchPanel, kDrawPanelFont, kFontBold, 0);
  const double t3 = NowMs();
  Call(CommandPanelSetWritePosition, {MakeIntArg(step % 300), MakeIntArg(step % 200)});
  const double t4 = NowMs();
  Call(CommandPanelWrite, {MakeTextArg("王小明明")});
  const double t5 = NowMs();
  if (!times) return;
  times->step.push_back(t5 - t0);
  times->clear.push_back(t1 - t0);
  times->colour.push_back(t2 - t1);
  times->font.push_back(t3 - t2);
  times->position.push_back(t4 - t3);
  times->write.push_back(t5 - t4);
}

struct Picture {
  std::vector<std::uint8_t> bytes;
  int width = 0;
  int height = 0;
  std::string size;  // "WxH"
};

// What the designer does when a picture is chosen: the panel takes its size, then the picture, and
// is drawn on.
void ChangePicture(const Picture& picture) {
  WriteIntProperty(kBenchWindow, kBenchPanel, kPropWidth, picture.width);
  WriteIntProperty(kBenchWindow, kBenchPanel, kPropHeight, picture.height);
  OwnedBuffer bytes(MakeByteBuffer(picture.bytes.data(), picture.bytes.size()));
  WriteProperty(kBenchWindow, kBenchPanel, kDrawPanelPicture, kWholeValue,
                static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(bytes.Get())));
  Step(0, nullptr);
}

void Pump() {
  for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
}

std::string Name(const char* figure, const Picture& picture) { return std::string(figure) + "-" + picture.size; }

void Measure(const Picture& picture, const Picture& other, int steps) {
  ChangePicture(picture);
  Pump();
  for (int i = 0; i < 10; ++i) Step(i, nullptr);  // warm-up: the picture is decoded, the font made
  StepTimes times;
  for (int i = 0; i < steps; ++i) Step(i, &times);
  PrintFigure(Name("panel-step", picture).c_str(), times.step);
  PrintFigure(Name("panel-clear", picture).c_str(), times.clear);
  PrintFigure(Name("panel-text-colour", picture).c_str(), times.colour);
  PrintFigure(Name("panel-font", picture).c_str(), times.font);
  PrintFigure(Name("panel-position", picture).c_str(), times.position);
  PrintFigure(Name("panel-write", picture).c_str(), times.write);

  // Reference: the whole panel copied to its window once.
  auto* panel = reinterpret_cast<Component*>(NotifyFrame(kNoticeFindObjectMustExist, kBenchWindow, kBenchPanel));
  const HWND window = panel->Control();
  std::vector<double> blits;
  {
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    ReleaseDC(window, screen);
    for (int i = 0; i < steps; ++i) {
      const double start = NowMs();
      HDC dc = GetDC(window);
      BitBlt(dc, 0, 0, picture.width, picture.height, memory, 0, 0, SRCCOPY);
      ReleaseDC(window, dc);
      blits.push_back(NowMs() - start);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
  }
  PrintFigure(Name("panel-blit", picture).c_str(), blits);
  Call(CommandPanelClear, {});  // the window shows the panel again

  std::vector<double> exports;
  for (int i = 0; i < steps; ++i) {
    ArgRecord object = MakeObjectArg(kBenchWindow, kBenchPanel, kTypeDrawPanel);
    ResultRecord result{};
    const double start = NowMs();
    CommandPanelGetPicture(&result, 1, &object);
    OwnedBuffer file(static_cast<ByteBuffer>(ResultPointer(result)));
    exports.push_back(NowMs() - start);
  }
  PrintFigure(Name("panel-getpicture", picture).c_str(), exports);

  // Changing to this picture from the other one, again and again.
  std::vector<double> changes;
  for (int i = 0; i < std::max(5, steps / 10); ++i) {
    ChangePicture(other);
    Pump();
    const double start = NowMs();
    ChangePicture(picture);
    changes.push_back(NowMs() - start);
    Pump();
  }
  PrintFigure(Name("panel-picture-change", picture).c_str(), changes);
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  int steps = 300;
  if (argc > 2 && std::strcmp(argv[1], "--steps") == 0) {
    steps = std::max(10, std::atoi(argv[2]));
    first = 3;
  }
  if (argc <= first) {
    std::fprintf(stderr, "usage: %s [--steps N] PICTURE...\n", argv[0]);
    return 2;
  }
  std::vector<Picture> pictures;
  for (int i = first; i < argc; ++i) {
    Picture picture;
    picture.bytes = ReadWholeFile(argv[i]);
    const DecodeResult decoded = DecodePicture(picture.bytes.data(), picture.bytes.size());
    if (!decoded) {
      std::fprintf(stderr, "cannot decode %s\n", argv[i]);
      return 1;
    }
    picture.width = decoded.picture.width;
    picture.height = decoded.picture.height;
    picture.size = std::to_string(picture.width) + "x" + std::to_string(picture.height);
    pictures.push_back(std::move(picture));
  }

  static const ProgramHeader header{3, kConstantTexts, kLayouts, kLibraries, {}, {}};
  InitialiseFrame(header);
  if (!LoadWindow(kBenchWindow, 0, false)) return 1;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    Measure(pictures[i], pictures[(i + 1) % pictures.size()], steps);
  }
  return 0;
}
