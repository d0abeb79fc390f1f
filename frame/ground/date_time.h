// Date-time values (OLE automation dates, local time) and the commands built on them: text to
// date-time, now, and time interval.
#pragma once

#include "frame/ground/values.h"

// A moment as calendar fields, proleptic Gregorian, month and day counted from 1.
struct CalendarTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool operator==(const CalendarTime&) const = default;
};

// The fields are not validated; one out of its range carries over, as month 13 into January of
// the next year or a leap second into the next minute.
// Before 1899-12-30 the value is negative, with the time of day still counted forward from
// midnight: 1899-12-29 06:00 is -1.25.
DateTime DateTimeFromCalendar(const CalendarTime& time);
// The moment to the nearest second. A value between -1 and 0 counts as 1899-12-30 like its
// absolute value. NaN is taken as 0 and values beyond a million years are clamped.
CalendarTime CalendarFromDateTime(DateTime value);
// 1 Sunday .. 7 Saturday.
int DayOfWeek(DateTime value);

// Reads "2011年04月13日22时56分29秒", "2011-04-13 22:56:29", "2011/4/13" and the like: year (up
// to four digits), month, day, hour, minute and second (up to two digits each), each followed by
// at most one separator, full-width characters folded first. A missing number is 0; a missing
// month or day therefore fails, a missing time is midnight. After the second only the end of the
// text or "秒" (and anything after it) may follow. Answers kInvalidDateTime when the text cannot be
// read or names no real moment between the years 100 and 9999.
DateTime TextToDateTime(const char* text);
// A date-time argument is answered unchanged, a text read as above, anything else is invalid.
DateTime TextToDateTime(const ArgRecord& value);

// The local time now, in whole seconds; kInvalidDateTime when the system cannot tell it.
DateTime CurrentDateTime();

enum IntervalUnit : int {
  kIntervalYears = 1,
  kIntervalQuarters = 2,
  kIntervalMonths = 3,
  kIntervalWeeks = 4,
  kIntervalDays = 5,
  kIntervalHours = 6,
  kIntervalMinutes = 7,
  kIntervalSeconds = 8,
};

// `first` minus `second` in the unit, which is clamped into 1..8. Years, quarters and months count
// calendar boundaries crossed; weeks count whole weeks, one more when the days left over cross into
// a new Sunday-to-Saturday week; days are the exact span; hours, minutes and seconds are truncated
// toward zero. Equal values give exactly 0.
double TimeInterval(DateTime first, DateTime second, int unit);
