// libFuzzer target for the file-name rules of documents: any name (from the
// command line or a dialog) gets a format, an extension inside it, and a
// Save As name that keeps what was chosen.
#include "FuzzCheck.h"
#include "text/core/DocumentFormat.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring name;
    for (std::size_t i = 0; i + 1 < size; i += 2) name.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));

    const std::wstring_view ext = tv::FileExtension(name);
    tv::fuzz::check(ext.empty() || (ext.data() >= name.data() && ext.data() + ext.size() == name.data() + name.size()));
    const tv::DocFormat f = tv::FormatForFileName(name);
    tv::fuzz::check(tv::OtherFormat(tv::OtherFormat(f)) == f && tv::OtherFormat(f) != f);

    // Save As adds ".rtf" to a name without a dot in its last part, and changes nothing else.
    const std::wstring saved = tv::SaveAsFileName(name);
    tv::fuzz::check(saved == name || (saved == name + L".rtf" && tv::FileExtension(saved) == L"rtf" &&
                                      tv::FormatForFileName(saved) == tv::DocFormat::Rtf));

    const std::wstring filter = tv::ToDialogFilter(name);
    tv::fuzz::check(filter.size() >= 2 && filter[filter.size() - 1] == 0 && filter[filter.size() - 2] == 0);
    return 0;
}
