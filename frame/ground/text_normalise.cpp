#include "frame/ground/text_normalise.h"

namespace {

// Bytes 0x81-0xFE open a two-byte GBK character. The pairing has to be tracked from the start of
// the text: 0xA3 is also a common trail byte, and a trail byte must never be taken for a lead.
bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// What a two-byte character folds to, or 0 when it stays as it is.
char FoldedCharacter(unsigned char lead, unsigned char trail) {
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail & 0x7F);
  if (lead == 0xA1) {
    switch (trail) {
      case 0xA1: return ' ';
      case 0xAB: return '~';
      case 0xEE:
      case 0xEF: return '*';
    }
  }
  return 0;
}

}  // namespace

std::string NormaliseText(const char* text) {
  std::string result;
  if (!text) return result;
  const auto* at = reinterpret_cast<const unsigned char*>(text);
  while (*at) {
    // A lead byte cut off by the end of the text is kept as a single byte.
    if (!IsLeadByte(at[0]) || at[1] == 0) {
      result.push_back(static_cast<char>(*at++));
      continue;
    }
    if (const char folded = FoldedCharacter(at[0], at[1])) {
      result.push_back(folded);
    } else {
      result.push_back(static_cast<char>(at[0]));
      result.push_back(static_cast<char>(at[1]));
    }
    at += 2;
  }
  return result;
}
