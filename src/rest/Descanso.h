#pragma once
// The rest window shown when the writing minutes run out.
#include "widgets/Win.h"

namespace tv {

class TfDescanso : public Window {
public:
    void FormCreate();

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
};

extern TfDescanso* fDescanso;

}  // namespace tv
