#include "designer/handlers.h"

#include <iterator>

#include "canvas/draw_panel_commands.h"
#include "designer/external_function_ids.h"
#include "designer/font_broadcast.h"
#include "designer/procedures.h"
#include "designer/program_globals.h"
#include "designer/rendering.h"
#include "designer/unit_access.h"
#include "forms/type_ids.h"
#include "frame/commands.h"
#include "frame/ground/service_commands.h"
#include "frame/ground/shell_services.h"

namespace {

constexpr const char* kReferenceMoment = "2011年04月13日22时56分29秒";
constexpr std::int32_t kSecondsUnit = 8;

ArgRecord Object(std::uint32_t windowId, std::uint32_t unitId, std::uint32_t typeId) {
  return MakeObjectArg(windowId, unitId, typeId);
}

HeldText FontFolder() {
  const HeldText runDirectory(CallForText(CmdRunDirectory, {}).Release());
  return HeldText(JoinTexts(runDirectory.Get(), kFontFolder));
}

// Opens `page` of the program folder (with `fragment` appended) with the shell's default verb.
void OpenPage(const char* page, const char* fragment) {
  const HeldText runDirectory(CallForText(CmdRunDirectory, {}).Release());
  const HeldText path(JoinTexts(runDirectory.Get(), page));
  const HeldText address(JoinTexts("file:///", path.Get(), fragment));
  Call(CmdShellExecute, {MakeOmittedArg(), MakeTextArg(address.Get())});
}

// The worker thread's routine: standard calling convention, as thread routines have.
#if defined(_WIN32)
std::uint32_t __stdcall FontThread(void*) {
#else
std::uint32_t FontThread(void*) {
#endif
  InstallFonts();
  return 0;
}

void OnMainCreated() {
  const HeldText runDirectory(CallForText(CmdRunDirectory, {}).Release());
  const HeldText skinFile(JoinTexts(runDirectory.Get(), "/pifu.she"));
  CallExternal(kSkinAttach, skinFile.Get(), "");

  Call(CommandLoadWindow, {Object(kSplashWindow, kSplashWindowUnit, kTypeWindow), MakeOmittedArg(), MakeBoolArg(true)});

  WriteInt(kMainWindow, kMainWindowUnit, kPropTop, 12);
  const double left = ReadInt(kMainWindow, kMainWindowUnit, kPropLeft);
  const double top = ReadInt(kMainWindow, kMainWindowUnit, kPropTop);
  Call(CommandBalloonPopUp, {Object(kMainWindow, kHintTip, kTypeQTip), MakeIntArg(TruncateToInt(left + 690.0)),
                             MakeIntArg(TruncateToInt(top + 590.0)), MakeTextArg("拖动滑块可以改变签名位置！"),
                             MakeIntArg(-1)});

  FillBackgroundList();
  WriteInt(kMainWindow, kBackgroundList, kComboCurrentItem, 0);
  ApplyBackground();
  // The first drawing is design 0's, whatever tab the layout makes current.
  SetCurrentFamily(0);
  DrawChineseSignature();
}

void OnMainDestroyed() {
  Call(CommandProcessPendingEvents, {});
  RemoveFonts();
  const DateTime reference = ResultDouble(Call(CmdTextToDateTime, {MakeTextArg(kReferenceMoment)}));
  const DateTime now = ResultDouble(Call(CmdNow, {}));
  const double interval = ResultDouble(
      Call(CmdTimeInterval, {MakeDateTimeArg(reference), MakeDateTimeArg(now), MakeIntArg(kSecondsUnit)}));
  if (interval < -0.0000001) OpenPage(kHomePage, nullptr);
}

void OnChinesePreviewClicked() { SelectDesign(DesignForm::kChineseOnly); }
void OnEnglishPreviewClicked() { SelectDesign(DesignForm::kEnglishOnly); }
void OnHelpClicked() { OpenPage(kProgramPage, nullptr); }
void OnFeedbackClicked() { OpenPage(kProgramPage, "#comment"); }
void OnBackgroundSelected() {
  ApplyBackground();
  SelectDesign(DesignForm::kFull);
}
void OnDesignTabChanged() { SelectDesign(DesignForm::kFull); }

void OnSplashCreated() {
  Call(CmdStartThread, {MakePointerArg(reinterpret_cast<void*>(&FontThread))});
}
void OnSplashTick() { Call(CommandDestroy, {Object(kSplashWindow, kSplashWindowUnit, kTypeWindow)}); }

constexpr HandlerEntry Procedure(EventProcedure procedure) { return {procedure, nullptr}; }

}  // namespace

const std::array<HandlerEntry, kProgramHandlerCount> kProgramHandlers = [] {
  std::array<HandlerEntry, kProgramHandlerCount> table{};
  table[kOnMainCreated] = Procedure(OnMainCreated);
  table[kOnMainDestroyed] = Procedure(OnMainDestroyed);
  table[kOnChinesePreviewClicked] = Procedure(OnChinesePreviewClicked);
  table[kOnEnglishPreviewClicked] = Procedure(OnEnglishPreviewClicked);
  table[kOnHelpClicked] = Procedure(OnHelpClicked);
  table[kOnSaveClicked] = Procedure(SaveSignature);
  table[kOnFeedbackClicked] = Procedure(OnFeedbackClicked);
  table[kOnBackgroundSelected] = Procedure(OnBackgroundSelected);
  table[kOnSizeChanged] = Procedure(RedrawDesign);
  table[kOnTextColorChanged] = Procedure(RedrawDesign);
  table[kOnDesignTabChanged] = Procedure(OnDesignTabChanged);
  table[kOnHorizontalMoved] = Procedure(RedrawDesign);
  table[kOnVerticalMoved] = Procedure(RedrawDesign);
  table[kOnSplashCreated] = Procedure(OnSplashCreated);
  table[kOnSplashTick] = Procedure(OnSplashTick);
  return table;
}();

const std::array<ExternalFunctionEntry, 4> kProgramExternalFunctions{{
    {"", "SendMessageA"},
    {"gdi32", "RemoveFontResourceA"},
    {"SkinH_EL.dll", "SkinH_Attach_Ex"},
    {"", "AddFontResourceA"},
}};

void FillBackgroundList() {
  const ArgRecord list = Object(kMainWindow, kBackgroundList, kTypeComboBox);
  Call(CommandClear, {list});
  FindSlot slot = nullptr;
  const HeldText runDirectory(CallForText(CmdRunDirectory, {}).Release());
  for (const char* pattern : {"\\背景图片\\*.jpg", "\\背景图片\\*.gif", "\\背景图片\\*.bmp"}) {
    const HeldText fullPattern(JoinTexts(runDirectory.Get(), pattern));
    HeldText name(Frame().findFile(fullPattern.Get(), 0, true, &slot));
    while (TextsDiffer(name.Get(), "") != 0) {
      Call(CommandAddItem, {list, MakeTextArg(name.Get())});
      name = HeldText(Frame().findFile("", 0, true, &slot));
    }
  }
  Frame().closeFindHandle(&slot);
}

void SaveSignature() {
  const ArgRecord dialog = Object(kMainWindow, kSaveDialog, kTypeCommonDlg);
  if (Call(CommandOpenDialog, {dialog}).low == 0) return;
  const HeldBuffer picture = CallForBuffer(CommandPanelGetPicture, {Object(kMainWindow, kPanelUnit, kTypeDrawPanel)});
  const HeldText fileName = ReadText(kMainWindow, kSaveDialog, kDialogFileName);
  Call(CmdWriteFile, {MakeTextArg(fileName.Get()), MakeBufferArg(picture.Get())});
}

void InstallFonts() {
  Call(CommandProcessPendingEvents, {});
  const HeldText folder = FontFolder();
  for (const Design& design : kDesignTable) {
    const HeldText path(JoinTexts(folder.Get(), design.fontFile));
    if (CallExternal(kAddFontResource, path.Get()) != 0) NoteFontsAdded();
  }
  // The windows learn of the new fonts once, here on the worker thread, which may wait on them.
  BroadcastFontChangeIfFontsAdded();
}

void RemoveFonts() {
  const HeldText folder = FontFolder();
  for (const Design& design : kDesignTable) {
    const HeldText path(JoinTexts(folder.Get(), design.fontFile));
    CallExternal(kRemoveFontResource, path.Get());
  }
}
