// The status line recounts the whole document once a second; this measures
// the core's share of it (word total and caret line/column) over documents
// held in memory as display lines of about 80 characters.
#include "text/core/StatusLine.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Document {
    std::wstring text;
    std::vector<std::size_t> lineStarts;  // plus one past the end

    int lineCount() const { return static_cast<int>(lineStarts.size()) - 1; }
    std::wstring_view line(int i) const {
        const std::size_t a = lineStarts[static_cast<std::size_t>(i)];
        const std::size_t b = lineStarts[static_cast<std::size_t>(i) + 1];
        return std::wstring_view(text).substr(a, b - a);
    }
};

// Words of 1..10 letters, lines wrapped before 80 characters, a paragraph
// break (CR) every eight lines; fixed seed so every run counts the same text.
Document makeDocument(std::size_t chars) {
    Document d;
    d.text.reserve(chars + 128);
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    std::size_t lineStart = 0;
    int linesInParagraph = 0;
    d.lineStarts.push_back(0);
    while (d.text.size() < chars) {
        const std::size_t len = 1 + next() % 10;
        if (d.text.size() - lineStart + len + 1 > 80) {
            if (++linesInParagraph == 8) {
                d.text += L'\r';
                linesInParagraph = 0;
            }
            lineStart = d.text.size();
            d.lineStarts.push_back(lineStart);
        }
        d.text.append(len, static_cast<wchar_t>(L'a' + next() % 26));
        d.text += L' ';
    }
    d.lineStarts.push_back(d.text.size());
    return d;
}

void BM_StatusLineRecount(benchmark::State& state) {
    const Document doc = makeDocument(static_cast<std::size_t>(state.range(0)));
    const int caret = static_cast<int>(doc.text.size() / 2);
    int caretLine = 0;
    while (doc.lineStarts[static_cast<std::size_t>(caretLine) + 1] <= static_cast<std::size_t>(caret))
        ++caretLine;
    for (auto _ : state) {
        const int words = tv::DocumentWordsCount(doc.lineCount(), [&doc](int i) { return doc.line(i); });
        const tv::LineColumn lc = tv::CaretLineColumn(
            caret, caretLine, static_cast<int>(doc.lineStarts[static_cast<std::size_t>(caretLine)]));
        benchmark::DoNotOptimize(words);
        benchmark::DoNotOptimize(lc);
    }
    state.counters["lines"] = doc.lineCount();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(doc.text.size() * sizeof(wchar_t)));
}
BENCHMARK(BM_StatusLineRecount)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
