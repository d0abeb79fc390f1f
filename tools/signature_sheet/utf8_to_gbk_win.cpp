#include <windows.h>

#include <string>

#include "tools/signature_sheet/signature_names.h"

bool Utf8ToGbk(std::string_view utf8, std::string* gbk) {
  gbk->clear();
  if (utf8.empty()) return true;
  const int size = static_cast<int>(utf8.size());
  const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (wide <= 0) return false;
  std::wstring text(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, text.data(), wide);
  // No best fit: a character GBK lacks must be reported, not drawn as a look-alike or "?".
  BOOL usedDefault = FALSE;
  const int bytes = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, text.data(), wide, nullptr, 0, nullptr, &usedDefault);
  if (bytes <= 0 || usedDefault) return false;
  gbk->resize(static_cast<std::size_t>(bytes));
  WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, text.data(), wide, gbk->data(), bytes, nullptr, nullptr);
  return true;
}
