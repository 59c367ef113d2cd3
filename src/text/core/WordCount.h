#pragma once
// Word count of the status line and the command panel's hidden counter.
#include <string_view>

namespace tv {

// Number of maximal runs of characters other than the space (code 32). Only
// that character separates words: tabs, line breaks, no-break spaces (160) and
// punctuation all belong to words.
int WordsCount(std::wstring_view text);

}  // namespace tv
