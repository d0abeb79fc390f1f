#include "frame/ground/text_normalise.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NormaliseCase {
  const char* name;
  const char* input;
  std::string expected;
};

// Byte escapes are split into separate literals where a digit follows, or the compiler would read
// the digit as part of the escape.
const NormaliseCase kNormaliseCases[] = {
    {"null is empty", nullptr, ""},
    {"empty", "", ""},
    {"ascii unchanged", "abc 12:30~*", "abc 12:30~*"},
    {"full-width digits", "\xA3\xB1\xA3\xB2", "12"},
    {"full-width colon", "\xA3\xBA", ":"},
    {"full-width range first", "\xA3\xA1", "!"},
    {"full-width range last", "\xA3\xFE", "~"},
    {"below the full-width range", "\xA3\xA0", "\xA3\xA0"},
    {"ideographic space", "\xA1\xA1", " "},
    {"wave dash", "\xA1\xAB", "~"},
    {"first star", "\xA1\xEE", "*"},
    {"second star", "\xA1\xEF", "*"},
    {"other punctuation stays", "\xA1\xA2\xA1\xAC", "\xA1\xA2\xA1\xAC"},
    {"chinese stays", "年12", "\xC4\xEA" "12"},
    {"mixed", "\xA3\xB1" "2" "\xA1\xA1" "x" "\xA3\xBA", "12 x:"},
    // 0xA3 as a trail byte: the pair after it is the full-width one, not "\xA3\xA3".
    {"trail byte 0xA3 is no lead", "\xB0\xA3\xA3\xB1", "\xB0\xA3" "1"},
    // "\xA3\xB1" sits across a character boundary here and must stay.
    {"full-width bytes across characters", "\xC4\xA3\xB1", "\xC4\xA3\xB1"},
    {"lead byte cut off by the end", "1\xA3", "1\xA3"},
    {"single high bytes", "\x80\xFF" "1", "\x80\xFF" "1"},
};

TEST(NormaliseText, FoldsFullWidthFormsAndKeepsEverythingElse) {
  for (const NormaliseCase& c : kNormaliseCases) {
    EXPECT_EQ(NormaliseText(c.input), c.expected) << c.name;
  }
}

}  // namespace
