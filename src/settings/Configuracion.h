#pragma once
// The configuration window and holder of the live settings.
#include "settings/core/Settings.h"
#include "widgets/Win.h"

namespace tv {

// The settings key of the current user's registry.
class RegistryStore : public SettingsStore {
public:
    RawValue read(std::wstring_view name) override;
    void write(std::wstring_view name, std::wstring_view text) override;
};

class TfConfiguracion : public Window {
public:
    void FormCreate();
    void leeConfiguracion();
    void escribeConfiguracion();
    static std::wstring GetVersion(const std::wstring& sFileName);

    LiveSettings live;
    bool loaded = false;  // the settings have been read (even if the load stopped part-way)
    std::wstring version;
    // Mirrors of the three flags by their familiar names.
    bool& confTransparente = live.confTransparente;
    bool& confSonido = live.confSonido;
    bool& confImagenFondo = live.confImagenFondo;

    // The key-click check box: every change runs its reaction (the workspace switch follows).
    void setKeyboardSound(bool checked);

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
};

extern TfConfiguracion* fConfiguracion;

}  // namespace tv
