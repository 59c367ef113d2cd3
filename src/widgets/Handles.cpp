#include "widgets/Handles.h"

#include "widgets/core/Dpi.h"

#include <map>
#include <string>
#include <tuple>

namespace tv {

namespace {
using FontKey = std::tuple<std::wstring, int, int, bool, bool>;

HFONT fontFor(const FontKey& k) {
    static std::map<FontKey, Font> fonts;  // released with the program's other statics
    Font& f = fonts[k];
    if (!f)
        f.reset(CreateFontW(-std::get<1>(k), 0, 0, 0, std::get<2>(k), std::get<3>(k), std::get<4>(k), FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                            std::get<0>(k).c_str()));
    return f.get();
}

// What each font asked for by its designed (96 DPI) height is, so that the
// same font can be had at another density.
std::map<HFONT, FontKey>& designed() {
    static std::map<HFONT, FontKey> keys;
    return keys;
}
}  // namespace

HFONT cachedFont(const wchar_t* face, int pixelHeight, int weight, bool italic, bool underline) {
    const FontKey k{face, pixelHeight, weight, italic, underline};
    HFONT f = fontFor(k);
    if (f) designed().emplace(f, k);
    return f;
}

HFONT fontAtDpi(HFONT font, int dpi) {
    if (!font || dpi == kBaseDpi) return font;
    const auto it = designed().find(font);
    if (it == designed().end()) return font;  // not one of ours: as it is
    FontKey k = it->second;
    std::get<1>(k) = Dpi{dpi}.scale(std::get<1>(k));
    HFONT scaled = fontFor(k);
    return scaled ? scaled : font;
}

}  // namespace tv
