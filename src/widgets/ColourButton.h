#pragma once
// A colour button: a swatch with a drop-down arrow. A click drops a palette
// down with "Automatic" (the value 536870912), a grid of standard colours and
// "Other Colors..." (the system's colour dialog). The palette's drag bar tears
// it off as a floating window, "Color Window", which stays open and sets the
// colour at every choice until it is closed.
#include "widgets/Controls.h"

#include <cstdint>
#include <functional>

namespace tv {

// Asks a colour button for the value it holds (the answer is the value).
inline constexpr UINT kColourButtonGetColour = WM_USER + 120;

class ColourPaletteWindow;

class ColourButton : public Control {
public:
    ~ColourButton() override;
    // automaticSysColour: the system colour that "Automatic" stands for where
    // the button's colour is used (COLOR_WINDOW for backgrounds, COLOR_WINDOWTEXT for text).
    void create(HWND parent, const wchar_t* name, int x, int y, int w, int h, int automaticSysColour);
    void setColour(std::int32_t value);  // from code: redraws, reports nothing
    std::int32_t colour() const { return value_; }
    int automaticSysColour() const { return automatic_; }
    // A colour was chosen by the user, from the palette or the colour dialog.
    std::function<void(std::int32_t)> onChange;
    void closePalette();
    void dropDown();

protected:
    void paint(HDC dc, const RECT& r) override;
    void click() override { dropDown(); }
    HCURSOR cursor() const override { return LoadCursorW(nullptr, IDC_ARROW); }
    bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    friend class ColourPaletteWindow;
    void chosen(std::int32_t value);
    std::int32_t value_ = 0;
    int automatic_ = COLOR_WINDOW;
    ColourPaletteWindow* palette_ = nullptr;
};

}  // namespace tv
