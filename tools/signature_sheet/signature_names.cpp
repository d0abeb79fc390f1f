#include "tools/signature_sheet/signature_names.h"

#include <cstdio>

namespace {

bool IsLeadByte(std::uint8_t byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsTrailByte(std::uint8_t byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// Walks GBK text a character at a time; false at a lead byte without its trail byte.
template <typename Visit>
bool ForEachGbkCharacter(std::string_view text, Visit&& visit) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<std::uint8_t>(text[i]);
    if (byte < 0x80) {
      visit(text.substr(i, 1));
      ++i;
    } else if (IsLeadByte(byte) && i + 1 < text.size() && IsTrailByte(static_cast<std::uint8_t>(text[i + 1]))) {
      visit(text.substr(i, 2));
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  // The ideographic space, GBK A1 A1, counts as a space at either end too.
  while (text.size() >= 2 && text.substr(0, 2) == "\xA1\xA1") text.remove_prefix(2);
  while (text.size() >= 2 && text.substr(text.size() - 2) == "\xA1\xA1" &&
         ForEachGbkCharacter(text.substr(0, text.size() - 2), [](std::string_view) {})) {
    text.remove_suffix(2);
  }
  return text;
}

bool HasDoubleByte(std::string_view text) {
  for (const char c : text) {
    if (static_cast<std::uint8_t>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace

std::string SignatureName::Label() const {
  if (chinese.empty()) return english;
  if (english.empty()) return chinese;
  return chinese + "/" + english;
}

std::optional<SignatureName> ParseSignatureName(std::string_view text, std::string* why) {
  const auto fail = [&](const char* reason) {
    *why = reason;
    return std::nullopt;
  };
  bool control = false;
  if (!ForEachGbkCharacter(text, [&](std::string_view c) { control |= c.size() == 1 && (c[0] < 0x20 || c[0] == 0x7F); })) {
    return fail("不是有效的 GBK 文本");
  }
  if (control) return fail("含有控制字符");
  // '/' never occurs inside a GBK character (trail bytes start at 0x40), so a plain split is safe.
  std::vector<std::string_view> forms;
  for (std::size_t start = 0;;) {
    const std::size_t slash = text.find('/', start);
    forms.push_back(Trimmed(text.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start)));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  if (forms.size() > 2) return fail("多于两个名字：用一个 / 隔开中文名和英文名");
  SignatureName name;
  for (const std::string_view form : forms) {
    if (form.empty()) return fail(forms.size() == 1 ? "没有名字" : "/ 的一侧没有名字");
    if (form.size() > kMaxNameBytes) return fail("名字太长（最多 64 个字节）");
    std::string& slot = HasDoubleByte(form) ? name.chinese : name.english;
    if (!slot.empty()) return fail(HasDoubleByte(form) ? "两个都是中文名" : "两个都是英文名");
    slot = form;
  }
  return name;
}

NameList ReadNameList(const std::uint8_t* bytes, std::size_t length) {
  NameList list;
  std::string_view text(reinterpret_cast<const char*>(bytes), length);
  bool utf8 = false;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    utf8 = true;
    text.remove_prefix(3);
  } else if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
    list.error = "是 UTF-16 文本：请存为 GBK 或带 BOM 的 UTF-8";
    return list;
  }
  int number = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    ++number;
    start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    std::string gbk;
    if (utf8) {
      if (!Utf8ToGbk(line, &gbk)) {
        list.badLines.push_back({number, "不是有效的 UTF-8 文本，或含有 GBK 没有的字符"});
        continue;
      }
      line = gbk;
    }
    if (Trimmed(line).empty()) continue;
    std::string why;
    if (std::optional<SignatureName> name = ParseSignatureName(line, &why)) {
      list.names.push_back(std::move(*name));
    } else {
      list.badLines.push_back({number, why});
    }
  }
  return list;
}

std::string PictureFileStem(const std::string& drawn, int design) {
  std::string stem;
  ForEachGbkCharacter(drawn, [&](std::string_view c) {
    const bool forbidden = c.size() == 1 && std::string_view("\\/:*?\"<>|. ").find(c[0]) != std::string_view::npos;
    stem += forbidden ? std::string_view("_") : c;
  });
  char number[8];
  std::snprintf(number, sizeof number, "_%02d_", design);
  return stem + number + kDesignTable[design].caption;
}
