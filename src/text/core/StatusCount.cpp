#include "text/core/StatusCount.h"

#include "text/core/StatusLine.h"
#include "text/core/WordCount.h"

#include <algorithm>

namespace tv {

StatusFigures ReferenceStatusFigures(LayoutSource& src, int selStart) {
    StatusFigures f;
    const int line = src.lineFromChar(selStart);
    const LineColumn lc = CaretLineColumn(selStart, line, src.lineIndex(line));
    f.linea = lc.linea;
    f.columna = lc.columna;
    f.lineas = src.lineCount();
    std::wstring buf;
    f.palabras = DocumentWordsCount(f.lineas, [&](int i) -> std::wstring_view {
        buf = src.lineText(i, kMaxCountedLineChars + 2);
        return buf;
    });
    return f;
}

int ParagraphWords(std::wstring_view text, const std::vector<int>& rows) {
    int words = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::size_t a = static_cast<std::size_t>(rows[k]);
        const std::size_t b = k + 1 < rows.size() ? static_cast<std::size_t>(rows[k + 1]) : text.size();
        words += WordsCount(CountedLineText(text.substr(a, b - a)));
    }
    return words;
}

namespace {
// Paragraphs of a stretch of text, each with its closing CR. A stretch that
// ends in a CR yields an empty last piece only when atEnd (the document's
// empty last paragraph).
void splitParagraphs(const std::wstring& text, bool atEnd, std::vector<std::wstring>& out) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == L'\r') {
            out.push_back(text.substr(start, i + 1 - start));
            start = i + 1;
        }
    if (start < text.size() || atEnd) out.push_back(text.substr(start));
}
}  // namespace

void StatusCounter::textReplaced(int from, int oldTo, int newTo) {
    if (oldTo < from) oldTo = from;
    if (newTo < from) newTo = from;
    const int d = newTo - oldTo;
    if (!windowSet_) {
        windowSet_ = true;
        winFrom_ = from;
        winTo_ = newTo;
        delta_ = d;
        return;
    }
    // The window's end moves with the text after the edit.
    int end = winTo_;
    if (end >= oldTo)
        end += d;
    else if (end > from)
        end = newTo;
    winFrom_ = std::min(winFrom_, from);
    winTo_ = std::max(end, newTo);
    delta_ += d;
}

void StatusCounter::textChangedSomewhere() {
    unknown_ = true;
    restartRead_ = reading_;
}

void StatusCounter::layoutChanged() {
    for (Paragraph& p : paras_) p.rows.clear();
}

bool StatusCounter::readWhole(LayoutSource& src, int length, const KeepGoing& keepGoing) {
    // Read in pieces, time allowing between them. Edits told meanwhile within
    // what was read are read again there; one reaching past it cuts the read
    // back to where it starts.
    const int read = static_cast<int>(whole_.size());
    if (!reading_ || restartRead_) {
        whole_.clear();
        reading_ = true;
        restartRead_ = false;
    } else if (windowSet_ && winFrom_ < read) {
        const int oldEnd = winTo_ - delta_;  // the edited window as it was
        if (oldEnd <= read)
            whole_.replace(static_cast<std::size_t>(winFrom_), static_cast<std::size_t>(oldEnd - winFrom_),
                           src.text(winFrom_, winTo_));
        else
            whole_.resize(static_cast<std::size_t>(winFrom_));
    }
    windowSet_ = false;
    delta_ = 0;
    while (static_cast<int>(whole_.size()) < length) {
        const int from = static_cast<int>(whole_.size());
        whole_ += src.text(from, std::min(length, from + readChunk_));
        if (static_cast<int>(whole_.size()) <= from) break;  // the control gave nothing more
        if (static_cast<int>(whole_.size()) < length && !keepGoing()) return false;
    }
    whole_.resize(std::min(whole_.size(), static_cast<std::size_t>(length)));
    reading_ = false;
    return true;
}

void StatusCounter::diffWhole() {
    std::vector<std::wstring> now;
    splitParagraphs(whole_, true, now);
    whole_ = std::wstring();
    // Keep the paragraphs that match from either end; the middle is new.
    std::size_t head = 0;
    while (head < now.size() && head < paras_.size() && now[head] == paras_[head].text) ++head;
    std::size_t tail = 0;
    while (tail < now.size() - head && tail < paras_.size() - head &&
           now[now.size() - 1 - tail] == paras_[paras_.size() - 1 - tail].text)
        ++tail;
    std::vector<Paragraph> next;
    next.reserve(now.size());
    for (std::size_t i = 0; i < head; ++i) next.push_back(std::move(paras_[i]));
    for (std::size_t i = head; i < now.size() - tail; ++i) next.push_back(Paragraph{std::move(now[i]), {}, 0});
    for (std::size_t i = paras_.size() - tail; i < paras_.size(); ++i) next.push_back(std::move(paras_[i]));
    paras_ = std::move(next);
}

void StatusCounter::replaceWindow(LayoutSource& src, int length) {
    // Old positions: the window's start stays, its end is less the length change.
    const int oldFrom = std::max(0, winFrom_ - 1);
    const int oldTo = winTo_ - delta_ + 1;
    std::size_t first = 0;
    int start = 0;
    while (first + 1 < paras_.size() && start + static_cast<int>(paras_[first].text.size()) <= oldFrom) {
        start += static_cast<int>(paras_[first].text.size());
        ++first;
    }
    std::size_t last = first;
    int end = start + static_cast<int>(paras_[first].text.size());
    while (last + 1 < paras_.size() && end <= oldTo) {
        ++last;
        end += static_cast<int>(paras_[last].text.size());
    }
    const bool atEnd = last + 1 == paras_.size();
    const int newEnd = atEnd ? length : end + delta_;
    std::vector<std::wstring> now;
    splitParagraphs(src.text(start, std::max(start, newEnd)), atEnd, now);
    std::vector<Paragraph> pieces;
    for (std::wstring& t : now) pieces.push_back(Paragraph{std::move(t), {}, 0});
    paras_.erase(paras_.begin() + static_cast<std::ptrdiff_t>(first),
                 paras_.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    paras_.insert(paras_.begin() + static_cast<std::ptrdiff_t>(first), std::make_move_iterator(pieces.begin()),
                  std::make_move_iterator(pieces.end()));
}

void StatusCounter::layOutByLines(LayoutSource& src, Paragraph& p, int start) {
    // The lines are found one after the other from the paragraph's start,
    // one query per display line.
    const std::wstring_view t = p.text;
    const int size = static_cast<int>(t.size());
    const int end = t.ends_with(L'\r') ? size - 1 : size;
    p.rows.assign(1, 0);
    for (int s = 0; s < end;) {
        int next = s + src.lineLength(start + s);
        // A line ended by a soft break may leave the break out of its length.
        if (next < end && t[next] == L'\v' && (next == s || t[next - 1] != L'\v')) ++next;
        if (next <= s || next > end) break;
        if (next == end) {
            // A soft break at the paragraph's end leaves an empty line after it.
            if (t[next - 1] == L'\v') p.rows.push_back(end);
            break;
        }
        p.rows.push_back(next);
        s = next;
    }
    p.words = ParagraphWords(p.text, p.rows);
    ++laidOut_;
}

bool StatusCounter::layOut(LayoutSource& src, const KeepGoing& keepGoing) {
    bool worked = false;
    int start = 0;
    for (Paragraph& p : paras_) {
        if (p.rows.empty()) {
            if (worked && !keepGoing()) return false;
            layOutByLines(src, p, start);
            worked = true;
        }
        start += static_cast<int>(p.text.size());
    }
    return true;
}

StatusCounter::Cache StatusCounter::refreshCache(LayoutSource& src, int length, const KeepGoing& keepGoing) {
    if (!filled_ || unknown_) {
        if (!readWhole(src, length, keepGoing)) return Cache::Unfinished;
        diffWhole();
        filled_ = true;
    } else if (windowSet_) {
        replaceWindow(src, length);
    }
    unknown_ = false;
    windowSet_ = false;
    delta_ = 0;
    if (!layOut(src, keepGoing)) return Cache::Unfinished;
    int size = 0, lines = 0;
    for (const Paragraph& p : paras_) {
        size += static_cast<int>(p.text.size());
        lines += static_cast<int>(p.rows.size());
    }
    return size == length && lines == src.lineCount() ? Cache::Right : Cache::Wrong;
}

StatusFigures StatusCounter::figures(int selStart) const {
    StatusFigures f;
    f.lineas = 0;
    f.palabras = 0;
    int start = 0;
    bool found = false;
    for (std::size_t i = 0; i < paras_.size(); ++i) {
        const Paragraph& p = paras_[i];
        const int size = static_cast<int>(p.text.size());
        if (!found && (selStart < start + size || i + 1 == paras_.size())) {
            found = true;
            const int rel = selStart - start;
            const auto row = std::upper_bound(p.rows.begin(), p.rows.end(), rel) - 1;
            f.linea = f.lineas + static_cast<int>(row - p.rows.begin()) + 1;
            f.columna = rel - *row + 1;
        }
        f.lineas += static_cast<int>(p.rows.size());
        f.palabras += p.words;
        start += size;
    }
    return f;
}

StatusFigures StatusCounter::refresh(LayoutSource& src, int selStart) {
    return *refreshWithin(src, selStart, [] { return true; });
}

std::optional<StatusFigures> StatusCounter::refreshWithin(LayoutSource& src, int selStart,
                                                          const KeepGoing& keepGoing) {
    if (!unfinished_) laidOut_ = 0;
    usedReference_ = false;
    const int length = src.length();
    Cache cache = refreshCache(src, length, keepGoing);
    if (cache == Cache::Wrong && !lookedAgain_) {
        // Something changed that no notice told of: look at everything again.
        lookedAgain_ = true;
        unknown_ = true;
        layoutChanged();
        cache = refreshCache(src, length, keepGoing);
    }
    unfinished_ = cache == Cache::Unfinished;
    if (unfinished_) return std::nullopt;
    lookedAgain_ = false;
    if (cache == Cache::Right) return figures(std::clamp(selStart, 0, length));
    // The control lays the text out in a way this model does not follow
    // (a line running over a paragraph break): count line by line.
    usedReference_ = true;
    filled_ = false;
    paras_.clear();
    return ReferenceStatusFigures(src, selStart);
}

}  // namespace tv
