#pragma once
// The rest window: shown modally when the writing minutes run out, counts the
// rest seconds down and closes by itself.
#include "rest/core/Countdown.h"
#include "widgets/Timer.h"
#include "widgets/Win.h"

#include <memory>

namespace tv {

class TfDescanso : public Window {
public:
    void FormCreate();
    // Shows the window in front of everything with the program's other
    // windows disabled, and returns once it has been closed.
    void ShowModal();

    void FormShow();
    void temporizadorTimer();
    void bCancelarClick();
    void FormClose();

    const RestCountdown& countdown() const { return rest_; }

    HWND Label1 = nullptr, JvgStaticText1 = nullptr, JvgStaticText2 = nullptr, lTiempo = nullptr;
    HWND barraProgreso = nullptr, bCancelar = nullptr;
    std::unique_ptr<PeriodicTimer> temporizador;

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void close();
    void roundCorners();  // the rounded outline at the window's size and density
    void setTiempo(const std::wstring& text);
    RestCountdown rest_;  // iSegundos and the bar's range and position
    bool modal_ = false;
    HFONT big_ = nullptr, normal_ = nullptr;
};

extern TfDescanso* fDescanso;

}  // namespace tv
