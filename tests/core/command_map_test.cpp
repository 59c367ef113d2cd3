#include "commands/core/CommandMap.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

using namespace tv;

namespace {

const std::map<char, Command> kEditor = {
    {'A', Command::SelectAll}, {'B', Command::Bold},      {'K', Command::Italic},
    {'U', Command::Underline}, {'D', Command::InsertDateTime},
};

const std::map<char, Command> kWorkspace = {
    {'S', Command::Save},         {'O', Command::Open},        {'N', Command::New},
    {'T', Command::ToggleTransparent}, {'M', Command::ToggleSound}, {'P', Command::ToggleBackground},
    {'J', Command::ToggleClick},  {'H', Command::ToggleHelp},  {'Q', Command::Exit},
    {'L', Command::ToggleStatusLine},
};

Command expected(const std::map<char, Command>& map, char letter, Modifiers m) {
    if (!m.ctrl || m.alt) return Command::None;
    auto it = map.find(letter);
    return it == map.end() ? Command::None : it->second;
}

}  // namespace

TEST(CommandMap, EveryLetterUnderEveryModifierSet) {
    for (char c = 'A'; c <= 'Z'; ++c) {
        for (int bits = 0; bits < 8; ++bits) {
            const Modifiers m{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
            SCOPED_TRACE(std::string(1, c) + " shift=" + std::to_string(m.shift) +
                         " alt=" + std::to_string(m.alt) + " ctrl=" + std::to_string(m.ctrl));
            EXPECT_EQ(editorCommand(c, m), expected(kEditor, c, m));
            EXPECT_EQ(workspaceCommand(c, m), expected(kWorkspace, c, m));
        }
    }
}

TEST(CommandMap, EditorAndWorkspaceLettersAreDisjoint) {
    // The editor passes every key on; a letter claimed by both would run twice.
    const Modifiers ctrl{false, false, true};
    for (char c = 'A'; c <= 'Z'; ++c)
        EXPECT_FALSE(editorCommand(c, ctrl) != Command::None && workspaceCommand(c, ctrl) != Command::None)
            << c;
}

TEST(CommandMap, ConsumedAndNonLetterKeysMatchNothing) {
    const Modifiers ctrl{false, false, true};
    // 0 = consumed; lower-case codes are other virtual keys (e.g. 'b' = numpad 2).
    for (int vk : {0, int{'a'}, int{'b'}, int{'s'}, int{'q'}, int{'0'}, int{'9'}, 13, 27, 0x70 /* F1 */, -1, 65 + 26, 64}) {
        EXPECT_EQ(editorCommand(vk, ctrl), Command::None) << vk;
        EXPECT_EQ(workspaceCommand(vk, ctrl), Command::None) << vk;
    }
}

TEST(CommandMap, HelpRowsAsLaidOut) {
    struct Row {
        std::wstring key;
        int kl, kt;
        std::wstring desc;
        int dl, dt;
    };
    const Row want[] = {
        {L"Ctrl + N:", 16, 16, L"New document", 64, 16},
        {L"Ctrl + S:", 16, 35, L"Save/Save as", 64, 35},
        {L"Ctrl + O:", 16, 54, L"Open document", 64, 54},
        {L"Ctrl + Q:", 16, 73, L"Exit", 64, 73},
        {L"Ctrl + B:", 200, 16, L"Bold style (on/off)", 248, 16},
        {L"Ctrl + K:", 200, 35, L"Italic style (on/off)", 248, 35},
        {L"Ctrl + U:", 200, 54, L"Underlined style (on/off)", 248, 54},
        {L"Ctrl + L:", 200, 73, L"Status bar (on/off)", 248, 73},
        {L"Ctrl + D:", 200, 92, L"Insert date and time string", 248, 92},
        {L"Ctrl + M:", 384, 16, L"Ambient Sound on/off", 432, 16},
        {L"Ctrl + T:", 384, 35, L"Transparecence on/off", 432, 35},
        {L"Ctrl + P:", 384, 54, L"Background image on/off", 432, 54},
        {L"Ctrl + J:", 384, 73, L"Click sound on/off", 432, 73},
    };
    const auto rows = helpRows();
    ASSERT_EQ(rows.size(), std::size(want));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].key, want[i].key);
        EXPECT_EQ(rows[i].keyLeft, want[i].kl);
        EXPECT_EQ(rows[i].keyTop, want[i].kt);
        EXPECT_EQ(rows[i].description, want[i].desc);
        EXPECT_EQ(rows[i].descriptionLeft, want[i].dl);
        EXPECT_EQ(rows[i].descriptionTop, want[i].dt);
    }
}

TEST(CommandMap, EveryListedKeyIsACommandAndHAndAAreNotListed) {
    const Modifiers ctrl{false, false, true};
    std::set<wchar_t> listed;
    for (const HelpRow& r : helpRows()) {
        const std::wstring key = r.key;
        ASSERT_EQ(key.size(), 9u);
        const wchar_t letter = key[7];
        EXPECT_TRUE(listed.insert(letter).second) << "listed twice";
        EXPECT_TRUE(editorCommand(letter, ctrl) != Command::None ||
                    workspaceCommand(letter, ctrl) != Command::None)
            << static_cast<char>(letter);
    }
    EXPECT_EQ(listed.count(L'H'), 0u);
    EXPECT_EQ(listed.count(L'A'), 0u);
    EXPECT_EQ(listed.size(), kEditor.size() + kWorkspace.size() - 2);
}

TEST(CommandMap, SaveAction) {
    struct Case {
        bool changes, named;
        SaveAction want;
    } cases[] = {
        {false, false, SaveAction::None},
        {false, true, SaveAction::None},
        {true, true, SaveAction::Save},
        {true, false, SaveAction::SaveAs},
    };
    for (const Case& c : cases)
        EXPECT_EQ(saveAction(c.changes, c.named), c.want) << c.changes << c.named;
}
