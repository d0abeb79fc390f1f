// The component types of this folder. Each control file registers its own record; the list here
// is the one place that names them all.
#include <windows.h>
#include <commctrl.h>

#include "forms/component.h"

void RegisterWindowType();
void RegisterEditBoxType();
void RegisterPicBoxType();
void RegisterGroupBoxType();
void RegisterLabelType();
void RegisterButtonType();
void RegisterComboBoxType();
void RegisterSliderBarType();
void RegisterTabBoxType();
void RegisterColorPickerType();
void RegisterCommonDlgType();
void RegisterTimerType();
void RegisterQTipType();

void RegisterStandardComponentTypes() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterWindowType();
  RegisterEditBoxType();
  RegisterPicBoxType();
  RegisterGroupBoxType();
  RegisterLabelType();
  RegisterButtonType();
  RegisterComboBoxType();
  RegisterSliderBarType();
  RegisterTabBoxType();
  RegisterColorPickerType();
  RegisterCommonDlgType();
  RegisterTimerType();
  RegisterQTipType();
}
