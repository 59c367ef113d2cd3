#include "widgets/Handles.h"

#include <map>
#include <string>
#include <tuple>

namespace tv {

HFONT cachedFont(const wchar_t* face, int pixelHeight, int weight, bool italic, bool underline) {
    using Key = std::tuple<std::wstring, int, int, bool, bool>;
    static std::map<Key, Font> fonts;  // released with the program's other statics
    Font& f = fonts[Key{face, pixelHeight, weight, italic, underline}];
    if (!f)
        f.reset(CreateFontW(-pixelHeight, 0, 0, 0, weight, italic, underline, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face));
    return f.get();
}

}  // namespace tv
