// libFuzzer target for the .mo reader: any image must be rejected or be safe
// to read, and the UTF-8 conversions must hold on whatever text it yields.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "i18n/core/MoCatalog.h"
#include "i18n/core/Translate.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// Decoded text is always valid, so it must survive a round trip unchanged.
void checkUtf8(std::string_view bytes) {
    const std::wstring text = tv::fromUtf8(bytes);
    check(tv::fromUtf8(tv::toUtf8(text)) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    checkUtf8(image.substr(0, 256));
    const auto catalog = tv::MoCatalog::open(image);
    if (!catalog) return 0;

    const std::string_view header = catalog->header();
    tv::declaresUtf8(header);
    tv::contentTypeOf(header);
    for (const char* key : {"Cancel", "&Yes", "Do you want to save document changes?", "x"})
        catalog->find(key);

    const std::uint32_t n = catalog->count() < 32 ? catalog->count() : 32;
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::string_view original = catalog->original(i);
        const auto found = catalog->find(original);
        // Sorted tables are checked on opening, so binary search finds every
        // original; a hash table may lie, and then only has to end.
        if (!catalog->hasHashTable()) check(found.has_value());
        checkUtf8(catalog->translation(i));
        tv::lookupText(*catalog, tv::fromUtf8(original));
    }
    return 0;
}
