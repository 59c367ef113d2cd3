#pragma once
// What the configuration window's controls do to the live settings, which of
// them preview at once on the workspace or the text window, and what "OK",
// "Save actual configuration" and "Cancel" keep and write. Portable: the
// window reaches the other windows, the store and its own visibility through
// ConfigHooks.
#include "settings/core/Settings.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tv {

// The reset of the text area: the default arithmetic on the workspace width.
TextArea resetTextArea(int workspaceWidth);

// A file dialog filter in the "Description|*.ext|..." notation as the system
// dialog wants it: each part ended by a zero character, the list by another.
std::wstring dialogFilter(std::wstring_view pipes);

// The About tab's product label: "Tolvane v." and the version text.
std::wstring productLabel(std::wstring_view version);

enum class PathField { AmbientSound, ClickSound, BackgroundImage, Autosave };
const wchar_t* pathFilter(PathField f);  // in the "|" notation

struct ConfigHooks {
    std::function<void(std::int32_t)> setWorkspaceColour;
    std::function<void(int)> setWorkspaceOpacity;  // seen only while the workspace is see-through
    std::function<void(int)> setTextOpacity;
    std::function<void(bool)> setKeyClickSwitch;
    std::function<int()> workspaceWidth;
    std::function<void(const TextArea&)> placeTextArea;  // the text window, then the frame over it
    std::function<void()> save;                          // escribeConfiguracion
    std::function<void()> initialise;                    // the workspace's inicializa
    std::function<void()> hide;                          // the window goes away
};

// The check boxes as the window shows them when it opens.
struct CheckStates {
    bool cTransparencia = false, cFondo = false, cSonido = false;
};

class ConfigForm {
public:
    explicit ConfigForm(LiveSettings& live) : live_(live) {}
    ConfigHooks hooks;

    bool isOpen() const { return open_; }

    // Showing: forgets earlier changes of the ambient sound file and mirrors
    // the three flags, which the workspace's switches may have changed.
    CheckStates FormShow();

    // Reactions of the controls to the user (a program change of a check box
    // that flips it runs the same reaction).
    void cSonidoClick(bool ticked);
    void cKeyboardSoundClick(bool ticked);
    void cFondoClick(bool ticked);
    void cTransparenciaClick(bool ticked);
    void colorFondoChange(std::int32_t colour);
    void colorTextoChange(std::int32_t colour);
    void colorAreaTextoChange(std::int32_t colour);
    void transparenciaPrincipalChange(int value);
    void transparenciaAreaTextoChange(int value);
    void iMinutosChange(int value);
    void iSegundosChange(int value);
    void pathChange(PathField field, std::wstring text);
    void listaIdiomasChange(int index);
    void resetTextAreaClick();  // JvXPButton1

    // The bottom row. A failing save leaves the window open.
    void bGuardarConfiguracionClick();
    void bAceptarClick();
    void bCancelarClick();
    // Every way of closing (the buttons, a close request from the system)
    // ends here: the workspace applies the settings and the window hides,
    // the latter even when applying fails.
    void FormClose();

private:
    LiveSettings& live_;
    bool open_ = false;
};

}  // namespace tv
