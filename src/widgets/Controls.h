#pragma once
// The program's own small controls: bitmap-style buttons and on/off switches
// drawn with GDI at the window's DPI, panels with a rounded outline, and
// tooltips for them.
#include "widgets/Win.h"

#include <functional>
#include <string>

namespace tv {

class Control : public Window {
public:
    void setVisible(bool v) const { ShowWindow(hwnd, v ? SW_SHOWNA : SW_HIDE); }
    bool visible() const { return IsWindowVisible(hwnd) != FALSE; }
    void setTooltip(const std::wstring& text);

protected:
    // The name becomes the window text: it is not drawn, but tools and tests
    // find the control by it.
    void createControl(HWND parent, const wchar_t* name, int x, int y, int w, int h, bool visible = true);
    virtual void paint(HDC dc, const RECT& r) = 0;
    virtual void click() {}
    virtual HCURSOR cursor() const { return LoadCursorW(nullptr, IDC_HAND); }
    // Messages a control answers itself; true when handled.
    virtual bool message(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

    bool pressed() const { return pressed_; }  // held down by the mouse
    bool hot() const { return mouse_.inside(); }  // under the pointer
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) final;

private:
    bool pressed_ = false;
    MouseEnter mouse_;
};

// A 28 x 28 button with its caption drawn over it at an offset, in its own font.
class BitmapButton : public Control {
public:
    void create(HWND parent, const wchar_t* name, int x, int y, int w, int h, const std::wstring& caption,
                POINT captionAt, const wchar_t* face = L"Tahoma", int pixelHeight = 11);
    std::function<void()> onClick;
    // The caption font is data: the style commands read face and size from it.
    std::wstring face;
    int points = 8;

protected:
    void paint(HDC dc, const RECT& r) override;
    void click() override {
        if (onClick) onClick();
    }

private:
    std::wstring caption_;
    POINT at_{};
    int pixelHeight_ = 11;  // of the caption font at the design size
};

// The pictures a switch can show instead of a letter.
enum class SwitchIcon { None, Sound, KeyClick, Picture, SeeThrough };

// An on/off switch: a click flips the state and then runs onClick, which reads
// the new state; setting the state from code only redraws it.
class SwitchButton : public Control {
public:
    // A switch that shows a letter in the given font.
    void create(HWND parent, const wchar_t* name, int x, int y, int w, int h, const std::wstring& glyph,
                const wchar_t* face = L"Tahoma", int weight = FW_BOLD, bool italic = false, bool underline = false);
    // A switch that shows a drawn picture, struck through while off.
    void create(HWND parent, const wchar_t* name, int x, int y, int w, int h, SwitchIcon icon);
    std::function<void()> onClick;

    // Assigning the state redraws the switch and runs nothing.
    struct State {
        SwitchButton* owner;
        bool value = false;
        State& operator=(bool v) {
            value = v;
            if (owner->hwnd) InvalidateRect(owner->hwnd, nullptr, FALSE);
            return *this;
        }
        operator bool() const { return value; }
    } state{this};

    // As a click: flips the state, then runs onClick.
    void toggle() {
        state = !state.value;
        if (onClick) onClick();
    }

protected:
    void paint(HDC dc, const RECT& r) override;
    void click() override { toggle(); }

private:
    std::wstring glyph_;
    SwitchIcon icon_ = SwitchIcon::None;
    HFONT font_ = nullptr;  // from the font cache
};

// A smooth progress bar with a grey-to-silver gradient. It answers the
// standard progress-bar messages (PBM_SETRANGE32, PBM_SETPOS, PBM_GETPOS,
// PBM_GETRANGE), and keeps the position within the range.
class GradientBar : public Control {
public:
    void create(HWND parent, const wchar_t* name, int x, int y, int w, int h, bool visible);
    void setRange(int min, int max);
    void setPosition(int pos);
    int position() const { return pos_; }

protected:
    void paint(HDC dc, const RECT& r) override;
    HCURSOR cursor() const override { return LoadCursorW(nullptr, IDC_ARROW); }
    bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    int min_ = 0, max_ = 100, pos_ = 0;
};

// A white panel whose outline is a rounded rectangle (DrawRounded).
HWND createPanel(HWND parent, const wchar_t* name, int x, int y, int w, int h);
void DrawRounded(HWND panel);

}  // namespace tv
