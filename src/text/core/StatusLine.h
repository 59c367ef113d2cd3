#pragma once
// Texts and figures of the text window's status line. The editor is reached
// only through values and a line source, so the Win32 side feeds it from the
// rich edit (EM_EXGETSEL, EM_LINEFROMCHAR, EM_LINEINDEX, EM_GETLINE).
#include <cstddef>
#include <string>
#include <string_view>

#include "text/core/WordCount.h"

namespace tv {

// A display line is counted on at most this many characters.
inline constexpr std::size_t kMaxCountedLineChars = 4096;

// Panel 1: "linea/lineas : columna", e.g. "3/12 : 17".
std::wstring LinePanelText(int linea, int lineas, int columna);
// Panel 2: "Words: " + palabras.
std::wstring WordsPanelText(int palabras);
// Panel 4: "File name: " + the document's full path (nothing after it when unnamed).
std::wstring FileNamePanelText(std::wstring_view fileName);

struct LineColumn {
    int linea;    // display line of the selection start, from 1
    int columna;  // position within that display line, from 1
};

// selStart: first selected position; lineOfStart: display line holding it
// (from 0); startOfLine: position of that line's first character.
LineColumn CaretLineColumn(int selStart, int lineOfStart, int startOfLine);

// A display line's text as counted: without its trailing CR LF or CR, then cut
// to its first kMaxCountedLineChars characters.
std::wstring_view CountedLineText(std::wstring_view line);

// Word total of a document of lineCount display lines. lineText(i) gives the
// text of display line i (0 <= i < lineCount); the view need only stay valid
// until the next call, so the caller can reuse one buffer, and it may be cut
// after kMaxCountedLineChars characters since nothing further is counted. The
// last display line is left out when empty (a document ending in a paragraph
// break); it would add no words anyway.
template <class LineSource>
int DocumentWordsCount(int lineCount, LineSource&& lineText) {
    int total = 0;
    for (int i = 0; i < lineCount; ++i) {
        const std::wstring_view text = CountedLineText(lineText(i));
        if (i == lineCount - 1 && text.empty()) break;
        total += WordsCount(text);
    }
    return total;
}

}  // namespace tv
