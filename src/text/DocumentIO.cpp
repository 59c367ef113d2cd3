#include "text/DocumentIO.h"

#include "i18n/Resources.h"
#include "text/core/DocumentFormat.h"
#include "text/core/ReplaceRetry.h"
#include "text/core/RtfContent.h"
#include "widgets/core/LongPath.h"
#include "widgets/Handles.h"
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

// `extra`: SF_UNICODE for text as UTF-16 units rather than ANSI bytes.
bool streamInto(HWND re, const std::string& data, DocFormat fmt, UINT extra = 0) {
    // The control would take anything as RTF; what is not RTF is a failed read.
    if (fmt == DocFormat::Rtf && !looksLikeRtf(data)) return false;
    Source src{&data};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&src), 0, streamIn};
    SendMessageW(re, EM_STREAMIN, (fmt == DocFormat::Rtf ? SF_RTF : SF_TEXT) | extra, reinterpret_cast<LPARAM>(&es));
    return es.dwError == 0;
}

std::string streamOutOf(HWND re, DocFormat fmt, UINT extra = 0) {
    std::string out;
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&out), 0, streamOut};
    SendMessageW(re, EM_STREAMOUT, (fmt == DocFormat::Rtf ? SF_RTF : SF_TEXT) | extra, reinterpret_cast<LPARAM>(&es));
    if (es.dwError != 0) throw Failure(resourceString(L"Failed to Save Stream"));
    return out;
}

// --- File bytes <-> document text. ----------------------------------------

class SystemAnsiCodePage : public AnsiCodePage {
public:
    std::optional<std::string> encode(std::u16string_view text) const override {
        if (text.empty()) return std::string();
        const auto* w = reinterpret_cast<const wchar_t*>(text.data());
        const int len = static_cast<int>(text.size());
        // Flags 0, as the control's own ANSI stream converts, so that text
        // that fits gives the very bytes it always did.
        int n = WideCharToMultiByte(CP_ACP, 0, w, len, nullptr, 0, nullptr, nullptr);
        if (n <= 0) return std::nullopt;
        std::string bytes(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(CP_ACP, 0, w, len, bytes.data(), n, nullptr, nullptr);
        // A best-fit or default character reads back as something else.
        int m = MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, nullptr, 0);
        std::wstring back(static_cast<std::size_t>(m > 0 ? m : 0), L'\0');
        if (m > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, back.data(), m);
        if (back.size() != text.size() || back.compare(0, back.size(), w, text.size()) != 0) return std::nullopt;
        return bytes;
    }
};

// Plain text into the editor: ANSI bytes go to the control as they always
// did; the Unicode encodings are decoded here and given as UTF-16.
bool readPlainText(HWND re, const std::string& data, TextEncoding& encoding) {
    encoding = DetectTextEncoding(data);
    if (encoding == TextEncoding::Ansi) return streamInto(re, data, DocFormat::PlainText);
    const std::u16string text = DecodeUnicodeText(data, encoding);
    const std::string units(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
    return streamInto(re, units, DocFormat::PlainText, SF_UNICODE);
}

// The bytes of the file: RTF as the control writes it up to its end, plain
// text in the document's encoding and with its line ends (`layout` then
// tells the encoding written).
std::string fileBytes(HWND re, DocumentLayout& layout) {
    if (layout.format == DocFormat::Rtf) return std::string(RtfFileBytes(streamOutOf(re, DocFormat::Rtf)));
    const std::string units = streamOutOf(re, DocFormat::PlainText, SF_UNICODE);
    std::u16string text(units.size() / sizeof(char16_t), u'\0');
    memcpy(text.data(), units.data(), text.size() * sizeof(char16_t));
    EncodedText out = EncodePlainText(WithLineEnds(text, layout.lineEnd), layout.encoding, SystemAnsiCodePage{});
    layout.encoding = out.encoding;
    return std::move(out.bytes);
}

// --- The replace step. ------------------------------------------------------

// Where a save must write: the file a symbolic link leads to, so the link
// stays a link and its target gets the text. The name itself when it does not
// exist yet or cannot be resolved.
std::wstring finalTarget(const std::wstring& name) {
    const std::wstring fileName = fileSystemPath(name);
    const KernelHandle file(CreateFileW(fileName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return fileName;
    const HANDLE h = file.get();
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(h, path.data(), static_cast<DWORD>(path.size()), VOLUME_NAME_DOS);
    if (n >= path.size()) {
        path.resize(n + 1);
        n = GetFinalPathNameByHandleW(h, path.data(), static_cast<DWORD>(path.size()), VOLUME_NAME_DOS);
    }
    if (n == 0 || n >= path.size()) return fileName;
    path.resize(n);
    return path;
}

// A temporary copy left by an interrupted save is of no use any more: the
// document is in the editor. Deleted rather than written over, so that a
// read-only leftover cannot block the save and a leftover that is a link to
// another file cannot carry the text there.
void clearLeftover(const std::wstring& temp) {
    SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(temp.c_str());
}

constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Writes bytes as the file `fileName`, all or nothing. An existing file is
// replaced with ReplaceFileW, which keeps its attributes, security descriptor
// and alternate streams. Hard links cannot be kept: a replace gives the name a
// new file, and the old file's other names keep the old text; writing into
// the old file instead would give up the guarantee that a failed save leaves
// the previous text intact.
void replaceFile(const std::wstring& fileName, const std::string& bytes) {
    const std::wstring target = finalTarget(fileName);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // Refused before anything is written, with the reason the old rename gave.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) throw Failure(cannotCreate(fileName, ERROR_ACCESS_DENIED));

    // Written beside the real file first, so a failure part-way never costs
    // the previous copy.
    // Its name can pass the classic limit where the document's does not.
    const std::wstring temp = ExtendedLengthPath(target + L".tvsave~");
    clearLeftover(temp);
    if (const std::wstring own = fileSystemPath(fileName); target != own) clearLeftover(own + L".tvsave~");
    bool ok;
    {
        const KernelHandle f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                         nullptr));
        if (!f) throw Failure(cannotCreate(fileName, GetLastError()));
        DWORD written = 0;
        ok = WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size() && FlushFileBuffers(f.get());
    }  // closed before the file is moved into place
    if (!ok) {
        DeleteFileW(temp.c_str());
        throw Failure(resourceString(L"Failed to Save Stream"));
    }
    if (!exists) {
        if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DWORD err = GetLastError();
            DeleteFileW(temp.c_str());
            throw Failure(cannotCreate(fileName, err));
        }
        return;
    }
    // The replace merges these itself; set here too for systems whose replace
    // does not (the replacement then already carries them).
    if (attributes & kKeptAttributes) SetFileAttributesW(temp.c_str(), attributes & kKeptAttributes);
    // Retried while someone holds the file for a moment; a plain move where
    // the file system has no replace (the attributes are on the copy already).
    const auto lastError = [](BOOL ok) { return ok ? 0ul : static_cast<unsigned long>(GetLastError()); };
    const DWORD err = ReplaceWithRetries(ReplaceSteps{
        [&] {
            return lastError(ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                          nullptr, nullptr));
        },
        [&] {
            return lastError(
                MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
        },
        [](int ms) { Sleep(static_cast<DWORD>(ms)); }});
    if (err != 0) {
        // When the old file is already gone the new one is the only copy: it
        // must reach the name, or stay where it is.
        if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES &&
            MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
            return;
        if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) clearLeftover(temp);
        throw Failure(cannotCreate(fileName, err));
    }
}

}  // namespace

std::wstring cannotCreate(const std::wstring& name, DWORD err) {
    return L"Cannot create file \"" + name + L"\". " + systemErrorText(err);
}

LoadedDocument loadInto(HWND re, const std::wstring& fileName) {
    std::string data = readWholeFile(fileName);
    LoadedDocument doc;
    auto read = [&](DocFormat f) {
        doc.layout = DocumentLayout{f};
        if (f == DocFormat::Rtf) return streamInto(re, data, f);
        if (!readPlainText(re, data, doc.layout.encoding)) return false;
        doc.layout.lineEnd = DetectLineEnd(data, doc.layout.encoding);
        return true;
    };
    const DocFormat fmt = FormatForFileName(fileName);
    if (!read(fmt) && !read(OtherFormat(fmt))) throw Failure(resourceString(L"Failed to Load Stream"));
    if (doc.layout.format == DocFormat::Rtf) doc.lostParts = RtfLostParts(data);
    CHARRANGE start{0, 0};
    SendMessageW(re, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    SendMessageW(re, EM_SCROLLCARET, 0, 0);
    return doc;
}

std::optional<ReadAside> readAside(HWND like, const std::wstring& fileName) {
    wchar_t cls[64] = {};
    GetClassNameW(like, cls, 64);
    const HWND re = CreateWindowExW(0, cls, L"", ES_MULTILINE, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    if (!re) return std::nullopt;
    std::optional<ReadAside> read;
    try {
        SendMessageW(re, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
        LoadedDocument doc = loadInto(re, fileName);
        read = ReadAside{windowText(re), doc};
    } catch (const Failure&) {
    }
    DestroyWindow(re);
    return read;
}

DocumentLayout saveTo(HWND re, const std::wstring& fileName, DocumentLayout layout) {
    std::string bytes = fileBytes(re, layout);
    replaceFile(fileName, bytes);
    return layout;
}

}  // namespace tv::documents
