#include "text/TransparentRichEdit.h"

#include "sound/SoundLog.h"

#include "widgets/Errors.h"
#include "widgets/Handles.h"

#include <commctrl.h>
#include <richedit.h>

#include <utility>

namespace tv {

void TTransparentRichEdit::create(HWND parent, int id) {
    // Rich edit 4.1 and later lives in Msftedit; 2.0/3.0 in Riched20.
    const wchar_t* cls = MSFTEDIT_CLASS;
    // From the system folder only: a copy beside the program is never taken.
    if (!LoadLibraryExW(L"Msftedit.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        LoadLibraryExW(L"Riched20.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        cls = RICHEDIT_CLASSW;
    }
    // Not WS_EX_TRANSPARENT: with it Windows' rich edit draws only the glyphs
    // (a transparent background), so deleted text, a cleared selection and
    // lines scrolled away would stay on screen until the window beneath
    // repainted. Opaque, it fills its background in the text-area colour
    // (setColours), the colour of the window behind it, so the text still
    // lies on the window's colour and the window's see-through level covers
    // both alike.
    HWND h = CreateWindowExW(0, cls, L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_NOHIDESEL |
                                 ES_AUTOVSCROLL,
                             0, 0, 530, 288, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (!h) throw Failure(L"Cannot create the text editor: " + systemErrorText(GetLastError()));
    attach(h);
}

void TTransparentRichEdit::setBorder(int width, COLORREF colour) {
    const bool resized = width != border_;
    border_ = width < 0 ? 0 : width;
    borderColour_ = colour;
    // The frame lies in the non-client area, so the text keeps clear of it.
    if (resized)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    else
        RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

LRESULT TTransparentRichEdit::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_CHAR) && onKeyMessage) {
        onKeyMessage(msg, wp);
        struct Done {
            TTransparentRichEdit* self;
            ~Done() {
                if (self->onKeyMessageDone) self->onKeyMessageDone();
            }
        } done{this};
        return keyMessage(msg, wp, lp);
    }
    return keyMessage(msg, wp, lp);
}

LRESULT TTransparentRichEdit::keyMessage(UINT msg, WPARAM wp, LPARAM lp) {
    TTransparentRichEdit* self = this;
    const HWND h = hwnd;
    switch (msg) {
    case WM_ERASEBKGND: return 1;  // the control fills the whole of its background as it paints
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (self->onKeyDown) {
            WORD key = static_cast<WORD>(wp);
            guarded([&] {
                self->onKeyDown(key, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                                GetKeyState(VK_MENU) < 0);
            });
            // The character a consumed command key brings (Ctrl+H is 0x08,
            // Ctrl+M 0x0D...) must not reach the control, which may take it
            // as an edit; a key that is no command lets its character through.
            swallowChar_ = key == 0;
            if (key == 0) return 0;
            wp = key;
        } else {
            swallowChar_ = false;
        }
        break;
    case WM_CHAR:
        if (self->onKeyPress) guarded([&] { self->onKeyPress(static_cast<wchar_t>(wp)); });
        // Still a key press, so it clicks; but no edit.
        if (std::exchange(self->swallowChar_, false)) return 0;
        // Test seam: what reaches the control, as the system's own control
        // may or may not act on it.
        if (soundlog::enabled()) soundlog::line("editorChar ch=" + soundlog::hex(wp, 4));
        break;
    case WM_MOUSEMOVE:
        if (self->mouse_.moved(h) && self->onMouseEnter) guarded([&] { self->onMouseEnter(); });
        break;
    case WM_MOUSELEAVE: self->mouse_.left(); break;
    case WM_NCCALCSIZE: {
        const LRESULT r = base(msg, wp, lp);
        if (self->border_ > 0) {
            RECT* client = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
            InflateRect(client, -self->border_, -self->border_);
            if (client->right < client->left) client->right = client->left;
            if (client->bottom < client->top) client->bottom = client->top;
        }
        return r;
    }
    case WM_NCPAINT: {
        const LRESULT r = base(msg, wp, lp);
        if (self->border_ > 0) {
            const WindowDC dc(h, true);
            RECT w;
            GetWindowRect(h, &w);
            RECT frame{0, 0, w.right - w.left, w.bottom - w.top};
            const Brush brush(CreateSolidBrush(self->borderColour_));
            for (int i = 0; i < self->border_; ++i) {
                FrameRect(dc.get(), &frame, brush.get());
                InflateRect(&frame, -1, -1);
            }
        }
        return r;
    }
    }
    return base(msg, wp, lp);
}

}  // namespace tv
