#pragma once
// The status line's figures kept up to date paragraph by paragraph. The
// editor is asked only about the paragraphs an edit touched: on the platform's
// control under Wine a display-line query costs more the further into the
// document the line lies, so a line-by-line recount of a long document is
// quadratic. A whole count can be done in steps.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tv {

// Asked between steps of a long piece of work: whether there is time for more.
using KeepGoing = std::function<bool()>;

// What the counter asks of the editor. Positions are character positions in
// which a paragraph break (CR) is one character.
class LayoutSource {
public:
    virtual ~LayoutSource() = default;
    virtual int length() = 0;                         // characters in the document
    virtual int lineCount() = 0;                      // display lines; an empty document has one
    virtual std::wstring text(int from, int to) = 0;  // characters [from, to)
    virtual int lineFromChar(int pos) = 0;            // display line holding pos, from 0
    virtual int lineIndex(int line) = 0;              // first position of a display line; -1 past the last
    // Characters of the display line holding pos, without a paragraph break
    // (a soft line break may or may not be counted). The one line query the
    // counter uses: the platform's control answers it from the paragraph, not
    // by walking every line before it (finding the paragraph still costs more
    // the further in it lies, so a whole count of a long document is slow).
    virtual int lineLength(int pos) = 0;
    // The text of one display line as the control gives it (line break
    // included), at most maxChars characters.
    virtual std::wstring lineText(int line, std::size_t maxChars) = 0;
};

struct StatusFigures {
    int linea = 1, columna = 1, lineas = 1, palabras = 0;
    bool operator==(const StatusFigures&) const = default;
};

// The line-by-line reckoning, one display-line query per line: the definition
// that StatusCounter must always agree with.
StatusFigures ReferenceStatusFigures(LayoutSource& src, int selStart);

class StatusCounter {
public:
    // A whole text is read readChunk characters at a time.
    explicit StatusCounter(int readChunk = 1 << 20) : readChunk_(readChunk) {}
    // Text [from, oldTo) as it was before an edit is now [from, newTo). The
    // range may be wider than what changed, never narrower.
    void textReplaced(int from, int oldTo, int newTo);
    // The text changed where nobody can tell (undo, a drop, a new document).
    void textChangedSomewhere();
    // The format of [from, to) changed, which may wrap its lines anew.
    void formatChanged(int from, int to) { textReplaced(from, to, to); }
    // Every paragraph may wrap anew (the editor's width changed).
    void layoutChanged();
    StatusFigures refresh(LayoutSource& src, int selStart);
    // The same, in steps: gives nothing when keepGoing said stop before the
    // count was whole. The next call goes on from there, edits told meanwhile
    // included, so a long document is counted without one long pause.
    std::optional<StatusFigures> refreshWithin(LayoutSource& src, int selStart, const KeepGoing& keepGoing);

    // For tests and figures: how the last whole count went.
    int paragraphsLaidOut() const { return laidOut_; }
    bool usedReference() const { return usedReference_; }

private:
    struct Paragraph {
        std::wstring text;      // with its closing CR; the last paragraph has none
        std::vector<int> rows;  // starts of its display lines, relative; empty until asked
        int words = 0;
    };
    enum class Cache { Right, Wrong, Unfinished };
    Cache refreshCache(LayoutSource& src, int length, const KeepGoing& keepGoing);
    bool readWhole(LayoutSource& src, int length, const KeepGoing& keepGoing);
    void diffWhole();
    void replaceWindow(LayoutSource& src, int length);
    bool layOut(LayoutSource& src, const KeepGoing& keepGoing);
    void layOutByLines(LayoutSource& src, Paragraph& p, int start);
    StatusFigures figures(int selStart) const;

    std::vector<Paragraph> paras_;  // always at least one once filled
    bool filled_ = false;
    bool unknown_ = true;
    bool windowSet_ = false;
    int winFrom_ = 0, winTo_ = 0, delta_ = 0;  // edited window in current positions, length change
    bool lookedAgain_ = false;  // a count disagreed with the editor, and everything is being laid out anew
    bool unfinished_ = false;  // the last call stopped before the count was whole
    int readChunk_;
    std::wstring whole_;        // the text read so far of a whole read going on in steps
    bool reading_ = false;
    bool restartRead_ = false;  // a change nobody can place came during the read
    int laidOut_ = 0;
    bool usedReference_ = false;
};

// Words of one paragraph laid out in display lines starting at rows (relative).
int ParagraphWords(std::wstring_view text, const std::vector<int>& rows);

}  // namespace tv
