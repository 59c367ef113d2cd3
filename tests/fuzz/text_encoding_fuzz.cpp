// libFuzzer target for plain-text reading and writing: any bytes get an
// encoding; what is read back from a Unicode encoding is written as the same
// text; and a document's text survives its save in the encoding it came in.
#include "FuzzCheck.h"
#include "text/core/TextEncoding.h"

#include "../support/Latin1CodePage.h"

#include <string>

namespace {

using tv::TextEncoding;

using tv::test::Latin1;

std::u16string fromLatin1(std::string_view bytes) {
    std::u16string out;
    for (unsigned char c : bytes) out.push_back(c);
    return out;
}

// The text a file's bytes hold, read as the program reads them.
std::u16string textOf(std::string_view bytes, TextEncoding e) {
    return e == TextEncoding::Ansi ? fromLatin1(bytes) : tv::DecodeUnicodeText(bytes, e);
}

bool hasUnpairedSurrogate(std::u16string_view t) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] >= 0xD800 && t[i] <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF) {
            ++i;
            continue;
        }
        if (t[i] >= 0xD800 && t[i] <= 0xDFFF) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(tv::fuzz::bytes(data, size));
    const TextEncoding e = tv::DetectTextEncoding(file);
    const std::u16string text = textOf(file, e);
    if (e == TextEncoding::Utf8) tv::fuzz::check(tv::IsValidUtf8(file));

    // Valid UTF-8 decodes and encodes back to the same bytes.
    if (tv::IsValidUtf8(file))
        tv::fuzz::check(tv::Utf8FromUtf16(tv::DecodeUnicodeText(file, TextEncoding::Utf8)) == file);
    // Any bytes as UTF-16: the decoder must stay inside them.
    tv::DecodeUnicodeText(file, TextEncoding::Utf16LeBom);
    tv::DecodeUnicodeText(file, TextEncoding::Utf8Bom);

    // A save writes what was read (an unpaired surrogate excepted where it goes to UTF-8,
    // which cannot hold it).
    const Latin1 ansi;
    if (e == TextEncoding::Utf16LeBom || !hasUnpairedSurrogate(text)) {
        const tv::EncodedText saved = tv::EncodePlainText(text, e, ansi);
        tv::fuzz::check(textOf(saved.bytes, saved.encoding) == text);
        if (saved.encoding == e && e != TextEncoding::Ansi) tv::fuzz::check(saved.bytes == file);
    }

    const std::string_view rtf = tv::RtfFileBytes(file);
    tv::fuzz::check(rtf.size() <= file.size() && file.compare(0, rtf.size(), rtf) == 0);
    return 0;
}
