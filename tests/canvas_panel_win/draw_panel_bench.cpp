// Times what the designer does on each slider step: clear the panel to its tiled picture, set the
// text colour and font, set the write position and write a four-character name at 70 points; then
// GetPicture with the BMP packing. A tool, not a test: it prints milliseconds per operation.
//
// Usage: draw_panel_bench.exe PICTURE [WIDTH HEIGHT [REPETITIONS [OUT.bmp]]]   (default 868 561 300)
// OUT.bmp receives the panel's picture after one last redraw.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "canvas/draw_panel_win.h"
#include "forms/layout.h"
#include "forms/properties.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/commands.h"
#include "frame/frame_loop.h"
#include "frame/memory.h"
#include "frame/owned.h"
#include "frame/program_header.h"

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

// One slider step of the designer.
void Redraw(int step) {
  Call(CommandPanelClear, {});
  WriteIntProperty(kBenchWindow, kBenchPanel, kDrawPanelTextColor, 0x0000C0);
  FontRecord font{0, 1, 0, 0, 0, 70, const_cast<char*>("宋体")};
  WriteProperty(kBenchWindow, kBenchPanel, kDrawPanelFont, kWholeValue,
                static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&font)));
  WriteProperty(kBenchWindow, kBenchPanel, kDrawPanelFont, kFontBold, 0);
  Call(CommandPanelSetWritePosition, {MakeIntArg(step % 300), MakeIntArg(step % 200)});
  Call(CommandPanelWrite, {MakeTextArg("王小明明")});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PICTURE [WIDTH HEIGHT [REPETITIONS]]\n", argv[0]);
    return 2;
  }
  const int width = argc > 3 ? std::atoi(argv[2]) : 868;
  const int height = argc > 3 ? std::atoi(argv[3]) : 561;
  const int repetitions = argc > 4 ? std::atoi(argv[4]) : 300;
  const std::vector<std::uint8_t> picture = ReadWholeFile(argv[1]);
  if (picture.empty()) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }

  static const ProgramHeader header{3, kConstantTexts, kLayouts, kLibraries, {}, {}};
  InitialiseFrame(header);
  if (!LoadWindow(kBenchWindow, 0, false)) return 1;
  WriteIntProperty(kBenchWindow, kBenchPanel, kPropWidth, width);
  WriteIntProperty(kBenchWindow, kBenchPanel, kPropHeight, height);
  OwnedBuffer bytes(MakeByteBuffer(picture.data(), picture.size()));
  WriteProperty(kBenchWindow, kBenchPanel, kDrawPanelPicture, kWholeValue,
                static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(bytes.Get())));
  ProcessPendingEvents();

  Redraw(0);  // the first use decodes the picture; the steps after it do not
  double start = NowMs();
  for (int i = 0; i < repetitions; ++i) Redraw(i);
  const double redrawMs = (NowMs() - start) / repetitions;

  start = NowMs();
  for (int i = 0; i < repetitions; ++i) {
    Call(CommandPanelClear, {});
  }
  const double clearMs = (NowMs() - start) / repetitions;

  start = NowMs();
  std::size_t fileSize = 0;
  for (int i = 0; i < repetitions; ++i) {
    ArgRecord object = MakeObjectArg(kBenchWindow, kBenchPanel, kTypeDrawPanel);
    ResultRecord result{};
    CommandPanelGetPicture(&result, 1, &object);
    OwnedBuffer file(static_cast<ByteBuffer>(ResultPointer(result)));
    fileSize = BufferLength(file.Get());
  }
  const double exportMs = (NowMs() - start) / repetitions;

  if (argc > 5) {
    Redraw(repetitions);
    ArgRecord object = MakeObjectArg(kBenchWindow, kBenchPanel, kTypeDrawPanel);
    ResultRecord result{};
    CommandPanelGetPicture(&result, 1, &object);
    OwnedBuffer file(static_cast<ByteBuffer>(ResultPointer(result)));
    if (FILE* out = std::fopen(argv[5], "wb")) {
      std::fwrite(BufferBytes(file.Get()), 1, BufferLength(file.Get()), out);
      std::fclose(out);
    }
  }
  std::printf("panel %dx%d, picture %s (%zu bytes), %d repetitions\n", width, height, argv[1], picture.size(),
              repetitions);
  std::printf("redraw (Clear, colour, font, position, Write 4 characters at 70 pt): %.3f ms\n", redrawMs);
  std::printf("Clear alone: %.3f ms\n", clearMs);
  std::printf("GetPicture with BMP packing: %.3f ms (%zu bytes)\n", exportMs, fileSize);
  return 0;
}
