#include "settings/Configuracion.h"

#include "i18n/Resources.h"
#include "widgets/Handles.h"

#include <vector>

namespace tv {

TfConfiguracion* fConfiguracion = nullptr;

namespace {
// The settings key, opened (and created when missing) for one read or write.
struct Key {
    RegistryKey key;
    HKEY h = nullptr;
    Key() {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) ==
            ERROR_SUCCESS)
            key.reset(h);
        else
            h = nullptr;
    }
};
}  // namespace

RawValue RegistryStore::read(std::wstring_view name) {
    Key key;
    if (!key.h) return {};
    std::wstring n(name);
    // Sized by the registry, not by a fixed buffer; the value may change
    // between the two calls, hence the loop.
    std::vector<unsigned char> data(256);
    for (int tries = 0; tries < 8; ++tries) {
        DWORD type = 0, size = static_cast<DWORD>(data.size());
        LONG r = RegQueryValueExW(key.h, n.c_str(), nullptr, &type, data.data(), &size);
        if (r == ERROR_MORE_DATA) {
            data.resize(size + 2);
            continue;
        }
        if (r != ERROR_SUCCESS) return {};
        if (type != REG_SZ && type != REG_EXPAND_SZ) return {RawValue::Type::Other, {}};
        return {RawValue::Type::Text, textFromUtf16Bytes(data.data(), size)};
    }
    return {};
}

void RegistryStore::write(std::wstring_view name, std::wstring_view text) {
    Key key;
    std::wstring n(name), t(text);
    if (!key.h || RegSetValueExW(key.h, n.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(t.c_str()),
                                 static_cast<DWORD>((t.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        throw SettingsError(failedToSetText(name));
}

std::wstring TfConfiguracion::GetVersion(const std::wstring& sFileName) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(sFileName.c_str(), &handle);
    if (size) {
        std::vector<unsigned char> info(size);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT len = 0;
        if (GetFileVersionInfoW(sFileName.c_str(), 0, size, info.data()) &&
            VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) && fixed &&
            len >= sizeof(VS_FIXEDFILEINFO))
            return versionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    }
    return L"0.0.0.0";  // no version resource: still a well-formed text
}

void TfConfiguracion::leeConfiguracion() {
    RegistryStore store;
    LoadHooks h;
    h.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    h.programFolder = programFolder();
    h.fileExists = fileExists;
    h.setTextAreaField = links.setTextAreaField;
    h.keyboardSoundChanged = [this](bool b) { setKeyboardSound(b); };
    h.setWorkspaceColour = form.hooks.setWorkspaceColour;
    h.setMinuteCounter = links.setMinuteCounter;
    h.showMissing = [](MissingMedia m) { ShowMessage(resourceString(missingMediaText(m))); };
    try {
        loadSettings(store, live, h);
    } catch (...) {
        keepTextAreaReachable();  // the rectangle is read first and applied already
        throw;
    }
    keepTextAreaReachable();
    // The check boxes mirror the flags; the workspace switches follow, drawn only.
    links.showSwitches(live.confSonido, live.confImagenFondo, live.confTransparente);
    syncControls();
}

void TfConfiguracion::keepTextAreaReachable() {
    // A stored rectangle that the screen cannot show (another monitor's, a
    // broken value) is replaced for this run by the default one; the stored
    // values stay as they are until the settings are next written.
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const RECT b = links.textArea();
    const Rect stored{b.left, b.top, b.right - b.left, b.bottom - b.top};
    const TextArea d = defaultTextArea(sw);
    const Rect placed = startupTextArea(stored, Rect{0, 0, sw, sh}, Rect{d.left, d.top, d.width, d.height});
    if (placed != stored) links.moveTextArea(placed);
}

void TfConfiguracion::escribeConfiguracion() {
    RegistryStore store;
    RECT r = links.textArea();
    saveSettings(store, live, TextArea{r.left, r.top, r.right - r.left, r.bottom - r.top}, version);
}

void TfConfiguracion::saveSonido(bool on) {
    live.confSonido = on;
    escribeConfiguracion();
}

void TfConfiguracion::saveImagenFondo(bool on) {
    live.confImagenFondo = on;
    escribeConfiguracion();
}

void TfConfiguracion::saveTransparente(bool on) {
    live.confTransparente = on;
    escribeConfiguracion();
}

}  // namespace tv
