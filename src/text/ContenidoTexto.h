#pragma once
// The floating text window: rounded, stay-on-top, see-through, with the
// editor inside four 20-pixel margins and the status bar in the bottom one.
#include "text/Editor.h"
#include "text/TextHost.h"
#include "text/TransparentRichEdit.h"
#include "text/core/StatusLine.h"
#include "widgets/Handles.h"
#include "widgets/Win.h"

#include <string>

namespace tv {

class TfContenidoTexto : public Window {
public:
    // Posted after a load the editor could not take whole: the writer is told then.
    static constexpr UINT kTellLostParts = WM_APP + 1;
    void FormCreate();
    void FormActivate();
    void show();  // visible; the first show loads the command-line document
    void setTextAreaField(int field, int value);
    void setEditorBorder(int width);
    void applyColours(int textColour, int areaColour);
    void showStatusBar(bool visible);
    void refreshStatus();  // the status line's timer tick
    bool calculaResumenTexto();  // false while a long count goes on in steps
    void formatChanged();     // the selection's characters changed format, so their lines may wrap anew
    void documentReplaced();  // a whole new text (open, new)
    static std::string LoadFile(const std::wstring& fileName);

    TextHost* host = nullptr;  // the workspace, wired at start-up
    TTransparentRichEdit rtText;
    HWND barraEstado = nullptr;
    HWND Panel1 = nullptr, Panel2 = nullptr, Panel3 = nullptr, Panel4 = nullptr;
    int linea = 0, lineas = 0, palabras = 0, columna = 0;

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void layout();
    void setStatusParts();  // the status bar's panel edges at the window's density
    void paintStatus(HDC dc, const RECT& r) const;
    COLORREF editorBorderColour() const;
    static LRESULT CALLBACK statusProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);
    void rtTextKeyDown(WORD& key, bool shift, bool ctrl, bool alt);
    void rtTextKeyPress(wchar_t ch);
    void rtTextSelectionChange();
    bool shown_ = false;
    editor::StatusTracker status_;
    int areaColour_ = 16777215;
    COLORREF area_ = RGB(255, 255, 255), ink_ = RGB(0, 0, 0);  // the text area's colours as resolved
    int editorBorder_ = 0;
    SolidBrush areaBrush_;  // the text-area colour, behind the margins and the status bar
    HFONT font_ = nullptr;  // from the font cache
    std::wstring clickLoadFailed_;  // a click file that could not be read is reported once
};

extern TfContenidoTexto* fContenidoTexto;
extern bool verResumen;  // the status line is shown
// The whole click WAV file as read from disk; empty until first loaded.
extern std::string sonido_click;

}  // namespace tv
