#include "text/core/TextEncoding.h"

namespace tv {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr char16_t kReplacement = 0xFFFD;

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// One UTF-8 sequence at s[i]: its code point and length, or length 0 when it
// is not well formed.
struct Decoded {
    char32_t cp = 0;
    std::size_t length = 0;
};

Decoded decodeUtf8At(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) return {b0, 1};
    std::size_t n;
    char32_t cp, min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return {};
    }
    if (i + n > s.size()) return {};
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) return {};
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
    return {cp, n};
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::u16string decodeUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const Decoded d = decodeUtf8At(s, i);
        if (d.length == 0) {
            out.push_back(kReplacement);
            ++i;
        } else {
            appendUtf16(out, d.cp);
            i += d.length;
        }
    }
    return out;
}

std::u16string decodeUtf16Le(std::string_view s) {
    std::u16string out;
    out.reserve(s.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < s.size(); i += 2)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(s[i]) |
                                            (static_cast<unsigned char>(s[i + 1]) << 8)));
    if (s.size() % 2) out.push_back(kReplacement);
    return out;
}

std::string utf16LeBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = decodeUtf8At(bytes, i).length;
        if (n == 0) return false;
        i += n;
    }
    return true;
}

TextEncoding DetectTextEncoding(std::string_view bytes) {
    // A mark over bytes that are no UTF-8 is no UTF-8 either: read as UTF-8, the
    // broken bytes would become U+FFFD and the save would write other bytes.
    if (startsWith(bytes, kUtf8Bom) && IsValidUtf8(bytes.substr(kUtf8Bom.size()))) return TextEncoding::Utf8Bom;
    if (startsWith(bytes, kUtf16LeBom) && bytes.size() % 2 == 0) return TextEncoding::Utf16LeBom;
    bool nonAscii = false;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            nonAscii = true;
            break;
        }
    // Pure ASCII reads the same either way; it stays ANSI so that a later
    // character outside the code page gets a mark rather than an unmarked
    // file other programs would take for ANSI.
    return nonAscii && IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

std::u16string DecodeUnicodeText(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return decodeUtf8(startsWith(bytes, kUtf8Bom) ? bytes.substr(kUtf8Bom.size()) : bytes);
    case TextEncoding::Utf16LeBom:
        return decodeUtf16Le(startsWith(bytes, kUtf16LeBom) ? bytes.substr(kUtf16LeBom.size()) : bytes);
    case TextEncoding::Utf8:
    case TextEncoding::Ansi:  // not ours to decode; UTF-8 is the closest portable reading
        break;
    }
    return decodeUtf8(bytes);
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t{c} - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

EncodedText EncodePlainText(std::u16string_view text, TextEncoding origin, const AnsiCodePage& ansi) {
    switch (origin) {
    case TextEncoding::Utf8: return {Utf8FromUtf16(text), TextEncoding::Utf8};
    case TextEncoding::Utf8Bom: return {std::string(kUtf8Bom) + Utf8FromUtf16(text), TextEncoding::Utf8Bom};
    case TextEncoding::Utf16LeBom:
        return {std::string(kUtf16LeBom) + utf16LeBytes(text), TextEncoding::Utf16LeBom};
    case TextEncoding::Ansi: break;
    }
    if (std::optional<std::string> bytes = ansi.encode(text)) return {std::move(*bytes), TextEncoding::Ansi};
    return {std::string(kUtf8Bom) + Utf8FromUtf16(text), TextEncoding::Utf8Bom};
}

LineEnd DetectLineEnd(std::string_view bytes, TextEncoding encoding) {
    // CR and LF are single bytes in UTF-8 and in every ANSI code page (no
    // trail byte of a double-byte one is below 0x40); UTF-16 is read as text.
    std::u16string wide;
    if (encoding == TextEncoding::Utf16LeBom) {
        wide = DecodeUnicodeText(bytes, encoding);
    } else {
        wide.reserve(bytes.size());
        for (char c : bytes) wide.push_back(static_cast<unsigned char>(c));
    }
    const std::size_t at = wide.find_first_of(u"\r\n");
    if (at == std::u16string::npos) return LineEnd::CrLf;
    if (wide[at] == u'\n') return LineEnd::Lf;
    return at + 1 < wide.size() && wide[at + 1] == u'\n' ? LineEnd::CrLf : LineEnd::Cr;
}

std::u16string WithLineEnds(std::u16string_view text, LineEnd lineEnd) {
    if (lineEnd == LineEnd::CrLf) return std::u16string(text);
    const char16_t end = lineEnd == LineEnd::Lf ? u'\n' : u'\r';
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            out.push_back(end);
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string_view RtfFileBytes(std::string_view streamed) {
    std::size_t end = streamed.size();
    while (end > 0 && streamed[end - 1] == '\0') --end;
    return streamed.substr(0, end);
}

}  // namespace tv
