// How the drawing panel's text operations cut a text into lines and turn argument values into text.
// Portable: no drawing here, so the rules are tested natively.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/ground/values.h"

// One run of text between line breaks: bytes [start, start + length) of the text. `breakFollows`
// is set when a line break ends the run (so the next run starts on a new line).
struct TextSegment {
  std::size_t start = 0;
  std::size_t length = 0;
  bool breakFollows = false;

  bool operator==(const TextSegment&) const = default;
};

// A run ends at a carriage return (13) or line feed (10). A line feed right behind the break
// character belongs to that break, so CR LF, LF LF, a lone CR and a lone LF each make one break; a
// break at the start or two breaks in a row give an empty run. A text ending with a break gives no
// empty run after it. The empty text gives no runs.
std::vector<TextSegment> SplitTextSegments(std::string_view text);

// The text a value argument writes: a text as it is, numbers, truth values and date-times in their
// text form, an omitted argument as the empty text; nothing for any other kind (it is skipped).
std::optional<std::string> ArgumentText(const ArgRecord& value);
