#include "frame/ground/date_time.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <string>
#include <string_view>

#include "frame/ground/text_normalise.h"

namespace {

constexpr int kSecondsPerDay = 86400;

// Half a second expressed in days. It is added to hours, minutes and seconds after the span has
// been scaled, so it nudges far less than half a unit: enough to lift a positive span of whole
// units that came out a hair short, while a negative span of whole units comes out one unit
// smaller in size. The program's shutdown check compares against intervals rounded exactly this
// way, so the constant and its place stay as they are.
constexpr double kHalfSecondInDays = 5.787037037037037e-06;

// Beyond this many days (about a million years) the day number would no longer fit the integer
// arithmetic below; nothing real lies out there.
constexpr double kDayLimit = 365.0e6;

// Days since 1970-01-01 of a proleptic Gregorian date; the month must be 1..12, the day may be any
// number and simply counts on from the first of the month. Counting in 400-year eras, the period
// of the calendar, keeps the divisions exact for dates before the year 0 too.
constexpr long long DaysFromCivil(long long year, int month, long long day) {
  year -= month <= 2;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + (day - 1);
}

struct CivilDate {
  long long year;
  int month;
  int day;
};

constexpr CivilDate CivilFromDays(long long days) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 = March
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return {yearOfEra + era * 400 + (month <= 2), month, day};
}

constexpr long long kOleEpoch = DaysFromCivil(1899, 12, 30);
static_assert(DaysFromCivil(100, 1, 1) - kOleEpoch == static_cast<long long>(kInvalidDateTime));
static_assert(CivilFromDays(kOleEpoch).year == 1899 && CivilFromDays(kOleEpoch).day == 30);

// Division rounding down and its remainder, for day and month counts that may be negative; the
// divisor is always positive.
long long FloorDiv(long long value, long long divisor) {
  return value / divisor - (value % divisor < 0);
}
long long FloorMod(long long value, long long divisor) {
  return value - FloorDiv(value, divisor) * divisor;
}

// The calendar day (relative to 1899-12-30) and the second of that day, rounded to the nearest
// second. In an OLE date the integer part names the day and the fraction's size is the time of day
// on both sides of the epoch.
struct DayAndSecond {
  long long day;
  int second;
};

DayAndSecond SplitDateTime(DateTime value) {
  if (std::isnan(value)) value = 0.0;
  value = std::clamp(value, -kDayLimit, kDayLimit);
  const double whole = std::trunc(value);
  DayAndSecond split{static_cast<long long>(whole),
                     static_cast<int>(std::llround(std::fabs(value - whole) * kSecondsPerDay))};
  if (split.second == kSecondsPerDay) {
    ++split.day;
    split.second = 0;
  }
  return split;
}

// Days since the epoch on a straight line, so that subtracting two of them gives the real span.
// Before the epoch the time of day still counts away from zero (-1.5, noon, is later than -1.25,
// six in the morning); on the line 1899-12-29 06:00 is -0.75.
double LinearDays(DateTime value) {
  if (!(value < 0.0)) return value;
  const double whole = std::trunc(value);
  return whole + (whole - value);
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// How each number of a date text is read and what may follow it. The two-byte unit is a GBK
// character; the sources are UTF-8 and the compiler turns these literals into GBK.
struct DateTextField {
  int maxDigits;
  std::string_view separators;  // single bytes, at most one of them skipped
  std::string_view unit;        // or this character
};

constexpr DateTextField kDateTextFields[] = {
    {4, "/-:.", "年"},
    {2, "/-:.", "月"},
    {2, "/-: .", "日"},
    {2, "/-:.", "时"},
    {2, "/-:.", "分"},
    {2, "", ""},
};
constexpr std::string_view kSecondUnit = "秒";
static_assert(kDateTextFields[0].unit.size() == 2 && kSecondUnit.size() == 2,
              "date texts are GBK: build with -fexec-charset=GBK");

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

DateTime DateTimeFromCalendar(const CalendarTime& time) {
  const long long months = static_cast<long long>(time.month) - 1;
  const long long year = time.year + FloorDiv(months, 12);
  const int month = static_cast<int>(FloorMod(months, 12)) + 1;
  const long long seconds = static_cast<long long>(time.hour) * 3600 +
                            static_cast<long long>(time.minute) * 60 + time.second;
  const long long day =
      DaysFromCivil(year, month, time.day) - kOleEpoch + FloorDiv(seconds, kSecondsPerDay);
  const double fraction =
      static_cast<double>(FloorMod(seconds, kSecondsPerDay)) / kSecondsPerDay;
  return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

CalendarTime CalendarFromDateTime(DateTime value) {
  const DayAndSecond split = SplitDateTime(value);
  const CivilDate date = CivilFromDays(split.day + kOleEpoch);
  return {static_cast<int>(date.year), date.month, date.day,
          split.second / 3600, split.second / 60 % 60, split.second % 60};
}

int DayOfWeek(DateTime value) {
  // Day 0, 1899-12-30, was a Saturday.
  return static_cast<int>(FloorMod(SplitDateTime(value).day + 6, 7)) + 1;
}

DateTime TextToDateTime(const char* text) {
  const std::string normal = NormaliseText(text);
  if (normal.empty()) return kInvalidDateTime;

  const std::string_view rest(normal);
  std::size_t at = 0;
  int numbers[6] = {};
  for (int field = 0; field < 6; ++field) {
    const DateTextField& rule = kDateTextFields[field];
    for (int digits = 0; digits < rule.maxDigits && at < rest.size() && IsDigit(rest[at]);
         ++digits) {
      numbers[field] = numbers[field] * 10 + (rest[at++] - '0');
    }
    if (at < rest.size() && rule.separators.find(rest[at]) != std::string_view::npos) {
      ++at;
    } else if (!rule.unit.empty() && rest.substr(at, rule.unit.size()) == rule.unit) {
      at += rule.unit.size();
    }
  }
  if (at != rest.size() && rest.substr(at, kSecondUnit.size()) != kSecondUnit) {
    return kInvalidDateTime;
  }

  const CalendarTime time{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]};
  if (time.year < 100 || time.year > 9999 || time.month < 1 || time.month > 12 || time.day < 1 ||
      time.day > DaysInMonth(time.year, time.month) || time.hour > 23 || time.minute > 59 ||
      time.second > 59) {
    return kInvalidDateTime;
  }
  return DateTimeFromCalendar(time);
}

DateTime TextToDateTime(const ArgRecord& value) {
  switch (value.type) {
    case kTypeDateTime:
      return ArgDouble(value);
    case kTypeText:
      return TextToDateTime(ArgText(value));
    default:
      return kInvalidDateTime;
  }
}

DateTime CurrentDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  const bool known = now != static_cast<std::time_t>(-1) && localtime_s(&local, &now) == 0;
#else
  const bool known = now != static_cast<std::time_t>(-1) && localtime_r(&now, &local) != nullptr;
#endif
  if (!known) return kInvalidDateTime;
  // A leap second (tm_sec 60) carries into the next minute.
  return DateTimeFromCalendar({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                               local.tm_hour, local.tm_min, local.tm_sec});
}

double TimeInterval(DateTime first, DateTime second, int unit) {
  unit = std::clamp(unit, static_cast<int>(kIntervalYears), static_cast<int>(kIntervalSeconds));
  if (first == second) return 0.0;

  // The order of two moments is the sign of their real span, which before the epoch is not the
  // order of the raw values.
  const double span = LinearDays(first) - LinearDays(second);
  const CalendarTime firstTime = CalendarFromDateTime(first);
  const CalendarTime secondTime = CalendarFromDateTime(second);
  const int years = firstTime.year - secondTime.year;
  switch (unit) {
    case kIntervalYears:
      return years;
    case kIntervalQuarters:
      return years * 4 + (firstTime.month - 1) / 3 - (secondTime.month - 1) / 3;
    case kIntervalMonths:
      return years * 12 + firstTime.month - secondTime.month;
    case kIntervalWeeks: {
      double weeks = std::trunc(std::trunc(span) / 7.0);
      const int firstDay = DayOfWeek(first);
      const int secondDay = DayOfWeek(second);
      if (span > 0.0 && firstDay < secondDay) weeks += 1.0;
      if (span < 0.0 && secondDay < firstDay) weeks -= 1.0;
      return weeks;
    }
    case kIntervalDays:
      return span;
    case kIntervalHours:
      return std::trunc(span * 24.0 + kHalfSecondInDays);
    case kIntervalMinutes:
      return std::trunc(span * 1440.0 + kHalfSecondInDays);
    default:
      return std::trunc(span * kSecondsPerDay + kHalfSecondInDays);
  }
}
