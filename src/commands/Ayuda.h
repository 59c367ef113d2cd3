#pragma once
// The keyboard help overlay (Ctrl+H).
#include "widgets/Win.h"

#include <functional>
#include <vector>

namespace tv {

class TfAyuda : public Window {
public:
    void FormCreate();
    void toggle();
    // Keys pressed on the overlay go to the workspace's key handler (wired at start-up).
    std::function<void(WORD& key, bool shift, bool ctrl, bool alt)> onKeyDown;

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void layout();  // the labels fitted to their texts, the rounded outline

    HFONT font_ = nullptr;
    std::vector<HWND> labels_;
};

extern TfAyuda* fAyuda;

}  // namespace tv
