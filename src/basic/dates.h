#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "basic/value.h"

namespace qf::basic {

// A date as the language keeps it: days since 1899/12/30, the time of day as the fraction.
// A date before that day counts its days back and its time forward (-1.25 is 1899/12/29 6:00).
struct CivilTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 7;  // 1 Sunday … 7 Saturday
};

// The first and last dates the language holds: 100/01/01 and 9999/12/31 23:59:59.
inline constexpr double kFirstDate = -657434;
inline constexpr double kLastDate = 2958465 + 86399.0 / 86400;

// The days of a year, month and day, each carried over as DateSerial carries them (month 13 is
// January of the next year, day 0 the last of the month before).
double DaysOf(double year, double month, double day);
// The fraction of a day of hours, minutes and seconds, carried over likewise.
double TimeOfDay(double hour, double minute, double second);
// Days and a time of day as one date.
double Joined(double days, double time);
CivilTime CivilOf(double serial);
// A Date value, refused outside the dates the language holds ("オーバーフロー").
Value MakeDate(double serial);

// A text read as a Japanese Windows reads a date or a time: 2024/5/17, 2024-05-17, 24/5/17,
// 2024年5月17日, 令和6年5月17日 (元年 too), with or without a time (10:30, 10:30:15), or a time
// alone. Month-first texts (5/17/2024) are no date. Nothing when the text is no date.
std::optional<double> ParseDateText(std::string_view text);
// The text of a date literal (#…#): as ParseDateText reads it, or month first as the language's
// own editor writes literals (#5/17/2024#, #5/17/2024 10:30:00 AM#).
std::optional<double> ParseDateLiteral(std::string_view text);
// How CStr writes a date: 2024/05/17, 10:30:00, or both; 0:00:00 for the zero date.
std::string DateText(double serial);
// A date by Format's date codes (yyyy, m, dd, h, nn, ss, ddd, aaa, ggg, e …) or a named date
// format (General Date, Long Date …); nothing when `pattern` has no date code.
std::optional<std::string> FormatDate(double serial, std::string_view pattern);
// The named date formats of FormatDateTime: 0 general, 1 long date, 2 short date, 3 long time,
// 4 short time.
std::string NamedDateFormat(double serial, int named);

}  // namespace qf::basic
