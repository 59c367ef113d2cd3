#include "text/core/Recovery.h"

#include <algorithm>
#include <cwctype>

namespace tv::recovery {

namespace {

// Folder (with its separator), stem and extension (with its dot) of a path.
struct Parts {
    std::wstring_view folder, stem, ext;
};
Parts split(std::wstring_view path) {
    const std::size_t sep = path.find_last_of(L"\\/:");
    const std::size_t start = sep == std::wstring_view::npos ? 0 : sep + 1;
    std::wstring_view file = path.substr(start);
    const std::size_t dot = file.rfind(L'.');
    if (dot == std::wstring_view::npos || dot == 0) return {path.substr(0, start), file, {}};
    return {path.substr(0, start), file.substr(0, dot), file.substr(dot)};
}

std::wstring digits(int v, int width) {
    std::wstring s = std::to_wstring(v < 0 ? 0 : v);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), L'0');
    return s;
}

bool sameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

bool allDigits(std::wstring_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

std::u16string units(std::string_view bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

void append(std::string& out, std::u16string_view text) {
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
}

// CR LF and LF as CR, the trailing paragraph marks left out.
std::u16string comparable(std::u16string_view t) {
    std::u16string out;
    out.reserve(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n') continue;
        out.push_back(t[i] == u'\n' ? u'\r' : t[i]);
    }
    while (!out.empty() && out.back() == u'\r') out.pop_back();
    return out;
}

bool blank(std::u16string_view t) {
    return std::all_of(t.begin(), t.end(), [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; });
}

// Groups whose contents are no text of the document.
bool destination(std::string_view word) {
    static constexpr std::string_view kWords[] = {
        "fonttbl",  "colortbl", "stylesheet", "info",   "pict",     "generator", "listtable", "listoverridetable",
        "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "rsidtbl", "mmathPr",
        "pgdsctbl", "object",   "header",     "footer", "headerl", "headerr",   "footerl",   "footerr",
        "fldinst",  "nonshppict", "shppict", "filetbl", "revtbl",  "author",    "operator",  "title",
    };
    return std::find(std::begin(kWords), std::end(kWords), word) != std::end(kWords);
}

bool rtfHoldsText(std::string_view d) {
    std::vector<bool> skip{false};
    bool groupStart = false;
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    for (std::size_t i = 0; i < d.size(); ++i) {
        const char c = d[i];
        if (c == '{') {
            skip.push_back(skip.back());
            groupStart = true;
            continue;
        }
        if (c == '}') {
            if (skip.size() > 1) skip.pop_back();
            groupStart = false;
            continue;
        }
        if (c == '\r' || c == '\n') continue;
        if (c != '\\') {
            if (!skip.back() && c != ' ' && c != '\t') return true;
            groupStart = false;
            continue;
        }
        if (i + 1 >= d.size()) break;
        const char n = d[i + 1];
        if (!isLetter(n)) {
            ++i;
            if (n == '*' && groupStart) skip.back() = true;
            else if (n == '\'' && !skip.back()) return true;  // a character by its code
            else if ((n == '{' || n == '}' || n == '\\') && !skip.back()) return true;
            continue;
        }
        std::size_t j = i + 1;
        while (j < d.size() && isLetter(d[j])) ++j;
        const std::string_view word = d.substr(i + 1, j - i - 1);
        std::size_t k = j;
        if (k < d.size() && d[k] == '-') ++k;
        const std::size_t numStart = k;
        while (k < d.size() && d[k] >= '0' && d[k] <= '9') ++k;
        long long number = 0;
        for (std::size_t m = numStart; m < k && m < numStart + 12; ++m) number = number * 10 + (d[m] - '0');
        if (k < d.size() && d[k] == ' ') ++k;  // the delimiter belongs to the word
        i = k - 1;
        if (groupStart && destination(word)) skip.back() = true;
        groupStart = false;
        if (word == "bin") {
            i += static_cast<std::size_t>(std::min<long long>(number, static_cast<long long>(d.size())));
            continue;
        }
        if (word == "u" && !skip.back()) return true;
    }
    return false;
}

}  // namespace

std::wstring SlotCopyName(std::wstring_view copy, int slot) {
    if (slot <= 1) return std::wstring(copy);
    const Parts p = split(copy);
    return std::wstring(p.folder) + std::wstring(p.stem) + L"-" + std::to_wstring(slot) + std::wstring(p.ext);
}

std::wstring MarkerName(std::wstring_view copy) { return std::wstring(copy) + L".run"; }

std::wstring KeptName(std::wstring_view copy, const Stamp& t, int serial) {
    const Parts p = split(copy);
    std::wstring name = std::wstring(p.folder) + std::wstring(p.stem) + L".kept-" + digits(t.year, 4) +
                        digits(t.month, 2) + digits(t.day, 2) + L"-" + digits(t.hour, 2) + digits(t.minute, 2) +
                        digits(t.second, 2);
    if (serial > 1) name += L"-" + std::to_wstring(serial);
    return name + std::wstring(p.ext);
}

std::wstring KeptPattern(std::wstring_view copy) {
    const Parts p = split(copy);
    return std::wstring(p.folder) + std::wstring(p.stem) + L".kept-*" + std::wstring(p.ext);
}

std::optional<std::wstring> KeptOrder(std::wstring_view fileName, std::wstring_view copy) {
    const Parts p = split(copy);
    const std::wstring prefix = std::wstring(p.stem) + L".kept-";
    if (fileName.size() < prefix.size() + p.ext.size() + 15) return std::nullopt;
    if (!sameText(fileName.substr(0, prefix.size()), prefix)) return std::nullopt;
    if (!sameText(fileName.substr(fileName.size() - p.ext.size()), p.ext)) return std::nullopt;
    std::wstring_view mid = fileName.substr(prefix.size(), fileName.size() - prefix.size() - p.ext.size());
    // YYYYMMDD-HHMMSS, then perhaps -N
    if (mid.size() < 15 || !allDigits(mid.substr(0, 8)) || mid[8] != L'-' || !allDigits(mid.substr(9, 6)))
        return std::nullopt;
    int serial = 1;
    if (mid.size() > 15) {
        if (mid[15] != L'-' || !allDigits(mid.substr(16)) || mid.size() > 16 + 6) return std::nullopt;
        serial = std::stoi(std::wstring(mid.substr(16)));
    }
    // Sorts as text: the time, then the serial at a fixed width.
    return std::wstring(mid.substr(0, 15)) + digits(serial, 6);
}

std::vector<std::wstring> KeptToDrop(const std::vector<std::wstring>& names, std::wstring_view copy, std::size_t keep) {
    std::vector<std::pair<std::wstring, std::wstring>> kept;
    for (const std::wstring& n : names)
        if (auto order = KeptOrder(n, copy)) kept.emplace_back(*order, n);
    std::sort(kept.begin(), kept.end());
    std::vector<std::wstring> drop;
    for (std::size_t i = 0; i + keep < kept.size(); ++i) drop.push_back(kept[i].second);
    return drop;
}

bool HoldsText(std::string_view bytes, DocFormat format) {
    if (format == DocFormat::Rtf) {
        const std::size_t i = bytes.find_first_not_of(" \t\r\n");
        if (i != std::string_view::npos && bytes.compare(i, 5, "{\\rtf") == 0) return rtfHoldsText(bytes.substr(i));
        // Not RTF: the copy is read as plain text, so it is judged as such.
    }
    std::string_view b = bytes;
    if (b.size() >= 3 && b.compare(0, 3, "\xEF\xBB\xBF") == 0) b.remove_prefix(3);
    else if (b.size() >= 2 && b.compare(0, 2, "\xFF\xFE") == 0) b.remove_prefix(2);
    return std::any_of(b.begin(), b.end(), [](char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\0'; });
}

std::string EncodeMarker(std::u16string_view documentName) {
    std::string out;
    append(out, kMarkerMagic);
    append(out, documentName);
    append(out, u"\n");
    return out;
}

std::optional<Marker> DecodeMarker(std::string_view bytes) {
    const std::u16string u = units(bytes);
    std::u16string_view v = u;
    if (v.substr(0, kMarkerMagic.size()) != kMarkerMagic) return std::nullopt;
    v.remove_prefix(kMarkerMagic.size());
    const std::size_t end = v.find(u'\n');
    if (end == std::u16string_view::npos) return std::nullopt;
    Marker m;
    m.documentName = std::u16string(v.substr(0, end));
    v.remove_prefix(end + 1);
    if (v.substr(0, kMarkerTextTag.size()) == kMarkerTextTag) m.crashText = std::u16string(v.substr(kMarkerTextTag.size()));
    return m;
}

bool ShouldOffer(bool uncleanEnd, std::u16string_view kept, const std::optional<std::u16string>& document) {
    if (!uncleanEnd || blank(kept)) return false;
    if (!document) return true;
    return comparable(kept) != comparable(*document);
}

std::wstring OfferText(std::wstring_view translated, std::wstring_view when) {
    std::wstring out(translated);
    const std::size_t at = out.find(L"%s");
    if (at != std::wstring::npos) out.replace(at, 2, when);
    return out;
}

}  // namespace tv::recovery
