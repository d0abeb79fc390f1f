#include "frame/ground/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <ostream>

// Lets failures print the fields instead of raw bytes.
void PrintTo(const CalendarTime& t, std::ostream* out) {
  *out << t.year << '-' << t.month << '-' << t.day << ' ' << t.hour << ':' << t.minute << ':'
       << t.second;
}

namespace {

// The moment the program compares against at shutdown.
constexpr const char* kReferenceText = "2011年04月13日22时56分29秒";

DateTime At(const char* text) {
  const DateTime value = TextToDateTime(text);
  EXPECT_NE(value, kInvalidDateTime) << "test moment \"" << text << "\" did not read";
  return value;
}

struct OleCase {
  CalendarTime time;
  double value;
};

const OleCase kOleCases[] = {
    {{1899, 12, 30, 0, 0, 0}, 0.0},
    {{1899, 12, 30, 12, 0, 0}, 0.5},
    {{1899, 12, 31, 0, 0, 0}, 1.0},
    {{1900, 1, 1, 0, 0, 0}, 2.0},
    {{1900, 3, 1, 0, 0, 0}, 61.0},  // 1900 has no 29 February
    {{2000, 2, 29, 0, 0, 0}, 36585.0},
    {{2011, 4, 13, 22, 56, 29}, 40646.9558912037},
    {{9999, 12, 31, 23, 59, 59}, 2958465.999988426},
    // Before the epoch the day counts down but the time of day still counts away from zero.
    {{1899, 12, 29, 0, 0, 0}, -1.0},
    {{1899, 12, 29, 6, 0, 0}, -1.25},
    {{1899, 12, 29, 18, 0, 0}, -1.75},
    {{1800, 1, 1, 18, 0, 0}, -36522.75},
    {{100, 1, 1, 0, 0, 0}, kInvalidDateTime},
};

TEST(OleDate, ConvertsBothWays) {
  for (const OleCase& c : kOleCases) {
    EXPECT_DOUBLE_EQ(DateTimeFromCalendar(c.time), c.value) << testing::PrintToString(c.time);
    EXPECT_EQ(CalendarFromDateTime(c.value), c.time) << "value " << c.value;
  }
}

// Walks every day from 100-01-01 to 9999-12-31 with a calendar kept by hand, so the day numbering
// is checked against something that does not share its arithmetic.
TEST(OleDate, EveryDayOfTheSupportedYearsRoundTrips) {
  constexpr int kMonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  long long dayNumber = static_cast<long long>(kInvalidDateTime);
  for (int year = 100; year <= 9999; ++year) {
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    for (int month = 1; month <= 12; ++month) {
      const int length = kMonthLengths[month - 1] + (month == 2 && leap ? 1 : 0);
      for (int day = 1; day <= length; ++day, ++dayNumber) {
        const int secondOfDay = static_cast<int>((dayNumber * 7919) % 86400 + 86400) % 86400;
        const CalendarTime time{year, month, day, secondOfDay / 3600, secondOfDay / 60 % 60,
                                secondOfDay % 60};
        const DateTime value = DateTimeFromCalendar(time);
        ASSERT_EQ(std::trunc(value), static_cast<double>(dayNumber))
            << testing::PrintToString(time);
        ASSERT_EQ(CalendarFromDateTime(value), time) << "value " << value;
      }
    }
  }
}

TEST(OleDate, ReadsOddValuesToTheNearestSecond) {
  const struct {
    double value;
    CalendarTime time;
  } cases[] = {
      {-0.25, {1899, 12, 30, 6, 0, 0}},  // between -1 and 0: the same day as 0.25
      {0.5 + 0.4 / 86400, {1899, 12, 30, 12, 0, 0}},
      {0.5 + 0.6 / 86400, {1899, 12, 30, 12, 0, 1}},
      {0.9999999, {1899, 12, 31, 0, 0, 0}},    // rounding carries into the next day
      {-1.9999999, {1899, 12, 30, 0, 0, 0}},   // and before the epoch too
      {std::numeric_limits<double>::quiet_NaN(), {1899, 12, 30, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(CalendarFromDateTime(c.value), c.time) << c.value;
}

TEST(OleDate, DayOfWeekRunsFromSundayToSaturday) {
  const struct {
    double value;
    int weekday;
  } cases[] = {
      {0.0, 7},                  // 1899-12-30, Saturday
      {1.0, 1},                  // Sunday
      {-1.25, 6},                // 1899-12-29 06:00, Friday
      {-36522.75, 4},            // 1800-01-01, Wednesday
      {kInvalidDateTime, 6},     // 100-01-01, Friday
      {40646.9558912037, 4},     // 2011-04-13, Wednesday
      {40650.0, 1},              // 2011-04-17, Sunday
      {40649.999999, 1},         // a moment before midnight rounds to Sunday
  };
  for (const auto& c : cases) EXPECT_EQ(DayOfWeek(c.value), c.weekday) << c.value;
}

struct TextCase {
  const char* text;
  CalendarTime time;
};

const TextCase kValidTexts[] = {
    {kReferenceText, {2011, 4, 13, 22, 56, 29}},
    {"2011-04-13 22:56:29", {2011, 4, 13, 22, 56, 29}},
    {"2011/04/13", {2011, 4, 13, 0, 0, 0}},
    {"2011/4/5", {2011, 4, 5, 0, 0, 0}},
    {"2011.4.13.22.56.29", {2011, 4, 13, 22, 56, 29}},
    {"2011年4月13日", {2011, 4, 13, 0, 0, 0}},
    {"2011年04月13日22时56分29秒 and whatever follows", {2011, 4, 13, 22, 56, 29}},
    {"2011-04-13 22:56:29秒", {2011, 4, 13, 22, 56, 29}},
    {"２０１１－０４－１３　２２：５６：２９", {2011, 4, 13, 22, 56, 29}},  // full-width
    {"2011-04-13 22", {2011, 4, 13, 22, 0, 0}},
    {"2011-04-13 ", {2011, 4, 13, 0, 0, 0}},
    {"2011-04-13-22-56", {2011, 4, 13, 22, 56, 0}},
    {"2000-02-29", {2000, 2, 29, 0, 0, 0}},
    {"2004-02-29", {2004, 2, 29, 0, 0, 0}},
    {"1900-02-28", {1900, 2, 28, 0, 0, 0}},
    {"9999-12-31 23:59:59", {9999, 12, 31, 23, 59, 59}},
    {"1899-12-29 06:00", {1899, 12, 29, 6, 0, 0}},
    // Digit limits: a fifth year digit starts the month, a third month digit the day.
    {"20111-04-13", {2011, 1, 4, 13, 0, 0}},
    {"2011-123-4", {2011, 12, 3, 4, 0, 0}},
};

TEST(TextToDateTime, ReadsDateTexts) {
  for (const TextCase& c : kValidTexts) {
    const DateTime value = TextToDateTime(c.text);
    ASSERT_NE(value, kInvalidDateTime) << c.text;
    EXPECT_EQ(CalendarFromDateTime(value), c.time) << c.text;
    EXPECT_EQ(value, DateTimeFromCalendar(c.time)) << c.text;
  }
}

const char* const kInvalidTexts[] = {
    nullptr,
    "",
    "abc",
    "2011-13-01",            // month 13
    "2011-00-10",
    "2011-04-00",
    "2011-02-30",            // 30 February
    "2011-04-31",
    "1900-02-29",            // no leap year: divisible by 100
    "2001-02-29",
    "2100-02-29",
    "2011-04",               // ends after the month
    "2011年04月",
    "2011",
    "99-01-01",              // before the year 100
    "0-01-01",
    "2011-04-13 24:00:00",
    "2011-04-13 23:60:00",
    "2011-04-13 23:59:60",
    "2011-04-13 22:56:290",  // a third digit of the second is left over
    "2011-04-13 22:56:29x",
    "2011-04-13 22:56:29 ",
    "2011-04-13 22:56:29:10",
    "2011-04-13 22:56:29分",  // only 秒 may follow the second
    "2011-04-13T22:56:29",
    " 2011-04-13",
    "2011--04-13",           // one separator at most: the month is missing
    "2011-04-13  22:56",
    "2011月04月13日",         // 月 does not follow a year
};

TEST(TextToDateTime, RejectsWhatIsNoRealMoment) {
  for (const char* text : kInvalidTexts) {
    EXPECT_EQ(TextToDateTime(text), kInvalidDateTime) << (text ? text : "(null)");
  }
}

TEST(TextToDateTime, TakesDateTimesAndTextsOnly) {
  EXPECT_EQ(TextToDateTime(MakeDateTimeArg(12345.5)), 12345.5);
  EXPECT_EQ(TextToDateTime(MakeDateTimeArg(-1e9)), -1e9) << "unchecked, like any date-time";
  EXPECT_EQ(TextToDateTime(MakeTextArg(kReferenceText)), TextToDateTime(kReferenceText));
  EXPECT_EQ(TextToDateTime(MakeTextArg("2011-02-30")), kInvalidDateTime);
  EXPECT_EQ(TextToDateTime(MakeTextArg(nullptr)), kInvalidDateTime);
  EXPECT_EQ(TextToDateTime(MakeDoubleArg(12345.5)), kInvalidDateTime);
  EXPECT_EQ(TextToDateTime(MakeIntArg(40646)), kInvalidDateTime);
  EXPECT_EQ(TextToDateTime(MakeOmittedArg()), kInvalidDateTime);
}

CalendarTime LocalFields(std::time_t moment) {
  const std::tm local = *std::localtime(&moment);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

TEST(CurrentDateTime, IsTheLocalTimeInWholeSeconds) {
  const std::time_t before = std::time(nullptr);
  const DateTime now = CurrentDateTime();
  const std::time_t after = std::time(nullptr);
  const CalendarTime fields = CalendarFromDateTime(now);
  EXPECT_TRUE(fields == LocalFields(before) || fields == LocalFields(after))
      << testing::PrintToString(fields);
  EXPECT_EQ(DateTimeFromCalendar(fields), now) << "not a whole second";
}

struct IntervalCase {
  const char* name;
  const char* first;
  const char* second;
  int unit;
  double expected;
};

const IntervalCase kIntervalCases[] = {
    {"years", "2012-01-01", "2011-12-31 23:59:59", kIntervalYears, 1},
    {"years back", "2011-12-31 23:59:59", "2012-01-01", kIntervalYears, -1},
    {"years within one", "2011-12-31", "2011-01-01", kIntervalYears, 0},
    {"quarters", "2011-04-01", "2011-03-31", kIntervalQuarters, 1},
    {"quarters within one", "2011-06-30", "2011-04-01", kIntervalQuarters, 0},
    {"quarters across years", "2010-02-01", "2011-12-31", kIntervalQuarters, -7},
    {"months", "2011-05-01", "2011-04-30", kIntervalMonths, 1},
    {"months across years", "2010-01-31", "2011-12-01", kIntervalMonths, -23},
    // 2011-04-10 and -17 are Sundays, -16 a Saturday, -13 and -27 Wednesdays, -26 a Tuesday.
    {"weeks saturday to sunday", "2011-04-17", "2011-04-16", kIntervalWeeks, 1},
    {"weeks sunday back to saturday", "2011-04-16", "2011-04-17", kIntervalWeeks, -1},
    {"weeks within one", "2011-04-16", "2011-04-10", kIntervalWeeks, 0},
    {"weeks within one back", "2011-04-10", "2011-04-16", kIntervalWeeks, 0},
    {"weeks same weekday", "2011-04-27", "2011-04-13", kIntervalWeeks, 2},
    {"weeks thirteen days", "2011-04-26", "2011-04-13", kIntervalWeeks, 2},
    {"weeks thirteen days back", "2011-04-13", "2011-04-26", kIntervalWeeks, -2},
    {"weeks eight days", "2011-04-24", "2011-04-16", kIntervalWeeks, 2},
    {"weeks two seconds", "2011-04-17 00:00:01", "2011-04-16 23:59:59", kIntervalWeeks, 1},
    {"days", "2011-04-14 12:00:00", "2011-04-13", kIntervalDays, 1.5},
    {"days back", "2011-04-13", "2011-04-14 12:00:00", kIntervalDays, -1.5},
    {"hours", "2011-04-13 23:00:00", "2011-04-13 22:00:00", kIntervalHours, 1},
    {"hours short of one", "2011-04-13 22:59:59", "2011-04-13 22:00:00", kIntervalHours, 0},
    {"hours two days", "2011-04-15", "2011-04-13", kIntervalHours, 48},
    {"minutes", "2011-04-13 22:57:00", "2011-04-13 22:56:00", kIntervalMinutes, 1},
    {"minutes short of one", "2011-04-13 22:56:59", "2011-04-13 22:56:00", kIntervalMinutes, 0},
    {"minutes one day", "2011-04-14 22:56:29", kReferenceText, kIntervalMinutes, 1440},
    {"seconds", "2011-04-13 22:56:30", kReferenceText, kIntervalSeconds, 1},
    {"seconds one day", "2011-04-14 22:56:29", kReferenceText, kIntervalSeconds, 86400},
    // The half-second nudge is added after scaling and always upward, so a negative span of
    // whole units comes out one unit smaller in size.
    {"hours back one", "2011-04-13 22:00:00", "2011-04-13 23:00:00", kIntervalHours, 0},
    {"hours back two", "2011-04-13 21:00:00", "2011-04-13 23:00:00", kIntervalHours, -1},
    {"minutes back one day", kReferenceText, "2011-04-14 22:56:29", kIntervalMinutes, -1439},
    {"seconds back one", kReferenceText, "2011-04-13 22:56:30", kIntervalSeconds, 0},
    {"seconds back two", kReferenceText, "2011-04-13 22:56:31", kIntervalSeconds, -1},
    {"seconds to a year later", kReferenceText, "2012-04-13 22:56:29", kIntervalSeconds,
     -31622399},
    // Units out of range are clamped: this pair is 1 year and 2 seconds apart.
    {"unit 0 is years", "2012-01-01", "2011-12-31 23:59:58", 0, 1},
    {"negative unit is years", "2012-01-01", "2011-12-31 23:59:58", -3, 1},
    {"unit 9 is seconds", "2012-01-01", "2011-12-31 23:59:58", 9, 2},
    {"huge unit is seconds", "2012-01-01", "2011-12-31 23:59:58", 1000, 2},
};

TEST(TimeInterval, CountsEachUnit) {
  for (const IntervalCase& c : kIntervalCases) {
    EXPECT_EQ(TimeInterval(At(c.first), At(c.second), c.unit), c.expected) << c.name;
  }
}

TEST(TimeInterval, SpansBeforeTheEpochAreRealSpans) {
  const DateTime sixInTheMorning = -1.25;  // 1899-12-29 06:00
  const DateTime midnight = -1.0;          // 1899-12-29 00:00
  const DateTime lastSecond = DateTimeFromCalendar({1899, 12, 29, 23, 59, 59});
  EXPECT_EQ(TimeInterval(sixInTheMorning, midnight, kIntervalDays), 0.25);
  EXPECT_EQ(TimeInterval(sixInTheMorning, midnight, kIntervalHours), 6);
  EXPECT_EQ(TimeInterval(sixInTheMorning, 0.5, kIntervalDays), -1.25);
  EXPECT_EQ(TimeInterval(0.0, lastSecond, kIntervalSeconds), 1);
  EXPECT_EQ(TimeInterval(1.0, sixInTheMorning, kIntervalWeeks), 1) << "Friday to Sunday";
}

TEST(TimeInterval, EqualValuesGiveExactlyZero) {
  for (const DateTime value : {At(kReferenceText), 0.0, -1.25, kInvalidDateTime}) {
    for (int unit = kIntervalYears; unit <= kIntervalSeconds; ++unit) {
      const double interval = TimeInterval(value, value, unit);
      EXPECT_EQ(interval, 0.0) << "value " << value << " unit " << unit;
      EXPECT_FALSE(std::signbit(interval)) << "value " << value << " unit " << unit;
    }
  }
}

TEST(TimeInterval, ReferenceMomentHasPassed) {
  EXPECT_LT(TimeInterval(At(kReferenceText), CurrentDateTime(), kIntervalSeconds), -1e-07);
}

}  // namespace
