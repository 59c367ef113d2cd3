#include "text/Recovery.h"

#include "i18n/Resources.h"
#include "text/ContenidoTexto.h"
#include "text/DocumentIO.h"
#include "text/Documents.h"
#include "text/Editor.h"
#include "text/core/DocumentFormat.h"
#include "text/core/Recovery.h"
#include "widgets/Errors.h"
#include "widgets/Handles.h"

#include <exception>
#include <optional>
#include <string_view>
#include <vector>

namespace tv::recovery {

namespace {

struct Run {
    int slot = 1;                 // the slot this run holds; 1 until start() finds another
    std::wstring marker;          // the marker's path; empty when none could be made
    KernelHandle markerFile;      // held open, shared for reading only, for the whole run
    std::u16string markedName;    // the document name the marker holds
    bool unclean = false;         // the slot's last run did not end through its close handler
    std::u16string previousName;  // that run's document
    std::wstring copy;            // the slot's copy as named at start-up
    bool keptAside = false;       // its last run's copy has been put among the kept ones
    std::wstring crashKept;       // the text of a crash, kept at start-up
    std::wstring offered;         // the kept copy to offer, empty when none
    FILETIME offeredTime{};
    // What a run of another slot left when it ended uncleanly and no run has
    // taken its slot since: offered when this slot leaves nothing.
    struct Left {
        std::u16string name;
        std::wstring kept;
        FILETIME time{};
    } orphan;
    bool ready = false, deferred = false;
    FailureReports reports;
    bool blocking = false;  // a shutdown reason is given
};
Run run;

// What the crash handlers use: set up beforehand, so that nothing in them
// needs the heap, which a crash may have left broken.
HANDLE crashMarker = nullptr;  // run.markerFile's handle, borrowed
HWND crashEditor = nullptr;
wchar_t* crashBuffer = nullptr;  // pages of our own, grown at each autosave
std::size_t crashCapacity = 0;   // in characters
std::wstring crashReport;        // translated at start-up

std::u16string u16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }
std::wstring wide(const std::u16string& u) { return std::wstring(u.begin(), u.end()); }

std::wstring folderOf(const std::wstring& path) {
    const std::size_t sep = path.find_last_of(L"\\/");
    return sep == std::wstring::npos ? std::wstring() : path.substr(0, sep + 1);
}

// Writes bytes as a new file; false when it cannot.
bool writeNewFile(const std::wstring& name, const std::string& bytes) {
    const KernelHandle f(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    DWORD written = 0;
    const bool ok = WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(f.get());
    if (!ok) DeleteFileW(name.c_str());
    return ok;
}

// `flush`: on the disk before returning; at start-up the marker's being there
// is what counts, and a wait for the disk would hold the start up.
bool rewrite(HANDLE h, const std::string& bytes, bool flush) {
    DWORD written = 0;
    return SetFilePointer(h, 0, nullptr, FILE_BEGIN) == 0 &&
           WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size() && SetEndOfFile(h) && (!flush || FlushFileBuffers(h));
}

std::vector<std::wstring> keptNames(const std::wstring& copy) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    const FindHandle find(FindFirstFileW(KeptPattern(copy).c_str(), &fd));
    if (!find) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileW(find.get(), &fd));
    return names;
}

SYSTEMTIME localTime(const FILETIME& utc) {
    SYSTEMTIME u{}, l{};
    FileTimeToSystemTime(&utc, &u);
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &u, &l)) l = u;
    return l;
}

Stamp stampOf(const FILETIME& utc) {
    const SYSTEMTIME l = localTime(utc);
    return {l.wYear, l.wMonth, l.wDay, l.wHour, l.wMinute, l.wSecond};
}

// Puts bytes among the copy's kept copies, under the time they were written;
// the newest kept copy when it holds the same bytes already. Returns the kept
// file, empty when nothing could be kept.
std::wstring keep(const std::wstring& copy, const std::string& bytes, const FILETIME& written) {
    const std::wstring folder = folderOf(copy);
    std::optional<std::wstring> newestOrder;
    std::wstring newest;
    for (const std::wstring& n : keptNames(copy)) {
        auto order = KeptOrder(n, copy);
        if (order && (!newestOrder || *order > *newestOrder)) {
            newestOrder = order;
            newest = n;
        }
    }
    if (!newest.empty()) {
        try {
            if (readWholeFile(folder + newest) == bytes) return folder + newest;
        } catch (const Failure&) {
        }
    }
    const Stamp when = stampOf(written);
    for (int serial = 1; serial < 100; ++serial) {
        const std::wstring name = KeptName(copy, when, serial);
        if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        return writeNewFile(name, bytes) ? name : std::wstring();
    }
    return {};
}

void dropOldKept(const std::wstring& copy) {
    const std::wstring folder = folderOf(copy);
    for (const std::wstring& n : KeptToDrop(keptNames(copy), copy)) DeleteFileW((folder + n).c_str());
}

// The copy a run left, kept aside when it holds any text.
std::wstring keepCopy(const std::wstring& copy, FILETIME& written) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExW(copy.c_str(), GetFileExInfoStandard, &a)) return {};
    std::string bytes;
    try {
        bytes = readWholeFile(copy);
    } catch (const Failure&) {
        return {};
    }
    if (!HoldsText(bytes, FormatForFileName(copy))) return {};
    written = a.ftLastWriteTime;
    return keep(copy, bytes, written);
}

bool openMarker(const std::wstring& marker, bool& existed, DWORD& error) {
    run.markerFile.reset(CreateFileW(marker.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    error = GetLastError();
    existed = run.markerFile && error == ERROR_ALREADY_EXISTS;
    if (!run.markerFile) return false;
    run.marker = marker;
    crashMarker = run.markerFile.get();
    return true;
}

void markName(const std::u16string& name, bool flush = true) {
    if (run.markerFile && rewrite(run.markerFile.get(), EncodeMarker(name), flush)) run.markedName = name;
}

// The plain text a file shows when read into an editor like ours; nothing
// when it cannot be read.
std::optional<std::u16string> textOf(const std::wstring& path) {
    const std::optional<documents::ReadAside> read = documents::readAside(fContenidoTexto->rtText.hwnd, path);
    if (!read) return std::nullopt;
    return u16(read->text);
}

void offer() {
    keepAside();
    const std::wstring kept = std::exchange(run.offered, std::wstring());
    if (kept.empty()) return;
    const std::optional<std::u16string> keptText = textOf(kept);
    if (!keptText) return;
    const std::wstring name = wide(run.previousName);
    const std::optional<std::u16string> document = name.empty() ? std::nullopt : textOf(name);
    if (!ShouldOffer(true, *keptText, document)) return;  // a kept copy is chosen only after an unclean end
    const std::wstring text = OfferText(resourceString(L"Tolvane did not close normally. Open the text it kept on %s?"),
                                        editor::dateTimeText(localTime(run.offeredTime)));
    if (messageBox(fContenidoTexto->host->hostWindow(), text, kAppTitle, MB_YESNO | MB_ICONQUESTION) == IDYES)
        documents::openRecovered(kept, name);
}

// A message box or dialog of ours on screen (a start-up error, say).
bool boxShown() {
    bool shown = false;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            if (!IsWindowVisible(h) || std::wstring_view(cls) != L"#32770") return TRUE;
            *reinterpret_cast<bool*>(lp) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown;
}

void CALLBACK offerLater(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    // Not over another box: the offer comes once that one is answered.
    if (boxShown()) {
        SetTimer(nullptr, 0, 100, offerLater);
        return;
    }
    guarded(offer);
}

// --- At a crash. -------------------------------------------------------------

bool put(const void* data, std::size_t bytes) {
    DWORD written = 0;
    return WriteFile(crashMarker, data, static_cast<DWORD>(bytes), &written, nullptr) && written == bytes;
}

// The editor's text into the marker: system calls only, no heap.
void keepEditorText() noexcept {
    static volatile LONG once = 0;
    if (InterlockedExchange(&once, 1) || !crashMarker || !crashEditor) return;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(crashEditor, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 3000, &length)) return;
    wchar_t* buffer = crashBuffer;
    std::size_t capacity = crashCapacity;
    if (length + 1 > capacity) {
        // Grown since the last autosave: pages straight from the system.
        if (auto* more = static_cast<wchar_t*>(
                VirtualAlloc(nullptr, (length + 1) * sizeof(wchar_t), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {
            buffer = more;
            capacity = length + 1;
        }
    }
    if (!buffer || capacity == 0) return;
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(crashEditor, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(buffer),
                             SMTO_BLOCK | SMTO_ABORTIFHUNG, 3000, &got))
        return;
    const std::wstring& name = documents::sFicheroNombre;
    static const wchar_t newline = L'\n';
    if (SetFilePointer(crashMarker, 0, nullptr, FILE_BEGIN) != 0) return;
    if (put(kMarkerMagic.data(), kMarkerMagic.size() * 2) && put(name.data(), name.size() * sizeof(wchar_t)) &&
        put(&newline, sizeof newline) && put(kMarkerTextTag.data(), kMarkerTextTag.size() * 2) &&
        put(buffer, got * sizeof(wchar_t))) {
        SetEndOfFile(crashMarker);
        FlushFileBuffers(crashMarker);
    }
}

void reportCrash() noexcept {
    MessageBoxW(nullptr, crashReport.c_str(), kAppTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

LONG WINAPI crashFilter(EXCEPTION_POINTERS*) {
    keepEditorText();
    reportCrash();
    return EXCEPTION_EXECUTE_HANDLER;  // the process ends; no debugger, no second report
}

[[noreturn]] void crashTerminate() noexcept {
    keepEditorText();
    reportCrash();
    TerminateProcess(GetCurrentProcess(), 3);
    for (;;) Sleep(INFINITE);
}

std::string readMarker(HANDLE h) {
    std::string bytes;
    const DWORD size = GetFileSize(h, nullptr);
    if (size == INVALID_FILE_SIZE || size == 0) return bytes;
    bytes.resize(size);
    DWORD read = 0;
    if (SetFilePointer(h, 0, nullptr, FILE_BEGIN) != 0 || !ReadFile(h, bytes.data(), size, &read, nullptr)) read = 0;
    bytes.resize(read);
    return bytes;
}

// The text the editor held as a run crashed, among the copy's kept ones (it
// is newer than any copy); empty when there is none.
std::wstring keepCrashText(const std::wstring& copy, const std::optional<Marker>& m, HANDLE marker, FILETIME& when) {
    if (!m || !m->crashText) return {};
    std::string text = "\xFF\xFE";
    for (char16_t c : *m->crashText) {
        text.push_back(static_cast<char>(c & 0xFF));
        text.push_back(static_cast<char>(c >> 8));
    }
    if (!HoldsText(text, DocFormat::PlainText)) return {};
    FILETIME crashTime{};
    GetFileTime(marker, nullptr, nullptr, &crashTime);
    std::wstring kept = keep(copy, text, crashTime);
    if (!kept.empty()) when = crashTime;
    return kept;
}

// Markers of other slots that no run holds: their runs ended uncleanly while
// another run held slot 1, and nobody has started in their slot since. Their
// texts are kept in their own slots' names, and the marker goes.
void adoptOrphans(const std::wstring& configured, int own) {
    for (int slot = 1; slot <= 9; ++slot) {
        if (slot == own) continue;
        const std::wstring copy = SlotCopyName(configured, slot), marker = MarkerName(copy);
        if (GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        std::optional<Marker> m;
        FILETIME when{};
        std::wstring kept;
        {
            // Taken by a running run (a sharing violation): not left behind.
            const KernelHandle h(CreateFileW(marker.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!h) continue;
            m = DecodeMarker(readMarker(h.get()));
            kept = keepCrashText(copy, m, h.get(), when);
        }
        if (kept.empty()) kept = keepCopy(copy, when);
        dropOldKept(copy);
        DeleteFileW(marker.c_str());
        if (!kept.empty() && run.orphan.kept.empty()) run.orphan = {m ? m->documentName : std::u16string(), kept, when};
    }
}

}  // namespace

void start(const std::wstring& configured) {
    if (configured.empty()) return;  // the autosave reports it
    for (int slot = 1; slot <= 99; ++slot) {
        const std::wstring copy = SlotCopyName(configured, slot);
        bool existed = false;
        DWORD error = 0;
        if (!openMarker(MarkerName(copy), existed, error)) {
            if (error == ERROR_SHARING_VIOLATION) continue;  // another run holds this slot
            return;  // no marker can be made there (a missing folder): this run goes without
        }
        run.slot = slot;
        run.unclean = existed;
        run.copy = copy;
        const std::optional<Marker> m = DecodeMarker(readMarker(run.markerFile.get()));
        if (m) run.previousName = m->documentName;
        // Kept before the marker is written afresh.
        run.crashKept = keepCrashText(copy, m, run.markerFile.get(), run.offeredTime);
        markName(u"", false);
        adoptOrphans(configured, slot);
        return;
    }
}

void keepAside() {
    if (std::exchange(run.keptAside, true) || run.copy.empty()) return;
    FILETIME written{};
    const std::wstring kept = keepCopy(run.copy, written);
    if (run.unclean) {
        if (!run.crashKept.empty()) {
            run.offered = run.crashKept;
        } else if (!kept.empty()) {
            run.offered = kept;
            run.offeredTime = written;
        }
    }
    if (run.offered.empty() && !run.orphan.kept.empty()) {
        run.offered = run.orphan.kept;
        run.offeredTime = run.orphan.time;
        run.previousName = run.orphan.name;
    }
    dropOldKept(run.copy);
}

std::wstring copyName(const std::wstring& configured) { return SlotCopyName(configured, run.slot); }

bool documentReady() { return run.ready; }

void autosaveDeferred() { run.deferred = true; }

void documentLoaded() {
    if (run.ready) return;
    run.ready = true;
    if (std::exchange(run.deferred, false)) documents::autosave();
    if (run.unclean || !run.orphan.kept.empty()) SetTimer(nullptr, 0, 0, offerLater);
}

void autosaveFailed(const std::wstring& why) {
    if (!run.reports.failed()) return;
    messageBox(GetActiveWindow(),
               why + L"\n\n" +
                   resourceString(L"The autosave copy could not be written; Tolvane tries again at the next interval."),
               kAppTitle, MB_OK | MB_ICONWARNING);
}

void autosaveSucceeded(HWND editor, const std::wstring& documentName) {
    run.reports.succeeded();
    // Room for the text at a crash, and for some typing after this copy.
    const std::size_t length = static_cast<std::size_t>(GetWindowTextLengthW(editor));
    if (length + 1 > crashCapacity) {
        const std::size_t capacity = length * 2 + 65536;
        if (auto* more = static_cast<wchar_t*>(
                VirtualAlloc(nullptr, capacity * sizeof(wchar_t), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {
            wchar_t* old = crashBuffer;
            crashCapacity = 0;
            crashBuffer = more;
            crashCapacity = capacity;
            if (old) VirtualFree(old, 0, MEM_RELEASE);
        }
    }
    // A marker that went with its folder comes back with the copy.
    bool fresh = false;
    if (!run.marker.empty() && GetFileAttributesW(run.marker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        bool existed = false;
        DWORD error = 0;
        crashMarker = nullptr;
        fresh = openMarker(run.marker, existed, error);
    }
    const std::u16string name = u16(documentName);
    if (fresh || name != run.markedName) markName(name);
}

void installCrashHandlers(HWND editor) {
    crashEditor = editor;
    crashReport = resourceString(L"Tolvane met an error it cannot recover from and has to close. The text in the "
                                 L"editor was kept; it is offered when Tolvane starts again.");
    SetUnhandledExceptionFilter(crashFilter);
    std::set_terminate(crashTerminate);
}

void blockEndOfSession(HWND w) {
    using Create = BOOL(WINAPI*)(HWND, LPCWSTR);
    // Windows Vista and later; without it the session simply waits for the answer.
    static const auto create = reinterpret_cast<Create>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ShutdownBlockReasonCreate")));
    if (create && create(w, resourceString(L"Unsaved changes: Tolvane asks whether to save them.").c_str()))
        run.blocking = true;
}

void allowEndOfSession(HWND w) {
    if (!std::exchange(run.blocking, false)) return;
    using Destroy = BOOL(WINAPI*)(HWND);
    static const auto destroy = reinterpret_cast<Destroy>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ShutdownBlockReasonDestroy")));
    if (destroy) destroy(w);
}

void cleanEnd() {
    crashMarker = nullptr;
    if (!run.markerFile) return;
    run.markerFile.reset();
    DeleteFileW(run.marker.c_str());
}

}  // namespace tv::recovery
