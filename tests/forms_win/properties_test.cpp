// ReadProperty and WriteProperty: clamps of the common properties, texts, fonts, and the runtime
// errors for windows and units that are not there.
#include <cstring>
#include <string>

#include "forms/properties.h"
#include "forms/property_ids.h"
#include "frame/ground/error_report.h"
#include "frame/ground/memory.h"
#include "frame/ground/owned.h"
#include "tests/forms_win/forms_fixture.h"

namespace {

struct ClampCase {
  std::int32_t index;
  std::int32_t written;
  std::int32_t stored;
};

class PropertyClampTest : public FormsTest, public ::testing::WithParamInterface<ClampCase> {};

// The unit record stores the clamped value, and the live control takes it.
TEST_P(PropertyClampTest, CommonGeometryIsClampedStoredAndApplied) {
  const ClampCase c = GetParam();
  ASSERT_TRUE(LoadWindow(kPlainWindow, 0, false));
  WriteIntProperty(kPlainWindow, kPlainButton, c.index, c.written);
  const Unit* unit = FindUnit(*FindWindowRecord(kPlainWindow), kPlainButton);
  const std::int32_t stored[] = {unit->left, unit->top, unit->width, unit->height};
  EXPECT_EQ(stored[c.index], c.stored) << "stored";
  HWND button = ControlOf(kPlainWindow, kPlainButton);
  RECT rect{};
  GetWindowRect(button, &rect);
  MapWindowPoints(nullptr, LiveWindow(kPlainWindow), reinterpret_cast<POINT*>(&rect), 2);
  const LONG live[] = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  // The system may cap a window's size below the clamp; the position must match exactly.
  if (c.index < kPropWidth) {
    EXPECT_EQ(live[c.index], c.stored) << "live control";
  }
  EXPECT_EQ(ReadIntProperty(kPlainWindow, kPlainButton, c.index), live[c.index]) << "read answers the live control";
  ASSERT_TRUE(DestroyWindow(LiveWindow(kPlainWindow)));
}

std::string ClampCaseName(const ::testing::TestParamInfo<ClampCase>& info) {
  constexpr const char* kNames[] = {"Left", "Top", "Width", "Height"};
  const std::int32_t v = info.param.written;
  return std::string(kNames[info.param.index]) + (v < 0 ? "Minus" : "") + std::to_string(v < 0 ? -v : v);
}

INSTANTIATE_TEST_SUITE_P(Clamps, PropertyClampTest,
                         ::testing::Values(ClampCase{kPropWidth, 40000, 32627}, ClampCase{kPropWidth, -5, 0},
                                           ClampCase{kPropHeight, -1, 0}, ClampCase{kPropLeft, -40000, -32627},
                                           ClampCase{kPropTop, 40000, 32627}, ClampCase{kPropLeft, 17, 17}),
                         ClampCaseName);

TEST_F(FormsTest, ALoadStartsFromTheLayoutAgainAfterTheWindowWasDestroyed) {
  ASSERT_TRUE(LoadWindow(kPlainWindow, 0, false));
  WriteIntProperty(kPlainWindow, kPlainButton, kPropLeft, 77);
  WriteTextProperty(kPlainWindow, kPlainButton, kButtonCaption, "改过");
  DestroyObject(kPlainWindow, kPlainUnit, true);
  ASSERT_EQ(LiveWindow(kPlainWindow), nullptr);
  ASSERT_TRUE(LoadWindow(kPlainWindow, 0, false));
  EXPECT_EQ(ReadIntProperty(kPlainWindow, kPlainButton, kPropLeft), 10);
  OwnedText caption(ReadTextProperty(kPlainWindow, kPlainButton, kButtonCaption));
  EXPECT_STREQ(caption.Get(), "关闭");
}

// A value that is no buffer, written to a buffer property, and an index below 0 are refused: the
// property keeps its value and nothing is read through the number.
TEST_F(FormsTest, AnIntegerWrittenToABufferPropertyAndANegativeIndexAreRefused) {
  ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
  const char cursor[] = "cursor";
  OwnedBuffer bytes(MakeByteBuffer(cursor, 6));
  WriteProperty(kEveryWindow, kButton, kPropMousePointer, kWholeValue, reinterpret_cast<std::uintptr_t>(bytes.Get()));
  WriteIntProperty(kEveryWindow, kButton, kPropMousePointer, 12345);
  OwnedBuffer pointer(reinterpret_cast<ByteBuffer>(ReadProperty(kEveryWindow, kButton, kPropMousePointer, kWholeValue)));
  ASSERT_EQ(BufferLength(pointer.Get()), 6u);
  EXPECT_EQ(std::memcmp(BufferBytes(pointer.Get()), cursor, 6), 0);

  WriteIntProperty(kEveryWindow, kPicture, kPicBoxPicture, 12345);
  EXPECT_EQ(ReadProperty(kEveryWindow, kPicture, kPicBoxPicture, kWholeValue), 0u) << "still empty";
  WriteIntProperty(kEveryWindow, kButton, -3, 12345);
  EXPECT_EQ(ReadProperty(kEveryWindow, kButton, -3, kWholeValue), 0u);
  // Null still writes the empty value.
  WriteProperty(kEveryWindow, kButton, kPropMousePointer, kWholeValue, 0);
  EXPECT_EQ(ReadProperty(kEveryWindow, kButton, kPropMousePointer, kWholeValue), 0u);
}

TEST_F(FormsTest, EmptyTextsReadAsNullAndNullWritesTheEmptyText) {
  ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
  WriteTextProperty(kEveryWindow, kEdit, kEditContent, nullptr);
  EXPECT_EQ(ReadTextProperty(kEveryWindow, kEdit, kEditContent), nullptr);
  wchar_t title[8] = L"x";
  GetWindowTextW(ControlOf(kEveryWindow, kEdit), title, 8);
  EXPECT_STREQ(title, L"");
  WriteTextProperty(kEveryWindow, kEdit, kEditContent, "");
  EXPECT_EQ(ReadTextProperty(kEveryWindow, kEdit, kEditContent), nullptr);
  // The tag is a common property and works on the stored text alike.
  EXPECT_EQ(ReadTextProperty(kEveryWindow, kButton, kPropTag), nullptr);
  WriteTextProperty(kEveryWindow, kButton, kPropTag, "标记");
  OwnedText tag(ReadTextProperty(kEveryWindow, kButton, kPropTag));
  EXPECT_STREQ(tag.Get(), "标记");
  // A read hands out a copy: two reads are two blocks.
  OwnedText first(ReadTextProperty(kEveryWindow, kButton, kButtonCaption));
  OwnedText second(ReadTextProperty(kEveryWindow, kButton, kButtonCaption));
  EXPECT_NE(first.Get(), second.Get());
  EXPECT_STREQ(first.Get(), "按钮");
}

TEST_F(FormsTest, TruthValuesReadAsExactlyZeroOrOne) {
  ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
  WriteIntProperty(kEveryWindow, kSlider, kSliderShowSelection, 7);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kSlider, kSliderShowSelection), 1);
  WriteIntProperty(kEveryWindow, kButton, kPropDisabled, 5);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kButton, kPropDisabled), 1);
  EXPECT_FALSE(IsWindowEnabled(ControlOf(kEveryWindow, kButton)));
  WriteIntProperty(kEveryWindow, kButton, kPropVisible, 0);
  EXPECT_EQ(ReadIntProperty(kEveryWindow, kButton, kPropVisible), 0);
  EXPECT_FALSE(IsWindowVisible(ControlOf(kEveryWindow, kButton)));
}

// ---- fonts ----

std::uint64_t Pointer(const void* p) { return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p)); }

LOGFONTA StoredFont(std::uint32_t unitId, std::int32_t index) {
  return *ComponentOf(kEveryWindow, unitId)->Read(index - kFirstOwnProperty).font;
}

TEST_F(FormsTest, FontPartsFollowTheirRules) {
  ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
  WriteProperty(kEveryWindow, kTab, kTabFont, kFontAngle, static_cast<std::uint32_t>(-10));
  EXPECT_EQ(ReadProperty(kEveryWindow, kTab, kTabFont, kFontAngle), 3590u);
  EXPECT_EQ(StoredFont(kTab, kTabFont).lfEscapement, 3590);
  WriteProperty(kEveryWindow, kTab, kTabFont, kFontAngle, 7205);
  EXPECT_EQ(ReadProperty(kEveryWindow, kTab, kTabFont, kFontAngle), 5u);

  WriteProperty(kEveryWindow, kTab, kTabFont, kFontSize, static_cast<std::uint32_t>(-4));
  EXPECT_EQ(StoredFont(kTab, kTabFont).lfHeight, 0);
  WriteProperty(kEveryWindow, kTab, kTabFont, kFontSize, 9);
  EXPECT_EQ(ReadProperty(kEveryWindow, kTab, kTabFont, kFontSize), 9u);

  WriteProperty(kEveryWindow, kTab, kTabFont, kFontBold, 1);
  EXPECT_EQ(StoredFont(kTab, kTabFont).lfWeight, FW_BOLD);
  EXPECT_EQ(ReadProperty(kEveryWindow, kTab, kTabFont, kFontBold), 1u);
}

TEST_F(FormsTest, FaceNamesOfThirtyOneBytesDifferByHowTheyAreWritten) {
  ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
  const std::string longFace(31, 'F');
  FontRecord whole{0, 0, 0, 0, 0, 12, const_cast<char*>(longFace.c_str())};
  WriteProperty(kEveryWindow, kEdit, kEditFont, kWholeValue, Pointer(&whole));
  EXPECT_STREQ(StoredFont(kEdit, kEditFont).lfFaceName, "宋体") << "whole font, 31 bytes";

  WriteProperty(kEveryWindow, kEdit, kEditFont, kFontFace, Pointer(longFace.c_str()));
  OwnedText face(reinterpret_cast<Text>(ReadProperty(kEveryWindow, kEdit, kEditFont, kFontFace)));
  EXPECT_EQ(std::string(face.Get()), longFace) << "face alone, 31 bytes";

  const std::string tooLong(32, 'G');
  WriteProperty(kEveryWindow, kEdit, kEditFont, kFontFace, Pointer(tooLong.c_str()));
  EXPECT_STREQ(StoredFont(kEdit, kEditFont).lfFaceName, "宋体") << "face alone, 32 bytes";
  WriteProperty(kEveryWindow, kEdit, kEditFont, kFontFace, Pointer(""));
  EXPECT_STREQ(StoredFont(kEdit, kEditFont).lfFaceName, "宋体") << "face alone, empty";

  FontRecord empty{0, 0, 0, 0, 0, 12, const_cast<char*>("")};
  WriteProperty(kEveryWindow, kEdit, kEditFont, kWholeValue, Pointer(&empty));
  EXPECT_STREQ(StoredFont(kEdit, kEditFont).lfFaceName, "") << "whole font, empty face stays empty";
  FontRecord missing{0, 0, 0, 0, 0, 12, nullptr};
  WriteProperty(kEveryWindow, kEdit, kEditFont, kWholeValue, Pointer(&missing));
  EXPECT_STREQ(StoredFont(kEdit, kEditFont).lfFaceName, "宋体") << "whole font, no face";
}

TEST_F(FormsTest, AWholeFontRoundTripsThroughTheLogicalFont) {
  ASSERT_TRUE(LoadWindow(kEveryWindow, 0, false));
  FontRecord written{-10, 1, 1, 0, 1, 12, const_cast<char*>("黑体")};
  WriteProperty(kEveryWindow, kEdit, kEditFont, kWholeValue, Pointer(&written));
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(StoredFont(kEdit, kEditFont).lfHeight, -MulDiv(12, dpi, 72));

  auto* read = reinterpret_cast<FontRecord*>(ReadProperty(kEveryWindow, kEdit, kEditFont, kWholeValue));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->angle, 3590);
  EXPECT_EQ(read->bold, 1);
  EXPECT_EQ(read->italic, 1);
  EXPECT_EQ(read->strikeOut, 0);
  EXPECT_EQ(read->underline, 1);
  EXPECT_EQ(read->size, 12);
  EXPECT_STREQ(read->face, "黑体");
  FrameFree(read->face);
  FrameFree(read);

  // A control without a stored font answers the default GUI font.
  OwnedText face(reinterpret_cast<Text>(ReadProperty(kEveryWindow, kButton, kButtonFont, kFontFace)));
  EXPECT_STREQ(face.Get(), DefaultGuiFont().lfFaceName);
}

// ---- the runtime errors of property access ----

int QuietHook(int, const char* message) {
  std::fprintf(stderr, "error: %s\n", message ? message : "");
  return 1;
}
void CleanupMustNotRun() { std::fputs("clean-up ran\n", stderr); }

struct ErrorCase {
  const char* name;
  void (*access)();
  const char* message;
};

class PropertyErrorDeathTest : public FormsTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(PropertyErrorDeathTest, EndsTheProgramWithItsMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const ErrorCase c = GetParam();
  EXPECT_EXIT(
      {
        SetErrorHook(QuietHook);
        RegisterCleanupRoutine(CleanupMustNotRun);
        c.access();
      },
      [](int status) { return static_cast<unsigned>(status) == 0xFFFFFFFFu; },
      std::string("^error: ") + c.message + "\nlibrary end\n$");
}

INSTANTIATE_TEST_SUITE_P(
    Errors, PropertyErrorDeathTest,
    ::testing::Values(
        ErrorCase{"UnknownWindow", [] { ReadProperty(0x52029999, kButton, kPropLeft, kWholeValue); },
                  "未载入欲访问窗口组件所在的窗口"},
        // A window not loaded has no properties to read or write, common or its units' own.
        ErrorCase{"CommonPropertyOfAWindowNotLoaded", [] { ReadProperty(kPlainWindow, kPlainButton, kPropLeft, -1); },
                  "未载入欲访问窗口组件所在的窗口"},
        ErrorCase{"WriteCommonPropertyOfAWindowNotLoaded",
                  [] { WriteIntProperty(kPlainWindow, kPlainButton, kPropVisible, 0); },
                  "未载入欲访问窗口组件所在的窗口"},
        ErrorCase{"OwnPropertyOfAWindowNotLoaded", [] { ReadProperty(kPlainWindow, kPlainButton, kButtonCaption, -1); },
                  "未载入欲访问窗口组件所在的窗口"},
        ErrorCase{"WriteOwnPropertyOfAWindowNotLoaded",
                  [] { WriteIntProperty(kPlainWindow, kPlainButton, kButtonKind, 1); }, "未载入欲访问窗口组件所在的窗口"},
        ErrorCase{"DestroyAWindowNotLoaded", [] { DestroyObject(kPlainWindow, kPlainUnit, false); },
                  "指定窗口或窗口组件不存在或尚未载入"},
        ErrorCase{"UnknownUnit",
                  [] {
                    LoadWindow(kPlainWindow, 0, false);
                    ReadProperty(kPlainWindow, 0x16029999, kPropLeft, kWholeValue);
                  },
                  "指定窗口或窗口组件不存在或尚未载入"},
        // A loaded window whose control was destroyed keeps the unit's common properties only.
        ErrorCase{"OwnPropertyOfADestroyedControl",
                  [] {
                    LoadWindow(kPlainWindow, 0, false);
                    DestroyObject(kPlainWindow, kPlainButton, true);
                    ReadProperty(kPlainWindow, kPlainButton, kButtonCaption, kWholeValue);
                  },
                  "指定窗口尚未载入"}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

}  // namespace
