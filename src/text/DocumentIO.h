#pragma once
// Reading and writing a rich edit's content as a document file.
#include "widgets/Win.h"

#include <string>

namespace tv::documents {

// Reads a file into the editor in the format its name selects, trying the
// other format when that fails; the caret goes to the start. Throws Failure.
void loadInto(HWND editor, const std::wstring& fileName);
// Writes the editor to fileName beside the old file and replaces it only once
// the whole document is on disk. Throws Failure; the old file is then intact.
void saveTo(HWND editor, const std::wstring& fileName);
// "Cannot create file "%s". %s"
std::wstring cannotCreate(const std::wstring& fileName, DWORD error);

}  // namespace tv::documents
