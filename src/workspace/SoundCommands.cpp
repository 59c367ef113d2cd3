// The workspace's sound handlers: ambient switch, key-click switch, volume, fade.
#include "i18n/Resources.h"
#include "settings/Configuracion.h"
#include "sound/Ambient.h"
#include "sound/SoundLog.h"
#include "widgets/Handles.h"
#include "workspace/Principal.h"

#include <utility>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002  // synchapi.h of Windows 10 1803
#endif

namespace tv {

void TfPrincipal::openAmbientAhead() {
    const LiveSettings& s = fConfiguracion->live;
    const std::wstring& P = s.ficheroSonidoAmbiente;
    if (!(s.cambioFicheroSonido && fileExists(P) && s.confSonido && !P.empty())) return;
    ambientAhead_.emplace();
    ambientAhead_->file = P;
    try {
        mp3Player.Close();
        mp3Player.FileName = P;
        mp3Player.Open();
    } catch (const Failure& e) {
        ambientAhead_->error = e.text();
    }
}

void TfPrincipal::reproduceSonido() {
    const LiveSettings& s = fConfiguracion->live;
    const std::wstring P = s.ficheroSonidoAmbiente;
    // The start-up's open, done during the splash pause, serves the first start of the same file.
    std::optional<AmbientAhead> ahead = std::exchange(ambientAhead_, std::nullopt);
    if (ahead && (ahead->file != P || (ahead->error.empty() && !mp3Player.isOpen()))) ahead.reset();
    if (fileExists(P) && s.confSonido && !P.empty()) {
        try {
            if (ahead && !ahead->error.empty()) throw Failure(ahead->error);
            if (!ahead) {
                // Always from the beginning, also when the same file is playing.
                mp3Player.Close();
                mp3Player.FileName = P;
                mp3Player.Open();
            }
            // A fresh device plays at its own level, whatever the slider shows;
            // the slider is what the user chose, so the device is given it.
            MPSetVolume(mp3Player, volume);
            mp3Player.setNotify(true);
            mp3Player.Play();
        } catch (const Failure& e) {
            ShowMessage(e.text());
        }
    } else {
        mp3Player.Close();
    }
}

void TfPrincipal::bSonidoClick() {
    if (!fileExists(fConfiguracion->live.ficheroSonidoAmbiente)) {
        ShowMessage(resourceString(missingMediaText(MissingMedia::AmbientSound)));
        bSonido.state = false;
        return;
    }
    showVolumeControls(bSonido.state);
    fConfiguracion->saveSonido(bSonido.state);
    reproduceSonido();
}

void TfPrincipal::bTecladoClick() {
    if (!fileExists(fConfiguracion->live.ficheroSonidoClick)) {
        ShowMessage(resourceString(missingMediaText(MissingMedia::KeyboardSound)));
        bTeclado.state = false;
        return;
    }
    // The check box's own reaction sets the switch to the same state again.
    fConfiguracion->setKeyboardSound(bTeclado.state);
}

void TfPrincipal::sbVolumenChange() { MPSetVolume(mp3Player, volume); }

namespace {
// The fade's 1 ms pauses. Windows 11 does not honour timeBeginPeriod for a
// process with no visible window, and both windows are hidden by then, so a
// Sleep(1) would last a whole 15.6 ms tick and the fade 4 s. A high-resolution
// waitable timer keeps its time whatever the process shows; where the system
// has none (before Windows 10 1803), Sleep at a 1 ms timer resolution.
class FadePause {
public:
    FadePause()
        : timer_(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS)) {
        if (!timer_) timeBeginPeriod(1);
    }
    ~FadePause() {
        if (!timer_) timeEndPeriod(1);
    }
    FadePause(const FadePause&) = delete;
    FadePause& operator=(const FadePause&) = delete;
    void operator()(int ms) const {
        LARGE_INTEGER due{};
        due.QuadPart = -10000LL * ms;  // relative, in 100 ns units
        if (timer_ && SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE)) {
            // Bounded all the same: a timer that never fires must not hold the exit.
            WaitForSingleObject(timer_.get(), static_cast<DWORD>(ms) + 50);
            return;
        }
        Sleep(static_cast<DWORD>(ms));
    }

private:
    KernelHandle timer_;
};
}  // namespace

void TfPrincipal::MPFadeOut() {
    // From wherever the slider stands at exit: 250 steps of 2 take the
    // initial 500 to silence, and any lower level sooner.
    const FadePause pause;
    int pauses = 0;
    fadeOut(volume, fConfiguracion->live.confSonido,
            [this](int level) {
                setVolumen(level);  // a change of position applies the level itself
                MPSetVolume(mp3Player, volume);
            },
            [&](int ms) {
                pause(ms);
                ++pauses;
            });
    // Test seam: the exit's fade is seen from its steps, not from the clock.
    if (soundlog::enabled()) soundlog::line("fade pauses=" + std::to_string(pauses));
}

}  // namespace tv
