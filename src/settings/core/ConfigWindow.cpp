#include "settings/core/ConfigWindow.h"

namespace tv {

TextArea resetTextArea(int workspaceWidth) { return defaultTextArea(workspaceWidth); }

std::wstring dialogFilter(std::wstring_view pipes) {
    std::wstring out(pipes);
    for (wchar_t& c : out)
        if (c == L'|') c = L'\0';
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

std::wstring productLabel(std::wstring_view version) { return L"Tolvane v." + std::wstring(version); }

const wchar_t* pathFilter(PathField f) {
    switch (f) {
    case PathField::AmbientSound: return L"mp3 Files|*.mp3";
    case PathField::ClickSound: return L"wav Files|*.wav";
    case PathField::BackgroundImage: return L"Jpeg Images|*.jpg";
    case PathField::Autosave: break;
    }
    return L"Tmp files|*.tmp";
}

CheckStates ConfigForm::FormShow() {
    open_ = true;
    live_.cambioFicheroSonido = false;
    return {live_.confTransparente, live_.confImagenFondo, live_.confSonido};
}

void ConfigForm::cSonidoClick(bool ticked) { live_.confSonido = ticked; }

void ConfigForm::cKeyboardSoundClick(bool ticked) {
    live_.keyboardSound = ticked;
    if (hooks.setKeyClickSwitch) hooks.setKeyClickSwitch(ticked);
}

void ConfigForm::cFondoClick(bool ticked) { live_.confImagenFondo = ticked; }
void ConfigForm::cTransparenciaClick(bool ticked) { live_.confTransparente = ticked; }

void ConfigForm::colorFondoChange(std::int32_t colour) {
    live_.colorFondo = colour;
    if (hooks.setWorkspaceColour) hooks.setWorkspaceColour(colour);
}

void ConfigForm::colorTextoChange(std::int32_t colour) { live_.colorTexto = colour; }
void ConfigForm::colorAreaTextoChange(std::int32_t colour) { live_.colorAreaTexto = colour; }

void ConfigForm::transparenciaPrincipalChange(int value) {
    live_.transparenciaPrincipal.take(value);
    if (hooks.setWorkspaceOpacity) hooks.setWorkspaceOpacity(live_.transparenciaPrincipal.value);
}

void ConfigForm::transparenciaAreaTextoChange(int value) {
    live_.transparenciaAreaTexto.take(value);
    if (hooks.setTextOpacity) hooks.setTextOpacity(live_.transparenciaAreaTexto.value);
}

void ConfigForm::iMinutosChange(int value) { live_.iMinutos.take(value); }
void ConfigForm::iSegundosChange(int value) { live_.iSegundos.take(value); }

void ConfigForm::pathChange(PathField field, std::wstring text) {
    switch (field) {
    case PathField::AmbientSound: live_.setFicheroSonidoAmbiente(std::move(text)); break;
    case PathField::ClickSound: live_.ficheroSonidoClick = std::move(text); break;
    case PathField::BackgroundImage: live_.ficheroImagenFondo = std::move(text); break;
    case PathField::Autosave: live_.ficheroTemporal = std::move(text); break;
    }
}

void ConfigForm::listaIdiomasChange(int index) {
    if (index < 0 || index > 2) return;
    live_.languageIndex = index;
    live_.unknownLanguage.clear();
}

void ConfigForm::resetTextAreaClick() {
    if (!hooks.workspaceWidth || !hooks.placeTextArea) return;
    hooks.placeTextArea(resetTextArea(hooks.workspaceWidth()));
}

void ConfigForm::bGuardarConfiguracionClick() {
    if (hooks.save) hooks.save();
}

void ConfigForm::bAceptarClick() {
    if (hooks.save) hooks.save();  // an error here leaves the window open
    FormClose();
}

void ConfigForm::bCancelarClick() { FormClose(); }

void ConfigForm::FormClose() {
    if (!open_) return;
    open_ = false;
    struct HideAfter {
        const ConfigHooks& h;
        ~HideAfter() {
            if (h.hide) h.hide();
        }
    } hideAfter{hooks};
    if (hooks.initialise) hooks.initialise();
}

}  // namespace tv
