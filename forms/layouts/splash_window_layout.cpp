#include "forms/layouts/splash_window_layout.h"

#include <iterator>

#include "forms/event_ids.h"
#include "forms/layouts/window_ids.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"

namespace {

// assets/splash.jpg (made by tools/make-splash-picture.sh), turned into bytes by the build.
constexpr std::uint8_t kSplashJpeg[] = {
#include "splash_picture.inc"
};
static_assert(std::size(kSplashJpeg) > 4 && kSplashJpeg[0] == 0xFF && kSplashJpeg[1] == 0xD8,
              "the splash picture is a JPEG file");

constexpr std::uint32_t kInWindow = 0;
constexpr std::int64_t kSystemColour = 0xFF000000;

constexpr PropertySetting kWindowData[] = {
    SetText(kWindowTitle, ""),
    SetNumber(kWindowBorder, 0),  // no frame and no caption, so it can be neither moved nor resized
    SetNumber(kWindowBackColor, 0xFFFFFF),
    SetNumber(kWindowControlBox, 1),
    SetNumber(kWindowMaximizeBox, 0),
    SetNumber(kWindowMinimizeBox, 0),
    SetNumber(kWindowStartPosition, 1),  // centred
    SetNumber(kWindowCloseBox, 1),
    SetNumber(kWindowEnterMovesFocus, 0),
    SetNumber(kWindowEscCloses, 1),
    SetNumber(kWindowDragAnywhere, 0),
    SetNumber(kWindowShape, 2),  // rounded rectangle, corner ellipse min(314 / 5, 100 / 5) = 20
    SetNumber(kWindowTopmost, 0),
};
constexpr EventBinding kWindowEvents[] = {{kWindowCreated, kOnSplashCreated}};

constexpr PropertySetting kTimerData[] = {SetNumber(kTimerInterval, 5000)};
constexpr EventBinding kTimerEvents[] = {{kTimerTick, kOnSplashTick}};

constexpr PropertySetting kPictureData[] = {
    SetNumber(kPicBoxBorder, 0),          SetNumber(kPicBoxBackColor, kSystemColour),
    SetBytes(kPicBoxPicture, kSplashJpeg), SetNumber(kPicBoxDisplayMode, 0),
    SetNumber(kPicBoxOption12, 1),
};

// The picture box is the picture's size and starts at (-22, -8): the picture's left 22 columns and
// top 8 rows never show, and the right 6 client columns show the window's white.
constexpr UnitRow kUnits[] = {
    // id, name, type, container, left, top, width, height, flags, focus order, events, data, children
    {kSplashZipBox, "ZIP压缩1", kTypeZipBox, kSplashPicture, 286, 80, 24, 16, 0, 0, {}, {}, {}},
    {kSplashTimer, "时钟1", kTypeTimer, kInWindow, 264, 40, 24, 24, 0, 0, kTimerEvents, kTimerData, {}},
    {kSplashPicture, "图片框1", kTypePicBox, kInWindow, -22, -8, 330, 110, kUnitVisible, 0, {}, kPictureData, {}},
};
static_assert(UnitsAscending(kUnits));
static_assert(std::size(kUnits) == 3);

constexpr WindowLayout kLayout{
    kSplashWindow,
    {kSplashWindowUnit, "", kTypeWindow, kInWindow, 50, 50, 314, 100, kUnitVisible, 0, kWindowEvents, kWindowData, {}},
    kUnits};

}  // namespace

const WindowLayout& SplashWindowLayout() { return kLayout; }
std::span<const std::uint8_t> SplashPictureBytes() { return kSplashJpeg; }
