#include "text/Editor.h"

#include "text/core/StatusLine.h"
#include "text/core/DateTimeText.h"

#include <richedit.h>

#include <vector>

namespace tv::editor {

void setup(HWND re) {
    SendMessageW(re, EM_SETTEXTMODE, TM_RICHTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
    SendMessageW(re, EM_SETUNDOLIMIT, 100, 0);
    SendMessageW(re, EM_AUTOURLDETECT, TRUE, 0);
    SendMessageW(re, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);  // no 32K default cap on documents
    SendMessageW(re, EM_SETTARGETDEVICE, 0, 0);       // wrap at the editor's width
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    // Regular weight stated outright: some controls start from a bold system font.
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    cf.dwEffects = 0;
    wcscpy(cf.szFaceName, L"Tahoma");
    cf.yHeight = 12 * 20;  // 16 pixels at 96 dots per inch
    cf.bCharSet = DEFAULT_CHARSET;
    cf.crTextColor = RGB(0, 0, 0);
    SendMessageW(re, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(re, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(re, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
}

void setColours(HWND re, COLORREF text, COLORREF background) {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR;
    cf.crTextColor = text;
    // A colour change of the default format is no change of the document.
    LRESULT mask = SendMessageW(re, EM_SETEVENTMASK, 0, 0);
    SendMessageW(re, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(re, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(background));
    SendMessageW(re, EM_SETEVENTMASK, 0, mask);
    InvalidateRect(re, nullptr, TRUE);
}

void selectAll(HWND re) {
    CHARRANGE all{0, -1};
    SendMessageW(re, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
}

DWORD selectionEffects(HWND re) {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    SendMessageW(re, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return cf.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT);
}

void toggleEffect(HWND re, DWORD effect) {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    cf.dwEffects = selectionEffects(re) ^ effect;
    SendMessageW(re, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    SetFocus(re);
}

void setFace(HWND re, const wchar_t* face) {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_FACE;
    wcsncpy(cf.szFaceName, face, LF_FACESIZE - 1);
    SendMessageW(re, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    SetFocus(re);
}

void setPointSize(HWND re, int points) {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_SIZE;
    cf.yHeight = points * 20;
    SendMessageW(re, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    SetFocus(re);
}

void insertaTexto(HWND re, const std::wstring& text) {
    CHARRANGE sel{};
    SendMessageW(re, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    SendMessageW(re, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));  // undoable
    CHARRANGE inserted{sel.cpMin, sel.cpMin + static_cast<LONG>(text.size())};
    SendMessageW(re, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&inserted));
    SendMessageW(re, EM_SCROLLCARET, 0, 0);
}

LineColumn caret(HWND re) {
    CHARRANGE sel{};
    SendMessageW(re, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    int line = static_cast<int>(SendMessageW(re, EM_EXLINEFROMCHAR, 0, sel.cpMin));
    int start = static_cast<int>(SendMessageW(re, EM_LINEINDEX, line, 0));
    return CaretLineColumn(sel.cpMin, line, start);
}

int lineCount(HWND re) { return static_cast<int>(SendMessageW(re, EM_GETLINECOUNT, 0, 0)); }

int wordCount(HWND re, int lines) {
    // One buffer for every line; a line is only looked at on its first 4096
    // characters and its line break.
    std::vector<wchar_t> buf(kMaxCountedLineChars + 3);
    return DocumentWordsCount(lines, [&](int i) {
        *reinterpret_cast<WORD*>(buf.data()) = static_cast<WORD>(buf.size() - 1);
        LRESULT n = SendMessageW(re, EM_GETLINE, i, reinterpret_cast<LPARAM>(buf.data()));
        return std::wstring_view(buf.data(), static_cast<std::size_t>(n));
    });
}

Stats statistics(HWND re) {
    Stats st;
    LineColumn lc = caret(re);
    st.linea = lc.linea;
    st.columna = lc.columna;
    st.lineas = lineCount(re);
    st.palabras = wordCount(re, st.lineas);
    return st;
}

namespace {
struct RegionalFormats {
    std::wstring shortDate, longTime;
    LocaleNames names;
};

std::wstring localeText(LCTYPE type) {
    wchar_t buf[256] = {};
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 256);
    return n > 0 ? std::wstring(buf) : std::wstring();
}

// Read once: the formats are the user's as they were when the program started.
const RegionalFormats& regionalFormats() {
    static const RegionalFormats f = [] {
        RegionalFormats r;
        r.shortDate = localeText(LOCALE_SSHORTDATE);
        r.longTime = localeText(LOCALE_STIMEFORMAT);
        for (int i = 0; i < 7; ++i) {
            // The locale lists Monday first; the names are kept Sunday first.
            int day = (i + 6) % 7;
            r.names.dayNames[i] = localeText(LOCALE_SDAYNAME1 + day);
            r.names.abbrevDayNames[i] = localeText(LOCALE_SABBREVDAYNAME1 + day);
        }
        for (int m = 0; m < 12; ++m) {
            r.names.monthNames[m] = localeText(LOCALE_SMONTHNAME1 + m);
            r.names.abbrevMonthNames[m] = localeText(LOCALE_SABBREVMONTHNAME1 + m);
        }
        r.names.am = localeText(LOCALE_S1159);
        r.names.pm = localeText(LOCALE_S2359);
        return r;
    }();
    return f;
}
}  // namespace

void readRegionalFormats() { regionalFormats(); }

std::wstring dateTimeNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    const RegionalFormats& f = regionalFormats();
    LocalTime t{st.wYear, st.wMonth, st.wDay, st.wDayOfWeek, st.wHour, st.wMinute, st.wSecond};
    return DateTimeText(f.shortDate, f.longTime, t, f.names);
}

}  // namespace tv::editor
