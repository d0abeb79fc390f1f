#include "tests/forms_win/test_layouts.h"

#include <array>
#include <cstdio>
#include <map>

#include "forms/event_ids.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"

namespace {

constexpr std::uint32_t kShown = kUnitVisible;
constexpr std::uint32_t kFocusable = kUnitVisible | kUnitFocusable;

// ---- the every-control window ----
constexpr PropertySetting kEveryWindowData[] = {
    SetText(kWindowTitle, "每种组件"), SetNumber(kWindowBorder, 2), SetNumber(kWindowStartPosition, 1),
    SetNumber(kWindowMinimizeBox, 1), SetNumber(kWindowDragAnywhere, 1), SetNumber(kWindowEnterMovesFocus, 1)};
constexpr EventBinding kEveryWindowEvents[] = {
    {kWindowCreated, kOnEveryCreated}, {kWindowMayClose, kOnEveryMayClose}, {kWindowDestroyed, kOnEveryDestroyed}};
constexpr PropertySetting kButtonData[] = {SetText(kButtonCaption, "按钮")};
constexpr EventBinding kButtonEvents[] = {{kButtonClicked, kOnButtonClicked}};
constexpr PropertySetting kEditData[] = {SetText(kEditContent, "王小明"), SetNumber(kEditAlignment, 1)};
constexpr EventBinding kEditEvents[] = {{kEditContentChanged, kOnEditChanged}};
constexpr PropertySetting kLabelData[] = {SetText(kLabelCaption, "标签"), SetNumber(kLabelTextColor, 0x808000)};
constexpr PropertySetting kComboData[] = {SetNumber(kComboKind, 2), SetNumber(kComboSorted, 1),
                                          SetNumber(kComboRowSpacing, 1)};
constexpr EventBinding kComboEvents[] = {
    {kComboItemSelected, kOnComboSelected}, {kEventGotFocus, kOnComboGotFocus}, {kEventLostFocus, kOnComboLostFocus}};
constexpr PropertySetting kSliderData[] = {
    SetNumber(kSliderTickMarks, 0), SetNumber(kSliderShowSelection, 1), SetNumber(kSliderSelectionStart, 1),
    SetNumber(kSliderSelectionLength, 200), SetNumber(kSliderPageSize, 20), SetNumber(kSliderMinPosition, 1),
    SetNumber(kSliderMaxPosition, 333), SetNumber(kSliderPosition, 165)};
constexpr EventBinding kSliderEvents[] = {{kSliderPositionChanged, kOnSliderMoved}};
constexpr PropertySetting kPageLabelData[] = {SetText(kLabelCaption, "第一页")};
constexpr PropertySetting kPageButtonData[] = {SetText(kButtonCaption, "第二页")};
constexpr const char* kTabCaptionList[] = {"青砚草签", "方正篆签"};
constexpr PropertySetting kTabData[] = {
    SetTexts(kTabCaptions, kTabCaptionList),
    SetFont(kTabFont, FontSetting{.height = -14, .weight = 400, .charSet = 134, .face = "宋体"})};
constexpr EventBinding kTabEvents[] = {{kTabChanging, kOnTabChanging}, {kTabChanged, kOnTabChanged}};
constexpr std::uint32_t kTabPages[] = {kPageZeroLabel, 0, kPageOneButton, kPageOneEdit, kPageOneGroup, 0};
constexpr PropertySetting kPageGroupData[] = {SetText(kGroupCaption, "第二页分组")};
constexpr PropertySetting kPageGroupLabelData[] = {SetText(kLabelCaption, "组内")};
constexpr std::uint32_t kPageGroupChildren[] = {kPageOneGroupLabel};
constexpr EventBinding kColorEvents[] = {{kColorChanged, kOnColorChanged}};
constexpr PropertySetting kDialogData[] = {
    SetNumber(kDialogKind, 1), SetText(kDialogFilter, "位图文件(*.bmp)|*.bmp"), SetText(kDialogDefaultExt, "bmp"),
    SetNumber(kDialogFileMustExist, 1), SetNumber(kDialogOverwritePrompt, 1), SetNumber(kDialogPathMustExist, 1)};
constexpr EventBinding kTimerEvents[] = {{kTimerTick, kOnTimerTick}};
constexpr PropertySetting kPictureData[] = {SetNumber(kPicBoxBackColor, 0xFFFFFF), SetNumber(kPicBoxOption12, 1)};
constexpr PropertySetting kTipData[] = {SetNumber(kTipDisplayTime, 150)};
constexpr PropertySetting kGroupData[] = {SetText(kGroupCaption, "签名预览"), SetNumber(kGroupTextColor, 0x008000)};
constexpr std::uint32_t kGroupChildren[] = {kSlider, kTab};

constexpr UnitRow kEveryUnits[] = {
    // id, name, type, container, left, top, width, height, flags, focus order, events, data, children
    {kButton, "按钮1", kTypeButton, 0, 10, 10, 100, 24, kFocusable, 0, kButtonEvents, kButtonData, {}},
    {kEdit, "编辑框1", kTypeEditBox, 0, 120, 10, 112, 20, kFocusable, 0, kEditEvents, kEditData, {}},
    {kLabel, "标签1", kTypeLabel, 0, 240, 10, 60, 20, kShown, 0, {}, kLabelData, {}},
    {kCombo, "组合框1", kTypeComboBox, 0, 310, 10, 200, 20, kFocusable, 0, kComboEvents, kComboData, {}},
    {kSlider, "滑块条1", kTypeSliderBar, kGroup, 10, 20, 345, 24, kFocusable, 0, kSliderEvents, kSliderData, {}},
    {kPageZeroLabel, "标签2", kTypeLabel, kTab, 10, 40, 80, 20, kShown, 0, {}, kPageLabelData, {}},
    {kPageOneButton, "按钮2", kTypeButton, kTab, 10, 40, 80, 24, kFocusable, 0, {}, kPageButtonData, {}},
    {kPageOneEdit, "编辑框2", kTypeEditBox, kTab, 100, 40, 80, 20, kFocusable, 0, {}, {}, {}},
    {kTab, "选择夹1", kTypeTabBox, kGroup, 10, 60, 400, 100, kFocusable, 0, kTabEvents, kTabData, kTabPages},
    {kColorPicker, "颜色选择器1", kTypeColorPicker, 0, 520, 10, 100, 24, kFocusable, 0, kColorEvents, {}, {}},
    {kDialog, "通用对话框1", kTypeCommonDlg, 0, 630, 10, 24, 24, 0, 0, {}, kDialogData, {}},
    {kTimer, "时钟1", kTypeTimer, 0, 660, 10, 32, 32, 0, 0, kTimerEvents, {}, {}},
    {kPicture, "图片框1", kTypePicBox, 0, 450, 250, 330, 110, kShown, 0, {}, kPictureData, {}},
    {kTip, "气球提示框1", kTypeQTip, 0, 700, 10, 32, 32, 0, 0, {}, kTipData, {}},
    {kGroup, "分组框1", kTypeGroupBox, 0, 4, 60, 430, 200, kShown, 0, {}, kGroupData, kGroupChildren},
    {kPageOneGroupLabel, "标签3", kTypeLabel, kPageOneGroup, 10, 20, 60, 20, kShown, 0, {}, kPageGroupLabelData, {}},
    {kPageOneGroup, "分组框2", kTypeGroupBox, kTab, 200, 30, 150, 60, kShown, 0, {}, kPageGroupData, kPageGroupChildren},
};
static_assert(UnitsAscending(kEveryUnits));

constexpr WindowLayout kEveryLayout{
    kEveryWindow,
    {kEveryUnit, "", kTypeWindow, 0, 50, 1, 890, 627, kShown, 0, kEveryWindowEvents, kEveryWindowData, {}},
    kEveryUnits};

// ---- a frameless, rounded, centred window whose timer destroys it ----
constexpr PropertySetting kSplashWindowData[] = {SetNumber(kWindowBorder, 0), SetNumber(kWindowBackColor, 0xFFFFFF),
                                                 SetNumber(kWindowStartPosition, 1), SetNumber(kWindowShape, 2),
                                                 SetNumber(kWindowEscCloses, 1)};
constexpr EventBinding kSplashWindowEvents[] = {{kWindowCreated, kOnSplashCreated},
                                                {kWindowMoved, kOnSplashMoved},
                                                {kWindowResized, kOnSplashResized},
                                                {kWindowDestroyed, kOnSplashDestroyed}};
constexpr PropertySetting kSplashTimerData[] = {SetNumber(kTimerInterval, 100)};
constexpr EventBinding kSplashTimerEvents[] = {{kTimerTick, kOnSplashTick}};
constexpr UnitRow kSplashUnits[] = {
    {kSplashTimer, "时钟1", kTypeTimer, 0, 264, 40, 24, 24, 0, 0, kSplashTimerEvents, kSplashTimerData, {}},
};
constexpr WindowLayout kSplashLayout{
    kSplashWindow,
    {kSplashUnit, "", kTypeWindow, 0, 50, 50, 314, 100, kShown, 0, kSplashWindowEvents, kSplashWindowData, {}},
    kSplashUnits};

// ---- a window that loads the splash window modally from its Created handler ----
constexpr PropertySetting kLoaderWindowData[] = {SetText(kWindowTitle, "载入"), SetNumber(kWindowBorder, 2),
                                                 SetNumber(kWindowMaximizeBox, 1), SetNumber(kWindowCloseBox, 0),
                                                 SetNumber(kWindowTopmost, 1)};
constexpr EventBinding kLoaderWindowEvents[] = {{kWindowCreated, kOnLoaderCreated},
                                                {kWindowMoved, kOnLoaderMoved},
                                                {kWindowResized, kOnLoaderResized},
                                                {kWindowDestroyed, kOnLoaderDestroyed}};
constexpr WindowLayout kLoaderLayout{
    kLoaderWindow,
    {kLoaderUnit, "", kTypeWindow, 0, 100, 100, 300, 200, kShown, 0, kLoaderWindowEvents, kLoaderWindowData, {}},
    {}};

// ---- a plain window with one button ----
constexpr PropertySetting kPlainWindowData[] = {SetText(kWindowTitle, "普通"), SetNumber(kWindowBorder, 2)};
constexpr EventBinding kPlainWindowEvents[] = {{kWindowCreated, kOnPlainCreated}, {kWindowDestroyed, kOnPlainDestroyed}};
constexpr PropertySetting kPlainButtonData[] = {SetText(kButtonCaption, "关闭")};
constexpr EventBinding kPlainButtonEvents[] = {
    {kButtonClicked, kOnPlainClicked}, {kEventGotFocus, kOnPlainGotFocus}, {kEventLostFocus, kOnPlainLostFocus}};
constexpr UnitRow kPlainUnits[] = {
    {kPlainButton, "按钮1", kTypeButton, 0, 10, 10, 80, 24, kFocusable, 0, kPlainButtonEvents, kPlainButtonData, {}},
    // A higher focus order: the button is the one that takes the focus.
    {kPlainEdit, "编辑框1", kTypeEditBox, 0, 100, 10, 80, 20, kFocusable, 1, {}, {}, {}},
};
constexpr WindowLayout kPlainLayout{
    kPlainWindow,
    {kPlainUnit, "", kTypeWindow, 0, 200, 150, 240, 120, kShown, 0, kPlainWindowEvents, kPlainWindowData, {}},
    kPlainUnits};

constexpr const WindowLayout* kLayouts[] = {&kEveryLayout, &kSplashLayout, &kLoaderLayout, &kPlainLayout};

constexpr const char* kHandlerNames[] = {
    "EveryCreated", "EveryMayClose", "EveryDestroyed", "ButtonClicked", "EditChanged", "ComboSelected",
    "SliderMoved", "TabChanging", "TabChanged", "ColorChanged", "TimerTick", "SplashCreated", "SplashMoved",
    "SplashResized", "SplashTick", "SplashDestroyed", "LoaderCreated", "LoaderMoved", "LoaderResized",
    "LoaderDestroyed", "PlainCreated", "PlainClicked", "PlainDestroyed", "PlainGotFocus", "PlainLostFocus",
    "ComboGotFocus", "ComboLostFocus"};
static_assert(std::size(kHandlerNames) == kHandlerCount);

std::map<int, std::function<void()>> gActions;
bool gLibraryStarted = false;
std::map<int, std::int32_t> gAnswers;

void Run(int handler) {
  EventLog().push_back(kHandlerNames[handler]);
  auto action = gActions.find(handler);
  if (action != gActions.end()) {
    const std::function<void()> copy = action->second;  // the action may replace itself
    copy();
  }
}

template <int N>
void Procedure() {
  Run(N);
}

template <int N>
std::int32_t Answering(const std::int64_t*, int) {
  Run(N);
  auto answer = gAnswers.find(N);
  return answer == gAnswers.end() ? 1 : answer->second;
}

template <int... N>
constexpr std::array<HandlerEntry, sizeof...(N)> MakeHandlers(std::integer_sequence<int, N...>) {
  return {HandlerEntry{(N == kOnEveryMayClose || N == kOnTabChanging) ? nullptr : &Procedure<N>,
                       (N == kOnEveryMayClose || N == kOnTabChanging) ? &Answering<N> : nullptr}...};
}
constexpr auto kHandlers = MakeHandlers(std::make_integer_sequence<int, kHandlerCount>{});

constexpr char kConstantTexts[] = "载入启动窗口失败";

// A support library that says when it is told to start and to end.
void TestLibraryNotice(int code, NotificationFunction notify) {
  if (code == kSupportLibraryStart) gLibraryStarted = notify != nullptr;
  if (code == kSupportLibraryEnd) std::fputs("library end\n", stderr);
}
constexpr SupportLibraryNotice kSupportLibraries[] = {TestLibraryNotice};

}  // namespace

std::vector<std::string>& EventLog() {
  static std::vector<std::string> log;
  return log;
}

void SetAction(TestHandler handler, std::function<void()> action) { gActions[handler] = std::move(action); }
void SetAnswer(TestHandler handler, std::int32_t answer) { gAnswers[handler] = answer; }
void ResetTestHandlers() {
  gActions.clear();
  gAnswers.clear();
  EventLog().clear();
}
const char* HandlerName(std::int32_t handler) { return kHandlerNames[handler]; }
bool TestLibraryStarted() { return gLibraryStarted; }

const ProgramHeader& TestProgramHeader() {
  static const ProgramHeader header{3, kConstantTexts, kLayouts, kSupportLibraries, {}, kHandlers};
  return header;
}
