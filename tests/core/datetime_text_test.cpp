#include "text/core/DateTimeText.h"

#include <gtest/gtest.h>

using namespace tv;

namespace {

LocaleNames english() {
    LocaleNames n;
    n.dayNames = {L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
    n.abbrevDayNames = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    n.monthNames = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                    L"July",    L"August",   L"September", L"October", L"November", L"December"};
    n.abbrevMonthNames = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                          L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    n.am = L"AM";
    n.pm = L"PM";
    return n;
}

LocaleNames german() {
    LocaleNames n = english();
    n.dayNames[5] = L"Freitag";
    n.abbrevDayNames[5] = L"Fr";
    n.monthNames[2] = L"M\u00E4rz";
    n.abbrevMonthNames[2] = L"M\u00E4r";
    n.am = L"";
    n.pm = L"";
    return n;
}

// Friday 5 March 2010, 09:41:07.
constexpr LocalTime kSample{2010, 3, 5, 5, 9, 41, 7};

LocalTime at(int hour, int minute, int second) {
    LocalTime t = kSample;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

}  // namespace

TEST(DateTimeText, DatePictures) {
    struct Case {
        const wchar_t* picture;
        LocalTime time;
        const wchar_t* text;
    } cases[] = {
        {L"dd/MM/yyyy", kSample, L"05/03/2010"},
        {L"M/d/yyyy", kSample, L"3/5/2010"},
        {L"yyyy-MM-dd", kSample, L"2010-03-05"},
        {L"dddd, MMMM dd, yyyy", kSample, L"Friday, March 05, 2010"},
        {L"ddd',' MMM dd yy", kSample, L"Fri, Mar 05 10"},
        {L"d/M/y", kSample, L"5/3/0"},                            // y: last digit only
        {L"y yy", {2009, 12, 25, 5, 0, 0, 0}, L"9 09"},
        {L"yy", {2105, 1, 1, 5, 0, 0, 0}, L"05"},
        {L"yyyyy", kSample, L"2010"},                             // as yyyy
        {L"dd.MM.yyyy", {2010, 11, 23, 2, 0, 0, 0}, L"23.11.2010"},
        {L"ddddd MMMMM", kSample, L"Friday March"},               // longer runs as the longest
        {L"gg yyyy", kSample, L" 2010"},                          // no era: nothing
        {L"'Today is' dddd", kSample, L"Today is Friday"},
        {L"'abc''bar'", kSample, L"abc'bar"},
        {L"d''M", kSample, L"5'3"},
        {L"'d' d", kSample, L"d 5"},
        {L"'dd", kSample, L"dd"},                                  // quote left open
        {L"D Y m h s t", kSample, L"D Y m h s t"},                // not date elements
        {L"", kSample, L""},
    };
    const LocaleNames names = english();
    for (const Case& c : cases) EXPECT_EQ(FormatDatePicture(c.picture, c.time, names), c.text) << c.picture;
}

TEST(DateTimeText, LocaleNamesAndEra) {
    LocaleNames names = german();
    EXPECT_EQ(FormatDatePicture(L"d. MMMM yyyy", kSample, names), L"5. M\u00E4rz 2010");
    EXPECT_EQ(FormatDatePicture(L"ddd, d. MMM", kSample, names), L"Fr, 5. M\u00E4r");
    names.era = L"A.D.";
    EXPECT_EQ(FormatDatePicture(L"g yyyy", kSample, names), L"A.D. 2010");
    EXPECT_EQ(FormatDatePicture(L"gg yyyy", kSample, names), L"A.D. 2010");
}

TEST(DateTimeText, OutOfRangeNamesAreEmpty) {
    const LocaleNames names = english();
    const LocalTime bad{2010, 13, 5, 7, 0, 0, 0};
    EXPECT_EQ(FormatDatePicture(L"[ddd][dddd][MMM][MMMM]", bad, names), L"[][][][]");
    const LocalTime bad2{2010, 0, 5, -1, 0, 0, 0};
    EXPECT_EQ(FormatDatePicture(L"[dddd][MMMM]", bad2, names), L"[][]");
}

TEST(DateTimeText, TimePictures) {
    struct Case {
        const wchar_t* picture;
        LocalTime time;
        const wchar_t* text;
    } cases[] = {
        {L"HH:mm:ss", kSample, L"09:41:07"},
        {L"H:m:s", at(9, 4, 5), L"9:4:5"},
        {L"h:mm:ss tt", kSample, L"9:41:07 AM"},
        {L"hh:mm:ss tt", kSample, L"09:41:07 AM"},
        {L"h:mm:ss tt", at(0, 0, 5), L"12:00:05 AM"},              // hour 0 on a 12-hour clock
        {L"h:mm:ss tt", at(12, 30, 0), L"12:30:00 PM"},
        {L"h:mm:ss tt", at(13, 5, 9), L"1:05:09 PM"},
        {L"hh:mm tt", at(23, 59, 59), L"11:59 PM"},
        {L"h:mm t", at(11, 59, 59), L"11:59 A"},
        {L"HH:mm:ss", at(0, 0, 5), L"00:00:05"},
        {L"HH:mm:ss", at(23, 0, 0), L"23:00:00"},
        {L"HH'h'mm", kSample, L"09h41"},
        {L"HH.mm.ss", kSample, L"09.41.07"},
        {L"tt h 'o''clock'", at(15, 0, 1), L"PM 3 o'clock"},
        {L"d M y HH", kSample, L"d M y 09"},                      // not time elements
    };
    const LocaleNames names = english();
    for (const Case& c : cases) EXPECT_EQ(FormatTimePicture(c.picture, c.time, names), c.text) << c.picture;
}

TEST(DateTimeText, EmptyDesignators) {
    const LocaleNames names = german();
    EXPECT_EQ(FormatTimePicture(L"h:mm tt|t", at(15, 0, 0), names), L"3:00 |");
}

TEST(DateTimeText, ComposedTextLeavesTheTimeOutAtMidnight) {
    struct Case {
        LocalTime time;
        const wchar_t* text;
    } cases[] = {
        {kSample, L"05/03/2010 09:41:07"},
        {at(0, 0, 0), L"05/03/2010"},
        {at(0, 0, 1), L"05/03/2010 00:00:01"},
        {at(0, 1, 0), L"05/03/2010 00:01:00"},
        {at(12, 0, 0), L"05/03/2010 12:00:00"},
    };
    const LocaleNames names = english();
    for (const Case& c : cases)
        EXPECT_EQ(DateTimeText(L"dd/MM/yyyy", L"HH:mm:ss", c.time, names), c.text) << c.text;
    EXPECT_EQ(DateTimeText(L"M/d/yyyy", L"h:mm:ss tt", at(0, 0, 0), names), L"3/5/2010");
    EXPECT_EQ(DateTimeText(L"M/d/yyyy", L"h:mm:ss tt", at(0, 0, 30), names), L"3/5/2010 12:00:30 AM");
}
