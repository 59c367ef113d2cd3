#include "text/core/WordCount.h"

#include <cstddef>

namespace tv {

int WordsCount(std::wstring_view text) {
    if (text.empty()) return 0;
    // A word starts wherever a non-space follows a space (or the start). Written
    // without a running state so the compiler can vectorize it: the status line
    // recounts the whole document every second.
    const wchar_t* p = text.data();
    int count = p[0] != L' ';
    for (std::size_t i = 1; i < text.size(); ++i) count += (p[i] != L' ') & (p[i - 1] == L' ');
    return count;
}

}  // namespace tv
