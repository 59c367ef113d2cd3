#pragma once
// A stand-in for the platform's rich edit, for the status counter's tests and
// its fuzz target.
#include "text/core/StatusCount.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tv {

// An editor that wraps like the platform's: lines break after a space, a tab
// or a hyphen; a word wider than the line is cut where it overflows; spaces at
// the end of a line hang past the edge; a vertical tab ends a line; CR ends a
// paragraph. Each character is as wide as its entry in widths (1 unless a
// format made it wider). Counts the queries it answers.
struct FakeEditor : LayoutSource {
    std::wstring doc;
    std::vector<int> widths;
    int width = 40;
    std::vector<int> rows;  // line starts
    int lineQueries = 0;
    long charsRead = 0;

    FakeEditor(std::wstring text, int w) : doc(std::move(text)), widths(doc.size(), 1), width(w) { wrap(); }

    void wrap() {
        rows.assign(1, 0);
        int used = 0, lastBreak = -1;
        const int n = static_cast<int>(doc.size());
        for (int i = 0; i < n; ++i) {
            const wchar_t c = doc[i];
            const int start = rows.back();
            if (c == L'\r' || c == L'\v') {
                rows.push_back(i + 1);
                used = 0;
                lastBreak = -1;
                continue;
            }
            if (c != L' ' && used + widths[i] > width && i > start) {
                const int at = lastBreak > start ? lastBreak : i;
                rows.push_back(at);
                used = 0;
                for (int k = at; k < i; ++k) used += widths[k];
                lastBreak = -1;
            }
            if (c != L' ') used += widths[i];
            if (c == L' ' || c == L'\t' || c == L'-') lastBreak = i + 1;
        }
    }
    void replace(int from, int to, const std::wstring& with) {
        doc.replace(from, to - from, with);
        widths.erase(widths.begin() + from, widths.begin() + to);
        widths.insert(widths.begin() + from, with.size(), 1);
        wrap();
    }

    int length() override { return static_cast<int>(doc.size()); }
    int lineCount() override { return static_cast<int>(rows.size()); }
    std::wstring text(int from, int to) override {
        charsRead += to - from;
        return doc.substr(from, to - from);
    }
    int lineFromChar(int pos) override {
        ++lineQueries;
        return static_cast<int>(std::upper_bound(rows.begin(), rows.end(), pos) - rows.begin()) - 1;
    }
    int lineIndex(int line) override {
        ++lineQueries;
        return line >= 0 && line < lineCount() ? rows[line] : -1;
    }
    bool lengthLeavesOutSoftBreak = false;
    int lineLength(int pos) override {
        ++lineQueries;
        const int line = static_cast<int>(std::upper_bound(rows.begin(), rows.end(), pos) - rows.begin()) - 1;
        int b = line + 1 < lineCount() ? rows[line + 1] : length();
        if (b > rows[line] && (doc[b - 1] == L'\r' || (lengthLeavesOutSoftBreak && doc[b - 1] == L'\v'))) --b;
        return b - rows[line];
    }
    std::wstring lineText(int line, std::size_t maxChars) override {
        ++lineQueries;
        const int a = rows[line], b = line + 1 < lineCount() ? rows[line + 1] : length();
        return doc.substr(a, b - a).substr(0, maxChars);
    }
};

}  // namespace tv
