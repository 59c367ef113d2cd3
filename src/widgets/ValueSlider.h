#pragma once
// A horizontal slider that shows its value as a number centred on the track.
// It reports only what the user does (a press on the track, every move of a
// drag, the arrow, page and Home/End keys); setting the value from code is
// silent. It also answers TBM_GETPOS, TBM_GETRANGEMIN, TBM_GETRANGEMAX and
// TBM_SETPOS like the system's trackbar, so tools can read it.
#include "widgets/core/SliderScale.h"
#include "widgets/Controls.h"

#include <functional>

namespace tv {

class ValueSlider : public Control {
public:
    void create(HWND parent, const wchar_t* name, int x, int y, int w, int h, int min, int max);
    void setValue(int v);  // clamped; reports nothing
    int value() const { return value_; }
    std::function<void(int)> onChange;

protected:
    void paint(HDC dc, const RECT& r) override;
    HCURSOR cursor() const override { return LoadCursorW(nullptr, IDC_ARROW); }
    bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    SliderScale scale() const;
    void userSets(int v);
    int min_ = 0, max_ = 100, value_ = 0;
    bool dragging_ = false;
    HFONT font_ = nullptr;  // from the font cache
};

}  // namespace tv
