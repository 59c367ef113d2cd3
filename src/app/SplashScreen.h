#pragma once
// The splash window shown while the settings are read and applied.
#include "widgets/Win.h"
#include "widgets/core/JpegImage.h"

#include <optional>

namespace tv {

class TfSplashScreen : public Window {
public:
    void FormCreate();
    void showAndPaint();

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void paint(HDC dc);
    std::optional<Image> imgLogo;  // no logo when the picture cannot be decoded
    HFONT font_ = nullptr;
};

extern TfSplashScreen* fSplashScreen;

}  // namespace tv
