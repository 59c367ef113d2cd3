#pragma once
// Recovery after an end that did not come through the close handler (a crash,
// a killed process, a power cut, a session that ended anyway): the run marker
// beside the autosave copy, the copies kept aside from earlier runs, the offer
// of a kept text at start-up, and the editor's text saved as the program
// crashes. The autosave itself stays in Documents.cpp.
#include "widgets/Win.h"

#include <string>

namespace tv::recovery {

// After the settings are read, before any autosave writes: takes the first
// slot of the autosave copy that no other run holds and notes whether its
// last run ended uncleanly (and what its document was).
void start(const std::wstring& configuredCopy);
// The copy this run writes for the configured name (its slot's).
std::wstring copyName(const std::wstring& configuredCopy);
// Before the copy is first written: the last run's copy is put among the kept
// ones, and the oldest beyond five go. Done once, after start-up, so a long
// document's copy costs the start nothing.
void keepAside();

// The autosave writes only once the first document is in the editor: a tick
// served earlier (inside a start-up message box) would write the empty editor
// over the copy, or over a command-line document not loaded yet.
bool documentReady();
void autosaveDeferred();  // a tick came too early; the copy is written once the document is in
// The command-line document is loaded (or failed to load): a deferred copy is
// written, and a kept text is offered as soon as the message loop runs.
void documentLoaded();

// After each autosave. A failure is reported once until a copy is written
// again; a success lets the marker follow the document's name.
void autosaveFailed(const std::wstring& why);
void autosaveSucceeded(HWND editor, const std::wstring& documentName);

// An unhandled exception or std::terminate writes the editor's text into the
// run marker before the process ends; the next start offers it.
void installCrashHandlers(HWND editor);

// Log-off and shutdown with unsaved changes: the system's shutdown screen is
// given the reason while the close handler asks.
void blockEndOfSession(HWND mainWindow);
void allowEndOfSession(HWND mainWindow);

// The run ended through its close handler: the marker goes.
void cleanEnd();

}  // namespace tv::recovery
