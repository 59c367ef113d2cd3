#pragma once
// Document file formats, chosen from the file name, and the file dialogs'
// filters.
#include "text/core/TextEncoding.h"

#include <string>
#include <string_view>

namespace tv {

enum class DocFormat { Rtf, PlainText };

// Filters in the '|' form: description|pattern|description|pattern...
inline constexpr std::wstring_view kOpenFilter =
    L"RTF Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
inline constexpr std::wstring_view kSaveAsFilter =
    L"RTF Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt";

// What follows the last dot after the last '\\', '/' or ':'; empty when there
// is no such dot.
std::wstring_view FileExtension(std::wstring_view fileName);

// ".txt" in any case gives plain text; every other extension, or none, RTF.
DocFormat FormatForFileName(std::wstring_view fileName);

// How a document is kept in its file, as it was read: a save writes it back
// the same way, whatever its name says.
struct DocumentLayout {
    DocFormat format = DocFormat::Rtf;
    TextEncoding encoding = TextEncoding::Ansi;  // plain text only
    LineEnd lineEnd = LineEnd::CrLf;             // plain text only
};

// What Save As writes under a new name: the format that name selects, the
// text's encoding and line ends as they were.
DocumentLayout LayoutForName(const DocumentLayout& current, std::wstring_view fileName);

// The format of the second read attempt.
DocFormat OtherFormat(DocFormat format);

// The name Save As writes: ".rtf" appended when the chosen name has no dot
// after its last path separator.
std::wstring SaveAsFileName(std::wstring_view chosen);

// The '|' form turned into the common dialogs' form: every '|' a NUL, and two
// NULs at the end, both inside the returned string.
std::wstring ToDialogFilter(std::wstring_view filter);

}  // namespace tv
