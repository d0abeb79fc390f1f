#include "forms/layouts/main_window_layout.h"

#include <cstdint>
#include <iterator>

#include "forms/event_ids.h"
#include "forms/layouts/window_ids.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"

namespace {

constexpr std::uint32_t kShown = kUnitVisible;
constexpr std::uint32_t kFocusable = kUnitVisible | kUnitFocusable;
constexpr std::uint32_t kNonVisual = 0;
constexpr std::uint32_t kInWindow = 0;

constexpr std::int64_t kSystemColour = 0xFF000000;  // background: the system's; text back: transparent
constexpr std::int64_t kTeal = 0x808000;
constexpr std::int64_t kGreen = 0x008000;
constexpr std::int64_t kWhite = 0xFFFFFF;
constexpr std::int64_t kBlack = 0;

constexpr std::uint8_t kGb2312Charset = 134;
constexpr FontSetting kSong12{.height = -12, .weight = 400, .charSet = kGb2312Charset, .face = "宋体"};
constexpr FontSetting kSong14{.height = -14, .weight = 400, .charSet = kGb2312Charset, .face = "宋体"};
constexpr FontSetting kSong14Bold{.height = -14, .weight = 700, .charSet = kGb2312Charset, .face = "宋体"};

// ---- the window unit ----
constexpr PropertySetting kWindowData[] = {
    SetText(kWindowTitle, "云笺免费签名设计正式版 V2.0"),
    SetNumber(kWindowBorder, 2),  // fixed single frame
    SetNumber(kWindowBackColor, kSystemColour),
    SetNumber(kWindowControlBox, 1),
    SetNumber(kWindowMaximizeBox, 0),
    SetNumber(kWindowMinimizeBox, 1),
    SetNumber(kWindowStartPosition, 1),  // centred; the stored left and top are not used
    SetNumber(kWindowCloseBox, 1),
    SetNumber(kWindowEnterMovesFocus, 0),
    SetNumber(kWindowEscCloses, 0),
    SetNumber(kWindowDragAnywhere, 0),
    SetNumber(kWindowShape, 0),
    SetNumber(kWindowTopmost, 0),
};
// No MayClose handler: the window always closes when asked.
constexpr EventBinding kWindowEvents[] = {{kWindowCreated, kOnMainCreated}, {kWindowDestroyed, kOnMainDestroyed}};

// ---- initial values, one list per unit, in unit-id order ----
constexpr PropertySetting kFeedbackButtonData[] = {SetText(kButtonCaption, "问题及bug反馈")};
constexpr PropertySetting kHelpButtonData[] = {SetText(kButtonCaption, "详细使用说明")};
constexpr PropertySetting kBackgroundListData[] = {
    SetNumber(kComboKind, 2),  // drop-down list, not editable
    SetNumber(kComboSorted, 1),
    SetNumber(kComboRowSpacing, 1),
    SetNumber(kComboTextColor, kBlack),
    SetNumber(kComboBackColor, kWhite),
    SetNumber(kComboCurrentItem, -1),
};
constexpr PropertySetting kDesignLabelData[] = {SetText(kLabelCaption, "[设计一]"), SetFont(kLabelFont, kSong12),
                                                SetNumber(kLabelTextColor, kTeal)};
constexpr PropertySetting kSizeLabelData[] = {SetText(kLabelCaption, "字体大小："), SetFont(kLabelFont, kSong12)};
constexpr PropertySetting kSizeBoxData[] = {
    SetText(kEditContent, "70"),       SetFont(kEditFont, kSong14Bold), SetNumber(kEditTextColor, kBlack),
    SetNumber(kEditBackColor, kWhite), SetNumber(kEditAlignment, 1),    SetNumber(kEditMaxLength, 0),
    SetNumber(kEditMultiLine, 0),
};
constexpr PropertySetting kColorLabelData[] = {SetText(kLabelCaption, "字体颜色：")};
constexpr PropertySetting kTextColorPickerData[] = {SetNumber(kColorPickerColor, kBlack),
                                                    SetNumber(kColorPickerAllowTransparent, 0)};
constexpr PropertySetting kSaveButtonData[] = {SetText(kButtonCaption, "保存此张签名")};
constexpr PropertySetting kPanelData[] = {
    SetNumber(kDrawPanelBorder, 0),
    SetNumber(kDrawPanelBackColor, kWhite),
    SetNumber(kDrawPanelPictureMode, 1),  // tiled
    SetNumber(kDrawPanelAutoRedraw, 1),
    SetNumber(kDrawPanelCoordUnit, 0),  // pixel
    SetNumber(kDrawPanelPenStyle, 1),
    SetNumber(kDrawPanelDrawMode, 12),
    SetNumber(kDrawPanelPenWidth, 0),
    SetNumber(kDrawPanelPenColor, kBlack),
    SetNumber(kDrawPanelBrushStyle, 1),
    SetNumber(kDrawPanelBrushColor, kWhite),
    SetNumber(kDrawPanelTextColor, kBlack),
    SetNumber(kDrawPanelTextBackColor, kSystemColour),  // transparent
};
// The maxima and positions describe the panel before a picture is chosen; the start-up and
// background handlers set the maxima to the panel's size.
constexpr PropertySetting kHorizontalSliderData[] = {
    SetNumber(kSliderVertical, 0),      SetNumber(kSliderTickMarks, 0),     SetNumber(kSliderTickFrequency, 10),
    SetNumber(kSliderShowSelection, 0), SetNumber(kSliderPageSize, 20),     SetNumber(kSliderLineSize, 1),
    SetNumber(kSliderMinPosition, 1),   SetNumber(kSliderMaxPosition, 333), SetNumber(kSliderPosition, 165),
};
constexpr PropertySetting kVerticalSliderData[] = {
    SetNumber(kSliderVertical, 1),      SetNumber(kSliderTickMarks, 0),       SetNumber(kSliderTickFrequency, 1),
    SetNumber(kSliderShowSelection, 1), SetNumber(kSliderSelectionStart, 1),  SetNumber(kSliderSelectionLength, 200),
    SetNumber(kSliderPageSize, 5),      SetNumber(kSliderLineSize, 1),        SetNumber(kSliderMinPosition, 1),
    SetNumber(kSliderMaxPosition, 200), SetNumber(kSliderPosition, 130),
};
// The tip's own settings; the pop-up operation gives the text, place and icon.
constexpr PropertySetting kHintTipData[] = {SetNumber(kTipDisplayTime, 5000), SetNumber(kTipTextColor, kBlack),
                                            SetNumber(kTipBackColor, 0xE1FFFF)};
constexpr const char* kDesignCaptions[] = {
    "青砚草签", "方正篆签", "博洋行签", "博洋草签", "明星签", "领袖签", "隶书签",
    "创艺细签", "黄草简签", "英文签一", "英文签二", "英文签三", "英文签四",
};
static_assert(std::size(kDesignCaptions) == kDesignCount);
constexpr PropertySetting kDesignTabsData[] = {
    SetNumber(kTabPosition, 0),  // top
    SetNumber(kTabMultiLine, 0),
    SetFont(kTabFont, kSong14),
    SetTexts(kTabCaptions, kDesignCaptions),
    SetNumber(kTabCurrent, 0),
};
// Thirteen pages without units: the box is only a strip of tabs.
constexpr std::uint32_t kDesignPages[kDesignCount] = {};
constexpr PropertySetting kBackgroundLabelData[] = {SetText(kLabelCaption, "设计底图：")};
constexpr PropertySetting kSettingsGroupData[] = {SetText(kGroupCaption, "参数配置"), SetNumber(kGroupTextColor, kGreen)};
constexpr std::uint32_t kSettingsGroupHolds[] = {kHelpButton, kBackgroundList, kBackgroundLabel};
constexpr PropertySetting kMainTimerData[] = {SetNumber(kTimerInterval, 0)};  // never ticks
constexpr PropertySetting kChineseLabelData[] = {SetText(kLabelCaption, "中文名：")};
constexpr PropertySetting kSaveDialogData[] = {
    SetNumber(kDialogKind, 1),  // save file
    SetText(kDialogTitle, ""),
    SetText(kDialogFileName, ""),
    SetText(kDialogFilter, "位图文件(*.bmp)|*.bmp"),
    SetNumber(kDialogFilterIndex, 0),
    SetText(kDialogInitialDir, ""),
    SetText(kDialogDefaultExt, "bmp"),
    SetNumber(kDialogCreatePrompt, 0),
    SetNumber(kDialogFileMustExist, 1),
    SetNumber(kDialogOverwritePrompt, 1),
    SetNumber(kDialogPathMustExist, 1),
    SetNumber(kDialogKeepCurrentDir, 0),
};
constexpr PropertySetting kEnglishPreviewButtonData[] = {SetText(kButtonCaption, "设计预览")};
constexpr PropertySetting kEnglishNameBoxData[] = {
    SetText(kEditContent, "Xiaoming"), SetFont(kEditFont, kSong14Bold), SetNumber(kEditTextColor, kWhite),
    SetNumber(kEditBackColor, kTeal),  SetNumber(kEditAlignment, 1),    SetNumber(kEditMaxLength, 0),
    SetNumber(kEditMultiLine, 0),
};
constexpr PropertySetting kEnglishLabelData[] = {SetText(kLabelCaption, "英文名：")};
constexpr PropertySetting kChinesePreviewButtonData[] = {SetText(kButtonCaption, "设计预览")};
constexpr PropertySetting kChineseNameBoxData[] = {
    SetText(kEditContent, "王小明"),   SetFont(kEditFont, kSong14Bold), SetNumber(kEditTextColor, kWhite),
    SetNumber(kEditBackColor, kTeal),  SetNumber(kEditAlignment, 1),    SetNumber(kEditMaxLength, 0),
    SetNumber(kEditMultiLine, 0),
};
constexpr PropertySetting kPreviewGroupData[] = {SetText(kGroupCaption, "签名预览"), SetNumber(kGroupAlignment, 0),
                                                 SetNumber(kGroupTextColor, kGreen)};
constexpr std::uint32_t kPreviewGroupHolds[] = {
    kDesignLabel, kSizeLabel,        kSizeBox,        kColorLabel, kTextColorPicker, kSaveButton,
    kPanelUnit,   kHorizontalSlider, kVerticalSlider, kHintTip,    kDesignTabs,
};

// ---- bound events; the name fields have none, so typing redraws nothing ----
constexpr EventBinding kFeedbackButtonEvents[] = {{kButtonClicked, kOnFeedbackClicked}};
constexpr EventBinding kHelpButtonEvents[] = {{kButtonClicked, kOnHelpClicked}};
constexpr EventBinding kBackgroundListEvents[] = {{kComboItemSelected, kOnBackgroundSelected}};
constexpr EventBinding kSizeBoxEvents[] = {{kEditContentChanged, kOnSizeChanged}};
constexpr EventBinding kTextColorPickerEvents[] = {{kColorChanged, kOnTextColorChanged}};
constexpr EventBinding kSaveButtonEvents[] = {{kButtonClicked, kOnSaveClicked}};
constexpr EventBinding kHorizontalSliderEvents[] = {{kSliderPositionChanged, kOnHorizontalMoved}};
constexpr EventBinding kVerticalSliderEvents[] = {{kSliderPositionChanged, kOnVerticalMoved}};
constexpr EventBinding kDesignTabsEvents[] = {{kTabChanged, kOnDesignTabChanged}};
constexpr EventBinding kEnglishPreviewButtonEvents[] = {{kButtonClicked, kOnEnglishPreviewClicked}};
constexpr EventBinding kChinesePreviewButtonEvents[] = {{kButtonClicked, kOnChinesePreviewClicked}};

// Left and top are relative to the container's client area. All focus orders are 0, so the first
// focus goes to the focusable unit with the highest id: 编辑框1.
constexpr UnitRow kUnits[] = {
    // id, name, type, container, left, top, width, height, flags, focus order, events, data, children
    {kFeedbackButton, "按钮5", kTypeButton, kInWindow, 752, 14, 120, 32, kFocusable, 0, kFeedbackButtonEvents, kFeedbackButtonData, {}},
    {kHelpButton, "按钮3", kTypeButton, kSettingsGroup, 279, 11, 120, 32, kFocusable, 0, kHelpButtonEvents, kHelpButtonData, {}},
    {kBackgroundList, "组合框1", kTypeComboBox, kSettingsGroup, 66, 16, 200, 20, kFocusable, 0, kBackgroundListEvents, kBackgroundListData, {}},
    {kDesignLabel, "标签5", kTypeLabel, kPreviewGroup, 223, 52, 59, 16, kShown, 0, {}, kDesignLabelData, {}},
    {kSizeLabel, "标签14", kTypeLabel, kPreviewGroup, 283, 48, 55, 24, kShown, 0, {}, kSizeLabelData, {}},
    {kSizeBox, "编辑框14", kTypeEditBox, kPreviewGroup, 340, 48, 49, 22, kFocusable, 0, kSizeBoxEvents, kSizeBoxData, {}},
    {kColorLabel, "标签7", kTypeLabel, kPreviewGroup, 409, 48, 56, 24, kShown, 0, {}, kColorLabelData, {}},
    {kTextColorPicker, "颜色选择器1", kTypeColorPicker, kPreviewGroup, 468, 48, 72, 24, kFocusable, 0, kTextColorPickerEvents, kTextColorPickerData, {}},
    {kSaveButton, "按钮4", kTypeButton, kPreviewGroup, 557, 48, 97, 24, kFocusable, 0, kSaveButtonEvents, kSaveButtonData, {}},
    {kPanelUnit, "画板1", kTypeDrawPanel, kPreviewGroup, 252, 162, 333, 200, kShown, 0, {}, kPanelData, {}},
    {kHorizontalSlider, "滑块条2", kTypeSliderBar, kPreviewGroup, 510, 516, 345, 16, kFocusable, 0, kHorizontalSliderEvents, kHorizontalSliderData, {}},
    {kVerticalSlider, "滑块条1", kTypeSliderBar, kPreviewGroup, 852, 176, 19, 345, kFocusable, 0, kVerticalSliderEvents, kVerticalSliderData, {}},
    {kHintTip, "气球提示框1", kTypeQTip, kPreviewGroup, 806, 480, 32, 32, kNonVisual, 0, {}, kHintTipData, {}},
    {kDesignTabs, "选择夹1", kTypeTabBox, kPreviewGroup, 1, 13, 900, 23, kShown, 0, kDesignTabsEvents, kDesignTabsData, kDesignPages},
    {kBackgroundLabel, "标签6", kTypeLabel, kSettingsGroup, 6, 18, 56, 16, kShown, 0, {}, kBackgroundLabelData, {}},
    {kSettingsGroup, "分组框2", kTypeGroupBox, kInWindow, 340, 3, 540, 50, kShown, 0, {}, kSettingsGroupData, kSettingsGroupHolds},
    {kMainTimer, "时钟1", kTypeTimer, kInWindow, 256, 56, 32, 32, kNonVisual, 0, {}, kMainTimerData, {}},
    {kChineseLabel, "标签1", kTypeLabel, kInWindow, 14, 4, 48, 20, kShown, 0, {}, kChineseLabelData, {}},
    {kSaveDialog, "通用对话框1", kTypeCommonDlg, kInWindow, 192, 30, 24, 24, kNonVisual, 0, {}, kSaveDialogData, {}},
    {kEnglishPreviewButton, "按钮2", kTypeButton, kInWindow, 228, 27, 109, 24, kFocusable, 0, kEnglishPreviewButtonEvents, kEnglishPreviewButtonData, {}},
    {kEnglishNameBox, "编辑框2", kTypeEditBox, kInWindow, 229, 4, 108, 20, kFocusable, 0, {}, kEnglishNameBoxData, {}},
    {kEnglishLabel, "标签2", kTypeLabel, kInWindow, 178, 4, 44, 20, kShown, 0, {}, kEnglishLabelData, {}},
    {kChinesePreviewButton, "按钮1", kTypeButton, kInWindow, 62, 29, 113, 24, kFocusable, 0, kChinesePreviewButtonEvents, kChinesePreviewButtonData, {}},
    {kChineseNameBox, "编辑框1", kTypeEditBox, kInWindow, 64, 4, 112, 20, kFocusable, 0, {}, kChineseNameBoxData, {}},
    {kPreviewGroup, "分组框1", kTypeGroupBox, kInWindow, 4, 53, 876, 541, kShown, 0, {}, kPreviewGroupData, kPreviewGroupHolds},
};
static_assert(UnitsAscending(kUnits));
static_assert(std::size(kUnits) == 25);
static_assert(kUnits[0].id == 0x16010004 && kUnits[std::size(kUnits) - 1].id == 0x1601001C);

// A group box lists exactly the units that name it as their container.
constexpr bool GroupsAgreeWithContainers() {
  for (const UnitRow& group : kUnits) {
    if (group.type != kTypeGroupBox) continue;
    std::size_t inside = 0;
    for (const UnitRow& unit : kUnits) {
      if (unit.container != group.id) continue;
      ++inside;
      bool listed = false;
      for (std::uint32_t held : group.children) listed = listed || held == unit.id;
      if (!listed) return false;
    }
    if (inside != group.children.size()) return false;
  }
  return true;
}
static_assert(GroupsAgreeWithContainers());

// Stored left and top (50, 1) are kept as stored although startPosition 1 centres the window.
constexpr WindowLayout kLayout{
    kMainWindow,
    {kMainWindowUnit, "", kTypeWindow, kInWindow, 50, 1, 890, 627, kShown, 0, kWindowEvents, kWindowData, {}},
    kUnits};

}  // namespace

const WindowLayout& MainWindowLayout() { return kLayout; }
