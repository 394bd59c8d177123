// The language's date functions: DateSerial, DateAdd, DateDiff, DatePart, the parts of a date,
// CDate and IsDate.
#include <cmath>

#include "basic/builtin_tables.h"
#include "basic/dates.h"

namespace qf::basic {

namespace {

using Args = std::vector<Value>;

// A value as a date: a date, a number of days, a text a Japanese Windows reads as a date.
double DateArg(const Value& v) {
  return Coerce(Plain(v), Type::Date).number();
}

// The years of DateSerial: 0 … 29 are this century's, 30 … 99 the last one's.
double WindowYear(double y) {
  return y >= 0 && y < 30 ? 2000 + y : y >= 30 && y < 100 ? 1900 + y : y;
}

std::string IntervalOf(const Value& v, const char* name) {
  const std::string i = Lower(ToText(v));
  static const char* kIntervals[] = {"yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s"};
  for (const char* k : kIntervals) {
    if (i == k) return i;
  }
  throw RunFailure{std::string(name) + " の単位「" + ToText(v) + "」は使えません", kErrInvalidCall};
}

// Weeks start on Sunday unless the first day of the week is given (1 Sunday … 7 Saturday).
int FirstDay(const Args& a, size_t at) {
  if (a.size() <= at) return 1;
  const long d = Whole(a[at]);
  if (d < 0 || d > 7) throw RunFailure{"週の始まりの曜日は 0 から 7 までです", kErrInvalidCall};
  return d == 0 ? 1 : static_cast<int>(d);
}

int WeekdayFrom(const CivilTime& t, int first) {
  return (t.weekday - first + 7) % 7 + 1;
}

// A moment as seconds on one line (a date before 1899/12/30 counts its time forward).
double Seconds(double date) {
  const double whole = std::trunc(date);
  return whole * 86400 + std::round(std::abs(date - whole) * 86400);
}

// DateAdd: months keep the day, or the month's last day when it has fewer.
Value Add(const std::string& interval, double n, double date) {
  const CivilTime t = CivilOf(date);
  const double time = std::abs(date - std::trunc(date));
  if (interval == "yyyy" || interval == "q" || interval == "m") {
    const double months = std::trunc(n) * (interval == "yyyy" ? 12 : interval == "q" ? 3 : 1);
    const double first = DaysOf(t.year, t.month + months, 1);
    const CivilTime target = CivilOf(first);
    const double last = DaysOf(target.year, target.month + 1, 1) - first;
    return MakeDate(Joined(first + std::min<double>(t.day, last) - 1, time));
  }
  if (interval == "h" || interval == "n" || interval == "s") {
    const double per = interval == "h" ? 3600 : interval == "n" ? 60 : 1;
    const double seconds = Seconds(date) + std::trunc(n) * per;
    const double whole = std::floor(seconds / 86400);
    return MakeDate(Joined(whole, (seconds - whole * 86400) / 86400));
  }
  const double days = interval == "ww" ? 7 * std::trunc(n) : std::trunc(n);
  return MakeDate(Joined(std::trunc(date) + days, time));
}

// DateDiff: how many boundaries of the interval lie between the two moments.
double Diff(const std::string& interval, double a, double b, int first) {
  const CivilTime x = CivilOf(a);
  const CivilTime y = CivilOf(b);
  if (interval == "yyyy") return y.year - x.year;
  if (interval == "q") return (y.year * 4 + (y.month - 1) / 3) - (x.year * 4 + (x.month - 1) / 3);
  if (interval == "m") return (y.year * 12 + y.month) - (x.year * 12 + x.month);
  const double days = std::floor(Seconds(b) / 86400) - std::floor(Seconds(a) / 86400);
  if (interval == "y" || interval == "d") return days;
  if (interval == "w") return std::trunc(days / 7);
  if (interval == "ww") {
    // Weeks: the first days of the week passed on the way.
    const auto startOf = [first](double s, const CivilTime& t) {
      return std::floor(s / 86400) - (WeekdayFrom(t, first) - 1);
    };
    return (startOf(Seconds(b), y) - startOf(Seconds(a), x)) / 7;
  }
  const double per = interval == "h" ? 3600 : interval == "n" ? 60 : 1;
  return std::floor(Seconds(b) / per) - std::floor(Seconds(a) / per);
}

double Part(const std::string& interval, double date, int first) {
  const CivilTime t = CivilOf(date);
  if (interval == "yyyy") return t.year;
  if (interval == "q") return (t.month - 1) / 3 + 1;
  if (interval == "m") return t.month;
  if (interval == "y") return std::trunc(date) - DaysOf(t.year, 1, 1) + 1;
  if (interval == "d") return t.day;
  if (interval == "w") return WeekdayFrom(t, first);
  if (interval == "ww") return Diff("ww", DaysOf(t.year, 1, 1), std::trunc(date), first) + 1;
  if (interval == "h") return t.hour;
  if (interval == "n") return t.minute;
  return t.second;
}

}  // namespace

void AddDateFunctions(BuiltinTable& b) {
  b["dateserial"] = [](const Args& a) {
    CheckCount(a, 3, 3, "DateSerial");
    return MakeDate(DaysOf(WindowYear(std::trunc(ToNumber(a[0]))), std::trunc(ToNumber(a[1])),
                           std::trunc(ToNumber(a[2]))));
  };
  b["timeserial"] = [](const Args& a) {
    CheckCount(a, 3, 3, "TimeSerial");
    const double t = TimeOfDay(std::trunc(ToNumber(a[0])), std::trunc(ToNumber(a[1])),
                               std::trunc(ToNumber(a[2])));
    return MakeDate(t);
  };
  b["dateadd"] = [](const Args& a) {
    CheckCount(a, 3, 3, "DateAdd");
    return Add(IntervalOf(a[0], "DateAdd"), ToNumber(a[1]), DateArg(a[2]));
  };
  b["datediff"] = [](const Args& a) {
    CheckCount(a, 3, 5, "DateDiff");
    return Value::Lng(
        Diff(IntervalOf(a[0], "DateDiff"), DateArg(a[1]), DateArg(a[2]), FirstDay(a, 3)));
  };
  b["datepart"] = [](const Args& a) {
    CheckCount(a, 2, 4, "DatePart");
    return Value::Int(Part(IntervalOf(a[0], "DatePart"), DateArg(a[1]), FirstDay(a, 2)));
  };
  const std::pair<const char*, const char*> parts[] = {{"year", "yyyy"}, {"month", "m"},
                                                       {"day", "d"},     {"hour", "h"},
                                                       {"minute", "n"},  {"second", "s"}};
  for (const auto& [name, interval] : parts) {
    b[name] = [name = std::string(name), interval = std::string(interval)](const Args& a) {
      CheckCount(a, 1, 1, name.c_str());
      return Value::Int(Part(interval, DateArg(a[0]), 1));
    };
  }
  b["weekday"] = [](const Args& a) {
    CheckCount(a, 1, 2, "Weekday");
    return Value::Int(WeekdayFrom(CivilOf(DateArg(a[0])), FirstDay(a, 1)));
  };
  b["cdate"] = [](const Args& a) {
    CheckCount(a, 1, 1, "CDate");
    return MakeDate(DateArg(a[0]));
  };
  b["datevalue"] = [](const Args& a) {
    CheckCount(a, 1, 1, "DateValue");
    return MakeDate(std::trunc(DateArg(a[0])));
  };
  b["timevalue"] = [](const Args& a) {
    CheckCount(a, 1, 1, "TimeValue");
    const double d = DateArg(a[0]);
    return MakeDate(std::abs(d - std::trunc(d)));
  };
  b["isdate"] = [](const Args& a) {
    CheckCount(a, 1, 1, "IsDate");
    const Value v = Plain(a[0]);
    return Value::Bool(v.type() == Type::Date ||
                       (v.type() == Type::String && ParseDateText(v.text()).has_value()));
  };
  b["monthname"] = [](const Args& a) {
    CheckCount(a, 1, 2, "MonthName");
    const long m = Whole(a[0]);
    if (m < 1 || m > 12) throw RunFailure{"MonthName の月は 1 から 12 までです", kErrInvalidCall};
    return Value::Str(std::to_string(m) + "月");
  };
  b["weekdayname"] = [](const Args& a) {
    CheckCount(a, 1, 3, "WeekdayName");
    const long w = Whole(a[0]);
    if (w < 1 || w > 7) throw RunFailure{"WeekdayName の曜日は 1 から 7 までです", kErrInvalidCall};
    static const char* kDays[] = {"日", "月", "火", "水", "木", "金", "土"};
    const int first = FirstDay(a, 2);
    const bool abbreviated = a.size() > 1 && ToBool(a[1]);
    const std::string day = kDays[(w - 1 + first - 1) % 7];
    return Value::Str(abbreviated ? day : day + "曜日");
  };
  b["ccur"] = [](const Args& a) {
    CheckCount(a, 1, 1, "CCur");
    return Value::Cur(ToNumber(Plain(a[0])));
  };
}

}  // namespace qf::basic
