#include "i18n/Resources.h"

#include "i18n/Localization.h"

namespace tv {

// The domains in order; the first translation that differs from the English
// text wins. Other threads and empty texts get the English text.
std::wstring resourceString(const std::wstring& english) {
    if (english.empty() || !onTranslationThread()) return english;
    for (const std::wstring& domain : resourceStringDomains()) {
        std::wstring translated = translateIn(domain, english);
        if (translated != english) return translated;
    }
    return english;
}

}  // namespace tv
