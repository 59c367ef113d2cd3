#include "commands/core/CommandMap.h"

#include "widgets/core/Translatable.h"

#include <array>

namespace tv {
namespace {

struct Binding {
    int vk;
    Command command;
};

// Test order of each handler.
constexpr std::array<Binding, 5> kEditorKeys{{
    {'A', Command::SelectAll},
    {'B', Command::Bold},
    {'K', Command::Italic},
    {'U', Command::Underline},
    {'D', Command::InsertDateTime},
}};

constexpr std::array<Binding, 10> kWorkspaceKeys{{
    {'S', Command::Save},
    {'O', Command::Open},
    {'N', Command::New},
    {'T', Command::ToggleTransparent},
    {'M', Command::ToggleSound},
    {'P', Command::ToggleBackground},
    {'J', Command::ToggleClick},
    {'H', Command::ToggleHelp},
    {'Q', Command::Exit},
    {'L', Command::ToggleStatusLine},
}};

template <std::size_t N>
Command lookup(const std::array<Binding, N>& map, int vk, Modifiers mods) {
    if (vk == 0 || !mods.ctrl || mods.alt) return Command::None;
    for (const Binding& b : map)
        if (b.vk == vk) return b.command;
    return Command::None;
}

constexpr std::array<HelpRow, 13> kHelpRows{{
    {L"Ctrl + N:", 16, 16, N_(L"New document"), 64, 16},
    {L"Ctrl + S:", 16, 35, N_(L"Save/Save as"), 64, 35},
    {L"Ctrl + O:", 16, 54, N_(L"Open document"), 64, 54},
    {L"Ctrl + Q:", 16, 73, N_(L"Exit"), 64, 73},
    {L"Ctrl + B:", 200, 16, N_(L"Bold style (on/off)"), 248, 16},
    {L"Ctrl + K:", 200, 35, N_(L"Italic style (on/off)"), 248, 35},
    {L"Ctrl + U:", 200, 54, N_(L"Underlined style (on/off)"), 248, 54},
    {L"Ctrl + L:", 200, 73, N_(L"Status bar (on/off)"), 248, 73},
    {L"Ctrl + D:", 200, 92, N_(L"Insert date and time string"), 248, 92},
    {L"Ctrl + M:", 384, 16, N_(L"Ambient Sound on/off"), 432, 16},
    {L"Ctrl + T:", 384, 35, N_(L"Transparecence on/off"), 432, 35},
    {L"Ctrl + P:", 384, 54, N_(L"Background image on/off"), 432, 54},
    {L"Ctrl + J:", 384, 73, N_(L"Click sound on/off"), 432, 73},
}};

}  // namespace

Command editorCommand(int vk, Modifiers mods) { return lookup(kEditorKeys, vk, mods); }

Command workspaceCommand(int vk, Modifiers mods) { return lookup(kWorkspaceKeys, vk, mods); }

std::span<const HelpRow> helpRows() { return kHelpRows; }

SaveAction saveAction(bool hayCambios, bool hasName) {
    if (!hayCambios) return SaveAction::None;
    return hasName ? SaveAction::Save : SaveAction::SaveAs;
}

}  // namespace tv
