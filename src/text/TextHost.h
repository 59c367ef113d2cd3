#pragma once
// What the text window and the document commands ask of the window around
// them. The workspace implements it; the text folder never includes the
// workspace, so the two cannot include each other.
#include "widgets/Win.h"

namespace tv {

class TextHost {
public:
    virtual HWND hostWindow() const = 0;  // owner of the document dialogs; a close request goes here
    // The document's changed flag (hayCambios).
    virtual bool hasChanges() const = 0;
    virtual void markChanged() = 0;
    virtual void markSaved() = 0;
    // The hidden counters of the command panel.
    virtual void showCounts(int lines, int words) = 0;
    // The style switches follow the selection.
    virtual void showSelectionEffects(bool bold, bool italic, bool underline) = 0;
    // The style commands, which the editor's own keys reach too.
    virtual void bNegritaClick() = 0;
    virtual void bItalicaClick() = 0;
    virtual void bSubrayadoClick() = 0;
    // The workspace's keys, after the editor's own; a handler that sets the key to 0 consumes it.
    virtual void FormKeyDown(WORD& key, bool shift, bool ctrl, bool alt) = 0;
    virtual void pointerOnText() = 0;     // the pointer came onto the editor
    virtual void statusLineStopped() = 0;  // the status line was switched off

protected:
    ~TextHost() = default;
};

}  // namespace tv
