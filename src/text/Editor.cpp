#include "text/Editor.h"

#include "text/core/StatusLine.h"
#include "text/core/DateTimeText.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
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

int RichEditLayout::length() {
    GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(SendMessageW(re_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0));
}

int RichEditLayout::lineCount() { return static_cast<int>(SendMessageW(re_, EM_GETLINECOUNT, 0, 0)); }

std::wstring RichEditLayout::text(int from, int to) {
    if (to <= from) return {};
    std::wstring buf(static_cast<std::size_t>(to - from) + 1, L'\0');
    TEXTRANGEW tr{{from, to}, buf.data()};
    LRESULT n = SendMessageW(re_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
    buf.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return buf;
}

int RichEditLayout::lineFromChar(int pos) {
    return static_cast<int>(SendMessageW(re_, EM_EXLINEFROMCHAR, 0, pos));
}

int RichEditLayout::lineLength(int pos) { return static_cast<int>(SendMessageW(re_, EM_LINELENGTH, pos, 0)); }

int RichEditLayout::lineIndex(int line) { return static_cast<int>(SendMessageW(re_, EM_LINEINDEX, line, 0)); }

std::wstring RichEditLayout::lineText(int line, std::size_t maxChars) {
    std::wstring buf(std::max<std::size_t>(maxChars, 2) + 1, L'\0');
    *reinterpret_cast<WORD*>(buf.data()) = static_cast<WORD>(std::min<std::size_t>(maxChars, 0xFFFF));
    LRESULT n = SendMessageW(re_, EM_GETLINE, line, reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return buf;
}

namespace {
CHARRANGE selection(HWND re) {
    CHARRANGE sel{};
    SendMessageW(re, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    return sel;
}
}  // namespace

Stats statistics(HWND re) {
    RichEditLayout layout(re);
    return ReferenceStatusFigures(layout, selection(re).cpMin);
}

void StatusTracker::keyStarting(HWND re, UINT msg, WPARAM key) {
    if (depth_++ > 0) return;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    // Only these change the text at the selection and nowhere else; undo,
    // redo and the program's own commands may change it anywhere.
    if (msg == WM_CHAR)
        atSelection_ = key >= 0x20 || key == L'\r' || key == L'\t' || key == L'\b';
    else if (msg == WM_KEYDOWN)
        atSelection_ = key == VK_DELETE || key == VK_BACK || key == VK_RETURN || (ctrl && (key == 'V' || key == 'X')) ||
                       (shift && key == VK_INSERT);
    else
        atSelection_ = false;
    changed_ = false;
    before_ = selection(re);
    lengthBefore_ = RichEditLayout(re).length();
}

void StatusTracker::keyDone(HWND re) {
    if (--depth_ > 0 || !changed_) return;
    changed_ = false;
    if (!atSelection_) {
        counter_.textChangedSomewhere();
        return;
    }
    // The edit replaced the old selection, or deleted next to it, and left
    // the caret after what it inserted.
    const int delta = RichEditLayout(re).length() - lengthBefore_;
    const int caret = selection(re).cpMin;
    const int from = std::min<int>(before_.cpMin, caret);
    int oldTo = std::max<int>(before_.cpMax, from + std::max(0, -delta));
    if (oldTo + delta < caret) oldTo = caret - delta;
    counter_.textReplaced(from, oldTo, oldTo + delta);
}

void StatusTracker::changeNotified() {
    if (depth_ > 0)
        changed_ = true;
    else
        counter_.textChangedSomewhere();
}

void StatusTracker::formatChanged(HWND re) {
    const CHARRANGE sel = selection(re);
    counter_.formatChanged(sel.cpMin, sel.cpMax);
}

std::optional<Stats> StatusTracker::refreshWithin(HWND re, std::chrono::milliseconds budget) {
    RichEditLayout layout(re);
    const auto until = std::chrono::steady_clock::now() + budget;
    return counter_.refreshWithin(layout, selection(re).cpMin, [until] { return std::chrono::steady_clock::now() < until; });
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
    return dateTimeText(st);
}

std::wstring dateTimeText(const SYSTEMTIME& st) {
    const RegionalFormats& f = regionalFormats();
    LocalTime t{st.wYear, st.wMonth, st.wDay, st.wDayOfWeek, st.wHour, st.wMinute, st.wSecond};
    return DateTimeText(f.shortDate, f.longTime, t, f.names);
}

}  // namespace tv::editor
