#pragma once
// The date-and-time text of the status line and of Ctrl+D, built from the
// user's short date and long time format pictures. The Win32 side supplies the
// pictures and names (GetLocaleInfo) and the local time (GetLocalTime).
#include <array>
#include <string>
#include <string_view>

namespace tv {

struct LocalTime {
    int year;     // e.g. 2010
    int month;    // 1..12
    int day;      // 1..31
    int weekday;  // 0 = Sunday .. 6 = Saturday
    int hour;     // 0..23
    int minute;
    int second;
};

struct LocaleNames {
    std::array<std::wstring, 7> dayNames;          // Sunday first
    std::array<std::wstring, 7> abbrevDayNames;    // Sunday first
    std::array<std::wstring, 12> monthNames;       // January first
    std::array<std::wstring, 12> abbrevMonthNames; // January first
    std::wstring am;
    std::wstring pm;
    std::wstring era;  // g / gg; empty when the calendar has none
};

// Date picture elements: d dd ddd dddd, M MM MMM MMMM, y yy yyyy (a longer run
// of y is the full year too), g gg. Text in single quotes is copied ('' gives a
// quote); every other character is copied as it is.
std::wstring FormatDatePicture(std::wstring_view picture, const LocalTime& t,
                               const LocaleNames& names);

// Time picture elements: h hh (12-hour), H HH (24-hour), m mm, s ss, t tt,
// with the same quoting.
std::wstring FormatTimePicture(std::wstring_view picture, const LocalTime& t,
                               const LocaleNames& names);

// Date, one space and time; the space and time are left out at exactly 00:00:00.
std::wstring DateTimeText(std::wstring_view datePicture, std::wstring_view timePicture,
                          const LocalTime& t, const LocaleNames& names);

}  // namespace tv
