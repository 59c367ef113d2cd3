#pragma once
// What the program asks of the rich edit: formats, statistics, insertion.
#include "widgets/Win.h"

#include "text/core/StatusLine.h"

#include <string>

namespace tv::editor {

void setup(HWND re);
void setColours(HWND re, COLORREF text, COLORREF background);
void selectAll(HWND re);
DWORD selectionEffects(HWND re);
void toggleEffect(HWND re, DWORD effect);  // bold, italic or underline over the selection
void setFace(HWND re, const wchar_t* face);
void setPointSize(HWND re, int points);
void insertaTexto(HWND re, const std::wstring& text);

LineColumn caret(HWND re);  // display line and column of the selection start, from 1
int lineCount(HWND re);     // display lines; an empty editor has one
int wordCount(HWND re, int lines);  // words over the display lines

struct Stats {
    int linea = 1, columna = 1, lineas = 1, palabras = 0;
};
Stats statistics(HWND re);

// Current local date and time in the user's short date and long time formats.
std::wstring dateTimeNow();
// Reads the user's formats now, at start-up, so later changes do not apply.
void readRegionalFormats();

}  // namespace tv::editor
