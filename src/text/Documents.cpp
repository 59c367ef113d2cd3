#include "text/Documents.h"

#include "i18n/Resources.h"
#include "settings/Configuracion.h"
#include "text/ContenidoTexto.h"
#include "text/core/DocumentFormat.h"
#include "workspace/Principal.h"

#include <commdlg.h>
#include <richedit.h>
#include <shellapi.h>

#include <vector>

namespace tv::documents {

std::wstring sFicheroNombre;

namespace {

HWND editor() { return fContenidoTexto->rtText.hwnd; }

std::wstring cannotOpen(const std::wstring& name, DWORD err) {
    return L"Cannot open file \"" + name + L"\". " + systemErrorText(err);
}
std::wstring cannotCreate(const std::wstring& name, DWORD err) {
    return L"Cannot create file \"" + name + L"\". " + systemErrorText(err);
}

std::string readFile(const std::wstring& name) {
    HANDLE f = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw Failure(cannotOpen(name, GetLastError()));
    std::string data;
    LARGE_INTEGER size{};
    DWORD got = 0;
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart < 0x7FFFFFFF;
    if (ok) {
        data.resize(static_cast<std::size_t>(size.QuadPart));
        ok = data.empty() || (ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) &&
                              got == data.size());
    }
    DWORD err = GetLastError();
    CloseHandle(f);
    if (!ok) throw Failure(cannotOpen(name, err));
    return data;
}

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

bool streamInto(const std::string& data, DocFormat fmt) {
    // The control would take anything as RTF; what is not RTF is a failed read.
    if (fmt == DocFormat::Rtf && !looksLikeRtf(data)) return false;
    Source src{&data};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&src), 0, streamIn};
    SendMessageW(editor(), EM_STREAMIN, fmt == DocFormat::Rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&es));
    return es.dwError == 0;
}

std::string streamOutOf(DocFormat fmt) {
    std::string out;
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&out), 0, streamOut};
    SendMessageW(editor(), EM_STREAMOUT, fmt == DocFormat::Rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&es));
    if (es.dwError != 0) throw Failure(resourceString(L"Failed to Save Stream"));
    return out;
}

std::wstring fullPath(const std::wstring& p) {
    std::vector<wchar_t> buf(MAX_PATH);
    DWORD n = GetFullPathNameW(p.c_str(), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (n >= buf.size()) {
        buf.resize(n + 1);
        n = GetFullPathNameW(p.c_str(), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    }
    return n ? std::wstring(buf.data(), n) : p;
}

bool sameFile(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) return false;
    return CompareStringOrdinal(fullPath(a).c_str(), -1, fullPath(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring askFileName(bool save) {
    std::wstring filter = ToDialogFilter(save ? kSaveAsFilter : kOpenFilter);
    std::vector<wchar_t> name(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = fPrincipal->hwnd;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
    BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    return ok ? std::wstring(name.data()) : std::wstring();
}

void afterRead() {
    CHARRANGE start{0, 0};
    SendMessageW(editor(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    SendMessageW(editor(), EM_SCROLLCARET, 0, 0);
}

}  // namespace

void loadInto(const std::wstring& fileName) {
    std::string data = readFile(fileName);
    DocFormat fmt = FormatForFileName(fileName);
    if (!streamInto(data, fmt) && !streamInto(data, OtherFormat(fmt)))
        throw Failure(resourceString(L"Failed to Load Stream"));
    afterRead();
}

void saveTo(const std::wstring& fileName) {
    std::string bytes = streamOutOf(FormatForFileName(fileName));
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

void preguntaGuardarCambios() {
    if (!fPrincipal->hayCambios) return;
    int answer = MessageBoxW(GetActiveWindow(), resourceString(L"Do you want to save document changes?").c_str(),
                             kAppTitle, MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES) bGuardarClick();
}

void bNewClick() {
    preguntaGuardarCambios();
    SetWindowTextW(editor(), L"");
    sFicheroNombre.clear();
    fPrincipal->hayCambios = false;
}

void bAbrirClick() {
    std::wstring name = askFileName(false);
    if (name.empty()) return;
    loadInto(name);
    sFicheroNombre = name;
    fPrincipal->hayCambios = false;
}

void bGuardarClick() {
    if (!fPrincipal->hayCambios) return;
    if (sFicheroNombre.empty()) {
        bGuardarComoClick();
        return;
    }
    saveTo(sFicheroNombre);
    fPrincipal->hayCambios = false;
}

void bGuardarComoClick() {
    std::wstring chosen = askFileName(true);
    if (chosen.empty()) return;
    std::wstring name = SaveAsFileName(chosen);
    saveTo(name);
    sFicheroNombre = name;
    fPrincipal->hayCambios = false;
}

void cargaPrimerFichero() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring first = argv && argc > 1 ? argv[1] : L"";
    if (argv) LocalFree(argv);
    if (first.empty()) return;
    loadInto(first);
    sFicheroNombre = first;
    fPrincipal->hayCambios = false;
}

void autosave() {
    // A tick served inside a start-up message box comes before the settings
    // are read; failing on the not-yet-known name would end the autosave for
    // the whole run.
    if (!fConfiguracion->loaded) return;
    const std::wstring& name = fConfiguracion->live.ficheroTemporal;
    // The copy sits beside the document; it must never overwrite the document itself.
    if (sameFile(name, sFicheroNombre)) return;
    if (name.empty()) throw Failure(cannotCreate(name, ERROR_INVALID_NAME));
    saveTo(name);
}

}  // namespace tv::documents
