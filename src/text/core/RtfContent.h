#pragma once
// What of an RTF file the rich edit control cannot keep: parts it drops when
// it reads the file, so that writing the file back would leave them out.
// Portable, and made for any bytes at all: one pass, no recursion, bounded
// work per byte.
#include <string>
#include <string_view>
#include <vector>

namespace tv {

// Each part the control is known to drop; a bit set of them.
enum RtfPart : unsigned {
    kRtfFootnotes = 1u << 0,       // {\footnote ...}
    kRtfEndnotes = 1u << 1,        // {\footnote\ftnalt ...}
    kRtfComments = 1u << 2,        // {\*\annotation ...}
    kRtfHeadersFooters = 1u << 3,  // {\header ...}, {\footerf ...} and their kin
    kRtfFields = 1u << 4,          // {\field ...} other than a link (HYPERLINK), which the control keeps
    kRtfDrawings = 1u << 5,        // {\shp ...}, {\do ...}: drawing objects and text boxes
};

// The parts an RTF text holds that the control drops. A destination counts
// where it opens a group ("{\footnote", "{\*\annotation"), as RTF writers put
// them; the same word elsewhere is no such part.
unsigned RtfLostParts(std::string_view rtf);

// The name the original of such a document is kept under before its first
// save replaces it: "chapter.rtf" gives "chapter.original.rtf", a name
// without an extension gets ".original"; `n` above 1 numbers a further
// choice ("chapter.original-2.rtf") for when that name is taken.
std::wstring OriginalCopyName(std::wstring_view fileName, int n = 1);

// A text with each "%s" replaced by the next of `values`, in order; a "%s"
// beyond them stays as it is.
std::wstring FillIn(std::wstring_view pattern, const std::vector<std::wstring>& values);

}  // namespace tv
