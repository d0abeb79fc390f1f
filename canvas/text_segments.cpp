#include "canvas/text_segments.h"

#include <cmath>
#include <cstdio>

#include "frame/ground/date_time.h"

std::vector<TextSegment> SplitTextSegments(std::string_view text) {
  std::vector<TextSegment> segments;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    if (end == text.size()) {
      segments.push_back({start, end - start, false});
      break;
    }
    segments.push_back({start, end - start, true});
    start = end + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return segments;
}

namespace {

std::string NumberText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  // Fifteen significant digits round-trip every value a user types; "%g" drops trailing zeros.
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

std::string DateTimeText(DateTime value) {
  const CalendarTime time = CalendarFromDateTime(value);
  char text[64];
  std::snprintf(text, sizeof text, "%d年%d月%d日", time.year, time.month, time.day);
  std::string result = text;
  // Midnight is written as the date alone, the way a date typed without a time reads back.
  if (time.hour || time.minute || time.second) {
    std::snprintf(text, sizeof text, "%d时%d分%d秒", time.hour, time.minute, time.second);
    result += text;
  }
  return result;
}

}  // namespace

std::optional<std::string> ArgumentText(const ArgRecord& value) {
  switch (value.type) {
    case kTypeOmitted: return std::string();
    case kTypeText: {
      const char* text = ArgText(value);
      return std::string(text ? text : "");
    }
    case kTypeInt: return std::to_string(ArgInt(value));
    case kTypeDouble: return NumberText(ArgDouble(value));
    case kTypeBool: return std::string(ArgInt(value) ? "真" : "假");
    case kTypeDateTime: return DateTimeText(ArgDouble(value));
    default: return std::nullopt;
  }
}
