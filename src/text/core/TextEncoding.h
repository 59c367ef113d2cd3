#pragma once
// How a plain-text document's characters are laid out as bytes, recognised
// when a file is read and kept when it is written back, so that a save never
// loses a character the file held. Portable: the system's ANSI code page is
// reached through AnsiCodePage.
#include <optional>
#include <string>
#include <string_view>

namespace tv {

enum class TextEncoding {
    Ansi,        // the system's ANSI code page, no mark (also: new documents, RTF)
    Utf8,        // UTF-8 without a byte-order mark
    Utf8Bom,     // UTF-8 with EF BB BF
    Utf16LeBom,  // UTF-16 little endian with FF FE
};

// The encoding a plain-text file's bytes are read in: a UTF-8 or UTF-16 LE
// byte-order mark names its own; bytes without a mark that are valid UTF-8 and
// hold at least one non-ASCII byte are UTF-8; everything else is ANSI, as
// plain text always was. A UTF-16 mark on an odd number of bytes is no
// UTF-16, and a UTF-8 mark over bytes that are not valid UTF-8 no UTF-8:
// those bytes are read as ANSI, so none is dropped or changed.
TextEncoding DetectTextEncoding(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The text of a file in one of the Unicode encodings, the mark left out.
// Not for Ansi (the code page is the platform's). Bytes that are not valid
// in the encoding become U+FFFD; DetectTextEncoding never picks such a case.
std::u16string DecodeUnicodeText(std::string_view bytes, TextEncoding encoding);

// The system's ANSI code page.
class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    // The bytes of text, or nothing when some character has no exact byte in
    // the code page (a best-fit or default character would change the text).
    virtual std::optional<std::string> encode(std::u16string_view text) const = 0;
};

struct EncodedText {
    std::string bytes;
    TextEncoding encoding = TextEncoding::Ansi;  // what the bytes are in
};

// The file bytes of a plain-text document read in `origin`: written back the
// same way, except that a document from ANSI (or a new one) whose characters
// do not all fit the code page becomes UTF-8 with a mark rather than lose them.
EncodedText EncodePlainText(std::u16string_view text, TextEncoding origin, const AnsiCodePage& ansi);

// UTF-8 of UTF-16 text; an unpaired surrogate, which UTF-8 cannot hold,
// becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

// How a plain-text file ends its lines: kept when the file is written back,
// so that a save changes only what the writer changed.
enum class LineEnd {
    CrLf,  // the system's own, and that of new documents
    Lf,
    Cr,
};

// The line end of a plain-text file: the first one in it (a file that mixes
// them takes its first); CR LF for a file without any.
LineEnd DetectLineEnd(std::string_view bytes, TextEncoding encoding);

// The editor's plain text, whose paragraphs end in CR LF (a lone CR counts
// the same), with each paragraph end made `lineEnd`. A lone LF, which is no
// paragraph end, stays.
std::u16string WithLineEnds(std::u16string_view text, LineEnd lineEnd);

// What the editor's RTF stream gives, cut where the RTF ends: the stream may
// end with a NUL terminator, which is no part of the file.
std::string_view RtfFileBytes(std::string_view streamed);

}  // namespace tv
