#include "tests/canvas_panel_win/panel_fixture.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "canvas/bitmap_export_win.h"
#include "forms/layout.h"
#include "forms/properties.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "forms/window_map.h"
#include "frame/ground/event_record.h"
#include "frame/frame_loop.h"
#include "frame/ground/memory.h"
#include "frame/ground/owned.h"
#include "frame/program_header.h"

namespace {

constexpr std::int32_t kOnPaint = 0;

std::int32_t OnPanelPaint(const std::int64_t* args, int argCount) {
  PaintLog& log = ThePaintLog();
  ++log.calls;
  for (int i = 0; i < 4 && i < argCount; ++i) log.args[i] = args[i];
  if (log.action) log.action();
  return 0;
}

constexpr PropertySetting kWindowData[] = {SetText(kWindowTitle, "画板"), SetNumber(kWindowBorder, 2)};
// The program's panel: white, tiled, auto redraw, pixels.
constexpr PropertySetting kPanelData[] = {SetNumber(kDrawPanelBackColor, kWhite), SetNumber(kDrawPanelPictureMode, 1),
                                          SetNumber(kDrawPanelAutoRedraw, 1), SetNumber(kDrawPanelCoordUnit, 0)};
constexpr PropertySetting kPaintedPanelData[] = {SetNumber(kDrawPanelBackColor, kWhite)};
constexpr EventBinding kPaintedPanelEvents[] = {{kDrawPanelPaint, kOnPaint}};
constexpr UnitRow kUnits[] = {
    {kPanel, "画板1", kTypeDrawPanel, 0, 10, 10, 333, 200, kUnitVisible, 0, {}, kPanelData, {}},
    {kPaintedPanel, "画板2", kTypeDrawPanel, 0, 10, 220, 100, 50, kUnitVisible, 1, kPaintedPanelEvents,
     kPaintedPanelData, {}},
};
constexpr WindowLayout kLayout{
    kPanelWindow,
    {kPanelWindowUnit, "", kTypeWindow, 0, 20, 20, 420, 330, kUnitVisible, 0, {}, kWindowData, {}},
    kUnits};
constexpr const WindowLayout* kLayouts[] = {&kLayout};
constexpr SupportLibraryNotice kLibraries[] = {DrawPanelLibraryNotice};
constexpr HandlerEntry kHandlers[] = {{nullptr, OnPanelPaint}};
constexpr char kConstantTexts[] = "";

const ProgramHeader& PanelProgramHeader() {
  static const ProgramHeader header{3, kConstantTexts, kLayouts, kLibraries, {}, kHandlers};
  return header;
}

std::uint32_t ReadLe32(const std::uint8_t* at) {
  return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

void PutLe32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

PaintLog& ThePaintLog() {
  static PaintLog log;
  return log;
}

std::vector<std::uint8_t> MakeBmpFile(int width, int height, const PixelRule& rule) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> bytes(54 + static_cast<std::size_t>(stride) * height);
  bytes[0] = 'B';
  bytes[1] = 'M';
  PutLe32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
  PutLe32(bytes, 10, 54);
  PutLe32(bytes, 14, 40);
  PutLe32(bytes, 18, static_cast<std::uint32_t>(width));
  PutLe32(bytes, 22, static_cast<std::uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bytes.data() + 54 + static_cast<std::size_t>(stride) * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const Colour colour = rule(x, y);
      row[3 * x] = static_cast<std::uint8_t>(colour >> 16);
      row[3 * x + 1] = static_cast<std::uint8_t>(colour >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(colour);
    }
  }
  return bytes;
}

Colour ExportedBmp::At(int x, int y) const {
  const std::uint8_t* pixel = bytes.data() + 54 + static_cast<std::size_t>(stride) * (height - 1 - y) + 3 * x;
  return pixel[2] | (pixel[1] << 8) | (static_cast<Colour>(pixel[0]) << 16);
}

ExportedBmp ReadExport(ByteBuffer buffer) {
  OwnedBuffer owned(buffer);
  ExportedBmp bmp;
  if (!buffer) return bmp;
  const std::uint8_t* bytes = BufferBytes(buffer);
  bmp.bytes.assign(bytes, bytes + BufferLength(buffer));
  if (bmp.bytes.size() < 54) return bmp;
  bmp.width = static_cast<int>(ReadLe32(bytes + 18));
  bmp.height = static_cast<int>(ReadLe32(bytes + 22));
  bmp.stride = (bmp.width * 3 + 3) & ~3;
  return bmp;
}

RECT BoxOf(const ExportedBmp& bmp, Colour colour, const RECT& area) {
  RECT box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (bmp.At(x, y) != colour) continue;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
             std::max<LONG>(box.bottom, y + 1)};
    }
  }
  return box.left > box.right ? RECT{} : box;
}

RECT BoxOf(const ExportedBmp& bmp, Colour colour) { return BoxOf(bmp, colour, RECT{0, 0, bmp.width, bmp.height}); }

void PanelTest::SetUp() {
  InitialiseFrame(PanelProgramHeader());
  ThePaintLog() = PaintLog{};
  ASSERT_TRUE(LoadWindow(kPanelWindow, 0, false));
}

void PanelTest::TearDown() {
  ThePaintLog() = PaintLog{};
  for (auto& record : WindowRecords()) {
    if (record->window) DestroyWindow(record->window);
  }
  ProcessPendingEvents();
}

ArgRecord PanelTest::Object(std::uint32_t unit) { return MakeObjectArg(kPanelWindow, unit, kTypeDrawPanel); }

DrawPanel& PanelTest::Panel(std::uint32_t unit) {
  auto* component = reinterpret_cast<Component*>(NotifyFrame(kNoticeFindObjectMustExist, kPanelWindow, unit));
  return dynamic_cast<DrawPanel&>(*component);
}

HWND PanelTest::PanelWindow(std::uint32_t unit) { return Panel(unit).Control(); }

void PanelTest::Call(CommandFunction command, std::vector<ArgRecord> args, std::uint32_t unit) {
  args.insert(args.begin(), Object(unit));
  ResultRecord result{};
  command(&result, static_cast<int>(args.size()), args.data());
}

ExportedBmp PanelTest::Export(std::vector<ArgRecord> args, std::uint32_t unit) {
  args.insert(args.begin(), Object(unit));
  ResultRecord result{};
  CommandPanelGetPicture(&result, static_cast<int>(args.size()), args.data());
  return ReadExport(static_cast<ByteBuffer>(ResultPointer(result)));
}

ExportedBmp PanelTest::Screen(std::uint32_t unit) {
  const HWND window = PanelWindow(unit);
  RECT client{};
  GetClientRect(window, &client);
  HDC screen = GetDC(window);
  HDC copy = CreateCompatibleDC(screen);
  HBITMAP shown = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(copy, shown);
  BitBlt(copy, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
  SelectObject(copy, old);
  DeleteDC(copy);
  ReleaseDC(window, screen);
  ExportedBmp bmp = ReadExport(BitmapToBmpFile(shown, std::nullopt, std::nullopt));
  DeleteObject(shown);
  return bmp;
}

void PanelTest::SetPicture(const std::vector<std::uint8_t>& file, std::uint32_t unit) {
  OwnedBuffer buffer(MakeByteBuffer(file.data(), file.size()));
  WriteProperty(kPanelWindow, unit, kDrawPanelPicture, kWholeValue,
                static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(buffer.Get())));
}

void PanelTest::SetSize(int width, int height, std::uint32_t unit) {
  WriteIntProperty(kPanelWindow, unit, kPropWidth, width);
  WriteIntProperty(kPanelWindow, unit, kPropHeight, height);
}

void PanelTest::SetInt(std::int32_t index, std::int32_t value, std::uint32_t unit) {
  WriteIntProperty(kPanelWindow, unit, index, value);
}

