// libFuzzer target for the status line's counter over any document text and
// any edits: after every edit the counter, told what changed, gives the
// figures of the line-by-line reckoning.
#include "FuzzCheck.h"
#include "../support/FakeEditor.h"

#include <string>

namespace {

// The input as a document and edits: the first byte picks the line width, the
// rest is text (a few bytes stand for a paragraph break, a tab or a vertical
// tab) until a 0xFF, then edits of four bytes each: where, how many removed,
// how many inserted, where the caret goes.
wchar_t character(std::uint8_t b) {
    switch (b % 16) {
    case 0: return L'\r';
    case 1: return L'\t';
    case 2: return L'\v';
    case 3: case 4: case 5: return L' ';
    case 6: return L'-';
    default: return static_cast<wchar_t>(L'a' + b % 26);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int width = 4 + data[0] % 40;
    std::size_t i = 1;
    std::wstring text;
    while (i < size && data[i] != 0xFF && text.size() < 2000) text.push_back(character(data[i++]));
    ++i;
    tv::FakeEditor ed(text, width);
    tv::StatusCounter counter(1 + static_cast<int>(size % 64));  // small reads: the whole read goes in pieces
    auto agrees = [&](int sel) {
        sel = sel % (ed.length() + 1);
        const tv::StatusFigures want = tv::ReferenceStatusFigures(ed, sel);
        tv::fuzz::check(counter.refresh(ed, sel) == want);
    };
    agrees(0);
    for (int edits = 0; i + 4 <= size && edits < 40; i += 4, ++edits) {
        const int len = ed.length();
        const int from = data[i] % (len + 1);
        const int removed = std::min<int>(data[i + 1] % 8, len - from);
        std::wstring inserted;
        for (int k = 0; k < data[i + 2] % 6; ++k) inserted.push_back(character(data[i + 2] + k * 7));
        ed.replace(from, from + removed, inserted);
        counter.textReplaced(from, from + removed, from + static_cast<int>(inserted.size()));
        agrees(data[i + 3] + from);
    }
    return 0;
}
