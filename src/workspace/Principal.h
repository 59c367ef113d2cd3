#pragma once
// The workspace window: full screen behind the text window.
#include "widgets/Timer.h"
#include "widgets/Win.h"
#include "rest/core/Countdown.h"
#include "widgets/core/JpegImage.h"

#include <memory>
#include <optional>

namespace tv {

// An on/off switch of the command and style panels: setting the state from
// code only redraws it.
struct Switch {
    bool state = false;
};

class TfPrincipal : public Window {
public:
    void FormCreate();
    void inicializa();
    void FormClose();
    void pintaFondo();
    void FormPaint(HDC dc, const RECT& clip);
    void FormResize();
    void FormKeyDown(WORD& key, bool shift, bool ctrl, bool alt);
    void bFondoClick();
    void btnTransparenteClick();
    void bSalirClick();
    void setColor(int colour);
    void repaint();

    // Ambient sound and key click (sound/SoundCommands.cpp).
    void reproduceSonido();
    void bSonidoClick();
    void bTecladoClick();
    void sbVolumenChange();
    void MPFadeOut();
    // Break countdown (rest/BreakTimer.cpp).
    void jvtTemporizadorTimer();

    Switch bFondo, btnTransparente, bSonido, bTeclado;  // command panel
    Switch bNegrita, bItalica, bSubrayado;              // style panel
    BreakCountdown countdown;  // holds pbTiempoDescanso's range, position and hint
    int volume = 500;          // position of sbVolumen, 0..1000
    bool hayCambios = false;
    int iMinutos = 0;
    int color = 0x20000000;  // the system window colour until the settings are read

    std::unique_ptr<PeriodicTimer> jvtTemporizador, jvtTemporizadorGuardadoAutomatico, temporizadorResumen;
    HWND pMover = nullptr;
    HWND lContLineas = nullptr, lContPalabras = nullptr;  // hidden counters of the command panel

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool pictureShown() const;
    std::optional<Image> jpgFondo;
    std::wstring reportedBadPicture;  // a broken picture is reported once, not at every reload
    bool closing_ = false;
};

extern TfPrincipal* fPrincipal;
extern bool verResumen;

}  // namespace tv
