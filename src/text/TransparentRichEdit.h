#pragma once
// The editor control: the platform rich edit, its background painted by the
// control itself in the text-area colour (the window's own), never erased
// beforehand, so the text lies on the window's colour without flicker.
#include "widgets/Win.h"

#include <functional>

namespace tv {

class TTransparentRichEdit : public Window {
public:
    void create(HWND parent, int id);
    // A flat frame of the given width drawn inside the control's bounds; 0
    // for none.
    void setBorder(int width, COLORREF colour);

    // Key and pointer events of the editor; a key-down handler that sets the
    // key to 0 consumes it, and the character that key brings then reaches
    // onKeyPress only, never the control.
    std::function<void(WORD& key, bool shift, bool ctrl, bool alt)> onKeyDown;
    std::function<void(wchar_t ch)> onKeyPress;
    std::function<void()> onMouseEnter;
    // Around the handling of every key message (the handlers above included).
    std::function<void(UINT msg, WPARAM key)> onKeyMessage;
    std::function<void()> onKeyMessageDone;

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT keyMessage(UINT msg, WPARAM wp, LPARAM lp);
    MouseEnter mouse_;
    int border_ = 0;
    bool swallowChar_ = false;  // the last key-down was a consumed command
    COLORREF borderColour_ = 0;
};

}  // namespace tv
