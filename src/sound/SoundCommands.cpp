// The workspace's sound handlers: ambient switch, key-click switch, volume, fade.
#include "app/Errors.h"
#include "i18n/Resources.h"
#include "settings/Configuracion.h"
#include "sound/Ambient.h"
#include "workspace/Principal.h"

namespace tv {

void TfPrincipal::reproduceSonido() {
    LiveSettings& s = fConfiguracion->live;
    const std::wstring& path = s.ficheroSonidoAmbiente;
    if (fileExists(path) && s.confSonido && !path.empty()) {
        try {
            ambient::play(path);
        } catch (const Failure& e) {
            ShowMessage(e.text());
        }
    } else {
        ambient::close();
    }
}

void TfPrincipal::bSonidoClick() {
    LiveSettings& s = fConfiguracion->live;
    if (!fileExists(s.ficheroSonidoAmbiente)) {
        ShowMessage(resourceString(missingMediaText(MissingMedia::AmbientSound)));
        bSonido.state = false;
        return;
    }
    s.confSonido = bSonido.state;
    fConfiguracion->escribeConfiguracion();
    reproduceSonido();
}

void TfPrincipal::bTecladoClick() {
    if (!fileExists(fConfiguracion->live.ficheroSonidoClick)) {
        ShowMessage(resourceString(missingMediaText(MissingMedia::KeyboardSound)));
        bTeclado.state = false;
        return;
    }
    fConfiguracion->setKeyboardSound(bTeclado.state);
}

void TfPrincipal::sbVolumenChange() { ambient::setVolume(volume); }

void TfPrincipal::MPFadeOut() {
    fadeOut(volume, fConfiguracion->live.confSonido,
            [this](int level) {
                volume = level;
                sbVolumenChange();
                ambient::setVolume(volume);
            },
            [](int ms) { Sleep(static_cast<DWORD>(ms)); });
}

}  // namespace tv
