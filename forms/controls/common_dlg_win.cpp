// CommonDlg: the open and save file dialogs (the other dialog kinds answer false).
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "forms/component.h"
#include "forms/operations.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/gbk_text_win.h"

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

void TellNameCannotBeUsed(HWND owner, const std::wstring& path, bool saving) {
  const std::wstring text = WideFromGbk("“") + path +
                            WideFromGbk("”\r\n\r\n这个文件名或它所在文件夹的名称含有本程序无法使用的字符"
                                        "（GBK 编码之外的字符），") +
                            WideFromGbk(saving ? "文件没有保存。" : "文件没有打开。") +
                            WideFromGbk("\r\n请换一个只含中文、英文和数字的文件名或文件夹再试。");
  MessageBoxW(owner, text.c_str(), WideFromGbk("无法使用这个文件名").c_str(), MB_ICONWARNING | MB_OK);
}

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
    // Replaced once widened: a GBK trail byte may be 0x7C, the byte of "|".
    std::wstring filter = WideFromGbk(texts_[kDialogFilter - kDialogTitle]);
    if (!filter.empty() && (filter.size() < 2 || filter.compare(filter.size() - 2, 2, L"||") != 0)) filter += L"||";
    for (wchar_t& c : filter) {
      if (c == L'|') c = L'\0';
    }
    // The longest path the system takes, so that a chosen file deep in a folder tree is not refused.
    std::vector<wchar_t> path(32768, L'\0');
    const std::wstring initialName = WideFromGbk(fileName);
    initialName.copy(path.data(), std::min(initialName.size(), path.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = filter.empty() ? 0 : filterIndex_ < 0 ? 1 : static_cast<DWORD>(filterIndex_) + 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    const std::wstring title = WideFromGbk(texts_[kDialogTitle - kDialogTitle]);
    const std::wstring initialDir = WideFromGbk(texts_[kDialogInitialDir - kDialogTitle]);
    const std::wstring defaultExt = WideFromGbk(texts_[kDialogDefaultExt - kDialogTitle]);
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
    const BOOL confirmed = kind_ == 0 ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!confirmed) return false;
    const std::wstring chosen(path.data());
    std::optional<std::string> gbkPath = GbkPathFromWide(chosen);
    if (!gbkPath) {
      // The program's paths are GBK: a name with a character GBK lacks would reach another file or
      // none. Said plainly, and taken as a cancelled choice, so nothing is written anywhere.
      TellNameCannotBeUsed(dialog.hwndOwner, chosen, kind_ == 1);
      return false;
    }
    fileName = std::move(*gbkPath);
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
