// The program's fixed date and time formats, whatever the user's regional settings.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace corvane {

inline constexpr const char* ShortDateFormat = "dd.mm.yyyy";
inline constexpr const char* LongDateFormat = "dd.mmm.yyyy";
inline constexpr char TimeSeparator = ':';
inline constexpr const char* TimeAMString = "AM";
inline constexpr const char* TimePMString = "PM";
inline constexpr const char* ShortTimeFormat = "hh:mm:ss";
inline constexpr const char* LongTimeFormat = "hh:mm:ss";
inline constexpr std::array<const char*, 12> ShortMonthNames = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Formats a moment by a pattern of these fields (letters in either case): d and dd the day,
// m and mm the month (the minutes right after an hour field), mmm the month's short name, yy
// and yyyy the year, h and hh the hour, n and nn the minutes, s and ss the seconds; ':' is the
// time separator; anything else stands for itself.
std::string FormatDateTime(std::string_view pattern, const platform::LocalTime& time);

// The short date and the long time: "07.03.2005 09:05:03".
std::string DateTimeText(const platform::LocalTime& time);

}  // namespace corvane
