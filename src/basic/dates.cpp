#include "dates.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace qf::basic {

namespace {

// Days of a proleptic Gregorian date since 1970/01/01, and back.
long DaysFromCivil(long y, long m, long d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long z, int* year, int* month, int* day) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  *day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *year = static_cast<int>(yoe + era * 400 + (*month <= 2));
}

const long kEpoch = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int y, int m) {
  return static_cast<int>(DaysFromCivil(m == 12 ? y + 1 : y, m == 12 ? 1 : m + 1, 1) -
                          DaysFromCivil(y, m, 1));
}

// The Japanese eras from the latest: the first day, the name, its letter.
struct Era {
  int year, month, day;
  std::string_view name;
  std::string_view first;  // the name's first character
  char letter;
};
constexpr std::array<Era, 5> kEras = {{{2019, 5, 1, "令和", "令", 'R'},
                                       {1989, 1, 8, "平成", "平", 'H'},
                                       {1926, 12, 25, "昭和", "昭", 'S'},
                                       {1912, 7, 30, "大正", "大", 'T'},
                                       {1868, 9, 8, "明治", "明", 'M'}}};

const Era* EraOf(const CivilTime& t) {
  for (const Era& e : kEras) {
    if (std::tie(t.year, t.month, t.day) >= std::tie(e.year, e.month, e.day)) return &e;
  }
  return nullptr;
}

// A cursor over a text being read as a date.
class Reader {
 public:
  explicit Reader(std::string_view s) : s_(s) {}
  bool done() const { return at_ >= s_.size(); }
  void blanks() {
    while (!done() && (s_[at_] == ' ' || s_[at_] == '\t')) ++at_;
  }
  bool take(std::string_view t) {
    if (s_.substr(at_, t.size()) != t) return false;
    at_ += t.size();
    return true;
  }
  std::optional<int> number() {
    const size_t from = at_;
    long n = 0;
    while (!done() && s_[at_] >= '0' && s_[at_] <= '9' && at_ - from < 6) {
      n = n * 10 + (s_[at_++] - '0');
    }
    if (at_ == from) return std::nullopt;
    return static_cast<int>(n);
  }

 private:
  std::string_view s_;
  size_t at_ = 0;
};

int WindowedYear(int y) {
  return y < 30 ? 2000 + y : y < 100 ? 1900 + y : y;
}

// "h:mm[:ss]" with 午前/午後 or AM/PM before or after; the fraction of the day.
std::optional<double> ReadTime(Reader& r) {
  r.blanks();
  int half = 0;  // 1 morning, 2 afternoon
  if (r.take("午前")) half = 1;
  if (r.take("午後")) half = 2;
  r.blanks();
  const std::optional<int> h = r.number();
  if (!h || !r.take(":")) return std::nullopt;
  const std::optional<int> m = r.number();
  if (!m) return std::nullopt;
  int s = 0;
  if (r.take(":")) {
    const std::optional<int> sec = r.number();
    if (!sec) return std::nullopt;
    s = *sec;
  }
  r.blanks();
  if (r.take("AM") || r.take("am")) half = 1;
  if (r.take("PM") || r.take("pm")) half = 2;
  int hour = *h;
  if (half != 0 && (hour < 1 || hour > 12)) return std::nullopt;
  if (half == 1 && hour == 12) hour = 0;
  if (half == 2 && hour < 12) hour += 12;
  if (hour > 23 || *m > 59 || s > 59) return std::nullopt;
  return (hour * 3600 + *m * 60 + s) / 86400.0;
}

// The date part: era or year, month and day; the days, or nothing.
std::optional<long> ReadDate(Reader& r) {
  std::optional<int> y;
  const Era* era = nullptr;
  for (const Era& e : kEras) {
    if (r.take(e.name)) era = &e;
  }
  if (era) {
    y = r.take("元") ? std::optional<int>(1) : r.number();
    if (!y || *y < 1 || !r.take("年")) return std::nullopt;
    y = era->year + *y - 1;
  } else {
    y = r.number();
    if (!y) return std::nullopt;
  }
  std::optional<int> m;
  std::optional<int> d;
  if (era || r.take("年")) {
    m = r.number();
    if (!m || !r.take("月")) return std::nullopt;
    d = r.number();
    if (!d || !r.take("日")) return std::nullopt;
  } else {
    const std::string_view sep = r.take("/") ? "/" : r.take("-") ? "-" : "";
    if (sep.empty()) return std::nullopt;
    m = r.number();
    if (!m || !r.take(sep)) return std::nullopt;
    d = r.number();
    if (!d) return std::nullopt;
  }
  const int year = era ? *y : WindowedYear(*y);
  if (year < 100 || year > 9999 || *m < 1 || *m > 12 || *d < 1 || *d > DaysInMonth(year, *m)) {
    return std::nullopt;
  }
  return DaysFromCivil(year, *m, *d) - kEpoch;
}

std::string Two(int n) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d", n);
  return b;
}

constexpr std::array<std::string_view, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 7> kJapaneseDays = {"日", "月", "火", "水",
                                                           "木", "金", "土"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

}  // namespace

double DaysOf(double year, double month, double day) {
  const double y = year + std::floor((month - 1) / 12);
  const double m = month - 1 - 12 * std::floor((month - 1) / 12) + 1;
  if (!(std::abs(y) < 1e6 && std::abs(day) < 1e9)) {
    throw RunFailure{"オーバーフローしました", kErrOverflow};
  }
  return static_cast<double>(DaysFromCivil(static_cast<long>(y), static_cast<long>(m), 1) -
                             kEpoch) +
         day - 1;
}

double TimeOfDay(double hour, double minute, double second) {
  return (hour * 3600 + minute * 60 + second) / 86400;
}

double Joined(double days, double time) {
  return days >= 0 ? days + time : days - time;
}

CivilTime CivilOf(double serial) {
  double whole = std::trunc(serial);
  long seconds = std::lround(std::abs(serial - whole) * 86400);
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += serial >= 0 ? 1 : -1;
  }
  CivilTime t;
  const auto days = static_cast<long>(whole);
  CivilFromDays(days + kEpoch, &t.year, &t.month, &t.day);
  t.hour = static_cast<int>(seconds / 3600);
  t.minute = static_cast<int>(seconds / 60 % 60);
  t.second = static_cast<int>(seconds % 60);
  const long w = ((days % 7) + 7) % 7;  // 1899/12/30 was a Saturday
  t.weekday = w == 0 ? 7 : static_cast<int>(w);
  return t;
}

Value MakeDate(double serial) {
  if (!(serial >= kFirstDate && serial <= kLastDate)) {
    throw RunFailure{"オーバーフローしました（日付は 100/01/01 から 9999/12/31 まで）",
                     kErrOverflow};
  }
  return Value::Day(serial);
}

std::optional<double> ParseDateText(std::string_view text) {
  Reader r(text);
  r.blanks();
  // A time alone first: "10:30" is no date of year 10.
  {
    Reader timeOnly(text);
    if (const std::optional<double> t = ReadTime(timeOnly)) {
      timeOnly.blanks();
      if (timeOnly.done()) return *t;
    }
  }
  const std::optional<long> days = ReadDate(r);
  if (!days) return std::nullopt;
  double time = 0;
  r.blanks();
  if (!r.done()) {
    const std::optional<double> t = ReadTime(r);
    if (!t) return std::nullopt;
    time = *t;
    r.blanks();
    if (!r.done()) return std::nullopt;
  }
  return Joined(static_cast<double>(*days), time);
}

std::optional<double> ParseDateLiteral(std::string_view text) {
  if (const std::optional<double> d = ParseDateText(text)) return d;
  Reader r(text);
  r.blanks();
  const std::optional<int> m = r.number();
  if (!m || !r.take("/")) return std::nullopt;
  const std::optional<int> d = r.number();
  if (!d || !r.take("/")) return std::nullopt;
  const std::optional<int> y = r.number();
  if (!y) return std::nullopt;
  const int year = WindowedYear(*y);
  if (year > 9999 || *m < 1 || *m > 12 || *d < 1 || *d > DaysInMonth(year, *m)) {
    return std::nullopt;
  }
  double time = 0;
  r.blanks();
  if (!r.done()) {
    const std::optional<double> t = ReadTime(r);
    r.blanks();
    if (!t || !r.done()) return std::nullopt;
    time = *t;
  }
  return Joined(static_cast<double>(DaysFromCivil(year, *m, *d) - kEpoch), time);
}

std::string DateText(double serial) {
  const CivilTime t = CivilOf(serial);
  const bool hasDate = std::trunc(serial) != 0;
  const bool hasTime = t.hour != 0 || t.minute != 0 || t.second != 0;
  const std::string date = std::to_string(t.year) + "/" + Two(t.month) + "/" + Two(t.day);
  const std::string time = std::to_string(t.hour) + ":" + Two(t.minute) + ":" + Two(t.second);
  if (hasDate && hasTime) return date + " " + time;
  if (hasDate) return date;
  return time;
}

std::string NamedDateFormat(double serial, int named) {
  static constexpr std::array<std::string_view, 5> kNames = {
      "General Date", "Long Date", "Short Date", "Long Time", "Short Time"};
  if (named < 0 || named > 4) throw RunFailure{"FormatDateTime の形式は 0 から 4 までです"};
  return *FormatDate(serial, kNames[static_cast<size_t>(named)]);
}

std::optional<std::string> FormatDate(double serial, std::string_view pattern) {
  const std::string named = Lower(pattern);
  if (named == "general date") return DateText(serial);
  if (named == "long date") return FormatDate(serial, "yyyy\"年\"m\"月\"d\"日\"");
  if (named == "medium date") return FormatDate(serial, "yy-mm-dd");
  if (named == "short date") return FormatDate(serial, "yyyy/mm/dd");
  if (named == "long time") return FormatDate(serial, "h:nn:ss");
  if (named == "medium time") return FormatDate(serial, "hh:nn AMPM");
  if (named == "short time") return FormatDate(serial, "hh:nn");
  const CivilTime t = CivilOf(serial);
  const bool twelve = named.find("am/pm") != std::string::npos ||
                      named.find("a/p") != std::string::npos ||
                      named.find("ampm") != std::string::npos;
  std::string out;
  bool any = false;
  bool afterHour = false;
  for (size_t i = 0; i < pattern.size();) {
    const char c = named[i];
    size_t n = 1;
    while (i + n < named.size() && named[i + n] == c) ++n;
    const std::string_view rest = std::string_view(named).substr(i);
    if (rest.rfind("am/pm", 0) == 0 || rest.rfind("ampm", 0) == 0 || rest.rfind("a/p", 0) == 0) {
      out += t.hour < 12 ? "午前" : "午後";
      i += rest.rfind("am/pm", 0) == 0 ? 5 : rest.rfind("ampm", 0) == 0 ? 4 : 3;
      any = true;
      continue;
    }
    const bool code = std::string_view("ymdhnswqgec").find(c) != std::string_view::npos ||
                      (c == 'a' && n >= 3) || (c == 't' && n >= 5);
    if (!code) {
      if (pattern[i] == '\\' && i + 1 < pattern.size()) ++i;
      if (pattern[i] == '"') {
        const size_t end = pattern.find('"', i + 1);
        out += pattern.substr(i + 1, end == std::string_view::npos ? end : end - i - 1);
        i = end == std::string_view::npos ? pattern.size() : end + 1;
        continue;
      }
      out += pattern[i++];
      continue;
    }
    any = true;
    i += n;
    // m after an hour, or before seconds, is the minute.
    const size_t next = named.find_first_of("ymdhnswq", i);
    const bool minute =
        c == 'm' && (afterHour || (next != std::string::npos && named[next] == 's'));
    switch (c) {
      case 'y':
        out += n >= 3   ? std::to_string(t.year)
               : n == 2 ? Two(t.year % 100)
                        : std::to_string(static_cast<long>(std::trunc(serial)) -
                                         static_cast<long>(DaysOf(t.year, 1, 1)) + 1);
        break;
      case 'm':
        if (minute) {
          out += n >= 2 ? Two(t.minute) : std::to_string(t.minute);
        } else if (n >= 4) {
          out += kMonthNames[static_cast<size_t>(t.month - 1)];
        } else if (n == 3) {
          out += kMonthNames[static_cast<size_t>(t.month - 1)].substr(0, 3);
        } else {
          out += n == 2 ? Two(t.month) : std::to_string(t.month);
        }
        break;
      case 'd':
        if (n >= 6) {
          out += *FormatDate(serial, "Long Date");
        } else if (n == 5) {
          out += *FormatDate(serial, "Short Date");
        } else if (n >= 3) {
          const std::string_view day = kDayNames[static_cast<size_t>(t.weekday - 1)];
          out += n == 4 ? day : day.substr(0, 3);
        } else {
          out += n == 2 ? Two(t.day) : std::to_string(t.day);
        }
        break;
      case 'h': {
        const int h = twelve ? (t.hour % 12 == 0 ? 12 : t.hour % 12) : t.hour;
        out += n >= 2 ? Two(h) : std::to_string(h);
        break;
      }
      case 'n':
        out += n >= 2 ? Two(t.minute) : std::to_string(t.minute);
        break;
      case 's':
        out += n >= 2 ? Two(t.second) : std::to_string(t.second);
        break;
      case 'w':
        out += std::to_string(t.weekday);
        break;
      case 'q':
        out += std::to_string((t.month - 1) / 3 + 1);
        break;
      case 'a':
        out += kJapaneseDays[static_cast<size_t>(t.weekday - 1)];
        if (n >= 4) out += "曜日";
        break;
      case 'g': {
        const Era* era = EraOf(t);
        if (era) out += n >= 3 ? era->name : n == 2 ? era->first : std::string(1, era->letter);
        break;
      }
      case 'e': {
        const Era* era = EraOf(t);
        const int y = era ? t.year - era->year + 1 : t.year;
        out += n >= 2 ? Two(y) : std::to_string(y);
        break;
      }
      case 'c':
        out += DateText(serial);
        break;
      default:  // ttttt
        out += *FormatDate(serial, "Long Time");
        break;
    }
    afterHour = c == 'h';
  }
  if (!any) return std::nullopt;
  return out;
}

}  // namespace qf::basic
