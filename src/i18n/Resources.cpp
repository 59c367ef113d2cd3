#include "i18n/Resources.h"

namespace tv {

// Without catalogs every text stays English.
std::wstring resourceString(const std::wstring& english) { return english; }

}  // namespace tv
