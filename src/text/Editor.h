#pragma once
// What the program asks of the rich edit: formats, statistics, insertion.
#include "widgets/Win.h"

#include "text/core/StatusCount.h"
#include "text/core/StatusLine.h"

#include <richedit.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tv::editor {

void setup(HWND re);
void setColours(HWND re, COLORREF text, COLORREF background);
void selectAll(HWND re);
DWORD selectionEffects(HWND re);
void toggleEffect(HWND re, DWORD effect);  // bold, italic or underline over the selection
void setFace(HWND re, const wchar_t* face);
void setPointSize(HWND re, int points);
void insertaTexto(HWND re, const std::wstring& text);

using Stats = StatusFigures;
// The status line's figures counted line by line, one display-line query per
// line: the reference that StatusTracker agrees with.
Stats statistics(HWND re);

// The rich edit as the status counter's source of text and display lines.
class RichEditLayout : public LayoutSource {
public:
    explicit RichEditLayout(HWND re) : re_(re) {}
    int length() override;
    int lineCount() override;
    std::wstring text(int from, int to) override;
    int lineFromChar(int pos) override;
    int lineIndex(int line) override;
    int lineLength(int pos) override;
    std::wstring lineText(int line, std::size_t maxChars) override;

private:
    HWND re_;
};

// A whole count of a long document goes on in steps this long, so that keys
// and painting are served in between.
constexpr std::chrono::milliseconds kCountStep{25};

// Keeps the status counter told of what changed in the editor. Keys that
// change the text at the selection (typing, deleting, pasting) tell where;
// any other change notice makes the next refresh compare the whole text.
class StatusTracker {
public:
    void keyStarting(HWND re, UINT msg, WPARAM key);  // before the control handles a key message
    void keyDone(HWND re);                            // after it
    void changeNotified();                            // the control's change notification
    void formatChanged(HWND re);                      // the selection's format changed
    void layoutChanged() { counter_.layoutChanged(); }  // the editor's width changed
    void documentReplaced() { counter_.textChangedSomewhere(); }
    // The figures, or nothing when the time is up first: the next call goes on.
    // The program counts in steps of kCountStep.
    std::optional<Stats> refreshWithin(HWND re, std::chrono::milliseconds budget);
    const StatusCounter& counter() const { return counter_; }

private:
    StatusCounter counter_;
    int depth_ = 0;
    bool atSelection_ = false, changed_ = false;
    CHARRANGE before_{};
    int lengthBefore_ = 0;
};

// Current local date and time in the user's short date and long time formats.
std::wstring dateTimeNow();
// The same text for a given local time.
std::wstring dateTimeText(const SYSTEMTIME& local);
// Reads the user's formats now, at start-up, so later changes do not apply.
void readRegionalFormats();

}  // namespace tv::editor
