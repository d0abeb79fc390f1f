// The panel keeps its background, surfaces and font between drawings and shows the window only the
// rectangles that changed. What a person sees must not depend on that: after every step of a
// sequence like a user's (slider moves, colour, design, size and picture changes, a picture with
// transparent pixels, every picture mode, auto redraw off and on again) the window shows exactly the
// BackingBitmap, and the picture equals what a panel made afresh draws for the same settings.
#include <string>
#include <vector>

#include "forms/font_record.h"
#include "forms/properties.h"
#include "forms/property_ids.h"
#include "forms/window_map.h"
#include "frame/frame_loop.h"
#include "tests/canvas_panel_win/panel_fixture.h"

namespace {

Colour Pattern(int x, int y) {
  return static_cast<Colour>((x * 7 % 256) | ((y * 5 % 256) << 8) | (((x + 3 * y) % 256) << 16));
}
Colour Gradient(int x, int y) { return static_cast<Colour>((x % 256) | ((y % 256) << 16) | 0x008000); }

void PutLe(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 16 x 16 icon file, 24 bits per pixel, whose left half is transparent (its mask bits set).
std::vector<std::uint8_t> MakeIconFile() {
  constexpr int kSide = 16;
  constexpr int kXorBytes = kSide * kSide * 3;
  constexpr int kAndBytes = kSide * 4;  // one bit per pixel, rows padded to four bytes
  std::vector<std::uint8_t> file;
  PutLe(file, 0, 2);
  PutLe(file, 1, 2);  // an icon
  PutLe(file, 1, 2);  // one image
  file.push_back(kSide);
  file.push_back(kSide);
  file.push_back(0);
  file.push_back(0);
  PutLe(file, 1, 2);
  PutLe(file, 24, 2);
  PutLe(file, 40 + kXorBytes + kAndBytes, 4);
  PutLe(file, 6 + 16, 4);
  PutLe(file, 40, 4);
  PutLe(file, kSide, 4);
  PutLe(file, 2 * kSide, 4);  // the image and its mask
  PutLe(file, 1, 2);
  PutLe(file, 24, 2);
  for (int i = 0; i < 6; ++i) PutLe(file, 0, 4);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const bool transparent = x < 8;  // black in the image, so the mask lets the target through
      file.push_back(transparent ? 0 : static_cast<std::uint8_t>(40 + 10 * y));  // blue
      file.push_back(transparent ? 0 : static_cast<std::uint8_t>(200 - 8 * x));  // green
      file.push_back(transparent ? 0 : 0x30);                                    // red
    }
  }
  for (int y = 0; y < kSide; ++y) {
    file.push_back(0xFF);  // x 0 to 7 transparent
    file.push_back(0x00);
    file.push_back(0x00);
    file.push_back(0x00);
  }
  return file;
}

// Everything a drawing depends on, as the designer sets it.
struct Look {
  const std::vector<std::uint8_t>* picture;
  int width, height;
  std::int32_t pictureMode;
  std::int32_t autoRedraw;
  Colour colour;
  const char* face;
  std::int32_t size, angle, italic;
  std::int32_t x, y;
  const char* text;
};

class RedrawTest : public PanelTest {
 protected:
  // Draws `look` as the designer does: what changed since `before` (all of it without one), then a
  // Clear, the text colour, the font, the write position and the text. Pending paints are served
  // before the Clear, so that afterwards the window shows only what the operations showed it.
  static void Draw(const Look& look, const Look* before) {
    if (!before || look.autoRedraw != before->autoRedraw) SetInt(kDrawPanelAutoRedraw, look.autoRedraw);
    if (!before || look.width != before->width || look.height != before->height) SetSize(look.width, look.height);
    if (!before || look.picture != before->picture) SetPicture(*look.picture);
    if (!before || look.pictureMode != before->pictureMode) SetInt(kDrawPanelPictureMode, look.pictureMode);
    UpdateWindow(PanelWindow());
    Call(CommandPanelClear, {});
    SetInt(kDrawPanelTextColor, static_cast<std::int32_t>(look.colour));
    FontRecord font{look.angle, 1, look.italic, 0, 0, look.size, const_cast<char*>(look.face)};
    WriteProperty(kPanelWindow, kPanel, kDrawPanelFont, kWholeValue,
                  static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&font)));
    WriteProperty(kPanelWindow, kPanel, kDrawPanelFont, kFontBold, 0);
    Call(CommandPanelSetWritePosition, {MakeIntArg(look.x), MakeIntArg(look.y)});
    Call(CommandPanelWrite, {MakeTextArg(look.text)});
  }

  // The window loaded anew: its panels are fresh, with nothing kept from before.
  static void Reload() {
    for (auto& record : WindowRecords()) {
      if (record->window) DestroyWindow(record->window);
    }
    ProcessPendingEvents();
    ASSERT_TRUE(LoadWindow(kPanelWindow, 0, false));
  }
};

int Differences(const ExportedBmp& a, const ExportedBmp& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int count = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) count += a.At(x, y) != b.At(x, y);
  }
  return count;
}

TEST_F(RedrawTest, EveryStepShowsWhatTheBitmapHoldsAndWhatAFreshPanelDraws) {
  // The English design with the widest swashes (its "W" reaches two thirds of an em to the left).
  const std::string swashFont = std::string(YJ_SOURCE_DIR) + "/build/fonts/zesel/ma10.dat";
  ASSERT_GT(AddFontResourceExA(swashFont.c_str(), FR_PRIVATE, nullptr), 0) << swashFont;
  const std::vector<std::uint8_t> tiles = MakeBmpFile(100, 70, Pattern);
  const std::vector<std::uint8_t> card = MakeBmpFile(250, 150, Gradient);
  const std::vector<std::uint8_t> wide = MakeBmpFile(400, 100, Pattern);
  const std::vector<std::uint8_t> icon = MakeIconFile();
  constexpr Colour kRed = 0x0000C0;
  const Look steps[] = {
      {&tiles, 333, 200, 1, 1, kRed, "宋体", 36, 0, 0, 10, 20, "王小明"},
      {&tiles, 333, 200, 1, 1, kRed, "宋体", 36, 0, 0, 60, 20, "王小明"},      // slider moves
      {&tiles, 333, 200, 1, 1, kRed, "宋体", 36, 0, 0, 61, 90, "王小明"},
      {&tiles, 333, 200, 1, 1, kOpaqueGreen, "宋体", 36, 0, 0, 61, 90, "王小明"},  // colour
      // A design whose swashes reach far beyond the letters' cells, then an italic one.
      {&tiles, 333, 200, 1, 1, kOpaqueGreen, "Kenya Swift", 40, 0, 0, 30, 100, "Wang Xiaoming"},
      {&tiles, 333, 200, 1, 1, kOpaqueGreen, "Kenya Swift", 40, 0, 0, 31, 100, "Wang Xiaoming"},
      {&tiles, 333, 200, 1, 1, kOpaqueGreen, "Tahoma", 40, 0, 1, 31, 100, "Wang Xiaoming"},
      {&card, 250, 150, 1, 1, kBrown, "宋体", 28, 0, 0, 20, 40, "李四"},        // picture and size
      {&card, 250, 150, 1, 1, kBrown, "宋体", 28, 300, 0, 40, 120, "李四"},     // rotated text
      {&card, 250, 150, 1, 1, kBrown, "宋体", 28, 300, 0, 41, 121, "李四"},
      {&icon, 250, 150, 1, 1, kRed, "宋体", 30, 0, 0, 30, 30, "刘"},            // transparent tiles
      {&icon, 250, 150, 0, 1, kRed, "宋体", 30, 0, 0, 31, 30, "刘"},            // ... and one at the top left
      {&wide, 333, 200, 2, 1, kRed, "宋体", 30, 0, 0, 31, 30, "张三丰"},        // centred and shrunk
      {&wide, 333, 200, 2, 1, kRed, "宋体", 30, 0, 0, 90, 150, "张三丰"},
      {&tiles, 333, 200, 1, 0, kRed, "宋体", 36, 0, 0, 30, 50, "王小明"},       // without a BackingBitmap
      {&tiles, 333, 200, 1, 0, kRed, "宋体", 36, 0, 0, 31, 50, "王小明"},
      {&tiles, 333, 200, 1, 1, kRed, "宋体", 36, 0, 0, 150, 120, "王小明"},     // with one again
      {&tiles, 333, 200, 1, 1, kRed, "宋体", 36, 0, 0, 151, 121, "王小明"},
  };

  std::vector<ExportedBmp> shown;
  const Look* before = nullptr;
  for (const Look& look : steps) {
    const std::string step = "step " + std::to_string(shown.size());
    Draw(look, before);
    before = &look;
    const ExportedBmp exported = Export();
    ASSERT_EQ(exported.width, look.width) << step;
    RECT pending{};
    EXPECT_FALSE(GetUpdateRect(PanelWindow(), &pending, FALSE)) << step << ": a paint would hide what the window missed";
    EXPECT_EQ(Differences(Screen(), exported), 0) << step << ": the window differs from the panel's picture";
    shown.push_back(exported);
  }
  // Each step's text drew ink: no step is compared on a blank panel.
  for (std::size_t i = 1; i < shown.size(); ++i) {
    EXPECT_NE(Differences(shown[i], shown[i - 1]), 0) << "step " << i << " looks like step " << i - 1;
  }

  // An icon's transparent pixels show the background colour, never an earlier drawing.
  EXPECT_EQ(shown[10].At(16 + 2, 2), kWhite) << "the transparent half of the second tile";
  EXPECT_NE(shown[10].At(16 + 12, 2), kWhite);
  EXPECT_EQ(shown[11].At(2, 2), kWhite) << "the transparent half of the icon at the top left";
  EXPECT_NE(shown[11].At(12, 2), kWhite);
  EXPECT_EQ(shown[11].At(240, 5), kWhite) << "beside the icon, where the tiles were";

  for (std::size_t i = 0; i < std::size(steps); ++i) {
    Reload();
    Draw(steps[i], nullptr);
    EXPECT_EQ(Differences(Export(), shown[i]), 0) << "step " << i << ": a fresh panel draws it otherwise";
  }
  RemoveFontResourceExA(swashFont.c_str(), FR_PRIVATE, nullptr);
}

}  // namespace
