#include "corvane/shell/date_time_format.h"

#include "common/text.h"

namespace corvane {

namespace {

std::string number(int value, std::size_t digits) {
  std::string text = std::to_string(value);
  if (text.size() < digits)
    text.insert(0, digits - text.size(), '0');
  return text;
}

}  // namespace

std::string FormatDateTime(std::string_view pattern, const platform::LocalTime& time) {
  std::string text;
  bool afterHour = false;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char field = common::toLowerAscii(pattern[i]);
    std::size_t run = 1;
    while (i + run < pattern.size() && common::toLowerAscii(pattern[i + run]) == field)
      ++run;
    const std::size_t width = run >= 2 ? 2 : 1;
    switch (field) {
      case 'd':
        text += number(time.day, width);
        break;
      case 'm':
        if (afterHour && run <= 2) {
          text += number(time.minute, width);
        } else if (run >= 3) {
          const int month = time.month >= 1 && time.month <= 12 ? time.month : 1;
          text += ShortMonthNames[month - 1];
        } else {
          text += number(time.month, width);
        }
        break;
      case 'y':
        text += run >= 4 ? number(time.year, 4) : number(time.year % 100, 2);
        break;
      case 'h':
        text += number(time.hour, width);
        break;
      case 'n':
        text += number(time.minute, width);
        break;
      case 's':
        text += number(time.second, width);
        break;
      case ':':
        text.append(run, TimeSeparator);
        break;
      default:
        text.append(pattern.substr(i, run));
        break;
    }
    if (field == 'h') {
      afterHour = true;
    } else if (field != ':' && field != ' ') {
      afterHour = false;
    }
    i += run;
  }
  return text;
}

std::string DateTimeText(const platform::LocalTime& time) {
  return FormatDateTime(ShortDateFormat, time) + " " + FormatDateTime(LongTimeFormat, time);
}

}  // namespace corvane
