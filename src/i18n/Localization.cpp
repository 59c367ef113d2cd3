#include "i18n/Localization.h"

#include "widgets/Errors.h"
#include "i18n/core/MoCatalog.h"
#include "i18n/core/Translate.h"
#include "widgets/Handles.h"

#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>

namespace tv {

namespace {

// Set during static initialisation, i.e. on the thread that runs the program.
const DWORD uiThread = GetCurrentThreadId();

template <void(WINAPI* Acquire)(PSRWLOCK), void(WINAPI* Release)(PSRWLOCK)>
class Lock {
public:
    explicit Lock(SRWLOCK& l) : l_(l) { Acquire(&l_); }
    ~Lock() { Release(&l_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
private:
    SRWLOCK& l_;
};
using SharedLock = Lock<AcquireSRWLockShared, ReleaseSRWLockShared>;
using ExclusiveLock = Lock<AcquireSRWLockExclusive, ReleaseSRWLockExclusive>;

// A catalog file mapped read-only. The handle stays open without write
// sharing, so nobody can change the bytes the catalog was checked against.
class MappedFile {
public:
    MappedFile(KernelHandle file, KernelHandle mapping, MappedView view, std::size_t size)
        : file_(std::move(file)), mapping_(std::move(mapping)), view_(std::move(view)), size_(size) {}
    std::string_view bytes() const { return {static_cast<const char*>(view_.get()), size_}; }
private:
    // Released in the reverse order: the view, the mapping, the file.
    KernelHandle file_;
    KernelHandle mapping_;
    MappedView view_;
    std::size_t size_;
};

// The same file (by volume and file index, whatever path reached it) is
// mapped once however many domains use it.
using FileId = std::tuple<DWORD, DWORD, DWORD>;
SRWLOCK filesLock = SRWLOCK_INIT;
std::map<FileId, std::weak_ptr<MappedFile>> openFiles;

enum class MapResult { Mapped, CannotOpen, NotACatalog };

MapResult mapFile(const std::wstring& path, std::shared_ptr<MappedFile>& out) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return MapResult::CannotOpen;
    BY_HANDLE_FILE_INFORMATION fi{};
    LARGE_INTEGER size{};
    if (!GetFileInformationByHandle(file.get(), &fi) || !GetFileSizeEx(file.get(), &size)) return MapResult::CannotOpen;
    // An empty file cannot be mapped, and it is no catalog anyway.
    if (size.QuadPart <= 0 || static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) return MapResult::NotACatalog;
    const FileId id{fi.dwVolumeSerialNumber, fi.nFileIndexHigh, fi.nFileIndexLow};
    ExclusiveLock lock(filesLock);
    if (auto shared = openFiles[id].lock()) {
        out = std::move(shared);
        return MapResult::Mapped;
    }
    KernelHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    MappedView view(mapping ? MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0) : nullptr);
    if (!view) return MapResult::CannotOpen;
    out = std::make_shared<MappedFile>(std::move(file), std::move(mapping), std::move(view),
                                       static_cast<std::size_t>(size.QuadPart));
    openFiles[id] = out;
    return MapResult::Mapped;
}

// Touched on the UI thread only (lookups and the start-up calls).
struct Domain {
    std::shared_ptr<MappedFile> file;
    std::optional<MoCatalog> catalog;  // views into *file
    bool notFound = false;
    bool enabled = true;
};
std::map<std::wstring, Domain> domains;
std::wstring language;

SRWLOCK domainListLock = SRWLOCK_INIT;
std::vector<std::wstring> domainList{kDefaultDomain};

constexpr const wchar_t* kNotACatalogText = L"This file is not a valid GNU gettext mo file: ";

void closeCatalog(Domain& d) {
    d.catalog.reset();
    d.file.reset();
}

// A catalog file that is there but unusable is reported once, like any
// unexpected error, and then counts as absent: its texts stay English and
// whatever was being loaded goes on. (Failing every later lookup instead
// would abandon each handler that shows a message, the save prompt at exit
// among them.)
void reportDamagedCatalog(const std::wstring& text) {
    reportUnexpected(std::make_exception_ptr(Failure(text)));
}

// Looks for the domain's catalog of the current language. The domain is
// marked before any message box: handlers served while a box is open may
// look texts up, and must neither open the file again nor complain twice.
void openCatalog(Domain& d, const std::wstring& name) {
    d.notFound = true;
    if (language.empty()) return;
    const CatalogPaths paths = catalogPaths(programFolder(), language, name);
    std::wstring path = paths.primary;
    if (!fileExists(path)) {
        if (!paths.fallback || !fileExists(*paths.fallback)) return;
        path = *paths.fallback;
    }
    std::shared_ptr<MappedFile> file;
    switch (mapFile(path, file)) {
    case MapResult::Mapped: break;
    case MapResult::CannotOpen: reportDamagedCatalog(L"Cannot open file " + path); return;
    case MapResult::NotACatalog: reportDamagedCatalog(kNotACatalogText + path); return;
    }
    std::optional<MoCatalog> catalog = MoCatalog::open(file->bytes());
    if (!catalog) {
        reportDamagedCatalog(kNotACatalogText + path);
        return;
    }
    if (!declaresUtf8(catalog->header())) {
        d.enabled = false;
        const std::wstring text = charsetProblemText(language, path);
        MessageBoxW(GetActiveWindow(), text.c_str(), kLocalizationProblemTitle, MB_OK | MB_TOPMOST);
        return;
    }
    d.file = std::move(file);
    d.catalog = std::move(catalog);
    d.notFound = false;
}

std::wstring windowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    if (n <= 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(h, text.data(), n + 1)));
    return text;
}

void translateText(HWND h) {
    const std::wstring text = windowText(h);
    if (text.empty()) return;
    const std::wstring translated = translateIn(kDefaultDomain, text);
    if (translated != text) SetWindowTextW(h, translated.c_str());
}

BOOL CALLBACK translateChild(HWND h, LPARAM) {
    translateText(h);
    return TRUE;
}

std::vector<GlobalAtom> markerAtoms;  // released when the program ends

}  // namespace

bool onTranslationThread() { return GetCurrentThreadId() == uiThread; }

void AddDomainForResourceString(const std::wstring& domain) {
    ExclusiveLock lock(domainListLock);
    for (const std::wstring& d : domainList)
        if (d == domain) return;
    domainList.push_back(domain);
}

std::vector<std::wstring> resourceStringDomains() {
    SharedLock lock(domainListLock);
    return domainList;
}

void UseLanguage(const std::wstring& code) {
    language = code;
    for (auto& [name, d] : domains) {
        closeCatalog(d);
        d.notFound = false;
    }
}

std::wstring currentLanguage() { return language; }

void openDomain(const std::wstring& domain) {
    if (!onTranslationThread()) return;
    Domain& d = domains[domain];
    if (d.enabled && !d.catalog && !d.notFound) openCatalog(d, domain);
}

std::wstring translateIn(const std::wstring& domain, const std::wstring& text) {
    if (text.empty() || !onTranslationThread()) return text;
    Domain& d = domains[domain];  // map references survive insertions made meanwhile
    if (!d.enabled) return text;
    if (!d.catalog && !d.notFound) openCatalog(d, domain);
    if (!d.catalog) return text;
    std::optional<std::wstring> translated = lookupText(*d.catalog, text);
    return translated ? *translated : text;
}

void TranslateComponent(HWND window) {
    if (!window || GetPropW(window, kTranslationMarker)) return;
    translateText(window);
    EnumChildWindows(window, translateChild, 0);  // walks all descendants
    ATOM atom = GlobalAddAtomW(language.empty() ? L"-" : language.c_str());
    if (atom) markerAtoms.emplace_back(atom);
    // The marker must be non-null even if the atom table is full.
    SetPropW(window, kTranslationMarker, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom ? atom : 1)));
}

}  // namespace tv
