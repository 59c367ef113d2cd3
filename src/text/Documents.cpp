#include "text/Documents.h"

#include "i18n/Resources.h"
#include "settings/Configuracion.h"
#include "text/ContenidoTexto.h"
#include "text/DocumentIO.h"
#include "text/Recovery.h"
#include "text/core/DocumentFormat.h"
#include "widgets/Errors.h"
#include "widgets/Handles.h"

#include <commdlg.h>
#include <richedit.h>
#include <shellapi.h>

#include <vector>

namespace tv::documents {

std::wstring sFicheroNombre;

namespace {

// How the current document's plain text was read (or last written), so that
// a save gives it back the same way; Ansi for new and RTF documents.
TextEncoding encoding = TextEncoding::Ansi;

HWND editor() { return fContenidoTexto->rtText.hwnd; }

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
    ofn.hwndOwner = fContenidoTexto->host->hostWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
    BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    return ok ? std::wstring(name.data()) : std::wstring();
}

}  // namespace

void preguntaGuardarCambios() {
    if (!fContenidoTexto->host->hasChanges()) return;
    int answer = messageBox(GetActiveWindow(), resourceString(L"Do you want to save document changes?"), kAppTitle,
                            MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES) bGuardarClick();
}

void bNewClick() {
    preguntaGuardarCambios();
    SetWindowTextW(editor(), L"");
    encoding = TextEncoding::Ansi;
    fContenidoTexto->documentReplaced();
    sFicheroNombre.clear();
    fContenidoTexto->host->markSaved();
}

void bAbrirClick() {
    std::wstring name = askFileName(false);
    if (name.empty()) return;
    encoding = loadInto(editor(), name);
    fContenidoTexto->documentReplaced();
    sFicheroNombre = name;
    fContenidoTexto->host->markSaved();
}

void bGuardarClick() {
    if (!fContenidoTexto->host->hasChanges()) return;
    if (sFicheroNombre.empty()) {
        bGuardarComoClick();
        return;
    }
    encoding = saveTo(editor(), sFicheroNombre, encoding);
    fContenidoTexto->host->markSaved();
}

void bGuardarComoClick() {
    std::wstring chosen = askFileName(true);
    if (chosen.empty()) return;
    std::wstring name = SaveAsFileName(chosen);
    encoding = saveTo(editor(), name, encoding);
    sFicheroNombre = name;
    fContenidoTexto->host->markSaved();
}

void cargaPrimerFichero() {
    int argc = 0;
    const LocalMemory<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    std::wstring first = argv && argc > 1 ? argv.get()[1] : L"";
    if (first.empty()) return;
    encoding = loadInto(editor(), first);
    fContenidoTexto->documentReplaced();
    sFicheroNombre = first;
    fContenidoTexto->host->markSaved();
}

void autosave() {
    // A tick served inside a start-up message box comes before the settings
    // are read, or before the command-line document is in the editor: the
    // copy is written once it is.
    if (!fConfiguracion->loaded || !recovery::documentReady()) {
        recovery::autosaveDeferred();
        return;
    }
    const std::wstring name = recovery::copyName(fConfiguracion->live.ficheroTemporal);
    // The copy sits beside the document; it must never overwrite the document itself.
    if (sameFile(name, sFicheroNombre)) return;
    try {
        if (name.empty()) throw Failure(cannotCreate(name, ERROR_INVALID_NAME));
        recovery::keepAside();
        saveTo(editor(), name, encoding);  // the copy does not change how the document is kept
    } catch (...) {
        // Told once, and tried again at the next interval: an error escaping
        // here would end the timer for the rest of the run.
        recovery::autosaveFailed(errorText(std::current_exception()));
        return;
    }
    recovery::autosaveSucceeded(editor(), sFicheroNombre);
}

void openRecovered(const std::wstring& keptCopy, const std::wstring& name) {
    loadInto(editor(), keptCopy);
    // Saved back the way its own file was read.
    encoding = TextEncoding::Ansi;
    if (!name.empty() && FormatForFileName(name) == DocFormat::PlainText) {
        try {
            encoding = DetectTextEncoding(readWholeFile(name));
        } catch (const Failure&) {
        }
    }
    fContenidoTexto->documentReplaced();
    sFicheroNombre = name;
    fContenidoTexto->host->markChanged();
}

}  // namespace tv::documents
