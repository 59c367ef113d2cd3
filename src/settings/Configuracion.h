#pragma once
// The configuration window and holder of the live settings.
#include "settings/core/ConfigWindow.h"
#include "settings/core/Settings.h"
#include "widgets/ColourButton.h"
#include "widgets/ValueSlider.h"
#include "widgets/Win.h"
#include "widgets/core/JpegImage.h"
#include "workspace/core/HandleGeometry.h"

#include <functional>

#include <optional>

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
    void keepTextAreaReachable();  // after the text-area rectangle is read at start-up
    static std::wstring GetVersion(const std::wstring& sFileName);
    // Shows the window modally; returns once it has closed and inicializa has run.
    void ShowModal();
    // Asks the shell to open an address; a failure is silent.
    static void ShellOpen(const std::wstring& url, const std::wstring& params);

    // The live settings: the controls below show and edit these, and every
    // other window reads them from here.
    LiveSettings live;
    bool loaded = false;  // the settings have been read (even if the load stopped part-way)
    std::wstring version;
    // Mirrors of the three flags by their familiar names.
    bool& confTransparente = live.confTransparente;
    bool& confSonido = live.confSonido;
    bool& confImagenFondo = live.confImagenFondo;

    // The key-click check box: every change runs its reaction (the workspace switch follows).
    void setKeyboardSound(bool checked);

    // What the controls do to the settings, and what OK, Save and Cancel keep.
    // The hooks that reach other windows are wired at start-up, like links.
    ConfigForm form{live};

    // What the settings load and save reach outside this window. Wired at
    // start-up by the program, which owns the other windows: this folder
    // includes none of them.
    struct Links {
        std::function<RECT()> textArea;  // the text window's screen rectangle
        std::function<void(const Rect&)> moveTextArea;
        std::function<void(int field, int value)> setTextAreaField;  // 0 top, 1 left, 2 width, 3 height
        std::function<void(std::int32_t)> setMinuteCounter;
        std::function<void(bool sound, bool picture, bool transparent)> showSwitches;  // drawn only
    } links;

    // The settings have been read (even if the load stopped part-way).
    void markLoaded() { loaded = true; }
    // A workspace switch changed one of the three flags: kept and stored.
    void saveSonido(bool on);
    void saveImagenFondo(bool on);
    void saveTransparente(bool on);

    // Controls, tab by tab.
    HWND PageControl1 = nullptr;
    HWND cSonido = nullptr, sFicheroSonidoAmbiente = nullptr, cKeyboardSound = nullptr, sFicheroSonidoClick = nullptr;
    HWND cFondo = nullptr, sFicheroImagenFondo = nullptr, cTransparencia = nullptr;
    ColourButton colorFondo;
    ValueSlider transparenciaPrincipal;
    ColourButton colorAreaTexto, colorTexto;
    ValueSlider transparenciaAreaTexto;
    HWND JvXPButton1 = nullptr;
    ValueSlider iMinutos, iSegundos;
    HWND sFicheroTemporal = nullptr;
    HWND listaIdiomas = nullptr;
    HWND imgLogo = nullptr, lbNombreAplicacion = nullptr;
    HWND JvgStaticText1 = nullptr, JvgStaticText2 = nullptr, JvgStaticText3 = nullptr;
    HWND bGuardarConfiguracion = nullptr, bAceptar = nullptr, bCancelar = nullptr;

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void createControls();
    void placePages();  // the pages over the tab control's display area
    void FormShow();
    void syncControls();  // every control from the live settings
    void showPage(int page);
    void selectNextTab(bool back);
    void pickFile(PathField field);
    HWND pathEdit(PathField field) const;
    void command(int id, int code, HWND from);
    static LRESULT CALLBACK pageProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK editProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK linkProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    static constexpr int kPages = 7;
    HWND pages_[kPages] = {};
    int page_ = 0;
    bool modal_ = false;
    bool syncing_ = false;  // controls being set from the settings: their notifications are not the user's
    HWND hoveredLink_ = nullptr;
    HFONT font_ = nullptr, titleFont_ = nullptr, linkFont_ = nullptr;
    std::optional<Image> logo_;
};

extern TfConfiguracion* fConfiguracion;

}  // namespace tv
