#pragma once
// What the program asks of the rich edit: formats, statistics, insertion.
#include "widgets/Win.h"

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
void followSelection(HWND re);  // the style switches follow the caret

struct Stats {
    int linea = 1, columna = 1, lineas = 1, palabras = 0;
};
Stats statistics(HWND re);

// Current local date and time in the user's short date and long time formats.
std::wstring dateTimeNow();

}  // namespace tv::editor
