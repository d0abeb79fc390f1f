// CommonDlg: the open and save file dialogs (the other dialog kinds answer false).
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "forms/component.h"
#include "forms/operations.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"

namespace {

constexpr PropertyRow kProperties[] = {
    {"dialogKind", ValueKind::kChoice},
    {"title", ValueKind::kText},
    {"fileName", ValueKind::kText},
    {"filter", ValueKind::kText},
    {"filterIndex", ValueKind::kInteger},
    {"initialDir", ValueKind::kText},
    {"defaultExt", ValueKind::kText},
    {"createPrompt", ValueKind::kTruth},
    {"fileMustExist", ValueKind::kTruth},
    {"overwritePrompt", ValueKind::kTruth},
    {"pathMustExist", ValueKind::kTruth},
    {"keepCurrentDir", ValueKind::kTruth},
};
constexpr int kTextCount = 6;   // properties 9 to 14 are texts
constexpr int kFlagCount = 5;   // 15 to 19 truth values

class CommonDlg final : public Component {
 public:
  bool Create(const ControlPlace&) override { return true; }

  RawValue Read(int k) const override {
    const int index = k + kFirstOwnProperty;
    if (index == kDialogKind) return NumberValue(kind_);
    if (index == kDialogFilterIndex) return NumberValue(filterIndex_);
    if (index >= kDialogTitle && index <= kDialogDefaultExt) return TextValue(texts_[index - kDialogTitle]);
    if (index >= kDialogCreatePrompt && index <= kDialogKeepCurrentDir) return NumberValue(flags_[index - kDialogCreatePrompt]);
    return NumberValue(0);
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    const int index = k + kFirstOwnProperty;
    const auto n = static_cast<std::int32_t>(value.number);
    if (index == kDialogKind) kind_ = n;
    if (index == kDialogFilterIndex) filterIndex_ = n;
    if (index >= kDialogTitle && index <= kDialogDefaultExt) texts_[index - kDialogTitle] = value.text;
    if (index >= kDialogCreatePrompt && index <= kDialogKeepCurrentDir) flags_[index - kDialogCreatePrompt] = n != 0;
    return WriteOutcome::kApplied;
  }

  bool Open() {
    if (kind_ != 0 && kind_ != 1) return false;
    std::string& fileName = texts_[kDialogFileName - kDialogTitle];
    // The dialog reads "|" as the pair separator; the system wants NULs and a double NUL at the end.
    std::string filter = texts_[kDialogFilter - kDialogTitle];
    if (!filter.empty() && (filter.size() < 2 || filter.compare(filter.size() - 2, 2, "||") != 0)) filter += "||";
    for (char& c : filter) {
      if (c == '|') c = '\0';
    }
    char path[MAX_PATH * 2] = "";
    lstrcpynA(path, fileName.c_str(), sizeof path);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = filter.empty() ? 0 : filterIndex_ < 0 ? 1 : static_cast<DWORD>(filterIndex_) + 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    const std::string& title = texts_[kDialogTitle - kDialogTitle];
    const std::string& initialDir = texts_[kDialogInitialDir - kDialogTitle];
    const std::string& defaultExt = texts_[kDialogDefaultExt - kDialogTitle];
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    dialog.Flags = OFN_HIDEREADONLY;
    const DWORD optionFlags[kFlagCount] = {OFN_CREATEPROMPT, OFN_FILEMUSTEXIST, OFN_OVERWRITEPROMPT,
                                           OFN_PATHMUSTEXIST, OFN_NOCHANGEDIR};
    for (int i = 0; i < kFlagCount; ++i) {
      if (flags_[i]) dialog.Flags |= optionFlags[i];
    }
    // On a save dialog "must exist" cannot apply: the point is to name a file that may not exist yet.
    if (kind_ == 1) dialog.Flags &= ~OFN_FILEMUSTEXIST;
    const BOOL confirmed = kind_ == 0 ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    if (!confirmed) return false;
    fileName = path;
    return true;
  }

 private:
  std::int32_t kind_ = 0;
  std::int32_t filterIndex_ = 0;
  std::string texts_[kTextCount];
  bool flags_[kFlagCount] = {};
};

}  // namespace

bool OpenFileDialog(Component& component) {
  auto* dialog = dynamic_cast<CommonDlg*>(&component);
  return dialog && dialog->Open();
}

void RegisterCommonDlgType() {
  static constexpr ComponentType kType{kTypeCommonDlg, "通用对话框", "CommonDlg", kTypeNonVisual, kProperties,
                                       [] { return std::unique_ptr<Component>(new CommonDlg); }};
  RegisterComponentType(kType);
}
