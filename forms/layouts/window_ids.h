// The program's two windows: window ids, unit ids and the handler numbers their layouts bind.
// The layouts, the designer's logic and the tests all name units through these; the comment on
// each unit id gives its name in the layout, which is how the original program addresses it.
#pragma once

#include <cstdint>

// ---- main window ----
inline constexpr std::uint32_t kMainWindow = 0x52010002;
inline constexpr std::uint32_t kMainWindowUnit = 0x06010003;

inline constexpr std::uint32_t kFeedbackButton = 0x16010004;        // 按钮5
inline constexpr std::uint32_t kHelpButton = 0x16010005;            // 按钮3
inline constexpr std::uint32_t kBackgroundList = 0x16010006;        // 组合框1
inline constexpr std::uint32_t kDesignLabel = 0x16010007;           // 标签5
inline constexpr std::uint32_t kSizeLabel = 0x16010008;             // 标签14
inline constexpr std::uint32_t kSizeBox = 0x16010009;               // 编辑框14
inline constexpr std::uint32_t kColorLabel = 0x1601000A;            // 标签7
inline constexpr std::uint32_t kTextColorPicker = 0x1601000B;       // 颜色选择器1
inline constexpr std::uint32_t kSaveButton = 0x1601000C;            // 按钮4
inline constexpr std::uint32_t kPanelUnit = 0x1601000D;             // 画板1
inline constexpr std::uint32_t kHorizontalSlider = 0x1601000E;      // 滑块条2
inline constexpr std::uint32_t kVerticalSlider = 0x1601000F;        // 滑块条1
inline constexpr std::uint32_t kHintTip = 0x16010010;               // 气球提示框1
inline constexpr std::uint32_t kDesignTabs = 0x16010011;            // 选择夹1
inline constexpr std::uint32_t kBackgroundLabel = 0x16010012;       // 标签6
inline constexpr std::uint32_t kSettingsGroup = 0x16010013;         // 分组框2
inline constexpr std::uint32_t kMainTimer = 0x16010014;             // 时钟1
inline constexpr std::uint32_t kChineseLabel = 0x16010015;          // 标签1
inline constexpr std::uint32_t kSaveDialog = 0x16010016;            // 通用对话框1
inline constexpr std::uint32_t kEnglishPreviewButton = 0x16010017;  // 按钮2
inline constexpr std::uint32_t kEnglishNameBox = 0x16010018;        // 编辑框2
inline constexpr std::uint32_t kEnglishLabel = 0x16010019;          // 标签2
inline constexpr std::uint32_t kChinesePreviewButton = 0x1601001A;  // 按钮1
inline constexpr std::uint32_t kChineseNameBox = 0x1601001B;        // 编辑框1
inline constexpr std::uint32_t kPreviewGroup = 0x1601001C;          // 分组框1

// The thirteen designs of the tab strip: 0 to 8 draw the Chinese name, 9 to 12 the English one.
inline constexpr int kDesignCount = 13;

// ---- splash window ----
inline constexpr std::uint32_t kSplashWindow = 0x52010072;
inline constexpr std::uint32_t kSplashWindowUnit = 0x06010073;

inline constexpr std::uint32_t kSplashZipBox = 0x16010074;   // ZIP压缩1, never used
inline constexpr std::uint32_t kSplashTimer = 0x16010075;    // 时钟1
inline constexpr std::uint32_t kSplashPicture = 0x16010076;  // 图片框1

// ---- handler numbers ----
// The layouts bind events to these numbers; the program header's handler table is indexed by them,
// so the designer fills row N with the procedure for handler N.
enum ProgramHandler : std::int32_t {
  kOnMainCreated,            // window: start-up
  kOnMainDestroyed,          // window: shutdown
  kOnChinesePreviewClicked,  // 按钮1
  kOnEnglishPreviewClicked,  // 按钮2
  kOnHelpClicked,            // 按钮3: the program's page
  kOnSaveClicked,            // 按钮4
  kOnFeedbackClicked,        // 按钮5: the page's comment section
  kOnBackgroundSelected,     // 组合框1
  kOnSizeChanged,            // 编辑框14
  kOnTextColorChanged,       // 颜色选择器1
  kOnDesignTabChanged,       // 选择夹1
  kOnHorizontalMoved,        // 滑块条2
  kOnVerticalMoved,          // 滑块条1
  kOnSplashCreated,          // splash window: starts the font thread
  kOnSplashTick,             // splash 时钟1: destroys the splash window
  kProgramHandlerCount,
};
