#include "text/core/DateTimeText.h"

#include <cstddef>

namespace tv {
namespace {

void appendNumber(std::wstring& out, int value, bool twoDigits) {
    if (twoDigits && value >= 0 && value < 10) out += L'0';
    out += std::to_wstring(value);
}

// Out-of-range indices give an empty name rather than reading past the table.
template <std::size_t N>
const std::wstring& nameAt(const std::array<std::wstring, N>& table, int index) {
    static const std::wstring none;
    return index >= 0 && static_cast<std::size_t>(index) < N ? table[static_cast<std::size_t>(index)]
                                                           : none;
}

void appendDateElement(std::wstring& out, wchar_t c, std::size_t run, const LocalTime& t,
                       const LocaleNames& names) {
    switch (c) {
        case L'd':
            if (run <= 2)
                appendNumber(out, t.day, run == 2);
            else
                out += run == 3 ? nameAt(names.abbrevDayNames, t.weekday)
                                : nameAt(names.dayNames, t.weekday);
            break;
        case L'M':
            if (run <= 2)
                appendNumber(out, t.month, run == 2);
            else
                out += run == 3 ? nameAt(names.abbrevMonthNames, t.month - 1)
                                : nameAt(names.monthNames, t.month - 1);
            break;
        case L'y': {
            const int year = t.year < 0 ? -t.year : t.year;
            if (run == 1)
                appendNumber(out, year % 10, false);
            else if (run == 2)
                appendNumber(out, year % 100, true);
            else {
                const std::wstring digits = std::to_wstring(year);
                if (digits.size() < 4) out.append(4 - digits.size(), L'0');
                out += digits;
            }
            break;
        }
        case L'g':
            out += names.era;
            break;
    }
}

void appendTimeElement(std::wstring& out, wchar_t c, std::size_t run, const LocalTime& t,
                       const LocaleNames& names) {
    const bool two = run >= 2;
    switch (c) {
        case L'h': {
            const int h12 = t.hour % 12;
            appendNumber(out, h12 == 0 ? 12 : h12, two);
            break;
        }
        case L'H':
            appendNumber(out, t.hour, two);
            break;
        case L'm':
            appendNumber(out, t.minute, two);
            break;
        case L's':
            appendNumber(out, t.second, two);
            break;
        case L't': {
            const std::wstring& marker = t.hour < 12 ? names.am : names.pm;
            out += two ? std::wstring_view(marker) : std::wstring_view(marker).substr(0, 1);
            break;
        }
    }
}

// Walks the picture: quoted text and unknown characters are copied, each run
// of one element letter is handed to appendElement with its length.
template <class IsElement, class AppendElement>
std::wstring formatPicture(std::wstring_view picture, IsElement isElement,
                           AppendElement appendElement) {
    std::wstring out;
    bool quoted = false;
    for (std::size_t i = 0; i < picture.size();) {
        const wchar_t c = picture[i];
        if (c == L'\'') {
            if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                out += L'\'';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
        } else if (!quoted && isElement(c)) {
            std::size_t run = 1;
            while (i + run < picture.size() && picture[i + run] == c) ++run;
            appendElement(out, c, run);
            i += run;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

}  // namespace

std::wstring FormatDatePicture(std::wstring_view picture, const LocalTime& t,
                               const LocaleNames& names) {
    return formatPicture(
        picture, [](wchar_t c) { return c == L'd' || c == L'M' || c == L'y' || c == L'g'; },
        [&](std::wstring& out, wchar_t c, std::size_t run) {
            appendDateElement(out, c, run, t, names);
        });
}

std::wstring FormatTimePicture(std::wstring_view picture, const LocalTime& t,
                               const LocaleNames& names) {
    return formatPicture(
        picture,
        [](wchar_t c) { return c == L'h' || c == L'H' || c == L'm' || c == L's' || c == L't'; },
        [&](std::wstring& out, wchar_t c, std::size_t run) {
            appendTimeElement(out, c, run, t, names);
        });
}

std::wstring DateTimeText(std::wstring_view datePicture, std::wstring_view timePicture,
                          const LocalTime& t, const LocaleNames& names) {
    std::wstring text = FormatDatePicture(datePicture, t, names);
    if (t.hour != 0 || t.minute != 0 || t.second != 0) {
        text += L' ';
        text += FormatTimePicture(timePicture, t, names);
    }
    return text;
}

}  // namespace tv
