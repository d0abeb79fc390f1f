// Property numbers. 0 to 7 are common to every type; a type's own start at 8.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kPropLeft = 0;
inline constexpr std::int32_t kPropTop = 1;
inline constexpr std::int32_t kPropWidth = 2;
inline constexpr std::int32_t kPropHeight = 3;
inline constexpr std::int32_t kPropTag = 4;
inline constexpr std::int32_t kPropVisible = 5;
inline constexpr std::int32_t kPropDisabled = 6;
inline constexpr std::int32_t kPropMousePointer = 7;
inline constexpr std::int32_t kFirstOwnProperty = 8;

// The sub-index that means "the whole value".
inline constexpr std::int32_t kWholeValue = -1;
// Font parts.
inline constexpr std::int32_t kFontAngle = 0;
inline constexpr std::int32_t kFontBold = 1;
inline constexpr std::int32_t kFontItalic = 2;
inline constexpr std::int32_t kFontStrikeOut = 3;
inline constexpr std::int32_t kFontUnderline = 4;
inline constexpr std::int32_t kFontSize = 5;
inline constexpr std::int32_t kFontFace = 6;

inline constexpr std::int32_t kWindowTitle = 8;
inline constexpr std::int32_t kWindowBorder = 9;
inline constexpr std::int32_t kWindowBackColor = 10;
inline constexpr std::int32_t kWindowPicture = 11;
inline constexpr std::int32_t kWindowPictureMode = 12;
inline constexpr std::int32_t kWindowMusic = 13;
inline constexpr std::int32_t kWindowMusicMode = 14;
inline constexpr std::int32_t kWindowControlBox = 15;
inline constexpr std::int32_t kWindowMaximizeBox = 16;
inline constexpr std::int32_t kWindowMinimizeBox = 17;
inline constexpr std::int32_t kWindowStartPosition = 18;
inline constexpr std::int32_t kWindowCloseBox = 19;
inline constexpr std::int32_t kWindowIcon = 20;
inline constexpr std::int32_t kWindowEnterMovesFocus = 21;
inline constexpr std::int32_t kWindowEscCloses = 22;
inline constexpr std::int32_t kWindowDragAnywhere = 27;
inline constexpr std::int32_t kWindowShape = 28;
inline constexpr std::int32_t kWindowTopmost = 29;

inline constexpr std::int32_t kEditContent = 8;
inline constexpr std::int32_t kEditBorder = 9;
inline constexpr std::int32_t kEditTextColor = 10;
inline constexpr std::int32_t kEditBackColor = 11;
inline constexpr std::int32_t kEditFont = 12;
inline constexpr std::int32_t kEditHideSelection = 13;
inline constexpr std::int32_t kEditMaxLength = 14;
inline constexpr std::int32_t kEditMultiLine = 15;
inline constexpr std::int32_t kEditScrollBars = 16;
inline constexpr std::int32_t kEditAlignment = 17;
inline constexpr std::int32_t kEditInputMode = 18;
inline constexpr std::int32_t kEditPasswordChar = 19;

inline constexpr std::int32_t kPicBoxBorder = 8;
inline constexpr std::int32_t kPicBoxBackColor = 9;
inline constexpr std::int32_t kPicBoxPicture = 10;
inline constexpr std::int32_t kPicBoxDisplayMode = 11;
inline constexpr std::int32_t kPicBoxOption12 = 12;

inline constexpr std::int32_t kGroupCaption = 8;
inline constexpr std::int32_t kGroupAlignment = 9;
inline constexpr std::int32_t kGroupTextColor = 10;
inline constexpr std::int32_t kGroupBackColor = 11;
inline constexpr std::int32_t kGroupFont = 12;

inline constexpr std::int32_t kLabelCaption = 8;
inline constexpr std::int32_t kLabelFont = 15;
inline constexpr std::int32_t kLabelTextColor = 16;
inline constexpr std::int32_t kLabelBackColor = 17;
inline constexpr std::int32_t kLabelPicture = 18;

inline constexpr std::int32_t kButtonPicture = 8;
inline constexpr std::int32_t kButtonKind = 9;
inline constexpr std::int32_t kButtonCaption = 10;
inline constexpr std::int32_t kButtonHorizontalAlign = 11;
inline constexpr std::int32_t kButtonVerticalAlign = 12;
inline constexpr std::int32_t kButtonFont = 13;

inline constexpr std::int32_t kComboKind = 8;
inline constexpr std::int32_t kComboContent = 9;
inline constexpr std::int32_t kComboMaxLength = 10;
inline constexpr std::int32_t kComboSelectionStart = 11;
inline constexpr std::int32_t kComboSelectionLength = 12;
inline constexpr std::int32_t kComboSelectedText = 13;
inline constexpr std::int32_t kComboSorted = 14;
inline constexpr std::int32_t kComboRowSpacing = 15;
inline constexpr std::int32_t kComboTextColor = 16;
inline constexpr std::int32_t kComboBackColor = 17;
inline constexpr std::int32_t kComboFont = 18;
inline constexpr std::int32_t kComboCurrentItem = 19;
inline constexpr std::int32_t kComboItems = 20;
inline constexpr std::int32_t kComboItemValues = 21;

inline constexpr std::int32_t kSliderBorder = 8;
inline constexpr std::int32_t kSliderVertical = 9;
inline constexpr std::int32_t kSliderTickMarks = 10;
inline constexpr std::int32_t kSliderTickFrequency = 11;
inline constexpr std::int32_t kSliderShowSelection = 12;
inline constexpr std::int32_t kSliderSelectionStart = 13;
inline constexpr std::int32_t kSliderSelectionLength = 14;
inline constexpr std::int32_t kSliderPageSize = 15;
inline constexpr std::int32_t kSliderLineSize = 16;
inline constexpr std::int32_t kSliderMinPosition = 17;
inline constexpr std::int32_t kSliderMaxPosition = 18;
inline constexpr std::int32_t kSliderPosition = 19;

inline constexpr std::int32_t kTabPosition = 8;
inline constexpr std::int32_t kTabMultiLine = 9;
inline constexpr std::int32_t kTabFont = 10;
inline constexpr std::int32_t kTabCaptions = 11;
inline constexpr std::int32_t kTabCurrent = 12;

inline constexpr std::int32_t kColorPickerColor = 8;
inline constexpr std::int32_t kColorPickerAllowTransparent = 9;

inline constexpr std::int32_t kDialogKind = 8;
inline constexpr std::int32_t kDialogTitle = 9;
inline constexpr std::int32_t kDialogFileName = 10;
inline constexpr std::int32_t kDialogFilter = 11;
inline constexpr std::int32_t kDialogFilterIndex = 12;
inline constexpr std::int32_t kDialogInitialDir = 13;
inline constexpr std::int32_t kDialogDefaultExt = 14;
inline constexpr std::int32_t kDialogCreatePrompt = 15;
inline constexpr std::int32_t kDialogFileMustExist = 16;
inline constexpr std::int32_t kDialogOverwritePrompt = 17;
inline constexpr std::int32_t kDialogPathMustExist = 18;
inline constexpr std::int32_t kDialogKeepCurrentDir = 19;

inline constexpr std::int32_t kTimerInterval = 8;

// The balloon tip's stored settings: how long a tip that does not stay is shown, and its colours.
inline constexpr std::int32_t kTipDisplayTime = 8;
inline constexpr std::int32_t kTipTextColor = 9;
inline constexpr std::int32_t kTipBackColor = 10;

// The drawing panel.
inline constexpr std::int32_t kDrawPanelBorder = 8;
inline constexpr std::int32_t kDrawPanelBackColor = 9;
inline constexpr std::int32_t kDrawPanelPicture = 10;
inline constexpr std::int32_t kDrawPanelPictureMode = 11;
inline constexpr std::int32_t kDrawPanelAutoRedraw = 12;
inline constexpr std::int32_t kDrawPanelCoordUnit = 13;
inline constexpr std::int32_t kDrawPanelPenStyle = 14;
inline constexpr std::int32_t kDrawPanelDrawMode = 15;
inline constexpr std::int32_t kDrawPanelPenWidth = 16;
inline constexpr std::int32_t kDrawPanelPenColor = 17;
inline constexpr std::int32_t kDrawPanelBrushStyle = 18;
inline constexpr std::int32_t kDrawPanelBrushColor = 19;
inline constexpr std::int32_t kDrawPanelTextColor = 20;
inline constexpr std::int32_t kDrawPanelTextBackColor = 21;
inline constexpr std::int32_t kDrawPanelFont = 22;
inline constexpr std::int32_t kDrawPanelDrawWidth = 23;  // read only
inline constexpr std::int32_t kDrawPanelDrawHeight = 24;  // read only
