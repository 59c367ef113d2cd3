#pragma once
// Reading and writing a rich edit's content as a document file.
#include "text/core/TextEncoding.h"
#include "widgets/Win.h"

#include <string>

namespace tv::documents {

// Reads a file into the editor in the format its name selects, trying the
// other format when that fails; the caret goes to the start. Returns how the
// text was encoded when it was read as plain text, Ansi when it was RTF.
// Throws Failure.
TextEncoding loadInto(HWND editor, const std::wstring& fileName);
// Writes the editor to fileName beside the old file and replaces it only once
// the whole document is on disk; plain text is written for a document read in
// `encoding` (EncodePlainText). Returns the encoding written (`encoding` for
// RTF). Throws Failure; the old file is then intact.
TextEncoding saveTo(HWND editor, const std::wstring& fileName, TextEncoding encoding);
// "Cannot create file "%s". %s"
std::wstring cannotCreate(const std::wstring& fileName, DWORD error);

}  // namespace tv::documents
