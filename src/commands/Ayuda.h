#pragma once
// The keyboard help overlay (Ctrl+H).
#include "widgets/Win.h"

#include <vector>

namespace tv {

class TfAyuda : public Window {
public:
    void FormCreate();
    void toggle();

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HFONT font_ = nullptr;
    std::vector<HWND> labels_;
};

extern TfAyuda* fAyuda;

}  // namespace tv
