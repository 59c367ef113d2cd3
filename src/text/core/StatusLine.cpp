#include "text/core/StatusLine.h"

namespace tv {

std::wstring LinePanelText(int linea, int lineas, int columna) {
    return std::to_wstring(linea) + L'/' + std::to_wstring(lineas) + L" : " +
           std::to_wstring(columna);
}

std::wstring WordsPanelText(int palabras) { return L"Words: " + std::to_wstring(palabras); }

std::wstring FileNamePanelText(std::wstring_view fileName) {
    std::wstring text = L"File name: ";
    text += fileName;
    return text;
}

LineColumn CaretLineColumn(int selStart, int lineOfStart, int startOfLine) {
    return {lineOfStart + 1, selStart - startOfLine + 1};
}

std::wstring_view CountedLineText(std::wstring_view line) {
    if (line.ends_with(L"\r\n"))
        line.remove_suffix(2);
    else if (line.ends_with(L'\r'))
        line.remove_suffix(1);
    return line.substr(0, kMaxCountedLineChars);
}

}  // namespace tv
