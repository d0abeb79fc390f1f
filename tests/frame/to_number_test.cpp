#include "frame/ground/to_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

struct TextCase {
  const char* input;
  double expected;
};

const TextCase kTextCases[] = {
    {"12", 12},
    {"\xA3\xB1\xA3\xB2", 12},  // full-width 12
    {"12abc", 12},
    {"", 0},
    {nullptr, 0},
    {"abc", 0},
    {"  \t\n-3.5", -3.5},
    {"\xA1\xA1" "42", 42},  // ideographic space first
    {"+7", 7},
    {"\xA3\xAD\xA3\xB1\xA3\xAE\xA3\xB5", -1.5},  // full-width "-1.5"
    {"1 2", 1},
    {"12" "\xC4\xEA", 12},  // 12 followed by a Chinese character
    {"- 5", 0},
    {"--5", 0},
    // Points and fractions.
    {".5", 0.5},
    {"5.", 5},
    {"-.5", -0.5},
    {".", 0},
    {"-.", 0},
    {"1.2.3", 1.2},
    {"0.1", 0.1},
    {"123456789012345678", 123456789012345678.0},
    // Exponents.
    {"1.5e3", 1500},
    {"2E-2", 0.02},
    {"3e+2x", 300},
    {"1.e2", 100},
    {"1e", 1},
    {"1e+", 1},
    {"1e-x", 1},
    {".e5", 0},
    {"1e400", std::numeric_limits<double>::infinity()},
    {"-1e400", -std::numeric_limits<double>::infinity()},
    {"0.0000000001e-400", 0},
    {"1e-400", 0},
    {"1000e-3", 1},
    // What strtod would read but this reader must not.
    {"0x1A", 0},
    {"0x1p3", 0},
    {"inf", 0},
    {"-INFINITY", 0},
    {"nan", 0},
};

TEST(TextToNumber, ReadsDecimalNumbersOnly) {
  for (const TextCase& c : kTextCases) {
    const char* name = c.input ? c.input : "(null)";
    EXPECT_EQ(TextToNumber(c.input), c.expected) << "text \"" << name << "\"";
  }
}

TEST(TextToNumber, HugeMantissaOverflowsAndTinyOneUnderflows) {
  const std::string huge = "1" + std::string(400, '0');
  EXPECT_EQ(TextToNumber(huge.c_str()), std::numeric_limits<double>::infinity());
  const std::string tiny = "0." + std::string(400, '0') + "1";
  EXPECT_EQ(TextToNumber(tiny.c_str()), 0.0);
  // A huge mantissa brought back into range by its exponent is an ordinary number.
  EXPECT_EQ(TextToNumber((huge + "e-400").c_str()), 1.0);
}

TEST(ToNumber, ConvertsEachTypeOfValue) {
  const ArgRecord subroutine{0xFFFFFFF0u, 0, kTypeSubroutine};
  // A buffer holding the bytes "12": buffers are not read as text.
  std::uint8_t buffer[] = {1, 0, 0, 0, 2, 0, 0, 0, '1', '2'};
  const struct {
    const char* name;
    ArgRecord value;
    double expected;
  } cases[] = {
      {"int", MakeIntArg(-5), -5},
      {"lowest int", MakeIntArg(INT32_MIN), -2147483648.0},
      {"double", MakeDoubleArg(2.75), 2.75},
      {"true", MakeBoolArg(true), 1},
      {"false", MakeBoolArg(false), 0},
      {"subroutine address is unsigned", subroutine, 4294967280.0},
      {"text", MakeTextArg("\xA3\xB1\xA3\xB2"), 12},
      {"text with exponent", MakeTextArg(" 2.5e1kg"), 25},
      {"empty text", MakeTextArg(nullptr), 0},
      {"date-time is not converted", MakeDateTimeArg(40646.5), 0},
      {"omitted", MakeOmittedArg(), 0},
      {"byte buffer", MakeBufferArg(buffer), 0},
      {"unknown type code", ArgRecord{7, 0, 0x12345678u}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ToNumber(c.value), c.expected) << c.name;
}

}  // namespace
