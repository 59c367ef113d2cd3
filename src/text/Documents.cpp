#include "text/Documents.h"

#include "i18n/Resources.h"
#include "settings/Configuracion.h"
#include "text/ContenidoTexto.h"
#include "text/DocumentIO.h"
#include "text/Recovery.h"
#include "text/core/DocumentFormat.h"
#include "text/core/RtfContent.h"
#include "widgets/Errors.h"
#include "widgets/Handles.h"

#include <commdlg.h>
#include <richedit.h>
#include <shellapi.h>

#include <utility>
#include <vector>

namespace tv::documents {

std::wstring sFicheroNombre;

namespace {

// How the current document was read (or last written), so that a save gives
// it back the same way; RTF for new documents.
DocumentLayout layout;
// What the editor did not take from the last loaded file, until it is told.
unsigned lostParts = 0;
// The file a loaded document came from when the editor could not take all
// of it: the first save over it keeps it beside under another name.
std::wstring keepOriginal;

HWND editor() { return fContenidoTexto->rtText.hwnd; }

bool sameFile(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) return false;
    return CompareStringOrdinal(absolutePath(a).c_str(), -1, absolutePath(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring askFileName(bool save) {
    std::wstring filter = ToDialogFilter(save ? kSaveAsFilter : kOpenFilter);
    std::vector<wchar_t> name(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    // Owned by the stay-on-top text window, or Windows would open it behind.
    ofn.hwndOwner = dialogOwner(fContenidoTexto->host->hostWindow());
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
    // Replacing a file the writer did not mean to is a lost text: the
    // dialog asks first.
    if (save) ofn.Flags |= OFN_OVERWRITEPROMPT;
    const CurrentFolderKept folder;
    const bool ok = runCentredOver(fContenidoTexto->hwnd, [&] {
        return (save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn)) != FALSE;
    });
    return ok ? std::wstring(name.data()) : std::wstring();
}

// The editor now holds `name` as it was read.
void loaded(const std::wstring& name, const LoadedDocument& doc) {
    layout = doc.layout;
    fContenidoTexto->documentReplaced();
    sFicheroNombre = name;
    fContenidoTexto->host->markSaved();
    keepOriginal = doc.lostParts ? name : std::wstring();
    lostParts = doc.lostParts;
    // Told once the load is over and the windows are laid out.
    if (lostParts) PostMessageW(fContenidoTexto->hwnd, TfContenidoTexto::kTellLostParts, 0, 0);
}

// The first name beside the original, from `n` on, that no file has.
std::wstring freeCopyName(int& n) {
    for (;; ++n) {
        std::wstring copy = OriginalCopyName(keepOriginal, n);
        if (GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES || n >= 1000) return copy;
    }
}

// Before the first save over a document the editor could not take whole, the
// file as it was goes beside it, under a name no file has; never over one.
void keepTheOriginal(const std::wstring& target) {
    if (keepOriginal.empty() || !sameFile(target, keepOriginal)) return;
    for (int n = 1;; ++n) {
        const std::wstring copy = freeCopyName(n);
        if (CopyFileW(keepOriginal.c_str(), copy.c_str(), TRUE)) break;
        const DWORD err = GetLastError();
        if ((err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) || n >= 1000)
            throw Failure(cannotCreate(copy, err));
    }
    keepOriginal.clear();
}

void save(const std::wstring& name, const DocumentLayout& as) {
    keepTheOriginal(name);
    layout = saveTo(editor(), name, as);
}

}  // namespace

void tellLostParts() {
    const unsigned parts = std::exchange(lostParts, 0);
    if (!parts || keepOriginal.empty()) return;
    int first = 1;
    std::wstring list;
    auto name = [&](unsigned part, const std::wstring& text) {
        if (parts & part) list += (list.empty() ? L"" : L", ") + text;
    };
    name(kRtfFootnotes, resourceString(L"footnotes"));
    name(kRtfEndnotes, resourceString(L"endnotes"));
    name(kRtfComments, resourceString(L"comments"));
    name(kRtfHeadersFooters, resourceString(L"headers and footers"));
    name(kRtfFields, resourceString(L"fields"));
    name(kRtfDrawings, resourceString(L"drawings and text boxes"));
    ShowMessage(FillIn(resourceString(L"This document holds %s, which the editor cannot keep: a save leaves them "
                                      L"out. Its first save keeps the original file as \"%s\"."),
                       {list, freeCopyName(first)}));
}

bool preguntaGuardarCambios() {
    if (!fContenidoTexto->host->hasChanges()) return true;
    int answer = messageBox(GetActiveWindow(), resourceString(L"Do you want to save document changes?"), kAppTitle,
                            MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return true;  // No discards
    bGuardarClick();
    // A Save As cancelled in its dialog saved nothing: the caller must not
    // go on and lose the text.
    return !fContenidoTexto->host->hasChanges();
}

void bNewClick() {
    if (!preguntaGuardarCambios()) return;
    SetWindowTextW(editor(), L"");
    layout = DocumentLayout{};
    keepOriginal.clear();
    lostParts = 0;
    fContenidoTexto->documentReplaced();
    sFicheroNombre.clear();
    fContenidoTexto->host->markSaved();
}

void bAbrirClick() {
    if (!preguntaGuardarCambios()) return;
    std::wstring name = askFileName(false);
    if (name.empty()) return;
    loaded(name, loadInto(editor(), name));
}

void bGuardarClick() {
    if (!fContenidoTexto->host->hasChanges()) return;
    if (sFicheroNombre.empty()) {
        bGuardarComoClick();
        return;
    }
    save(sFicheroNombre, layout);
    fContenidoTexto->host->markSaved();
}

void bGuardarComoClick() {
    std::wstring name;
    for (;;) {
        const std::wstring chosen = askFileName(true);
        if (chosen.empty()) return;
        name = SaveAsFileName(chosen);
        // The dialog asked about the name as typed; the one written may be
        // another, with ".rtf" added. No: the dialog again.
        if (name == chosen || !fileExists(name)) break;
        const std::wstring question =
            FillIn(resourceString(L"%s already exists.\nDo you want to replace it?"), {name});
        if (messageBox(GetActiveWindow(), question, kAppTitle, MB_YESNO | MB_ICONWARNING) == IDYES) break;
    }
    save(name, LayoutForName(layout, name));
    sFicheroNombre = name;
    fContenidoTexto->host->markSaved();
}

void cargaPrimerFichero() {
    int argc = 0;
    const LocalMemory<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    std::wstring first = argv && argc > 1 ? argv.get()[1] : L"";
    if (first.empty()) return;
    // Made absolute now: a later change of the current folder must not send
    // a save somewhere else.
    first = absolutePath(first);
    loaded(first, loadInto(editor(), first));
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
        // The copy's format is its own name's; it does not change how the document is kept.
        saveTo(editor(), name, LayoutForName(layout, name));
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
    // Saved back the way its own file was read; a new document's way when
    // that file is gone.
    const std::optional<ReadAside> own = name.empty() ? std::nullopt : readAside(editor(), name);
    layout = own ? own->doc.layout : LayoutForName(DocumentLayout{}, name);
    keepOriginal = own && own->doc.lostParts ? name : std::wstring();
    lostParts = 0;
    fContenidoTexto->documentReplaced();
    sFicheroNombre = name;
    fContenidoTexto->host->markChanged();
}

}  // namespace tv::documents
