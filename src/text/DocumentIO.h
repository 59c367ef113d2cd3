#pragma once
// Reading and writing a rich edit's content as a document file.
#include "text/core/DocumentFormat.h"
#include "widgets/Win.h"

#include <optional>
#include <string>

namespace tv::documents {

struct LoadedDocument {
    DocumentLayout layout;   // how it was read, and so how a save writes it
    unsigned lostParts = 0;  // RtfPart bits the editor did not take from the file
};

// Reads a file into the editor in the format its name selects, trying the
// other format when that fails; the caret goes to the start. Throws Failure.
LoadedDocument loadInto(HWND editor, const std::wstring& fileName);
// A file read as loadInto reads it, into an editor of `like`'s kind that
// nobody sees: the text it shows and how it is kept. Nothing when it cannot
// be read.
struct ReadAside {
    std::wstring text;
    LoadedDocument doc;
};
std::optional<ReadAside> readAside(HWND like, const std::wstring& fileName);
// Writes the editor to fileName beside the old file and replaces it only once
// the whole document is on disk, in `layout` (plain text: EncodePlainText).
// Returns the layout written (its encoding may have become a Unicode one).
// Throws Failure; the old file is then intact.
DocumentLayout saveTo(HWND editor, const std::wstring& fileName, DocumentLayout layout);
// "Cannot create file "%s". %s"
std::wstring cannotCreate(const std::wstring& fileName, DWORD error);

}  // namespace tv::documents
