#include "text/core/DocumentFormat.h"

namespace tv {
namespace {

std::wstring_view lastComponent(std::wstring_view fileName) {
    const std::size_t sep = fileName.find_last_of(L"\\/:");
    return sep == std::wstring_view::npos ? fileName : fileName.substr(sep + 1);
}

bool hasDot(std::wstring_view fileName) {
    return lastComponent(fileName).find(L'.') != std::wstring_view::npos;
}

}  // namespace

std::wstring_view FileExtension(std::wstring_view fileName) {
    const std::wstring_view name = lastComponent(fileName);
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring_view::npos ? std::wstring_view{} : name.substr(dot + 1);
}

DocFormat FormatForFileName(std::wstring_view fileName) {
    const std::wstring_view ext = FileExtension(fileName);
    if (ext.size() != 3) return DocFormat::Rtf;
    // ASCII folding is enough: the letters compared are t, x, t.
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c; };
    const bool txt = lower(ext[0]) == L't' && lower(ext[1]) == L'x' && lower(ext[2]) == L't';
    return txt ? DocFormat::PlainText : DocFormat::Rtf;
}

DocumentLayout LayoutForName(const DocumentLayout& current, std::wstring_view fileName) {
    DocumentLayout out = current;
    out.format = FormatForFileName(fileName);
    return out;
}

DocFormat OtherFormat(DocFormat format) {
    return format == DocFormat::Rtf ? DocFormat::PlainText : DocFormat::Rtf;
}

std::wstring SaveAsFileName(std::wstring_view chosen) {
    std::wstring name(chosen);
    if (!hasDot(chosen)) name += L".rtf";
    return name;
}

std::wstring ToDialogFilter(std::wstring_view filter) {
    std::wstring out(filter);
    for (wchar_t& c : out)
        if (c == L'|') c = L'\0';
    out.append(2, L'\0');
    return out;
}

}  // namespace tv
