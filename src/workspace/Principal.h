#pragma once
// The workspace window: full screen behind the text window.
#include "text/TextHost.h"
#include "widgets/Controls.h"
#include "widgets/Handles.h"
#include "widgets/Timer.h"
#include "widgets/Win.h"
#include "rest/core/Countdown.h"
#include "widgets/core/JpegImage.h"
#include "workspace/core/HandleGeometry.h"

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tv {

// A picture file as it is now, for the size it is shown at.
struct PictureSource {
    std::wstring path;
    ULONGLONG size = 0, written = 0;  // bytes; last write (FILETIME)
    FitSize fit;
    bool operator==(const PictureSource& o) const;
};
struct DecodedPicture {
    std::optional<PictureSource> source;
    std::optional<Image> image;
    std::wstring why;  // when there is no image
};

class TfPrincipal : public Window, public TextHost {
public:
    void FormCreate();
    void inicializa();
    bool FormClose();  // false: the close is refused and both windows stay
    void pintaFondo();
    void prefetchPicture();  // the picture pintaFondo will want, decoded meanwhile on a thread of its own
    void FormPaint(HDC dc, const RECT& clip);
    void FormResize();
    void FormKeyDown(WORD& key, bool shift, bool ctrl, bool alt) override;
    void bFondoClick();
    void btnTransparenteClick();
    void bSalirClick();
    void setColor(int colour);
    void repaint();

    // Ambient sound and key click (SoundCommands.cpp).
    void reproduceSonido();
    // During the splash pause: the ambient file's device opened ahead of the
    // first reproduceSonido, which then plays it (or shows why it cannot).
    void openAmbientAhead();
    void bSonidoClick();
    void bTecladoClick();
    void sbVolumenChange();
    void MPFadeOut();
    // Break countdown (BreakTimer.cpp).
    void jvtTemporizadorTimer();

    // Hover panels (Panels.cpp).
    void createPanels();
    void dpiChanged(int dpi);  // lays the panels and handles out again; stays full-screen
    void muestraMenu();
    void ocultaMenu();
    void FormMouseEnter();
    void bConfiguracionClick();
    void bNegritaClick() override;
    void bItalicaClick() override;
    void bSubrayadoClick() override;
    void bFuenteClick(const BitmapButton& sender);
    void bFuenteTamanyoClick(const BitmapButton& sender);
    void showVolumeControls(bool visible);  // lVolumen and sbVolumen
    void showBreakCountdown();              // pbTiempoDescanso, its hint and lblTxtMinutos
    void setVolumen(int position);          // sbVolumen from code: clamped, reports a change

    // What the text window asks of the workspace.
    HWND hostWindow() const override { return hwnd; }
    bool hasChanges() const override { return hayCambios; }
    void markChanged() override { hayCambios = true; }
    void markSaved() override { hayCambios = false; }
    void showCounts(int lines, int words) override;
    void showSelectionEffects(bool bold, bool italic, bool underline) override;
    void pointerOnText() override { ocultaMenu(); }
    void statusLineStopped() override;

    // What the settings tell the workspace.
    void setMinutes(int minutes) { iMinutos = minutes; }  // the stored writing minutes, before the countdown adopts them
    void showSwitches(bool sound, bool picture, bool transparent);  // drawn only; runs nothing
    void showKeyClick(bool on) { bTeclado.state = on; }

    // Placement handles (Panels.cpp).
    void CreateNodes();
    void PositionNodes(HWND aroundControl);
    void SetNodesVisible(bool value);
    void pMoverResize();

    HWND pMenu = nullptr, pEstilos = nullptr;
    BitmapButton bNew, bConfiguracion, bSalir, bGuardarComo, bGuardar, bAbrir;
    SwitchButton bSonido, bTeclado, bFondo, btnTransparente;
    HWND lVolumen = nullptr, sbVolumen = nullptr, lblTxtMinutos = nullptr;
    GradientBar pbTiempoDescanso;
    SwitchButton bNegrita, bItalica, bSubrayado;
    BitmapButton bFuenteP, bFuenteM, bFuenteG, bFuenteA, bFuenteB, bFuenteC;
    BreakCountdown countdown;  // holds pbTiempoDescanso's range, position and hint
    int volume = 0;            // position of sbVolumen, 0..1000 (500 once created)
    bool hayCambios = false;
    int iMinutos = 0;
    int color = 0x20000000;  // the system window colour until the settings are read

    std::unique_ptr<PeriodicTimer> jvtTemporizador, jvtTemporizadorGuardadoAutomatico, temporizadorResumen;
    HWND pMover = nullptr;
    HWND lContLineas = nullptr, lContPalabras = nullptr;  // hidden counters of the command panel

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // One of the eight placement handles; a drag on it resizes the frame.
    class Node : public Window {
    public:
        Node(TfPrincipal& owner, int index) : owner_(owner), index_(index) {}
    protected:
        LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
    private:
        TfPrincipal& owner_;
        int index_;
    };
    std::vector<std::unique_ptr<Node>> nodes_;  // FNodes are their windows
    void NodeMouseMove(int node);
    void NodeMouseUp();
    Rect frameBounds(HWND control) const;
    void setFrame(const Rect& r);
    Rect moverRect_;  // pMover's rectangle, which a drag may turn inside out
    std::vector<HWND> FNodes;
    HWND FCurrentNodeControl = nullptr;
    bool FNodePositioning = false;
    MouseEnter mouse_;
    HFONT panelFont_ = nullptr;  // from the font cache
    SolidBrush background_;    // the workspace colour
    bool pictureShown() const;
    std::optional<Image> jpgFondo;
    FitSize pictureFit() const;  // the size the picture is shown at
    FitSize pictureFit_;         // the size jpgFondo was decoded for
    std::optional<PictureSource> pictureSource_;  // what jpgFondo was decoded from
    std::future<DecodedPicture> prefetch_;
    struct AmbientAhead {
        std::wstring file;   // what was opened
        std::wstring error;  // the open's failure, shown when the sound starts
    };
    std::optional<AmbientAhead> ambientAhead_;
    std::wstring reportedBadPicture;  // a broken picture is reported once, not at every reload
    bool closing_ = false;
};

extern TfPrincipal* fPrincipal;

}  // namespace tv
