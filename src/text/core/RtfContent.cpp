#include "text/core/RtfContent.h"

#include <array>

namespace tv {
namespace {

// RTF keeps a control word to 32 letters and its parameter to a signed
// 16-bit value in practice; longer ones are read to their end but not kept.
constexpr std::size_t kMaxWord = 32;
constexpr std::size_t kMaxDigits = 10;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct Destination {
    std::string_view word;
    unsigned part;
};

constexpr std::array<Destination, 12> kDropped{{
    {"footnote", kRtfFootnotes},  // an endnote when \ftnalt follows
    {"annotation", kRtfComments},
    {"header", kRtfHeadersFooters},
    {"headerl", kRtfHeadersFooters},
    {"headerr", kRtfHeadersFooters},
    {"headerf", kRtfHeadersFooters},
    {"footer", kRtfHeadersFooters},
    {"footerl", kRtfHeadersFooters},
    {"footerr", kRtfHeadersFooters},
    {"footerf", kRtfHeadersFooters},
    {"shp", kRtfDrawings},
    {"do", kRtfDrawings},
}};

constexpr std::string_view kLink = "HYPERLINK";

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
    return true;
}

unsigned droppedPart(std::string_view word) {
    for (const Destination& d : kDropped)
        if (d.word == word) return d.part;
    return 0;
}

}  // namespace

unsigned RtfLostParts(std::string_view s) {
    unsigned parts = 0;
    // True from a '{' until the group's first control word or text; "\*"
    // keeps it, as it only marks the destination that follows as optional.
    bool groupStart = false;
    // A footnote just opened, whose kind the control words right after it
    // tell (\ftnalt: an endnote).
    bool noteOpen = false;
    auto closeNote = [&] {
        if (noteOpen) parts |= kRtfFootnotes;
        noteOpen = false;
    };
    // A field's kind is the first word of its instruction ({\*\fldinst
    // HYPERLINK "..."}): `field` from {\field to its {\fldinst, `instruction`
    // while that word is read, in `kind`.
    bool field = false, instruction = false;
    std::string kind;
    auto fieldKind = [&] {
        if (instruction && !sameLetters(kind, kLink)) parts |= kRtfFields;
        instruction = false;
        kind.clear();
    };
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const char c = s[i];
        if (c == '{') {
            closeNote();
            if (!kind.empty()) fieldKind();
            groupStart = true;
            ++i;
        } else if (c == '}') {
            closeNote();
            fieldKind();
            groupStart = false;
            ++i;
        } else if (c == '\r' || c == '\n') {
            ++i;  // no text in RTF
        } else if (c != '\\') {
            closeNote();
            groupStart = false;
            if (instruction) {
                if (isLetter(c) && kind.size() <= kLink.size())
                    kind.push_back(c);
                else if (c != ' ' || !kind.empty())
                    fieldKind();
            }
            ++i;
        } else if (i + 1 >= n) {
            ++i;
        } else if (!isLetter(s[i + 1])) {
            // A control symbol: "\*" keeps the group's start, "\'hh" is a
            // character, the others are text too.
            const char sym = s[i + 1];
            i += 2;
            if (sym == '*') continue;
            if (sym == '\'') i += (n - i < 2 ? n - i : 2);
            closeNote();
            if (instruction) fieldKind();
            groupStart = false;
        } else {
            std::size_t start = ++i;
            while (i < n && isLetter(s[i])) ++i;
            const std::string_view word = s.substr(start, i - start);
            bool negative = false;
            if (i < n && s[i] == '-') {
                negative = true;
                ++i;
            }
            unsigned long long value = 0;
            std::size_t digits = 0;
            while (i < n && isDigit(s[i])) {
                if (digits++ < kMaxDigits) value = value * 10 + static_cast<unsigned>(s[i] - '0');
                ++i;
            }
            if (i < n && s[i] == ' ') ++i;  // the delimiter belongs to the word
            if (word.size() > kMaxWord) {
                closeNote();
                groupStart = false;
                continue;
            }
            if (noteOpen && word == "ftnalt") {
                parts |= kRtfEndnotes;
                noteOpen = false;
            }
            if (instruction && !kind.empty()) fieldKind();
            if (groupStart) {
                const unsigned part = droppedPart(word);
                if (part == kRtfFootnotes)
                    noteOpen = true;
                else
                    parts |= part;
                if (word == "field") field = true;
                if (word == "fldinst" && field) {
                    field = false;
                    instruction = true;
                    kind.clear();
                }
            }
            groupStart = false;
            if (word == "bin" && !negative && digits > 0) {
                // Binary data: its bytes are no RTF and may hold anything.
                closeNote();
                i += value < n - i ? static_cast<std::size_t>(value) : n - i;
            }
        }
    }
    closeNote();
    fieldKind();
    return parts;
}

std::wstring OriginalCopyName(std::wstring_view fileName, int n) {
    const std::size_t sep = fileName.find_last_of(L"\\/:");
    const std::size_t nameStart = sep == std::wstring_view::npos ? 0 : sep + 1;
    std::size_t dot = fileName.rfind(L'.');
    // A dot that starts the name (".rtf") or lies in a folder is no extension.
    if (dot == std::wstring_view::npos || dot <= nameStart) dot = fileName.size();
    std::wstring out(fileName.substr(0, dot));
    out += L".original";
    if (n > 1) out += L"-" + std::to_wstring(n);
    out += fileName.substr(dot);
    return out;
}

std::wstring FillIn(std::wstring_view pattern, const std::vector<std::wstring>& values) {
    std::wstring out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] == L's' && next < values.size()) {
            out += values[next++];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace tv
