#include "frame/ground/to_number.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "frame/ground/text_normalise.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The white space of the "C" locale; bytes above 0x7F are never space.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Decimal digits from `*at` on; returns how many were skipped.
std::size_t SkipDigits(std::string_view text, std::size_t* at) {
  const std::size_t start = *at;
  while (*at < text.size() && IsDigit(text[*at])) ++*at;
  return *at - start;
}

// The number's extent is found here and only the extent is handed to std::from_chars: strtod
// would follow the C locale's decimal point and accept hexadecimal, "inf" and "nan", and
// from_chars, though locale-free, takes no leading '+' and also knows "inf" and "nan".
double ReadDecimal(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';

  const std::size_t mantissaStart = at;
  const std::size_t integerDigits = SkipDigits(text, &at);
  std::size_t fractionDigits = 0;
  if (at < text.size() && text[at] == '.') {
    std::size_t afterPoint = at + 1;
    fractionDigits = SkipDigits(text, &afterPoint);
    // A point belongs to the number only next to a digit: "." and "-." are no numbers.
    if (integerDigits + fractionDigits > 0) at = afterPoint;
  }
  if (integerDigits + fractionDigits == 0) return 0.0;

  // An exponent needs at least one digit; otherwise the 'e' ends the number and "1e+" reads as 1.
  long long exponent = 0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t cursor = at + 1;
    bool negativeExponent = false;
    if (cursor < text.size() && (text[cursor] == '+' || text[cursor] == '-')) {
      negativeExponent = text[cursor++] == '-';
    }
    if (cursor < text.size() && IsDigit(text[cursor])) {
      for (; cursor < text.size() && IsDigit(text[cursor]); ++cursor) {
        // Saturated: far beyond any double, so overflow and underflow still tell apart.
        if (exponent < 100000) exponent = exponent * 10 + (text[cursor] - '0');
      }
      if (negativeExponent) exponent = -exponent;
      at = cursor;
    }
  }

  const char* first = text.data() + mantissaStart;
  const char* last = text.data() + at;
  double value = 0.0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // from_chars leaves the value alone when it does not fit; strtod's answers are infinity on
    // overflow and zero on underflow. Which one it is follows from the decimal order of the
    // leading significant digit.
    long long order = exponent;
    std::size_t leadingZeros = 0;
    const std::string_view digits(first, integerDigits);
    while (leadingZeros < digits.size() && digits[leadingZeros] == '0') ++leadingZeros;
    if (leadingZeros < digits.size()) {
      order += static_cast<long long>(digits.size() - leadingZeros);
    } else {
      std::size_t fractionZeros = 0;
      const std::string_view fraction(first + integerDigits + 1, fractionDigits);
      while (fractionZeros < fraction.size() && fraction[fractionZeros] == '0') ++fractionZeros;
      order -= static_cast<long long>(fractionZeros);
    }
    value = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (error != std::errc() || end != last) {
    // The extent was checked above; from_chars disagreeing would be a fault of this reader.
    value = 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

double TextToNumber(const char* text) { return ReadDecimal(NormaliseText(text)); }

double ToNumber(const ArgRecord& value) {
  switch (value.type) {
    case kTypeInt:
    case kTypeBool:
      return ArgInt(value);
    case kTypeDouble:
      return ArgDouble(value);
    case kTypeSubroutine:
      // An address is unsigned: a routine above 2 GB must not come out negative.
      return static_cast<double>(reinterpret_cast<std::uintptr_t>(ArgPointer(value)));
    case kTypeText:
      return TextToNumber(ArgText(value));
    default:
      // A date-time is deliberately not converted: it is not among the basic values this command
      // reads, and a date-time handed to it answers 0 like a byte buffer or an omitted argument.
      // The byte, 16-bit, 64-bit and float types would convert like int and double, but they
      // have no type code in this frame, since nothing in the program passes them.
      return 0.0;
  }
}
