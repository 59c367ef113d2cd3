#include "rest/Descanso.h"

namespace tv {

TfDescanso* fDescanso = nullptr;

void TfDescanso::FormCreate() {
    RECT c;
    GetClientRect(hwnd, &c);
    setRoundedRegion(hwnd, c.right, c.bottom, 20, TRUE);
}

LRESULT TfDescanso::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    }
    return base(msg, wp, lp);
}

}  // namespace tv
