#pragma once
// The Ctrl+letter command map of the editor and the workspace, the rows of the
// help overlay, and the Ctrl+S decision. Portable: the Win32 key handlers ask
// here what a key means and carry the command out themselves.
#include <span>

namespace tv {

// Modifier keys held with a key event.
struct Modifiers {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

enum class Command {
    None,
    SelectAll,
    Bold,
    Italic,
    Underline,
    InsertDateTime,
    Save,
    Open,
    New,
    ToggleTransparent,
    ToggleSound,
    ToggleBackground,
    ToggleClick,
    ToggleHelp,
    Exit,
    ToggleStatusLine,
};

// vk is a Windows virtual-key code (letters: 'A' = 65 .. 'Z' = 90); 0 marks a key
// already consumed and matches nothing. A letter matches when Ctrl is held and
// Alt is not (Ctrl+Alt is also what AltGr reports); Shift is not looked at.
// The caller sets vk to 0 after carrying out a command other than None.

// Editor (rtTextKeyDown): Ctrl+A, B, K, U, D.
Command editorCommand(int vk, Modifiers mods);
// Workspace (FormKeyDown): Ctrl+S, O, N, T, M, P, J, H, Q, L.
Command workspaceCommand(int vk, Modifiers mods);

// One row of the help overlay: the key label and its description, each with its
// label's left and top in the overlay's panel. The texts are catalog msgids.
struct HelpRow {
    const wchar_t* key;
    int keyLeft;
    int keyTop;
    const wchar_t* description;
    int descriptionLeft;
    int descriptionTop;
};

// The thirteen listed shortcuts (Ctrl+H and Ctrl+A work but are not listed).
std::span<const HelpRow> helpRows();

// Ctrl+S: nothing without changes, else Save for a named document and Save As
// for an unnamed one. The key is consumed in every case.
enum class SaveAction { None, Save, SaveAs };
SaveAction saveAction(bool hayCambios, bool hasName);

}  // namespace tv
