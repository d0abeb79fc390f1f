// The names the tool draws: a Chinese and an English form of one person's name, read from the
// command line or a list file, and the file names their pictures get.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "designer/design_table.h"

struct SignatureName {
  std::string chinese;  // GBK; drawn by the Chinese designs
  std::string english;  // ASCII; drawn by the English designs
  // The form a design draws; empty when the name has none for it.
  const std::string& For(DesignName kind) const { return kind == DesignName::kChinese ? chinese : english; }
  // Both forms as written: "王小明/Xiaoming", or the one there is.
  std::string Label() const;
};

// Longest form, in bytes: longer texts are no names and make pictures wider than any use.
inline constexpr std::size_t kMaxNameBytes = 64;

// "中文名/英文名", or one of them alone: a form holding a double-byte character is the Chinese one.
// Spaces around each form are dropped. Nothing, and *why says what is wrong, for a text that is no
// valid GBK, holds control characters, is too long, has more than two forms, two of one kind, or
// an empty form.
std::optional<SignatureName> ParseSignatureName(std::string_view text, std::string* why);

struct BadLine {
  int number;       // from 1
  std::string why;  // GBK
};
struct NameList {
  std::vector<SignatureName> names;
  std::vector<BadLine> badLines;
  std::string error;  // the file as a whole cannot be read as a list; nothing else is set then
};
// A list file's bytes: GBK, or UTF-8 after a byte-order mark. Lines end in CR LF, LF or CR; empty
// lines are skipped silently, bad ones reported with their number.
NameList ReadNameList(const std::uint8_t* bytes, std::size_t length);

// UTF-8 to GBK, for list lines. False when the bytes are no UTF-8 or a character has no GBK form.
bool Utf8ToGbk(std::string_view utf8, std::string* gbk);

// A picture's file name for one name in one design: "王小明_00_青砚草签", with the characters a file
// name cannot hold replaced by "_".
std::string PictureFileStem(const std::string& drawn, int design);
