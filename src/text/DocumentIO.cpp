#include "text/DocumentIO.h"

#include "i18n/Resources.h"
#include "text/core/DocumentFormat.h"
#include "widgets/Win.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace tv::documents {

namespace {

struct Source {
    const std::string* data;
    std::size_t pos = 0;
};

DWORD CALLBACK streamIn(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* done) {
    auto* s = reinterpret_cast<Source*>(cookie);
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(cb), s->data->size() - s->pos);
    memcpy(buf, s->data->data() + s->pos, n);
    s->pos += n;
    *done = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK streamOut(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* done) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(cb));
    *done = cb;
    return 0;
}

bool looksLikeRtf(const std::string& d) {
    std::size_t i = d.find_first_not_of(" \t\r\n");
    return i != std::string::npos && d.compare(i, 5, "{\\rtf") == 0;
}

bool streamInto(HWND re, const std::string& data, DocFormat fmt) {
    // The control would take anything as RTF; what is not RTF is a failed read.
    if (fmt == DocFormat::Rtf && !looksLikeRtf(data)) return false;
    Source src{&data};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&src), 0, streamIn};
    SendMessageW(re, EM_STREAMIN, fmt == DocFormat::Rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&es));
    return es.dwError == 0;
}

std::string streamOutOf(HWND re, DocFormat fmt) {
    std::string out;
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&out), 0, streamOut};
    SendMessageW(re, EM_STREAMOUT, fmt == DocFormat::Rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&es));
    if (es.dwError != 0) throw Failure(resourceString(L"Failed to Save Stream"));
    return out;
}

}  // namespace

std::wstring cannotCreate(const std::wstring& name, DWORD err) {
    return L"Cannot create file \"" + name + L"\". " + systemErrorText(err);
}

void loadInto(HWND re, const std::wstring& fileName) {
    std::string data = readWholeFile(fileName);
    DocFormat fmt = FormatForFileName(fileName);
    if (!streamInto(re, data, fmt) && !streamInto(re, data, OtherFormat(fmt)))
        throw Failure(resourceString(L"Failed to Load Stream"));
    CHARRANGE start{0, 0};
    SendMessageW(re, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    SendMessageW(re, EM_SCROLLCARET, 0, 0);
}

void saveTo(HWND re, const std::wstring& fileName) {
    std::string bytes = streamOutOf(re, FormatForFileName(fileName));
    // Written beside the old file first, so a failure part-way never costs the
    // previous copy.
    std::wstring temp = fileName + L".tvsave~";
    HANDLE f = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw Failure(cannotCreate(fileName, GetLastError()));
    DWORD written = 0;
    bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && FlushFileBuffers(f);
    CloseHandle(f);
    if (!ok) {
        DeleteFileW(temp.c_str());
        throw Failure(resourceString(L"Failed to Save Stream"));
    }
    if (!MoveFileExW(temp.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD err = GetLastError();
        DeleteFileW(temp.c_str());
        throw Failure(cannotCreate(fileName, err));
    }
}

}  // namespace tv::documents
