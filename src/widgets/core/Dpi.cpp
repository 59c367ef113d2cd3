#include "widgets/core/Dpi.h"

namespace tv {

namespace {
int mulDivRounded(int v, int num, int den) {
    if (den <= 0 || num <= 0) return v;  // an unknown density leaves the value as designed
    const long long p = static_cast<long long>(v) * num;
    const long long half = den / 2;
    return static_cast<int>(p >= 0 ? (p + half) / den : -((-p + half) / den));
}
}  // namespace

int Dpi::scale(int v) const { return mulDivRounded(v, dpi, kBaseDpi); }

int Dpi::unscale(int v) const { return mulDivRounded(v, kBaseDpi, dpi); }

}  // namespace tv
