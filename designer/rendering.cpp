#include "designer/rendering.h"

#include <utility>

#include "canvas/draw_panel_commands.h"
#include "canvas/picture_measure_commands.h"
#include "designer/font_broadcast.h"
#include "designer/procedures.h"
#include "designer/program_globals.h"
#include "designer/unit_access.h"
#include "forms/type_ids.h"
#include "frame/commands.h"
#include "frame/ground/service_commands.h"

namespace {

// The panel is centred in this span of its group box, whatever the picture's size.
constexpr double kCanvasAreaWidth = 868.0;
constexpr double kCanvasAreaHeight = 561.0;

ArgRecord Object(std::uint32_t unitId, std::uint32_t typeId) { return MakeObjectArg(kMainWindow, unitId, typeId); }

bool IsEnglishDesign(int tab) { return tab >= 9 && tab < kDesignCount; }
bool IsChineseDesign(int tab) { return tab >= 0 && tab < 9; }

// Steps shared by both names: the broadcast, the font, a clean panel, colour and position.
void PrepareSignature() {
  // Fonts the worker thread added since the last broadcast become visible to every window.
  BroadcastFontChangeIfFontsAdded();

  ProgramGlobals& g = Globals();
  Frame().free(std::exchange(g.signatureFont->face, CopyOfText(g.currentFamily)));
  const HeldText sizeText = ReadText(kMainWindow, kSizeBox, kEditContent);
  const double size = ResultDouble(Call(CmdToNumber, {MakeTextArg(sizeText.Get())}));
  g.signatureFont->size = TruncateToInt(size);

  Call(CommandPanelClear, {Object(kPanelUnit, kTypeDrawPanel)});
  WriteInt(kMainWindow, kPanelUnit, kDrawPanelTextColor, ReadInt(kMainWindow, kTextColorPicker, kColorPickerColor));
  WritePointer(kMainWindow, kPanelUnit, kDrawPanelFont, kWholeValue, g.signatureFont);
  Frame().writeProperty(kMainWindow, kPanelUnit, kDrawPanelFont, kFontBold, 0);
  Call(CommandPanelSetWritePosition,
       {Object(kPanelUnit, kTypeDrawPanel), MakeIntArg(ReadInt(kMainWindow, kHorizontalSlider, kSliderPosition)),
        MakeIntArg(ReadInt(kMainWindow, kVerticalSlider, kSliderPosition))});
}

void WriteName(std::uint32_t nameBox) {
  const HeldText name = ReadText(kMainWindow, nameBox, kEditContent);
  Call(CommandPanelWrite, {Object(kPanelUnit, kTypeDrawPanel), MakeTextArg(name.Get())});
}

}  // namespace

void ApplyBackground() {
  ProgramGlobals& g = Globals();
  const HeldText runDirectory(CallForText(CmdRunDirectory, {}).Release());
  const std::int32_t item = ReadInt(kMainWindow, kBackgroundList, kComboCurrentItem);
  const HeldText itemText =
      CallForText(CommandItemText, {Object(kBackgroundList, kTypeComboBox), MakeIntArg(item)});
  Frame().free(std::exchange(g.backgroundPath, JoinTexts(runDirectory.Get(), "\\背景图片\\", itemText.Get())));

  g.backgroundWidth = Call(CmdPictureWidth, {MakeTextArg(g.backgroundPath)}).low;
  g.backgroundHeight = Call(CmdPictureHeight, {MakeTextArg(g.backgroundPath)}).low;
  Frame().free(std::exchange(g.backgroundBytes, CallForBuffer(CmdReadFile, {MakeTextArg(g.backgroundPath)}).Release()));

  WriteInt(kMainWindow, kPanelUnit, kPropWidth, g.backgroundWidth);
  WriteInt(kMainWindow, kPanelUnit, kPropHeight, g.backgroundHeight);
  const std::int32_t width = ReadInt(kMainWindow, kPanelUnit, kPropWidth);
  WriteInt(kMainWindow, kPanelUnit, kPropLeft, TruncateToInt((kCanvasAreaWidth - width) / 2.0));
  const std::int32_t height = ReadInt(kMainWindow, kPanelUnit, kPropHeight);
  WriteInt(kMainWindow, kPanelUnit, kPropTop, TruncateToInt((kCanvasAreaHeight - height) / 2.0));
  WritePointer(kMainWindow, kPanelUnit, kDrawPanelPicture, kWholeValue, g.backgroundBytes);

  WriteInt(kMainWindow, kVerticalSlider, kSliderMaxPosition, ReadInt(kMainWindow, kPanelUnit, kPropHeight));
  WriteInt(kMainWindow, kHorizontalSlider, kSliderMaxPosition, ReadInt(kMainWindow, kPanelUnit, kPropWidth));
}

void DrawChineseSignature() {
  PrepareSignature();
  WriteName(kChineseNameBox);
  const std::int32_t tab = ReadInt(kMainWindow, kDesignTabs, kTabCurrent);
  const HeldText pageName =
      CallForText(CommandPageName, {Object(kDesignTabs, kTypeTabBox), MakeIntArg(tab + 1)});
  const HeldText caption(JoinTexts("[", pageName.Get(), "]"));
  WritePointer(kMainWindow, kDesignLabel, kLabelCaption, kWholeValue, caption.Get());
  // The label repaints now, not when the loop next idles.
  Call(CommandRefresh, {Object(kDesignLabel, kTypeLabel)});
}

void DrawEnglishSignature() {
  PrepareSignature();
  WriteName(kEnglishNameBox);
}

void SetCurrentFamily(int row) {
  Frame().free(std::exchange(Globals().currentFamily, CopyOfText(kDesignTable[row].family)));
}

void SelectDesign(DesignForm form) {
  const std::int32_t tab = ReadInt(kMainWindow, kDesignTabs, kTabCurrent);
  const bool english = IsEnglishDesign(tab);
  const bool chinese = IsChineseDesign(tab);
  if (form == DesignForm::kChineseOnly && !chinese) return;
  if (form == DesignForm::kEnglishOnly && !english) return;
  // No tab selected draws the Chinese name in the first design.
  const int row = (english || chinese) ? tab : 0;
  SetCurrentFamily(row);
  if (kDesignTable[row].name == DesignName::kEnglish) {
    DrawEnglishSignature();
  } else {
    DrawChineseSignature();
  }
}

void RedrawDesign() {
  if (IsEnglishDesign(ReadInt(kMainWindow, kDesignTabs, kTabCurrent))) {
    DrawEnglishSignature();
  } else {
    DrawChineseSignature();
  }
}
